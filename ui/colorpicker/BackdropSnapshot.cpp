#include "ui/colorpicker/BackdropSnapshot.h"

#include <algorithm>
#include <cmath>

#include "platform/concurrency/Parallel.h"
#include "platform/win/GdiHandles.h"

namespace {

// SRCCOPY | CAPTUREBLT: layered windows over the area are copied as well.
constexpr DWORD kSnapshotRop = 0x40CC0020;

// The window's DC from GetWindowDC: the whole window, frame included.
class WholeWindowDc {
public:
    explicit WholeWindowDc(HWND window) : m_window(window), m_dc(::GetWindowDC(window)) {}
    ~WholeWindowDc()
    {
        if (m_dc) ::ReleaseDC(m_window, m_dc);
    }
    WholeWindowDc(const WholeWindowDc&) = delete;
    WholeWindowDc& operator=(const WholeWindowDc&) = delete;
    HDC Get() const { return m_dc; }

private:
    HWND m_window;
    HDC m_dc;
};

// Where target index i of count samples the source: the lower source index,
// the next one (edges repeated) and the weight of the next one in 1/256.
struct Tap {
    int first, second, weight;
};

std::vector<Tap> Taps(int sourceCount, int targetCount)
{
    std::vector<Tap> taps(targetCount);
    for (int i = 0; i < targetCount; ++i) {
        const double at = (i + 0.5) * sourceCount / targetCount - 0.5;
        const int lower = static_cast<int>(std::floor(at));
        const int weight = static_cast<int>((at - lower) * 256.0 + 0.5);
        taps[i] = {std::clamp(lower, 0, sourceCount - 1), std::clamp(lower + 1, 0, sourceCount - 1), weight};
    }
    return taps;
}

// The source span [first, end) that target index i of count covers.
struct Span {
    int first, end;
};

std::vector<Span> Spans(int sourceCount, int targetCount)
{
    std::vector<Span> spans(targetCount);
    for (int i = 0; i < targetCount; ++i) {
        const int first = static_cast<int>(static_cast<long long>(i) * sourceCount / targetCount);
        const int end = static_cast<int>(static_cast<long long>(i + 1) * sourceCount / targetCount);
        spans[i] = {first, std::max(end, first + 1)};
    }
    return spans;
}

}  // namespace

// The blurred pixels and the GDI+ bitmap that shows them, freed together.
struct BackdropSnapshot::Backdrop {
    std::vector<uint32_t> pixels;
    std::unique_ptr<Gdiplus::Bitmap> bitmap;
};

BackdropSnapshot::BackdropSnapshot() = default;
BackdropSnapshot::~BackdropSnapshot() = default;

void BackdropSnapshot::ScaleDown(const uint32_t* source, int sourceWidth, int sourceHeight, uint32_t* target,
                                 int targetWidth, int targetHeight, concurrency::WorkerPool& pool)
{
    if (!source || !target || sourceWidth <= 0 || sourceHeight <= 0 || targetWidth <= 0 || targetHeight <= 0) return;
    if (sourceWidth == 2 * targetWidth && sourceHeight == 2 * targetHeight) {
        // The usual case, half size: plain 2 x 2 averages.
        concurrency::ParallelFor(pool, 0, static_cast<size_t>(targetHeight), [&](size_t y) {
            const uint32_t* top = source + 2 * y * sourceWidth;
            const uint32_t* bottom = top + sourceWidth;
            uint32_t* out = target + y * targetWidth;
            for (int x = 0; x < targetWidth; ++x) {
                const uint32_t a = top[2 * x], b = top[2 * x + 1], c = bottom[2 * x], d = bottom[2 * x + 1];
                const uint32_t redBlue = (a & 0xFF00FF) + (b & 0xFF00FF) + (c & 0xFF00FF) + (d & 0xFF00FF) + 0x20002;
                const uint32_t green = (a & 0xFF00) + (b & 0xFF00) + (c & 0xFF00) + (d & 0xFF00) + 0x200;
                out[x] = 0xFF000000u | ((redBlue >> 2) & 0xFF00FF) | ((green >> 2) & 0xFF00);
            }
        });
        return;
    }
    const std::vector<Span> columns = Spans(sourceWidth, targetWidth);
    const std::vector<Span> rows = Spans(sourceHeight, targetHeight);
    concurrency::ParallelFor(pool, 0, static_cast<size_t>(targetHeight), [&](size_t y) {
        const Span rowSpan = rows[y];
        uint32_t* out = target + y * targetWidth;
        for (int x = 0; x < targetWidth; ++x) {
            const Span columnSpan = columns[x];
            uint32_t red = 0, green = 0, blue = 0;
            for (int sy = rowSpan.first; sy < rowSpan.end; ++sy) {
                const uint32_t* in = source + static_cast<size_t>(sy) * sourceWidth;
                for (int sx = columnSpan.first; sx < columnSpan.end; ++sx) {
                    red += (in[sx] >> 16) & 0xFF;
                    green += (in[sx] >> 8) & 0xFF;
                    blue += in[sx] & 0xFF;
                }
            }
            const uint32_t n = static_cast<uint32_t>(rowSpan.end - rowSpan.first) * (columnSpan.end - columnSpan.first);
            out[x] = 0xFF000000u | (red + n / 2) / n << 16 | (green + n / 2) / n << 8 | (blue + n / 2) / n;
        }
    });
}

