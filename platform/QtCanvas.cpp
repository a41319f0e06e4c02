#include "QtCanvas.h"

#include "CanvasGeometry.h"
#include "FontFactory.h"
#include "QtTextPainting.h"
#include "TextLayout.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygon>

#include <algorithm>

using CanvasGeometry::ToQRect;

namespace {

// Dash patterns of styled 1-pixel pens, in pixels (on, off, ...).
QList<qreal> DashPattern(PenStyle style)
{
    switch (style) {
    case PenStyle::Dash: return {18, 6};
    case PenStyle::Dot: return {3, 3};
    case PenStyle::DashDot: return {9, 6, 3, 6};
    case PenStyle::DashDotDot: return {9, 3, 3, 3, 3, 3};
    default: return {};
    }
}

bool IsStyled(const Pen& pen)
{
    return pen.m_nWidth <= 1 && pen.m_eStyle != PenStyle::Solid && pen.m_eStyle != PenStyle::Null;
}

// QPen of a pen; gapColour != nullptr gives the solid pen that paints the gaps of a styled pen.
QPen ToQPen(const Pen& pen, const ColourRef* gapColour = nullptr)
{
    if (pen.IsNull())
        return QPen(Qt::NoPen);
    QPen q(ToQColor(gapColour ? *gapColour : pen.m_clrColour));
    if (pen.m_nWidth <= 1) {
        q.setWidth(1);
        q.setCosmetic(true);
        q.setCapStyle(Qt::FlatCap);
        q.setJoinStyle(Qt::MiterJoin);
        if (IsStyled(pen) && !gapColour)
            q.setDashPattern(DashPattern(pen.m_eStyle));
    } else {
        q.setWidth(pen.m_nWidth);
        q.setCapStyle(Qt::RoundCap);
        q.setJoinStyle(Qt::RoundJoin);
    }
    return q;
}

// QBrush of a brush; hatch spaces take bk in opaque mode and stay transparent otherwise.
QBrush ToQBrush(const Brush& brush, BkMode mode, ColourRef bk)
{
    switch (brush.m_eStyle) {
    case BrushStyle::Null: return QBrush(Qt::NoBrush);
    case BrushStyle::Solid: return QBrush(ToQColor(brush.m_clrColour));
    case BrushStyle::Hatched: break;
    }
    QImage tile(8, 8, QImage::Format_ARGB32);
    const QRgb fg = ToArgb(brush.m_clrColour);
    const QRgb bg = mode == BkMode::Opaque ? ToArgb(bk) : qRgba(0, 0, 0, 0);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            tile.setPixel(x, y, CanvasGeometry::HatchBit(brush.m_eHatch, x, y) ? fg : bg);
    return QBrush(tile);
}

QPoint ToQPoint(CanvasPoint p)
{
    return {p.x, p.y};
}

QPolygon ToQPolygon(std::span<const CanvasPoint> points)
{
    QPolygon poly;
    poly.reserve(static_cast<qsizetype>(points.size()));
    for (const CanvasPoint& p : points)
        poly << ToQPoint(p);
    return poly;
}

QRect Grow(const QRect& r, int by)
{
    return r.adjusted(-by, -by, by, by);
}

} // namespace

QtCanvas::QtCanvas(QImage& image) : m_image(image)
{
    const QImage::Format f = m_image.format();
    if (f != QImage::Format_RGB32 && f != QImage::Format_ARGB32 && f != QImage::Format_ARGB32_Premultiplied)
        m_image = m_image.convertToFormat(QImage::Format_RGB32);
}

QtCanvas::~QtCanvas()
{
    EndPainter();
}

CanvasSize QtCanvas::Size() const
{
    return {m_image.width(), m_image.height()};
}

void QtCanvas::Flush()
{
    EndPainter();
}

QPainter& QtCanvas::Painter()
{
    if (!m_pPainter) {
        // Only reached with a non-empty image: every primitive checks first.
        m_pPainter = std::make_unique<QPainter>(&m_image);
        m_pPainter->setRenderHint(QPainter::Antialiasing, false);
    }
    ApplyClip(*m_pPainter);
    return *m_pPainter;
}

void QtCanvas::EndPainter()
{
    if (m_pPainter) {
        m_pPainter->end();
        m_pPainter.reset();
    }
}

