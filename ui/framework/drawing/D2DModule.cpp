#include "ui/framework/drawing/D2DModule.h"

#include <d2d1_1.h>
#include <d2d1effects.h>
#include <wrl/client.h>

#include <algorithm>
#include <climits>
#include <new>
#include <vector>

#include "platform/win/Dib.h"
#include "platform/win/GdiHandles.h"
#include "ui/framework/drawing/GaussianBlur.h"

using Microsoft::WRL::ComPtr;

namespace {

constexpr int kMaxClients = 4;
// D2D1_GAUSSIANBLUR_OPTIMIZATION_SPEED; MinGW's d2d1effects.h lacks the enum.
constexpr UINT32 kGaussianBlurOptimizationSpeed = 0;

struct D2DClient {
    HWND key = nullptr;  // pointer-sized: a 64-bit handle is never cut short
    ComPtr<IWICBitmap> source;
};

ComPtr<ID2D1Factory> g_pD2DFactory;
ComPtr<IWICImagingFactory> g_pWICFactory;
D2DClient g_D2DClients[kMaxClients];
D2DBlurRoute g_lastBlurRoute = D2DBlurRoute::None;
// Learnt at the first blur of the process and kept when the factories go
// with their last client (the system's effects do not change meanwhile).
enum class BlurEffect { Unknown, Present, Missing };
BlurEffect g_blurEffect = BlurEffect::Unknown;

D2DClient* FindClient(HWND key)
{
    if (!key) return nullptr;
    for (D2DClient& client : g_D2DClients) {
        if (client.key == key) return &client;
    }
    return nullptr;
}

bool FactoriesReady()
{
    return g_pD2DFactory && g_pWICFactory;
}

void D2DCreateFactories()
{
    if (g_pD2DFactory || g_pWICFactory) return;
    if (FAILED(D2D1CreateFactory(D2D1_FACTORY_TYPE_SINGLE_THREADED, IID_ID2D1Factory, nullptr,
                                 reinterpret_cast<void**>(g_pD2DFactory.ReleaseAndGetAddressOf())))) {
        return;
    }
    CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                     reinterpret_cast<void**>(g_pWICFactory.ReleaseAndGetAddressOf()));
}

// width x height x 4, or 0 when empty or beyond what one buffer call takes.
UINT PixelBytes(UINT width, UINT height)
{
    unsigned long long bytes = static_cast<unsigned long long>(width) * height * 4ull;
    return bytes == 0 || bytes > INT_MAX ? 0 : static_cast<UINT>(bytes);
}

// A screen-compatible DC with a new top-down 32bpp DIB section selected.
// Members go in reverse order, so a failure deletes the DC before the DIB.
struct DibDc {
    platform::UniqueBitmap bitmap;
    platform::UniqueHdc dc;
    void* bits = nullptr;