std::shared_ptr<Gdiplus::Bitmap> BackdropSnapshot::Take(HWND window, float scaleDown, int sigma)
{
    RECT screenRect = {};
    const HWND root = ::GetAncestor(window, GA_ROOT);
    if (!(scaleDown > 0.0f) || !root || !::GetWindowRect(root, &screenRect)) return nullptr;
    const int width = screenRect.right - screenRect.left;
    const int height = screenRect.bottom - screenRect.top;
    const int snapshotWidth = static_cast<int>(width / scaleDown);
    const int snapshotHeight = static_cast<int>(height / scaleDown);
    m_bHasBackdrop = false;
    if (::IsIconic(root) || snapshotWidth <= 0 || snapshotHeight <= 0) {
        m_snapshotDC.Resize(0, 0);
        return nullptr;
    }
    if (m_captureDC.Width() != width || m_captureDC.Height() != height) {
        if (!m_captureDC.Resize(width, height)) return nullptr;
    }
    if (m_snapshotDC.Width() != snapshotWidth || m_snapshotDC.Height() != snapshotHeight) {
        if (!m_snapshotDC.Resize(snapshotWidth, snapshotHeight)) return nullptr;
    }
    {
        // The window's own pixels are what lies under the popup (which is
        // hidden now). Reading them from its DC is a copy in memory; reading
        // the screen back and letting GDI stretch it costs many times more.
        WholeWindowDc source(root);
        if (!source.Get()) return nullptr;
        ::BitBlt(m_captureDC, 0, 0, width, height, source.Get(), 0, 0, kSnapshotRop);
    }
    ::GdiFlush();
    ScaleDown(static_cast<const uint32_t*>(m_captureDC.Bits()), width, height,
              static_cast<uint32_t*>(m_snapshotDC.Bits()), snapshotWidth, snapshotHeight, m_workers);

    m_channels.Load(m_snapshotDC.Bits(), snapshotWidth, snapshotHeight, static_cast<ptrdiff_t>(snapshotWidth) * 4,
                    m_workers);
    const size_t count = static_cast<size_t>(snapshotWidth) * snapshotHeight;
    if (!m_backdrop || m_backdrop->pixels.size() != count ||
        m_backdrop->bitmap->GetWidth() != static_cast<UINT>(snapshotWidth)) {
        auto backdrop = std::make_shared<Backdrop>();
        backdrop->pixels.resize(count);
        backdrop->bitmap = std::make_unique<Gdiplus::Bitmap>(snapshotWidth, snapshotHeight, snapshotWidth * 4,
                                                             PixelFormat32bppARGB,
                                                             reinterpret_cast<BYTE*>(backdrop->pixels.data()));
        if (backdrop->bitmap->GetLastStatus() != Gdiplus::Ok) return nullptr;
        m_backdrop = std::move(backdrop);
    }
    m_channels.BlurInto(sigma, m_workers, m_backdrop->pixels.data(), static_cast<ptrdiff_t>(snapshotWidth) * 4);
    m_bHasBackdrop = true;
    return std::shared_ptr<Gdiplus::Bitmap>(m_backdrop, m_backdrop->bitmap.get());
}

void BackdropSnapshot::ScaleUp(const uint32_t* source, int sourceWidth, int sourceHeight, uint32_t* target,
                               int targetWidth, int targetHeight, concurrency::WorkerPool& pool)
{
    if (!source || !target || sourceWidth <= 0 || sourceHeight <= 0 || targetWidth <= 0 || targetHeight <= 0) return;
    const std::vector<Tap> columns = Taps(sourceWidth, targetWidth);
    const std::vector<Tap> rows = Taps(sourceHeight, targetHeight);
    concurrency::ParallelFor(pool, 0, static_cast<size_t>(targetHeight), [&](size_t y) {
        const Tap row = rows[y];
        const uint32_t* top = source + static_cast<size_t>(row.first) * sourceWidth;
        const uint32_t* bottom = source + static_cast<size_t>(row.second) * sourceWidth;
        const uint32_t wy = static_cast<uint32_t>(row.weight);
        uint32_t* out = target + y * targetWidth;
        for (int x = 0; x < targetWidth; ++x) {
            const Tap column = columns[x];
            const uint32_t wx = static_cast<uint32_t>(column.weight);
            const uint32_t a = top[column.first], b = top[column.second];
            const uint32_t c = bottom[column.first], d = bottom[column.second];
            uint32_t pixel = 0xFF000000u;
            for (int shift = 0; shift <= 16; shift += 8) {
                const uint32_t upper = ((a >> shift) & 0xFF) * (256 - wx) + ((b >> shift) & 0xFF) * wx;
                const uint32_t lower = ((c >> shift) & 0xFF) * (256 - wx) + ((d >> shift) & 0xFF) * wx;
                pixel |= ((upper * (256 - wy) + lower * wy + 32768) >> 16) << shift;
            }
            out[x] = pixel;
        }
    });
}

bool BackdropSnapshot::StretchInto(CMemoryDC& target, int width, int height)
{
    if (!m_bHasBackdrop || !m_backdrop || width <= 0 || height <= 0) return false;
    if (target.Width() != width || target.Height() != height) {
        if (!target.Resize(width, height)) return false;
    }
    ::GdiFlush();
    ScaleUp(m_backdrop->pixels.data(), static_cast<int>(m_backdrop->bitmap->GetWidth()),
            static_cast<int>(m_backdrop->bitmap->GetHeight()), static_cast<uint32_t*>(target.Bits()), width, height,
            m_workers);
    return true;
}
