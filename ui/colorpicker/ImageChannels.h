#pragma once
#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace concurrency {
class WorkerPool;
}

// The backdrop blur's working set: a picture's pixels and its red, green and
// blue planes, blurred by three box passes that approximate a Gaussian.
class ImageChannels {
public:
    using Plane = std::vector<int32_t>;

    ImageChannels() = default;
    // Splits width x height 32-bit pixels (0xAARRGGBB, rows stride bytes
    // apart, top row first) into planes. A null picture or an empty size
    // gives an empty set.
    ImageChannels(const void* pixels, int width, int height, ptrdiff_t stride, concurrency::WorkerPool& pool);
    // The same from a GDI+ bitmap; an unreadable bitmap gives an empty set.
    ImageChannels(Gdiplus::Bitmap& bitmap, concurrency::WorkerPool& pool);

    // Takes a new picture as the constructor does, keeping the storage of
    // the last one: a backdrop of the same size allocates nothing. False
    // (and an empty set) for a null picture or an empty size.
    bool Load(const void* pixels, int width, int height, ptrdiff_t stride, concurrency::WorkerPool& pool);

    int Width() const { return m_width; }
    int Height() const { return m_height; }
    bool IsEmpty() const { return m_count == 0; }
    const Plane& Red() const { return m_red; }
    const Plane& Green() const { return m_green; }
    const Plane& Blue() const { return m_blue; }

    // The blurred picture as opaque 0xFFRRGGBB pixels, row by row; the three
    // planes are blurred at once. Empty for an empty set. Leaves this set's
    // planes as intermediate results, so call it once.
    std::vector<uint32_t> BlurPixels(int sigma, concurrency::WorkerPool& pool);
    // The same into Width() x Height() pixels at out, rows stride bytes apart.
    void BlurInto(int sigma, concurrency::WorkerPool& pool, uint32_t* out, ptrdiff_t stride);
    // The same in a new 32bpp ARGB bitmap; null for an empty set or when
    // GDI+ cannot make the bitmap.
    std::shared_ptr<Gdiplus::Bitmap> GaussianBlur(int sigma, concurrency::WorkerPool& pool);

    // Three odd box widths whose successive box blurs approximate a
    // Gaussian of this deviation; sigma 1 gives 3, 3, 3. Widths 1 (no blur)
    // for sigma 0 or less.
    static std::array<int, 3> BoxesForGauss(int sigma);
    // Three box blurs of BoxesForGauss(sigma): source is used as scratch, the
    // result lies in work.
    static void GaussBlurPlane(Plane& source, Plane& work, int width, int height, int sigma,
                               concurrency::WorkerPool& pool);
    // A box blur of radius r, first along rows and then along columns, with
    // the edge values repeated beyond the picture's border (also for lines
    // shorter than the box). target gets the result; source is left holding
    // the row pass.
    static void BoxBlur(Plane& source, Plane& target, int width, int height, int radius,
                        concurrency::WorkerPool& pool);

private:
    int m_width = 0;
    int m_height = 0;
    int m_count = 0;
    Plane m_red, m_green, m_blue;
    // Where each plane's blur ends.
    Plane m_redWork, m_greenWork, m_blueWork;
};
