#include "tests/ui/windows/WindowsTestSupport.h"

#include <cwchar>

#include "ui/framework/drawing/SkinImage.h"
#include "ui/framework/drawing/TextDraw.h"
#include "ui/framework/scale/Scale.h"

namespace windowstest {

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
