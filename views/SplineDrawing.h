// Draws the spline curves through Canvas: the cubic spline and the Beta-spline
// as one polyline each, the Bézier curve with the poly-Bézier primitive.
#pragma once

#include "CanvasTypes.h"
#include "SplineCurves.h"

#include <span>
#include <vector>

class Canvas;

// Conversions between the canvas's and the curve generators' point types.
std::vector<CanvasPoint> ToCanvasPoints(std::span<const SplinePoint> points);
std::vector<SplinePoint> ToSplinePoints(std::span<const CanvasPoint> points);

// The parametric cubic spline through all points (at least two), current pen.
void DrawCubicSpline(Canvas& dc, std::span<const CanvasPoint> points);
// The Beta-spline of the control points with a 1-pixel pen of colour; nothing
// for fewer than four points.
void DrawBetaSpline(Canvas& dc, std::span<const CanvasPoint> points, ColourRef colour);
// Béziers from the first point through the rest (two control points and an end
// point per segment), current pen.
void DrawBezier(Canvas& dc, std::span<const CanvasPoint> points);
