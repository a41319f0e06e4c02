// Smooth curves through or near a list of pixel points: the parametric cubic
// spline that passes through every point and the uniform Beta-spline
// (beta1 = 2, beta2 = 0) that approximates them.  Both return the pixel points
// of the curve; the caller draws them as one polyline.
#pragma once

#include <vector>

struct SplinePoint {
    int x = 0;
    int y = 0;
    bool operator==(const SplinePoint&) const = default;
};

// Points of the parametric cubic spline through all m >= 2 points, in single
// precision with ten Jacobi sweeps for the tangents.  Segment i contributes its
// truncated start point and one point per 4 pixels of its larger extent (at
// least one).  Fewer than two points give no curve.
std::vector<SplinePoint> CubicSplinePoints(const std::vector<SplinePoint>& points);

// The uniform Beta-spline with shape parameters beta1 = 2 and beta2 = 0.
class CBetaSpline {
public:
    CBetaSpline();

    // Eleven points (t = 0, 0.1, ... just below 1) for each of the c - 3
    // segments of the c control points; nothing for fewer than four points.
    std::vector<SplinePoint> Points(const std::vector<SplinePoint>& control) const;

    double Beta1() const { return m_dBeta1; }
    double Beta2() const { return m_dBeta2; }

private:
    double m_dBeta1;   // bias
    double m_dBeta2;   // tension
};
