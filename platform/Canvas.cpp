#include "Canvas.h"

#include "CanvasGeometry.h"
#include "FontFactory.h"
#include "TextLayout.h"

Pen Canvas::SelectPen(const Pen& pen)
{
    return std::exchange(m_state.m_pen, pen);
}

Brush Canvas::SelectBrush(const Brush& brush)
{
    return std::exchange(m_state.m_brush, brush);
}

FontDesc Canvas::SelectFont(const FontDesc& font)
{
    return std::exchange(m_state.m_font, font);
}

ColourRef Canvas::SetTextColour(ColourRef colour)
{
    return std::exchange(m_state.m_clrText, colour);
}

ColourRef Canvas::SetBkColour(ColourRef colour)
{
    return std::exchange(m_state.m_clrBk, colour);
}

BkMode Canvas::SetBkMode(BkMode mode)
{
    return std::exchange(m_state.m_eBkMode, mode);
}

RasterMode Canvas::SetRasterMode(RasterMode mode)
{
    return std::exchange(m_state.m_eRasterMode, mode);
}

unsigned Canvas::SetTextAlign(unsigned align)
{
    return std::exchange(m_state.m_nTextAlign, align);
}

void Canvas::SetClipRect(const CanvasRect& rect)
{
    m_state.m_bClip = true;
    m_state.m_rcClip = rect.Normalised();
}

void Canvas::ResetClip()
{
    m_state.m_bClip = false;
    m_state.m_rcClip = {};
}

void Canvas::Save()
{
    m_aSaved.push_back(m_state);
}

void Canvas::Restore()
{
    if (m_aSaved.empty())
        return;
    m_state = m_aSaved.back();
    m_aSaved.pop_back();
}

void Canvas::MoveTo(int x, int y)
{
    DoMoveTo({x, y});
    m_state.m_ptCurrent = {x, y};
}

void Canvas::LineTo(int x, int y)
{
    DoLineTo(m_state.m_ptCurrent, {x, y});
    m_state.m_ptCurrent = {x, y};
}

void Canvas::Polyline(std::span<const CanvasPoint> points)
{
    if (points.size() >= 2)
        DoPolyline(points);
}

bool Canvas::PolyBezierTo(std::span<const CanvasPoint> points)
{
    const std::size_t whole = points.size() - points.size() % 3;
    if (whole == 0)
        return false;
    DoPolyBezierTo(m_state.m_ptCurrent, points.first(whole));
    m_state.m_ptCurrent = points[whole - 1];
    return true;
}

void Canvas::Polygon(std::span<const CanvasPoint> points)
{
    if (points.size() >= 2)
        DoPolygon(points);
}

void Canvas::Rectangle(const CanvasRect& rect)
{
    DoRectangle(rect.Normalised());
}

void Canvas::FillRect(const CanvasRect& rect, const Brush& brush)
{
    if (!rect.IsEmpty() && !brush.IsNull())
        DoFillRect(rect, brush);
}

void Canvas::Ellipse(const CanvasRect& rect)
{
    DoEllipse(rect.Normalised());
}

void Canvas::ArcTo(const CanvasRect& box, CanvasPoint start, CanvasPoint end)
{
    const CanvasRect b = box.Normalised();
    DoArcTo(m_state.m_ptCurrent, b, start, end);
    m_state.m_ptCurrent = CanvasGeometry::ArcPoint(b, end);
}

void Canvas::TextOut(int x, int y, const QString& text)
{
    if (!text.isEmpty())
        DoTextOut({x, y}, text);
}

int Canvas::DrawText(const QString& text, const CanvasRect& rect, unsigned format)
{
    if (text.isEmpty())
        return 0;
    const CanvasRect r = rect.Normalised();
    DoDrawText(text, r, format);
    return static_cast<int>(TextLayout::Lay(m_state.m_font, text, r, format).size())
           * FontFactory::Metrics(m_state.m_font).m_nHeight;
}

void Canvas::StretchBlt(const CanvasRect& dest, const QImage& image)
{
    StretchBlt(dest, image, {0, 0, image.width(), image.height()});
}

void Canvas::StretchBlt(const CanvasRect& dest, const QImage& image, const CanvasRect& src)
{
    if (image.isNull() || dest.IsEmpty() || src.IsEmpty())
        return;
    const CanvasRect inside{std::max(src.left, 0), std::max(src.top, 0),
                            std::min(src.right, image.width()), std::min(src.bottom, image.height())};
    if (inside != src)
        return;
    DoStretchBlt(dest, image, src);
}

void Canvas::SetPixel(int x, int y, ColourRef colour)
{
    DoSetPixel({x, y}, colour);
}

void Canvas::InvertRect(const CanvasRect& rect)
{
    if (!rect.IsEmpty())
        DoInvertRect(rect);
}

CanvasSize Canvas::GetTextExtent(const QString& text) const
{
    return {FontFactory::TextWidth(m_state.m_font, text), FontFactory::Metrics(m_state.m_font).m_nHeight};
}

FontMetricsInfo Canvas::GetTextMetrics() const
{
    return FontFactory::Metrics(m_state.m_font);
}