void QtCanvas::ApplyClip(QPainter& p) const
{
    if (State().m_bClip)
        p.setClipRect(ToQRect(State().m_rcClip));
    else
        p.setClipping(false);
}

QRect QtCanvas::ClipBounds() const
{
    QRect r = m_image.rect();
    if (State().m_bClip)
        r &= ToQRect(State().m_rcClip);
    return r;
}

QRect QtCanvas::PointBounds(std::span<const CanvasPoint> points) const
{
    if (points.empty())
        return {};
    int l = points.front().x, r = l, t = points.front().y, b = t;
    for (const CanvasPoint& p : points) {
        l = std::min(l, p.x);
        r = std::max(r, p.x);
        t = std::min(t, p.y);
        b = std::max(b, p.y);
    }
    return Grow(QRect(QPoint(l, t), QPoint(r, b)), State().m_pen.m_nWidth + 2);
}

void QtCanvas::PaintShape(QPainter& p, const ShapeStep& fill, const ShapeStep& outline) const
{
    const CanvasState& s = State();
    if (fill && !s.m_brush.IsNull()) {
        p.setPen(Qt::NoPen);
        p.setBrush(ToQBrush(s.m_brush, s.m_eBkMode, s.m_clrBk));
        fill(p);
    }
    if (outline && !s.m_pen.IsNull()) {
        p.setBrush(Qt::NoBrush);
        if (IsStyled(s.m_pen) && s.m_eBkMode == BkMode::Opaque) {
            p.setPen(ToQPen(s.m_pen, &s.m_clrBk));
            outline(p);
        }
        p.setPen(ToQPen(s.m_pen));
        outline(p);
    }
}

void QtCanvas::DrawShape(const QRect& bounds, const ShapeStep& fill, const ShapeStep& outline)
{
    if (m_image.isNull())
        return;
    const RasterMode mode = State().m_eRasterMode;
    if (mode == RasterMode::Copy) {
        QPainter& p = Painter();
        p.save();
        PaintShape(p, fill, outline);
        p.restore();
        return;
    }
    // Draw the shape into a transparent mask, then combine each covered pixel.
    const QRect area = Grow(bounds, 2) & ClipBounds();
    if (area.isEmpty())
        return;
    EndPainter();
    QImage mask(m_image.size(), QImage::Format_ARGB32);
    mask.fill(0);
    {
        QPainter mp(&mask);
        mp.setRenderHint(QPainter::Antialiasing, false);
        ApplyClip(mp);
        PaintShape(mp, fill, outline);
    }
    for (int y = area.top(); y <= area.bottom(); ++y) {
        const auto* src = reinterpret_cast<const QRgb*>(mask.constScanLine(y));
        auto* dst = reinterpret_cast<QRgb*>(m_image.scanLine(y));
        for (int x = area.left(); x <= area.right(); ++x) {
            if (qAlpha(src[x]) < 128)
                continue;
            if (mode == RasterMode::Invert)
                dst[x] ^= 0x00FFFFFFu;
            else
                dst[x] ^= (src[x] & 0x00FFFFFFu);
        }
    }
}

void QtCanvas::DoMoveTo(CanvasPoint)
{
}

void QtCanvas::DoLineTo(CanvasPoint from, CanvasPoint to)
{
    if (from == to)
        return;
    const CanvasPoint pts[] = {from, to};
    DrawShape(PointBounds(pts), nullptr,
              [&](QPainter& p) { p.drawLine(ToQPoint(from), ToQPoint(to)); });
}

void QtCanvas::DoPolyline(std::span<const CanvasPoint> points)
{
    const QPolygon poly = ToQPolygon(points);
    DrawShape(PointBounds(points), nullptr, [&](QPainter& p) { p.drawPolyline(poly); });
}

void QtCanvas::DoPolyBezierTo(CanvasPoint from, std::span<const CanvasPoint> points)
{
    QPainterPath path(QPointF(from.x, from.y));
    for (std::size_t i = 0; i + 2 < points.size(); i += 3)
        path.cubicTo(ToQPoint(points[i]), ToQPoint(points[i + 1]), ToQPoint(points[i + 2]));
    QRect bounds = PointBounds(points) | PointBounds(std::span<const CanvasPoint>(&from, 1));
    DrawShape(bounds, nullptr, [&](QPainter& p) { p.drawPath(path); });
}

