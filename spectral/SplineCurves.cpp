#include "SplineCurves.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>

namespace {

constexpr int kJacobiSweeps = 10;
constexpr float kPixelsPerStep = 4.0f;

// Tangents of one coordinate by ten Jacobi sweeps over the tridiagonal system
// (sub-diagonal a, diagonal b, super-diagonal c, right-hand side r).
std::vector<float> SolveTangents(const std::vector<float>& a, const std::vector<float>& b,
                                 const std::vector<float>& c, const std::vector<float>& r)
{
    const size_t m = b.size();
    std::vector<float> t(m);
    for (size_t i = 0; i < m; ++i)
        t[i] = r[i] / b[i];
    std::vector<float> next(m);
    for (int sweep = 0; sweep < kJacobiSweeps; ++sweep) {
        next[0] = (r[0] - c[0] * t[1]) / b[0];
        for (size_t i = 1; i + 1 < m; ++i)
            next[i] = (r[i] - a[i] * t[i - 1] - c[i] * t[i + 1]) / b[i];
        next[m - 1] = (r[m - 1] - a[m - 1] * t[m - 2]) / b[m - 1];
        t.swap(next);
    }
    return t;
}

int Truncated(float v)
{
    // Pixel coordinates stay far inside the int range; anything else (a
    // non-finite value from degenerate input) is pinned to 0.
    return std::isfinite(v) && std::fabs(v) < 1e9f ? static_cast<int>(v) : 0;
}

} // namespace

std::vector<SplinePoint> CubicSplinePoints(const std::vector<SplinePoint>& points)
{
    const size_t m = points.size();
    if (m < 2)
        return {};

    std::vector<float> x(m), y(m);
    for (size_t i = 0; i < m; ++i) {
        x[i] = static_cast<float>(points[i].x);
        y[i] = static_cast<float>(points[i].y);
    }
    std::vector<float> dx(m - 1), dy(m - 1), len(m - 1), k(m - 1);
    for (size_t i = 0; i + 1 < m; ++i) {
        dx[i] = x[i + 1] - x[i];
        dy[i] = y[i + 1] - y[i];
        len[i] = std::sqrt(dx[i] * dx[i] + dy[i] * dy[i]);
    }
    // Chord ratios; a repeated point (a chord of length 0 to divide by) gets
    // the ratio 1 instead of an infinite one.
    for (size_t i = 0; i + 2 < m; ++i)
        k[i] = len[i + 1] > 0.0f ? len[i] / len[i + 1] : 1.0f;
    k[m - 2] = 1.0f;

    std::vector<float> a(m, 0.0f), b(m), c(m, 0.0f), rx(m), ry(m);
    b[0] = 2.0f;
    c[0] = k[0];
    rx[0] = 3.0f * dx[0];
    ry[0] = 3.0f * dy[0];
    for (size_t i = 1; i + 1 < m; ++i) {
        const float kp = k[i - 1];
        a[i] = 1.0f;
        b[i] = 2.0f * kp * (1.0f + kp);
        c[i] = kp * kp * k[i];
        rx[i] = 3.0f * (kp * kp * dx[i] + dx[i - 1]);
        ry[i] = 3.0f * (kp * kp * dy[i] + dy[i - 1]);
    }
    a[m - 1] = 1.0f;
    b[m - 1] = 2.0f * k[m - 2];
    rx[m - 1] = 3.0f * dx[m - 2];
    ry[m - 1] = 3.0f * dy[m - 2];
    // A repeated point makes a chord ratio 0 and so a zero diagonal, which the
    // sweeps would divide by; the diagonal 2 of the first row keeps them finite.
    for (size_t i = 0; i < m; ++i)
        if (b[i] == 0.0f)
            b[i] = 2.0f;

    const std::vector<float> tx = SolveTangents(a, b, c, rx);
    const std::vector<float> ty = SolveTangents(a, b, c, ry);

    std::vector<SplinePoint> curve;
    for (size_t i = 0; i + 1 < m; ++i) {
        const int extent = std::max(std::abs(Truncated(dx[i])), std::abs(Truncated(dy[i])));
        const int steps = std::max(1, static_cast<int>(0.25f * static_cast<float>(extent)));
        curve.push_back({Truncated(x[i]), Truncated(y[i])});
        for (int j = 1; j <= steps; ++j) {
            const float t = static_cast<float>(j) / static_cast<float>(steps);
            const float h1 = (3.0f - 2.0f * t) * t * t;
            const float h2 = t * (t - 1.0f) * (t - 1.0f);
            const float h3 = t * t * (t - 1.0f);
            curve.push_back({Truncated(x[i] + h1 * dx[i] + h2 * tx[i] + h3 * k[i] * tx[i + 1]),
                             Truncated(y[i] + h1 * dy[i] + h2 * ty[i] + h3 * k[i] * ty[i + 1])});
        }
    }
    return curve;
}

CBetaSpline::CBetaSpline() : m_dBeta1(2.0), m_dBeta2(0.0) {}

std::vector<SplinePoint> CBetaSpline::Points(const std::vector<SplinePoint>& control) const
{
    if (control.size() < 4)
        return {};
    const double b1 = m_dBeta1;
    const double b2 = m_dBeta2;
    const double b1sq = b1 * b1;
    const double b1cu = b1sq * b1;
    const double delta = 2.0 * b1cu + 4.0 * b1sq + 4.0 * b1 + b2 + 2.0;
    // Rows multiply t^3, t^2, t and 1; columns weight the four control points.
    const double basis[4][4] = {
        {-2.0 * b1cu, 2.0 * (b2 + b1cu + b1sq + b1), -2.0 * (b2 + b1sq + b1 + 1.0), 2.0},
        {6.0 * b1cu, -3.0 * (b2 + 2.0 * b1cu + 2.0 * b1sq), 3.0 * (b2 + 2.0 * b1sq), 0.0},
        {-6.0 * b1cu, 6.0 * (b1cu - b1), 6.0 * b1, 0.0},
        {2.0 * b1cu, b2 + 4.0 * (b1sq + b1), 2.0, 0.0},
    };

    std::vector<SplinePoint> curve;
    for (size_t seg = 0; seg + 3 < control.size(); ++seg) {
        for (double t = 0.0; t < 1.0; t += 0.1) {
            const std::array<double, 4> powers = {t * t * t, t * t, t, 1.0};
            double px = 0.0;
            double py = 0.0;
            for (size_t j = 0; j < 4; ++j) {
                double u = 0.0;
                for (size_t row = 0; row < 4; ++row)
                    u += powers[row] * basis[row][j];
                u /= delta;
                px += u * control[seg + j].x;
                py += u * control[seg + j].y;
            }
            curve.push_back({static_cast<int>(px), static_cast<int>(py)});
        }
    }
    return curve;
}
