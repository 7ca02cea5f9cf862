// The picker's own drawing into its surface. GDI+ scales and turns images
// pixel by pixel at a cost of tens of milliseconds per image where Wine runs
// it; the picker repaints up to every 16 ms while it animates. So the images
// are prepared once as premultiplied pixels and the turned picture is
// sampled here, only where it can have pixels.
#include "ui/colorpicker/HSVColorPicker.h"

#include <algorithm>
#include <cmath>

#include "ui/framework/scale/Scale.h"

namespace {

constexpr float kDegreesToRadians = 3.14159265358979323846f / 180.0f;

// A pixel centre's position in the unturned frame, for a turn about centre.
struct Unturn {
    float cx, cy, cosine, sine;
    Gdiplus::PointF operator()(float x, float y) const
    {
        const float dx = x - cx, dy = y - cy;
        return Gdiplus::PointF(cx + dx * cosine + dy * sine, cy - dx * sine + dy * cosine);
    }
    Gdiplus::PointF Turn(float x, float y) const
    {
        const float dx = x - cx, dy = y - cy;
        return Gdiplus::PointF(cx + dx * cosine - dy * sine, cy + dx * sine + dy * cosine);
    }
};

// Signed distance to one edge of the triangle in surface pixels, positive
// inside: d = ax * x + ay * y + c for a surface point (x, y).
struct EdgeDistance {
    float ax, ay, c;
    float At(float x, float y) const { return ax * x + ay * y + c; }
};

EdgeDistance EdgeOf(Gdiplus::PointF p, Gdiplus::PointF q, Gdiplus::PointF inside, const Unturn& unturn)
{
    float nx = q.Y - p.Y, ny = p.X - q.X;
    const float length = std::sqrt(nx * nx + ny * ny);
    nx /= length, ny /= length;
    if (nx * (inside.X - p.X) + ny * (inside.Y - p.Y) < 0) nx = -nx, ny = -ny;
    // n . (unturn(s) - p), unturn being linear in s.
    const Gdiplus::PointF origin = unturn(0, 0);
    const Gdiplus::PointF ex = unturn(1, 0), ey = unturn(0, 1);
    EdgeDistance edge;
    edge.ax = nx * (ex.X - origin.X) + ny * (ex.Y - origin.Y);
    edge.ay = nx * (ey.X - origin.X) + ny * (ey.Y - origin.Y);
    edge.c = nx * (origin.X - p.X) + ny * (origin.Y - p.Y);
    return edge;
}

struct Surface {
    uint32_t* bits;
    int width, height;
    uint32_t* Row(int y) const { return bits + static_cast<size_t>(y) * width; }
};

// Draws an image placed at (left, top) in the unturned frame, turned.
void BlendTurned(const Surface& surface, const PremultipliedImage& image, float left, float top, const Unturn& unturn)
{
    if (image.IsEmpty()) return;
    float x0 = 1e9f, y0 = 1e9f, x1 = -1e9f, y1 = -1e9f;
    const float w = static_cast<float>(image.Width()), h = static_cast<float>(image.Height());
    for (const auto& corner : {Gdiplus::PointF(left, top), Gdiplus::PointF(left + w, top),
                               Gdiplus::PointF(left, top + h), Gdiplus::PointF(left + w, top + h)}) {
        const Gdiplus::PointF p = unturn.Turn(corner.X, corner.Y);
        x0 = std::min(x0, p.X), y0 = std::min(y0, p.Y), x1 = std::max(x1, p.X), y1 = std::max(y1, p.Y);
    }
    const int xs = std::max(0, static_cast<int>(std::floor(x0)) - 1);
    const int ys = std::max(0, static_cast<int>(std::floor(y0)) - 1);
    const int xe = std::min(surface.width, static_cast<int>(std::ceil(x1)) + 1);
    const int ye = std::min(surface.height, static_cast<int>(std::ceil(y1)) + 1);
    for (int y = ys; y < ye; ++y) {
        uint32_t* row = surface.Row(y);
        for (int x = xs; x < xe; ++x) {
            const Gdiplus::PointF q = unturn(static_cast<float>(x) + 0.5f, static_cast<float>(y) + 0.5f);
            const uint32_t pixel = image.Sample(q.X - left, q.Y - top);
            if (pixel) row[x] = BlendOver(row[x], pixel);
        }
    }
}

}  // namespace

bool HSVColorPicker::RenderComposed()
{
    const bool composing = m_bComposing;
    m_bComposing = true;
    const bool rendered = RenderSurface();
    m_bComposing = composing;
    return rendered;
}

void HSVColorPicker::Render()
{
    if (RenderComposed()) Present(nullptr);
}

void HSVColorPicker::RenderRect(RECT dirty)
{
    if (RenderComposed()) Present(&dirty);
}