void QtCanvas::DoPolygon(std::span<const CanvasPoint> points)
{
    const QPolygon poly = ToQPolygon(points);
    DrawShape(
        PointBounds(points), [&](QPainter& p) { p.drawPolygon(poly, Qt::OddEvenFill); },
        [&](QPainter& p) { p.drawPolygon(poly, Qt::OddEvenFill); });
}

void QtCanvas::DoRectangle(const CanvasRect& rect)
{
    // Pixels l .. r-1 carry the outline; without a pen the fill stops at r-2,
    // which is what drawing this rectangle without a pen gives.
    const QRect r(rect.left, rect.top, rect.Width() - 1, rect.Height() - 1);
    if (r.width() < 0 || r.height() < 0)
        return;
    const ShapeStep draw = [&](QPainter& p) { p.drawRect(r); };
    DrawShape(Grow(ToQRect(rect), State().m_pen.m_nWidth), draw, draw);
}

void QtCanvas::DoFillRect(const CanvasRect& rect, const Brush& brush)
{
    if (m_image.isNull())
        return;
    QPainter& p = Painter();
    p.fillRect(ToQRect(rect), ToQBrush(brush, State().m_eBkMode, State().m_clrBk));
}

void QtCanvas::DoEllipse(const CanvasRect& rect)
{
    const QRectF box = CanvasGeometry::EllipseBox(rect);
    if (box.width() < 0 || box.height() < 0)
        return;
    const ShapeStep draw = [&](QPainter& p) { p.drawEllipse(box); };
    DrawShape(Grow(ToQRect(rect), State().m_pen.m_nWidth), draw, draw);
}

void QtCanvas::DoArcTo(CanvasPoint from, const CanvasRect& box, CanvasPoint start, CanvasPoint end)
{
    QPainterPath path(QPointF(from.x, from.y));
    const QRectF e = CanvasGeometry::EllipseBox(box);
    if (e.width() <= 0 || e.height() <= 0) {
        path.lineTo(ToQPoint(CanvasGeometry::ArcPoint(box, end)));
    } else {
        path.arcTo(e, CanvasGeometry::ArcParameter(box, start), CanvasGeometry::ArcSweep(box, start, end));
    }
    const CanvasPoint corners[] = {from, {box.left, box.top}, {box.right, box.bottom}};
    DrawShape(PointBounds(corners), nullptr, [&](QPainter& p) { p.drawPath(path); });
}

void QtCanvas::DoTextOut(CanvasPoint at, const QString& text)
{
    if (!m_image.isNull())
        QtTextPainting::TextOut(Painter(), State(), at, text);
}

void QtCanvas::DoDrawText(const QString& text, const CanvasRect& rect, unsigned format)
{
    if (!m_image.isNull())
        QtTextPainting::DrawText(Painter(), State(), text, rect, format);
}

void QtCanvas::DoStretchBlt(const CanvasRect& dest, const QImage& image, const CanvasRect& src)
{
    if (m_image.isNull())
        return;
    QPainter& p = Painter();
    p.save();
    p.setRenderHint(QPainter::SmoothPixmapTransform, false);
    if (image.hasAlphaChannel())
        p.drawImage(ToQRect(dest), image.convertToFormat(QImage::Format_RGB32), ToQRect(src));
    else
        p.drawImage(ToQRect(dest), image, ToQRect(src));
    p.restore();
}

void QtCanvas::DoSetPixel(CanvasPoint at, ColourRef colour)
{
    if (!ClipBounds().contains(at.x, at.y))
        return;
    QPainter& p = Painter();
    p.fillRect(QRect(at.x, at.y, 1, 1), ToQColor(colour));
}

void QtCanvas::DoInvertRect(const CanvasRect& rect)
{
    const QRect area = ToQRect(rect) & ClipBounds();
    if (area.isEmpty())
        return;
    EndPainter();
    for (int y = area.top(); y <= area.bottom(); ++y) {
        auto* dst = reinterpret_cast<QRgb*>(m_image.scanLine(y));
        for (int x = area.left(); x <= area.right(); ++x)
            dst[x] ^= 0x00FFFFFFu;
    }
}
