#include "tests/support/ScreenPixels.h"

#include <algorithm>
#include <cstdio>

#include "platform/win/Dib.h"
#include "platform/win/GdiHandles.h"

namespace testsupport {

namespace {

constexpr DWORD kReadIntervalMs = 100;
// 700 ms without a change: the program's longest animation, the tab
// underline's glide, still moves a pixel in any such span before its end.
constexpr int kSettledReads = 8;

}  // namespace

std::vector<uint32_t> ReadScreenPixels(const RECT& rect)
{
    const int width = rect.right - rect.left, height = rect.bottom - rect.top;
    std::vector<uint32_t> pixels;
    if (width <= 0 || height <= 0) return pixels;
    platform::WindowDc screen;
    platform::UniqueHdc copy(::CreateCompatibleDC(screen.Get()));
    BITMAPINFO info = platform::Dib32Info(width, -height);
    void* bits = nullptr;
    platform::UniqueBitmap bitmap(::CreateDIBSection(screen.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!copy || !bitmap || bits == nullptr) return pixels;
    platform::SelectGuard selected(copy.Get(), bitmap.Get());
    if (!::BitBlt(copy.Get(), 0, 0, width, height, screen.Get(), rect.left, rect.top, SRCCOPY)) return pixels;
    ::GdiFlush();
    const auto* first = static_cast<const uint32_t*>(bits);
    pixels.assign(first, first + static_cast<size_t>(width) * static_cast<size_t>(height));
    for (uint32_t& pixel : pixels) pixel &= 0x00FFFFFFu;
    return pixels;
}

uint32_t ReadScreenPixel(int x, int y)
{
    const std::vector<uint32_t> pixel = ReadScreenPixels(RECT{x, y, x + 1, y + 1});
    return pixel.empty() ? 0xFFFFFFFFu : pixel[0];
}

std::vector<uint32_t> ReadSettledScreenPixels(const RECT& rect, DWORD patienceMs)
{
    const ULONGLONG deadline = ::GetTickCount64() + patienceMs;
    std::vector<uint32_t> last = ReadScreenPixels(rect);
    int same = 1;
    while (same < kSettledReads) {
        if (::GetTickCount64() > deadline) return {};
        ::Sleep(kReadIntervalMs);
        std::vector<uint32_t> next = ReadScreenPixels(rect);
        same = !next.empty() && next == last ? same + 1 : 1;
        last.swap(next);
    }
    return last;
}

std::string PixelDifference(const std::vector<uint32_t>& a, const std::vector<uint32_t>& b, int width)
{
    if (a.size() != b.size() || a.empty() || width <= 0) return "pictures of different sizes, or none";
    int count = 0, left = width, top = static_cast<int>(a.size()), right = -1, bottom = -1;
    for (size_t i = 0; i < a.size(); ++i) {
        if (a[i] == b[i]) continue;
        const int x = static_cast<int>(i % static_cast<size_t>(width));
        const int y = static_cast<int>(i / static_cast<size_t>(width));
        ++count;
        left = std::min(left, x);
        right = std::max(right, x);
        top = std::min(top, y);
        bottom = std::max(bottom, y);
    }
    if (count == 0) return "";
    char text[128];
    std::snprintf(text, sizeof(text), "%d pixels differ within (%d, %d)-(%d, %d)", count, left, top, right, bottom);
    return text;
}

}  // namespace testsupport