Gdiplus::Status HSVColorPicker::PaintBackground(Gdiplus::Graphics& graphics)
{
    // Only the ring prepared for the current margin box can stand in for the image.
    if (!m_bComposing || !m_pBackgroundImage || m_pBackgroundImage != m_ringImage || m_ringLayer.IsEmpty() ||
        !m_bStretchImage)
        return Control::PaintBackground(graphics);
    std::shared_ptr<Gdiplus::Bitmap> ring = std::move(m_pBackgroundImage);
    m_pBackgroundImage.reset();
    const Gdiplus::Status status = Control::PaintBackground(graphics);
    m_pBackgroundImage = std::move(ring);
    graphics.Flush(Gdiplus::FlushIntentionSync);
    ComposeRing();
    return status;
}

void HSVColorPicker::PaintContent(Gdiplus::Graphics& graphics)
{
    if (!m_bComposing) {
        PaintContentGdiplus(graphics);
        return;
    }
    graphics.Flush(Gdiplus::FlushIntentionSync);
    ComposeTurned();
}

void HSVColorPicker::PrepareLayers()
{
    const int boxWidth = m_nWidth - m_margin.left - m_margin.right;
    const int boxHeight = m_nHeight - m_margin.top - m_margin.bottom;
    m_ringLayer = PremultipliedImage::FromBitmap(m_ringImage.get()).ScaledTo(boxWidth, boxHeight);
    m_ringRuns = m_ringLayer.OpaqueRuns();
    m_ringMarkerLayer = PremultipliedImage::FromBitmap(m_ringMarkerImage.get());
    m_triangleLayer = PremultipliedImage::FromBitmap(m_triangleImage.get());
    m_svMarkerLayer = PremultipliedImage::FromBitmap(m_svMarkerImage.get());

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
    m_fSmallGradientHue = -1.0f;
    UpdateSmallGradient();

    // How far from the triangle's edges the frame image has pixels: beyond
    // that the turned frame need not be sampled at all.
    const Unturn none{m_geometry.centre.X, m_geometry.centre.Y, 1.0f, 0.0f};
    const Gdiplus::PointF& a = m_geometry.a;
    const Gdiplus::PointF& b = m_geometry.b;
    const Gdiplus::PointF& c = m_geometry.c;
    const EdgeDistance edges[3] = {EdgeOf(a, c, b, none), EdgeOf(c, b, a, none), EdgeOf(b, a, c, none)};
    float reach = 0.0f;
    for (const PremultipliedImage::Run& run : m_triangleLayer.OpaqueRuns()) {
        for (int x = run.x0; x < run.x1; ++x) {
            const float px = static_cast<float>(x + m_margin.left) + 0.5f;
            const float py = static_cast<float>(run.y + m_margin.top) + 0.5f;
            const float nearest = std::min({edges[0].At(px, py), edges[1].At(px, py), edges[2].At(px, py)});
            reach = std::max(reach, std::fabs(nearest));
        }
    }
    m_fFrameReach = reach + 1.5f;  // and the bilinear spread
}

void HSVColorPicker::UpdateSmallGradient()
{
    const float hue = m_fHue;
    if (hue == m_fSmallGradientHue && !m_smallGradient.IsEmpty()) return;
    if (m_gradientWidth <= 0 || m_gradientHeight <= 0) return;
    if (m_smallGradient.Width() != m_gradientWidth || m_smallGradient.Height() != m_gradientHeight)
        m_smallGradient = PremultipliedImage(m_gradientWidth, m_gradientHeight);
    for (int y = 0; y < m_gradientHeight; ++y) {
        uint32_t* row = m_smallGradient.Row(y);
        const Gdiplus::PointF* sv = &m_gradientSV[static_cast<size_t>(y) * m_gradientWidth];
        // Opaque, so already premultiplied. Pixels outside the small triangle are never shown.
        for (int x = 0; x < m_gradientWidth; ++x) row[x] = HsvToArgb(hue, sv[x].X, sv[x].Y);
    }
    m_fSmallGradientHue = hue;
}

void HSVColorPicker::ComposeRing()
{
    const Surface surface{static_cast<uint32_t*>(m_memDC.Bits()), m_memDC.Width(), m_memDC.Height()};
    if (!surface.bits) return;
    for (const PremultipliedImage::Run& run : m_ringRuns) {
        const int y = run.y + m_margin.top;
        if (y < 0 || y >= surface.height) continue;
        const uint32_t* source = m_ringLayer.Row(run.y);
        uint32_t* row = surface.Row(y);
        const int x0 = std::max(run.x0, -m_margin.left);
        const int x1 = std::min(run.x1, surface.width - m_margin.left);
        for (int x = x0; x < x1; ++x) row[x + m_margin.left] = BlendOver(row[x + m_margin.left], source[x]);
    }
}