    bool Make(int width, int height)
    {
        if (width <= 0 || height <= 0 || !PixelBytes(width, height)) return false;
        platform::WindowDc screen;
        if (!screen) return false;
        BITMAPINFO info = platform::Dib32Info(width, -height);
        dc.Reset(CreateCompatibleDC(screen.Get()));
        if (!dc) return false;
        bitmap.Reset(CreateDIBSection(screen.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
        if (!bitmap || !bits) return false;
        // The DC's initial bitmap is the stock one: nothing to delete.
        HGDIOBJ previous = SelectObject(dc.Get(), bitmap.Get());
        return previous && previous != HGDI_ERROR;
    }

    // With no out bitmap the DIB stays with the DC (DeleteMemoryDC frees both).
    void HandOut(HDC* outDc, HBITMAP* outBitmap)
    {
        if (outBitmap) {
            *outBitmap = bitmap.Release();
        } else {
            bitmap.Release();
        }
        *outDc = dc.Release();
    }
};

bool IsCopyable32bpp(const WICPixelFormatGUID& format)
{
    return IsEqualGUID(format, GUID_WICPixelFormat32bppPBGRA) || IsEqualGUID(format, GUID_WICPixelFormat32bppBGRA) ||
           IsEqualGUID(format, GUID_WICPixelFormat32bppBGR);
}

// The client's picture as premultiplied BGRA, for the CPU route.
bool ReadPremultiplied(IWICBitmapSource* source, std::vector<uint8_t>& pixels, UINT& width, UINT& height)
{
    if (FAILED(source->GetSize(&width, &height))) return false;
    const UINT bytes = PixelBytes(width, height);
    if (!bytes) return false;
    ComPtr<IWICFormatConverter> converter;
    if (FAILED(g_pWICFactory->CreateFormatConverter(&converter))) return false;
    if (FAILED(converter->Initialize(source, GUID_WICPixelFormat32bppPBGRA, WICBitmapDitherTypeNone, nullptr, 0.0,
                                     WICBitmapPaletteTypeCustom))) {
        return false;
    }
    try {
        pixels.resize(bytes);
    } catch (const std::bad_alloc&) {
        return false;
    }
    return SUCCEEDED(converter->CopyPixels(nullptr, width * 4, bytes, pixels.data()));
}

// What the effect would give, computed here: Wine and some Windows
// installations have no Gaussian blur effect.
int BlurOnCpu(IWICBitmap* source, int width, int height, HDC* outDc)
{
    std::vector<uint8_t> pixels;
    UINT sourceWidth = 0, sourceHeight = 0;
    if (!ReadPremultiplied(source, pixels, sourceWidth, sourceHeight)) return 0;
    DibDc result;
    if (!result.Make(width, height)) return 0;
    if (!GaussianBlurBgra(pixels.data(), static_cast<int>(sourceWidth), static_cast<int>(sourceHeight),
                          static_cast<ptrdiff_t>(sourceWidth) * 4, static_cast<uint8_t*>(result.bits), width, height,
                          static_cast<ptrdiff_t>(width) * 4, kGaussianBlurDefaultDeviation)) {
        return 0;
    }
    result.HandOut(outDc, nullptr);
    return 1;
}

// Asks the factory, not a render target: the first render target starts
// the Direct3D device, which under Wine loads a software OpenGL stack
// (a quarter of a second and tens of megabytes) only to find no effect.
bool BlurEffectRegistered(ID2D1Factory* factory)
{
    ComPtr<ID2D1Factory1> factory1;
    // Without it there are no device contexts and so no effects.
    if (FAILED(factory->QueryInterface(IID_ID2D1Factory1, reinterpret_cast<void**>(factory1.GetAddressOf()))))
        return false;
    ComPtr<ID2D1Properties> properties;
    const HRESULT asked = factory1->GetEffectProperties(CLSID_D2D1GaussianBlur, &properties);
    if (asked != E_NOTIMPL) return SUCCEEDED(asked);
    // Wine lists its effects but cannot describe them.
    UINT32 returned = 0, registered = 0;
    factory1->GetRegisteredEffects(nullptr, 0, &returned, &registered);
    if (registered == 0) return false;
    std::vector<CLSID> effects(registered);
    if (FAILED(factory1->GetRegisteredEffects(effects.data(), registered, &returned, &registered))) return false;
    effects.resize(std::min(returned, static_cast<UINT32>(effects.size())));
    return std::find(effects.begin(), effects.end(), CLSID_D2D1GaussianBlur) != effects.end();
}

bool MakeTarget(int width, int height, ComPtr<IWICBitmap>& target, ComPtr<ID2D1RenderTarget>& renderTarget)
{
    if (FAILED(g_pWICFactory->CreateBitmap(static_cast<UINT>(width), static_cast<UINT>(height),
                                           GUID_WICPixelFormat32bppPBGRA, WICBitmapCacheOnLoad, &target))) {
        return false;
    }
    return SUCCEEDED(
        g_pD2DFactory->CreateWicBitmapRenderTarget(target.Get(), D2D1::RenderTargetProperties(), &renderTarget));
}

}  // namespace

int D2DAddClient(HWND key)
{
    if (!key || FindClient(key)) return 0;
    D2DClient* slot = nullptr;
    for (D2DClient& client : g_D2DClients) {
        if (!client.key) {
            slot = &client;
            break;
        }
    }
    if (!slot) return 0;
    slot->key = key;
    D2DCreateFactories();
    return 1;
}

int D2DRemoveClient(HWND key)
{
    D2DClient* client = FindClient(key);
    if (!client) return 0;
    client->source.Reset();
    client->key = nullptr;
    for (const D2DClient& other : g_D2DClients) {
        if (other.key) return 1;
    }
    g_pWICFactory.Reset();
    g_pD2DFactory.Reset();
    return 1;
}

int D2DSetSourceFromDC(HWND key, int width, int height, HDC source, HBITMAP bitmap)
{
    D2DClient* client = FindClient(key);
    if (!client) return 0;
    client->source.Reset();
    if (!g_pWICFactory) return 0;
    if (bitmap) {
        return SUCCEEDED(g_pWICFactory->CreateBitmapFromHBITMAP(bitmap, nullptr, WICBitmapIgnoreAlpha, &client->source))
                   ? 1
                   : 0;
    }
    if (!source || width <= 0 || height <= 0) return 0;
    platform::WindowDc screen;
    if (!screen) return 0;
    // Compatible with the screen: one made from the memory DC would be monochrome.
    platform::UniqueBitmap copy(CreateCompatibleBitmap(screen.Get(), width, height));
    platform::UniqueHdc memory(CreateCompatibleDC(screen.Get()));
    if (!copy || !memory) return 0;
    {
        platform::SelectGuard selected(memory.Get(), copy.Get());
        if (!selected.Selected() || !BitBlt(memory.Get(), 0, 0, width, height, source, 0, 0, SRCCOPY)) return 0;
    }
    // Read only once it is out of the DC: GetDIBits wants an unselected bitmap.
    return SUCCEEDED(g_pWICFactory->CreateBitmapFromHBITMAP(copy.Get(), nullptr, WICBitmapIgnoreAlpha, &client->source))
               ? 1
               : 0;
}

int D2DGaussianBlur(HWND key, int width, int height, HDC* dc)
{
    D2DClient* client = FindClient(key);
    if (!client || !client->source || !dc || width <= 0 || height <= 0 || !FactoriesReady()) return 0;
    auto blurOnCpu = [&] {
        if (!BlurOnCpu(client->source.Get(), width, height, dc)) return 0;
        g_lastBlurRoute = D2DBlurRoute::Cpu;
        return 1;
    };
    if (g_blurEffect == BlurEffect::Unknown)
        g_blurEffect = BlurEffectRegistered(g_pD2DFactory.Get()) ? BlurEffect::Present : BlurEffect::Missing;
    if (g_blurEffect == BlurEffect::Missing) return blurOnCpu();
    ComPtr<IWICBitmap> target;
    ComPtr<ID2D1RenderTarget> renderTarget;
    if (!MakeTarget(width, height, target, renderTarget)) return 0;

    ComPtr<ID2D1DeviceContext> context;
    ComPtr<ID2D1Effect> effect;
    if (SUCCEEDED(renderTarget.As(&context))) context->CreateEffect(CLSID_D2D1GaussianBlur, &effect);
    if (!effect) {
        g_blurEffect = BlurEffect::Missing;
        renderTarget.Reset();
        return blurOnCpu();
    }

    ComPtr<ID2D1Bitmap> input;
    if (FAILED(renderTarget->CreateBitmapFromWicBitmap(client->source.Get(), nullptr, &input))) return 0;
    effect->SetInput(0, input.Get());
    if (FAILED(effect->SetValue(D2D1_GAUSSIANBLUR_PROP_OPTIMIZATION, kGaussianBlurOptimizationSpeed))) return 0;
    ComPtr<ID2D1Image> output;
    effect->GetOutput(&output);
    context->BeginDraw();
    context->DrawImage(output.Get(), nullptr, nullptr, D2D1_INTERPOLATION_MODE_LINEAR, D2D1_COMPOSITE_MODE_SOURCE_OVER);
    if (FAILED(context->EndDraw())) return 0;
    if (!D2DCopyWicBitmapToDC(target.Get(), dc, nullptr)) return 0;
    g_lastBlurRoute = D2DBlurRoute::Effect;
    return 1;
}

int D2DDrawLinearGradient(HWND key, int width, int height, const float* positions, const COLORREF* colors, int count,
                          HDC* dc, HBITMAP* bitmap, BOOL gamma, BOOL vertical)
{
    if (!FindClient(key) || width <= 0 || height <= 0 || !positions || !colors || count <= 0 || !dc ||
        !FactoriesReady()) {
        return 0;
    }
    std::vector<D2D1_GRADIENT_STOP> stops;
    try {
        stops.resize(static_cast<size_t>(count));
    } catch (const std::bad_alloc&) {
        return 0;
    }
    for (int i = 0; i < count; ++i) {
        stops[i].position = positions[i];
        stops[i].color = D2D1::ColorF(GetRValue(colors[i]) / 255.0f, GetGValue(colors[i]) / 255.0f,
                                      GetBValue(colors[i]) / 255.0f, 1.0f);
    }

    ComPtr<IWICBitmap> target;
    ComPtr<ID2D1RenderTarget> renderTarget;
    if (!MakeTarget(width, height, target, renderTarget)) return 0;
    ComPtr<ID2D1GradientStopCollection> collection;
    if (FAILED(renderTarget->CreateGradientStopCollection(stops.data(), static_cast<UINT>(count),
                                                          gamma ? D2D1_GAMMA_1_0 : D2D1_GAMMA_2_2,
                                                          D2D1_EXTEND_MODE_CLAMP, &collection))) {
        return 0;
    }
    const float w = static_cast<float>(width), h = static_cast<float>(height);
    D2D1_POINT_2F start = vertical ? D2D1::Point2F(w, 0.0f) : D2D1::Point2F(0.0f, h / 2.0f);
    D2D1_POINT_2F end = vertical ? D2D1::Point2F(w, h) : D2D1::Point2F(w, h / 2.0f);
    ComPtr<ID2D1LinearGradientBrush> brush;
    if (FAILED(renderTarget->CreateLinearGradientBrush(D2D1::LinearGradientBrushProperties(start, end),
                                                       collection.Get(), &brush))) {
        return 0;
    }
    renderTarget->BeginDraw();
    renderTarget->FillRectangle(D2D1::RectF(0.0f, 0.0f, w, h), brush.Get());
    if (FAILED(renderTarget->EndDraw())) return 0;
    return D2DCopyWicBitmapToDC(target.Get(), dc, bitmap);
}

int D2DCopyWicBitmapToDC(IWICBitmap* wicBitmap, HDC* dc, HBITMAP* bitmap)
{
    if (!wicBitmap || !dc) return 0;
    UINT width = 0, height = 0;
    WICPixelFormatGUID format = {};
    if (FAILED(wicBitmap->GetSize(&width, &height)) || FAILED(wicBitmap->GetPixelFormat(&format))) return 0;
    const UINT bytes = PixelBytes(width, height);
    if (!bytes) return 0;
    ComPtr<IWICBitmapSource> pixels = wicBitmap;
    if (!IsCopyable32bpp(format)) {
        ComPtr<IWICBitmapSource> converted;
        if (FAILED(WICConvertBitmapSource(GUID_WICPixelFormat32bppPBGRA, wicBitmap, &converted))) return 0;
        pixels = converted;
    }
    DibDc result;
    if (!result.Make(static_cast<int>(width), static_cast<int>(height))) return 0;
    if (FAILED(pixels->CopyPixels(nullptr, width * 4, bytes, static_cast<BYTE*>(result.bits)))) return 0;
    result.HandOut(dc, bitmap);
    return 1;
}

D2DBlurRoute D2DLastBlurRoute()
{
    return g_lastBlurRoute;
}

ID2D1Factory* D2DGetFactory()
{
    return g_pD2DFactory.Get();
}

IWICImagingFactory* D2DGetWicFactory()
{
    return g_pWICFactory.Get();
}
