#include "ui/colorpicker/PremultipliedImage.h"

PremultipliedImage PremultipliedImage::FromBitmap(Gdiplus::Bitmap* bitmap)
{
    if (!bitmap) return {};
    const int width = static_cast<int>(bitmap->GetWidth());
    const int height = static_cast<int>(bitmap->GetHeight());
    if (width <= 0 || height <= 0) return {};
    PremultipliedImage image(width, height);
    Gdiplus::BitmapData data = {};
    data.Width = static_cast<UINT>(width);
    data.Height = static_cast<UINT>(height);
    data.Stride = width * 4;
    data.PixelFormat = PixelFormat32bppPARGB;
    data.Scan0 = image.m_pixels.data();
    Gdiplus::Rect all(0, 0, width, height);
    // Read straight into our buffer, converted to premultiplied on the way.
    if (bitmap->LockBits(&all, Gdiplus::ImageLockModeRead | Gdiplus::ImageLockModeUserInputBuf, PixelFormat32bppPARGB,
                         &data) != Gdiplus::Ok)
        return {};
    bitmap->UnlockBits(&data);
    return image;
}

PremultipliedImage PremultipliedImage::ScaledTo(int width, int height) const
{
    if (IsEmpty() || width <= 0 || height <= 0) return {};
    PremultipliedImage scaled(width, height);
    const float sx = static_cast<float>(m_width) / static_cast<float>(width);
    const float sy = static_cast<float>(m_height) / static_cast<float>(height);
    for (int y = 0; y < height; ++y) {
        uint32_t* row = scaled.Row(y);
        const float fy = (static_cast<float>(y) + 0.5f) * sy;
        for (int x = 0; x < width; ++x) row[x] = SampleClamped((static_cast<float>(x) + 0.5f) * sx, fy);
    }
    return scaled;
}

std::vector<PremultipliedImage::Run> PremultipliedImage::OpaqueRuns() const
{
    std::vector<Run> runs;
    for (int y = 0; y < m_height; ++y) {
        const uint32_t* row = Row(y);
        int x = 0;
        while (x < m_width) {
            while (x < m_width && (row[x] >> 24) == 0) ++x;
            const int start = x;
            while (x < m_width && (row[x] >> 24) != 0) ++x;
            if (x > start) runs.push_back(Run{y, start, x});
        }
    }
    return runs;
}
