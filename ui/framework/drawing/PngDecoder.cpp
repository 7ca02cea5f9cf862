#include "ui/framework/drawing/PngDecoder.h"

#include <wincodec.h>
#include <wrl/client.h>

#include <climits>

using Microsoft::WRL::ComPtr;

// Exported by windowscodecs, missing from MinGW's wincodec.h. Unlike
// CoCreateInstance it needs no COM on the calling thread, as GDI+ does not.
extern "C" HRESULT WINAPI WICCreateImagingFactory_Proxy(UINT sdkVersion, IWICImagingFactory** factory);

namespace {

// The factory and the PNG decoder's component info, made once for the
// process: asking them for a decoder is then a plain object creation. WIC's
// objects are free-threaded, and the static is made under the compiler's lock.
struct PngCodec {
    ComPtr<IWICImagingFactory> factory;
    ComPtr<IWICBitmapDecoderInfo> decoderInfo;

    PngCodec()
    {
        if (FAILED(WICCreateImagingFactory_Proxy(WINCODEC_SDK_VERSION, factory.GetAddressOf()))) return;
        ComPtr<IWICComponentInfo> info;
        if (FAILED(factory->CreateComponentInfo(CLSID_WICPngDecoder, info.GetAddressOf()))) return;
        info.As(&decoderInfo);
    }
};

const PngCodec& Codec()
{
    static const PngCodec codec;
    return codec;
}

}  // namespace

std::unique_ptr<Gdiplus::Bitmap> DecodeRgbaPng(const void* bytes, size_t size)
{
    const PngCodec& codec = Codec();
    if (!codec.decoderInfo || !bytes || size == 0 || size > UINT_MAX) return nullptr;

    ComPtr<IWICStream> stream;
    if (FAILED(codec.factory->CreateStream(stream.GetAddressOf()))) return nullptr;
    // WIC only reads through the stream: the resource's bytes stay untouched.
    if (FAILED(stream->InitializeFromMemory(static_cast<BYTE*>(const_cast<void*>(bytes)), static_cast<DWORD>(size))))
        return nullptr;
    ComPtr<IWICBitmapDecoder> decoder;
    if (FAILED(codec.decoderInfo->CreateInstance(decoder.GetAddressOf()))) return nullptr;
    if (FAILED(decoder->Initialize(stream.Get(), WICDecodeMetadataCacheOnDemand))) return nullptr;
    ComPtr<IWICBitmapFrameDecode> frame;
    if (FAILED(decoder->GetFrame(0, frame.GetAddressOf()))) return nullptr;

    // 8-bit RGBA comes out as straight BGRA, which is GDI+'s 32bpp ARGB as
    // is; other formats GDI+ maps its own way, so they stay with GDI+.
    WICPixelFormatGUID format;
    if (FAILED(frame->GetPixelFormat(&format)) || !IsEqualGUID(format, GUID_WICPixelFormat32bppBGRA)) return nullptr;
    UINT width = 0, height = 0;
    if (FAILED(frame->GetSize(&width, &height)) || width == 0 || height == 0 || width > INT_MAX / 4 ||
        height > INT_MAX / 4 / width)
        return nullptr;

    auto bitmap = std::make_unique<Gdiplus::Bitmap>(static_cast<INT>(width), static_cast<INT>(height),
                                                    PixelFormat32bppARGB);
    if (bitmap->GetLastStatus() != Gdiplus::Ok) return nullptr;
    Gdiplus::Rect all(0, 0, static_cast<INT>(width), static_cast<INT>(height));
    Gdiplus::BitmapData data;
    if (bitmap->LockBits(&all, Gdiplus::ImageLockModeWrite, PixelFormat32bppARGB, &data) != Gdiplus::Ok)
        return nullptr;
    const HRESULT copied = data.Stride > 0
                               ? frame->CopyPixels(nullptr, static_cast<UINT>(data.Stride),
                                                   static_cast<UINT>(data.Stride) * height, static_cast<BYTE*>(data.Scan0))
                               : E_UNEXPECTED;
    if (bitmap->UnlockBits(&data) != Gdiplus::Ok || FAILED(copied)) return nullptr;
    return bitmap;
}