void HSVColorPicker::ComposeTurned()
{
    const Surface surface{static_cast<uint32_t*>(m_memDC.Bits()), m_memDC.Width(), m_memDC.Height()};
    if (!surface.bits) return;
    const PickerGeometry& g = m_geometry;
    const float radians = m_fHue * kDegreesToRadians;
    const Unturn unturn{g.centre.X, g.centre.Y, std::cos(radians), std::sin(radians)};

    if (!m_ringMarkerLayer.IsEmpty()) {
        const float inset = ScaledLength(static_cast<float>(kRingMarkerImageInset), g_fUIScale);
        BlendTurned(surface, m_ringMarkerLayer, g.centre.X + g.radius - inset,
                    g.centre.Y - static_cast<float>(m_ringMarkerLayer.Height()) / 2.0f, unturn);
    }

    // The gradient and the frame, row by row, only where the triangle grown
    // by the frame's reach lies.
    UpdateSmallGradient();
    const EdgeDistance edges[3] = {EdgeOf(g.a, g.c, g.b, unturn), EdgeOf(g.c, g.b, g.a, unturn),
                                   EdgeOf(g.b, g.a, g.c, unturn)};
    const float reach = std::max(m_fFrameReach, 1.0f);
    const float shrink = 1.0f / (g.side / g.gradientSize + kTextureOverscale);
    const float circumradius = g.gradientSize * std::sqrt(3.0f) / 3.0f;
    const Gdiplus::PointF smallOrigin(g.centre.X + circumradius * g_afCos60[4], g.centre.Y + circumradius * g_afSin60[4]);
    const float frameLeft = static_cast<float>(m_margin.left), frameTop = static_cast<float>(m_margin.top);

    const float reachRadius = g.TriangleRadius() + reach + 2.0f;
    const int ys = std::max(0, static_cast<int>(g.centre.Y - reachRadius));
    const int ye = std::min(surface.height, static_cast<int>(g.centre.Y + reachRadius) + 1);
    for (int y = ys; y < ye; ++y) {
        const float py = static_cast<float>(y) + 0.5f;
        // Where this row lies within reach of the triangle: three half-planes.
        float lo = 0.0f, hi = static_cast<float>(surface.width);
        bool empty = false;
        for (const EdgeDistance& e : edges) {
            const float k = e.ay * py + e.c + reach;  // e.ax * x + k > 0
            if (e.ax > 1e-6f)
                lo = std::max(lo, -k / e.ax);
            else if (e.ax < -1e-6f)
                hi = std::min(hi, -k / e.ax);
            else if (k <= 0.0f)
                empty = true;
        }
        if (empty || lo >= hi) continue;
        const int xs = std::max(0, static_cast<int>(std::floor(lo - 0.5f)));
        const int xe = std::min(surface.width, static_cast<int>(std::ceil(hi - 0.5f)) + 1);
        uint32_t* row = surface.Row(y);
        // Everything below is linear in x: step it along the row.
        const float px0 = static_cast<float>(xs) + 0.5f;
        float d0 = edges[0].At(px0, py), d1 = edges[1].At(px0, py), d2 = edges[2].At(px0, py);
        Gdiplus::PointF q = unturn(px0, py);
        const float qStepX = unturn.cosine, qStepY = -unturn.sine;
        for (int x = xs; x < xe; ++x, d0 += edges[0].ax, d1 += edges[1].ax, d2 += edges[2].ax, q.X += qStepX,
                 q.Y += qStepY) {
            const float inside = std::min(d0, std::min(d1, d2));
            if (inside <= -reach) continue;
            if (inside > -0.5f) {
                // Magnified about the centre, as the texture brush does; the edge
                // pixels covered in part.
                const float sx = g.centre.X + (q.X - g.centre.X) * shrink - smallOrigin.X;
                const float sy = g.centre.Y + (q.Y - g.centre.Y) * shrink - smallOrigin.Y;
                uint32_t color = m_smallGradient.SampleClamped(sx, sy);
                if (inside < 0.5f) color = ScalePixel(color, static_cast<uint32_t>((inside + 0.5f) * 256.0f));
                row[x] = BlendOver(row[x], color);
            }
            if (inside < reach) {
                const uint32_t frame = m_triangleLayer.Sample(q.X - frameLeft, q.Y - frameTop);
                if (frame) row[x] = BlendOver(row[x], frame);
            }
        }
    }

    if (!m_svMarkerLayer.IsEmpty()) {
        const float width = static_cast<float>(m_svMarkerLayer.Width());
        const float height = static_cast<float>(m_svMarkerLayer.Height());
        BlendTurned(surface, m_svMarkerLayer, m_fMarkerX - width / 2.0f + kSVMarkerImageOffset,
                    m_fMarkerY - height / 2.0f + kSVMarkerImageOffset, unturn);
    }
}
