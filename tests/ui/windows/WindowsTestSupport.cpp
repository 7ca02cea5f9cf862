#include "tests/ui/windows/WindowsTestSupport.h"

#include <cwchar>
#include <utility>

#include "ui/framework/drawing/SkinImage.h"
#include "ui/framework/drawing/TextDraw.h"
#include "ui/framework/scale/Scale.h"

namespace windowstest {

namespace {

constexpr wchar_t kWatchProperty[] = L"LumoTestWindowWatch";

}  // namespace

WindowWatch::WindowWatch(HWND window, std::function<void()> afterEach)
    : m_window(window), m_afterEach(std::move(afterEach))
{
    if (!::IsWindow(window) || !::SetPropW(window, kWatchProperty, this)) return;
    m_previous = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&WindowWatch::Procedure)));
}

WindowWatch::~WindowWatch()
{
    if (!m_previous || ::GetPropW(m_window, kWatchProperty) != this) return;
    ::SetWindowLongPtrW(m_window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_previous));
    ::RemovePropW(m_window, kWatchProperty);
}

int WindowWatch::Handled(UINT message) const
{
    const auto found = m_handled.find(message);
    return found == m_handled.end() ? 0 : found->second;
}

LRESULT CALLBACK WindowWatch::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* watch = static_cast<WindowWatch*>(::GetPropW(window, kWatchProperty));
    if (!watch || !watch->m_previous) return ::DefWindowProcW(window, message, wParam, lParam);
    const WNDPROC previous = watch->m_previous;
    if (message == WM_NCDESTROY) {
        // The window goes: the watch lets go of it first.
        ::SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
        ::RemovePropW(window, kWatchProperty);
        watch->m_previous = nullptr;
        return ::CallWindowProcW(previous, window, message, wParam, lParam);
    }
    const LRESULT result = ::CallWindowProcW(previous, window, message, wParam, lParam);
    ++watch->m_handled[message];
    if (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST)
        watch->m_pointer = POINT{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    if (watch->m_afterEach) watch->m_afterEach();
    return result;
}

void EnsureUiEnvironment()
{
    static testsupport::GdiplusSession gdiplus;
    ::wcscpy(g_szSkinResType, kSkinSet1080);
    g_fImageScale = 1.0f;
    g_fUIScale = 1.0f;
    g_fFontScale = 1.0f;
}

RecordingHost::RecordingHost(int x, int y, int width, int height)
{
    LPCWSTR className = AfxRegisterWndClass(0, ::LoadCursorW(nullptr, IDC_ARROW),
                                            static_cast<HBRUSH>(::GetStockObject(DKGRAY_BRUSH)));
    CreateEx(0, className, L"host", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, x, y, width, height, nullptr, nullptr);
}

RecordingHost::~RecordingHost()
{
    DestroyWindow();
}

std::vector<RecordingHost::Record> RecordingHost::Received(UINT message) const
{
    std::vector<Record> out;
    for (const Record& record : m_records)
        if (record.message == message) out.push_back(record);
    return out;
}

LRESULT RecordingHost::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message >= WM_USER) m_records.push_back({message, wParam, lParam});
    return CWnd::WindowProc(message, wParam, lParam);
}

std::unique_ptr<CMemoryDC> SolidBackground(int width, int height, uint32_t rgb)
{
    auto surface = std::make_unique<CMemoryDC>();
    surface->Resize(width, height);
    auto* pixel = static_cast<uint32_t*>(surface->Bits());
    for (int i = 0; pixel && i < width * height; ++i) pixel[i] = 0xFF000000u | rgb;
    return surface;
}

testsupport::Pixels PixelsOf(HDC dc)
{
    ::GdiFlush();
    return testsupport::ReadPixels(dc);
}

int DifferingPixels(const testsupport::Pixels& a, const testsupport::Pixels& b)
{
    if (a.width != b.width || a.height != b.height || a.data.size() != b.data.size()) return -1;
    int count = 0;
    for (size_t i = 0; i < a.data.size(); ++i)
        if ((a.data[i] & 0xFFFFFFu) != (b.data[i] & 0xFFFFFFu)) ++count;
    return count;
}

}  // namespace windowstest
