#include "SplineDrawing.h"

#include "Canvas.h"
#include "SplineCurves.h"

std::vector<SplinePoint> ToSplinePoints(std::span<const CanvasPoint> points)
{
    std::vector<SplinePoint> out;
    out.reserve(points.size());
    for (const CanvasPoint& p : points)
        out.push_back({p.x, p.y});
    return out;
}

std::vector<CanvasPoint> ToCanvasPoints(std::span<const SplinePoint> points)
{
    std::vector<CanvasPoint> out;
    out.reserve(points.size());
    for (const SplinePoint& p : points)
        out.push_back({p.x, p.y});
    return out;
}

void DrawCubicSpline(Canvas& dc, std::span<const CanvasPoint> points)
{
    const std::vector<SplinePoint> curve = CubicSplinePoints(ToSplinePoints(points));
    dc.Polyline(ToCanvasPoints(curve));
}

void DrawBetaSpline(Canvas& dc, std::span<const CanvasPoint> points, ColourRef colour)
{
    const std::vector<SplinePoint> curve = CBetaSpline().Points(ToSplinePoints(points));
    if (curve.size() < 2)
        return;
    const Pen old = dc.SelectPen(Pen::Solid(1, colour));
    dc.Polyline(ToCanvasPoints(curve));
    dc.SelectPen(old);
}

void DrawBezier(Canvas& dc, std::span<const CanvasPoint> points)
{
    if (points.size() < 4)
        return;
    dc.MoveTo(points.front());
    dc.PolyBezierTo(points.subspan(1));
}
