// The picker's picture: ring marker, gradient triangle, frame and marker,
// all turned by the hue.
#include "ui/colorpicker/HSVColorPicker.h"

#include <cmath>

#include "ui/framework/scale/Scale.h"

namespace {

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
}

void HSVColorPicker::RenderGradient()
{
    UpdateSmallGradient();
    if (m_smallGradient.IsEmpty()) return;
    if (!m_gradientCache) m_gradientCache = std::make_unique<Gdiplus::Bitmap>(m_nWidth, m_nHeight, PixelFormat32bppARGB);
    Gdiplus::Bitmap small(m_smallGradient.Width(), m_smallGradient.Height(), m_smallGradient.Width() * 4,
                          PixelFormat32bppPARGB, reinterpret_cast<BYTE*>(m_smallGradient.Row(0)));
    Gdiplus::Graphics graphics(m_gradientCache.get());
    graphics.Clear(Gdiplus::Color(0x00FFFFFF));
    graphics.SetInterpolationMode(Gdiplus::InterpolationModeHighQualityBicubic);
    // Where an equilateral triangle of side G about the centre has its black corner.
    const float circumradius = m_geometry.gradientSize * std::sqrt(3.0f) / 3.0f;
    DrawNatural(graphics, &small, m_geometry.centre.X + circumradius * g_afCos60[4],
                m_geometry.centre.Y + circumradius * g_afSin60[4]);
}

void HSVColorPicker::PaintContentGdiplus(Gdiplus::Graphics& graphics)
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
