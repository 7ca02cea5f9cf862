// The picker's picture: ring marker, gradient triangle, frame and marker,
// all turned by the hue.
#include "ui/colorpicker/HSVColorPicker.h"

#include <cmath>

#include "ui/framework/Scale.h"

namespace {

constexpr float kPi = 3.14159265358979323846f;
constexpr float kDegreesToRadians = kPi / 180.0f;

void DrawNatural(Gdiplus::Graphics& graphics, Gdiplus::Bitmap* image, float left, float top)
{
    if (!image) return;
    // A rectangle of the pixel size: drawing at a point would scale by the image's DPI.
    graphics.DrawImage(image, Gdiplus::RectF(left, top, static_cast<float>(image->GetWidth()),
                                             static_cast<float>(image->GetHeight())));
}

}  // namespace

void HSVColorPicker::BuildPaths()
{
    const Gdiplus::PointF& centre = m_geometry.centre;
    const float outer = m_geometry.radius;
    const float inner = m_geometry.radius - m_geometry.ringWidth;
    // Alternate fill: only the band between the two circles is inside.
    m_ringPath = std::make_unique<Gdiplus::GraphicsPath>();
    m_ringPath->AddEllipse(centre.X - outer, centre.Y - outer, 2 * outer, 2 * outer);
    m_ringPath->AddEllipse(centre.X - inner, centre.Y - inner, 2 * inner, 2 * inner);

    const Gdiplus::PointF corners[3] = {m_geometry.a, m_geometry.b, m_geometry.c};
    m_trianglePath = std::make_unique<Gdiplus::GraphicsPath>();
    m_trianglePath->AddPolygon(corners, 3);

    // Tip a few pixels inside the ring's outer edge at 3 o'clock, pointing at the centre.
    const float size = ScaledLength(kRingMarkerSize, g_fUIScale);
    const float tipX = centre.X + outer - kRingMarkerTipInset;
    const Gdiplus::PointF marker[3] = {
        Gdiplus::PointF(tipX, centre.Y),
        Gdiplus::PointF(tipX + size * g_afSin60[1], centre.Y - size * g_afCos60[1]),
        Gdiplus::PointF(tipX + size * g_afSin60[1], centre.Y + size * g_afCos60[1]),
    };
    m_ringMarkerPath = std::make_unique<Gdiplus::GraphicsPath>();
    m_ringMarkerPath->AddPolygon(marker, 3);

    // The small gradient's pixels: their saturation and value do not depend on the hue.
    const float g = m_geometry.gradientSize;
    m_gradientWidth = static_cast<int>(g * g_afSin60[1]);  // G x cos 30
    m_gradientHeight = static_cast<int>(g);
    m_gradientSV.resize(static_cast<size_t>(m_gradientWidth) * m_gradientHeight);
    for (int y = 0; y < m_gradientHeight; ++y) {
        for (int x = 0; x < m_gradientWidth; ++x) {
            const float fx = static_cast<float>(x), fy = static_cast<float>(y);
            const float angle = 90.0f - std::atan2(fy, fx) / kDegreesToRadians;
            const float s = angle / 60.0f;
            const float v = (std::sqrt(fx * fx + fy * fy) / g_afSin60[1]) *
                            std::sin((120.0f - angle) * kDegreesToRadians) / g;
            m_gradientSV[static_cast<size_t>(y) * m_gradientWidth + x] = Gdiplus::PointF(s, v);
        }
    }
}

void HSVColorPicker::RenderGradient()
{
    if (!m_gradientCache || m_gradientSV.empty()) return;
    Gdiplus::Bitmap small(m_gradientWidth, m_gradientHeight, PixelFormat32bppARGB);
    Gdiplus::BitmapData data = {};
    Gdiplus::Rect all(0, 0, m_gradientWidth, m_gradientHeight);
    if (small.LockBits(&all, Gdiplus::ImageLockModeWrite, PixelFormat32bppARGB, &data) != Gdiplus::Ok) return;
    const float hue = m_fHue;
    for (int y = 0; y < m_gradientHeight; ++y) {
        auto* row = reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(data.Scan0) + y * data.Stride);
        const Gdiplus::PointF* sv = &m_gradientSV[static_cast<size_t>(y) * m_gradientWidth];
        // Pixels outside the small triangle are never shown.
        for (int x = 0; x < m_gradientWidth; ++x) row[x] = HsvToArgb(hue, sv[x].X, sv[x].Y);
    }
    small.UnlockBits(&data);

    Gdiplus::Graphics graphics(m_gradientCache.get());
    graphics.Clear(Gdiplus::Color(0x00FFFFFF));
    graphics.SetInterpolationMode(Gdiplus::InterpolationModeHighQualityBicubic);
    // Where an equilateral triangle of side G about the centre has its black corner.
    const float circumradius = m_geometry.gradientSize * std::sqrt(3.0f) / 3.0f;
    DrawNatural(graphics, &small, m_geometry.centre.X + circumradius * g_afCos60[4],
                m_geometry.centre.Y + circumradius * g_afSin60[4]);
}

void HSVColorPicker::PaintContent(Gdiplus::Graphics& graphics)
{
    const Gdiplus::GraphicsContainer container = graphics.BeginContainer();
    graphics.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
    graphics.SetTransform(&m_hueMatrix);
    const Gdiplus::PointF& centre = m_geometry.centre;

    if (m_ringMarkerImage) {
        const float inset = ScaledLength(static_cast<float>(kRingMarkerImageInset), g_fUIScale);
        DrawNatural(graphics, m_ringMarkerImage.get(), centre.X + m_geometry.radius - inset,
                    centre.Y - static_cast<float>(m_ringMarkerImage->GetHeight()) / 2.0f);
    }

    if (m_bGradientDirty) {
        RenderGradient();
        m_bGradientDirty = 0;
    }
    if (m_gradientCache && m_trianglePath) {
        // Magnify the small gradient about the centre until it covers the triangle.
        const float k = m_geometry.side / m_geometry.gradientSize + kTextureOverscale;
        Gdiplus::TextureBrush brush(m_gradientCache.get(), Gdiplus::WrapModeClamp);
        Gdiplus::Matrix magnify;
        magnify.Translate(centre.X, centre.Y);
        magnify.Scale(k, k);
        magnify.Translate(-centre.X, -centre.Y);
        brush.SetTransform(&magnify);
        graphics.FillPath(&brush, m_trianglePath.get());
    }

    if (m_triangleImage)
        DrawNatural(graphics, m_triangleImage.get(), static_cast<float>(m_margin.left),
                    static_cast<float>(m_margin.top));

    if (m_svMarkerImage) {
        const float width = static_cast<float>(m_svMarkerImage->GetWidth());
        const float height = static_cast<float>(m_svMarkerImage->GetHeight());
        DrawNatural(graphics, m_svMarkerImage.get(), m_fMarkerX - width / 2.0f + kSVMarkerImageOffset,
                    m_fMarkerY - height / 2.0f + kSVMarkerImageOffset);
    }
    graphics.EndContainer(container);
}
