#include "PainterCanvas.h"

#include "CanvasGeometry.h"
#include "FontFactory.h"
#include "QtTextPainting.h"
#include "TextLayout.h"

#include <QPainter>
#include <QPainterPath>

using CanvasGeometry::ToQRect;

namespace {
const QColor kOverlay(128, 128, 128, 128);

QPolygon ToQPolygon(std::span<const CanvasPoint> points)
{
    QPolygon poly;
    poly.reserve(static_cast<qsizetype>(points.size()));
    for (const CanvasPoint& p : points)
        poly << QPoint(p.x, p.y);
    return poly;
}

QBrush ToQBrush(const Brush& brush)
{
    switch (brush.m_eStyle) {
    case BrushStyle::Null: return QBrush(Qt::NoBrush);
    case BrushStyle::Solid: return QBrush(ToQColor(brush.m_clrColour));
    case BrushStyle::Hatched: break;
    }
    static const Qt::BrushStyle styles[] = {Qt::HorPattern, Qt::VerPattern, Qt::FDiagPattern,
                                            Qt::BDiagPattern, Qt::CrossPattern, Qt::DiagCrossPattern};
    const auto index = static_cast<std::size_t>(brush.m_eHatch);
    return QBrush(ToQColor(brush.m_clrColour), index < 6 ? styles[index] : Qt::SolidPattern);
}
} // namespace

PainterCanvas::PainterCanvas(QPainter& painter, CanvasSize size) : m_painter(painter), m_size(size) {}

void PainterCanvas::Prepare(bool bFill)
{
    const CanvasState& s = State();
    if (s.m_bClip)
        m_painter.setClipRect(ToQRect(s.m_rcClip));
    else
        m_painter.setClipping(false);
    const bool overlay = s.m_eRasterMode != RasterMode::Copy;
    if (s.m_pen.IsNull()) {
        m_painter.setPen(Qt::NoPen);
    } else {
        QPen pen(overlay ? kOverlay : ToQColor(s.m_pen.m_clrColour));
        pen.setWidth(std::max(1, s.m_pen.m_nWidth));
        m_painter.setPen(pen);
    }
    if (!bFill || s.m_brush.IsNull())
        m_painter.setBrush(Qt::NoBrush);
    else
        m_painter.setBrush(overlay ? QBrush(kOverlay) : ToQBrush(s.m_brush));
}

void PainterCanvas::DoMoveTo(CanvasPoint) {}

void PainterCanvas::DoLineTo(CanvasPoint from, CanvasPoint to)
{
    Prepare(false);
    m_painter.drawLine(from.x, from.y, to.x, to.y);
}

void PainterCanvas::DoPolyline(std::span<const CanvasPoint> points)
{
    Prepare(false);
    m_painter.drawPolyline(ToQPolygon(points));
}

void PainterCanvas::DoPolyBezierTo(CanvasPoint from, std::span<const CanvasPoint> points)
{
    QPainterPath path(QPointF(from.x, from.y));
    for (std::size_t i = 0; i + 2 < points.size(); i += 3)
        path.cubicTo(points[i].x, points[i].y, points[i + 1].x, points[i + 1].y, points[i + 2].x, points[i + 2].y);
    Prepare(false);
    m_painter.drawPath(path);
}

void PainterCanvas::DoPolygon(std::span<const CanvasPoint> points)
{
    Prepare(true);
    m_painter.drawPolygon(ToQPolygon(points), Qt::OddEvenFill);
}

void PainterCanvas::DoRectangle(const CanvasRect& rect)
{
    Prepare(true);
    m_painter.drawRect(QRect(rect.left, rect.top, rect.Width() - 1, rect.Height() - 1));
}

void PainterCanvas::DoFillRect(const CanvasRect& rect, const Brush& brush)
{
    Prepare(false);
    m_painter.fillRect(ToQRect(rect), ToQBrush(brush));
}

void PainterCanvas::DoEllipse(const CanvasRect& rect)
{
    Prepare(true);
    m_painter.drawEllipse(CanvasGeometry::EllipseBox(rect));
}

void PainterCanvas::DoArcTo(CanvasPoint from, const CanvasRect& box, CanvasPoint start, CanvasPoint end)
{
    QPainterPath path(QPointF(from.x, from.y));
    const QRectF e = CanvasGeometry::EllipseBox(box);
    if (e.width() <= 0 || e.height() <= 0) {
        const CanvasPoint p = CanvasGeometry::ArcPoint(box, end);
        path.lineTo(p.x, p.y);
    } else {
        path.arcTo(e, CanvasGeometry::ArcParameter(box, start), CanvasGeometry::ArcSweep(box, start, end));
    }
    Prepare(false);
    m_painter.drawPath(path);
}

void PainterCanvas::DoTextOut(CanvasPoint at, const QString& text)
{
    Prepare(false);
    QtTextPainting::TextOut(m_painter, State(), at, text);
}

void PainterCanvas::DoDrawText(const QString& text, const CanvasRect& rect, unsigned format)
{
    Prepare(false);
    QtTextPainting::DrawText(m_painter, State(), text, rect, format);
}

void PainterCanvas::DoStretchBlt(const CanvasRect& dest, const QImage& image, const CanvasRect& src)
{
    Prepare(false);
    m_painter.drawImage(ToQRect(dest), image, ToQRect(src));
}

void PainterCanvas::DoSetPixel(CanvasPoint at, ColourRef colour)
{
    Prepare(false);
    m_painter.fillRect(QRect(at.x, at.y, 1, 1), ToQColor(colour));
}

void PainterCanvas::DoInvertRect(const CanvasRect& rect)
{
    Prepare(false);
    m_painter.fillRect(ToQRect(rect), kOverlay);
}
