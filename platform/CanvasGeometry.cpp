#include "CanvasGeometry.h"

#include <cmath>
#include <numbers>

namespace CanvasGeometry {

QRect ToQRect(const CanvasRect& r)
{
    return QRect(r.left, r.top, r.right - r.left, r.bottom - r.top);
}

CanvasRect FromQRect(const QRect& r)
{
    return {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
}

QRectF EllipseBox(const CanvasRect& r)
{
    return QRectF(r.left, r.top, r.right - r.left - 1, r.bottom - r.top - 1);
}

double ArcParameter(const CanvasRect& box, CanvasPoint radial)
{
    const QRectF e = EllipseBox(box);
    const double rx = e.width() / 2.0;
    const double ry = e.height() / 2.0;
    const double dx = radial.x - e.center().x();
    const double dy = radial.y - e.center().y();
    if (rx <= 0.0 || ry <= 0.0 || (dx == 0.0 && dy == 0.0))
        return 0.0;
    double deg = std::atan2(-dy / ry, dx / rx) * 180.0 / std::numbers::pi;
    if (deg < 0.0)
        deg += 360.0;
    return deg;
}

CanvasPoint ArcPoint(const CanvasRect& box, CanvasPoint radial)
{
    const QRectF e = EllipseBox(box);
    const double t = ArcParameter(box, radial) * std::numbers::pi / 180.0;
    return {static_cast<int>(std::lround(e.center().x() + e.width() / 2.0 * std::cos(t))),
            static_cast<int>(std::lround(e.center().y() - e.height() / 2.0 * std::sin(t)))};
}

double ArcSweep(const CanvasRect& box, CanvasPoint start, CanvasPoint end)
{
    double sweep = ArcParameter(box, end) - ArcParameter(box, start);
    if (sweep <= 1e-9)
        sweep += 360.0;
    return sweep;
}

bool HatchBit(HatchStyle hatch, int x, int y)
{
    const int px = x & 7;
    const int py = y & 7;
    const bool horizontal = py == 0;
    const bool vertical = px == 0;
    const bool fdiagonal = px == py;
    const bool bdiagonal = px + py == 7;
    switch (hatch) {
    case HatchStyle::Horizontal: return horizontal;
    case HatchStyle::Vertical: return vertical;
    case HatchStyle::FDiagonal: return fdiagonal;
    case HatchStyle::BDiagonal: return bdiagonal;
    case HatchStyle::Cross: return horizontal || vertical;
    case HatchStyle::DiagCross: return fdiagonal || bdiagonal;
    }
    return false;
}

CanvasPoint TextCellOffset(unsigned textAlign, int width, int ascent, int height)
{
    CanvasPoint off;
    switch (textAlign & TextAlign::HorizontalMask) {
    case TextAlign::Right: off.x = -width; break;
    case TextAlign::Centre: off.x = -(width / 2); break;
    default: off.x = 0; break;
    }
    switch (textAlign & TextAlign::VerticalMask) {
    case TextAlign::Baseline: off.y = -ascent; break;
    case TextAlign::Bottom: off.y = -height; break;
    default: off.y = 0; break;
    }
    return off;
}

} // namespace CanvasGeometry
