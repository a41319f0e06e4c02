#include "PlacementUnits.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace PlacementUnits {
namespace {

int ClampToInt(double v)
{
    constexpr double lo = std::numeric_limits<int>::min(), hi = std::numeric_limits<int>::max();
    return static_cast<int>(std::clamp(v, lo, hi));
}

int Relative(int v, int extent)
{
    return ClampToInt(std::ceil(static_cast<double>(v) * 10000.0 / std::max(extent, 1)));
}

int Pixels(int v, int extent)
{
    const double kUnit = static_cast<double>(0.0001f);
    const int p = ClampToInt(std::ceil(static_cast<double>(v) * extent * kUnit));
    return p % 2 == 0 ? p : (p > 0 ? p - 1 : p + 1);
}

} // namespace

WindowPlacement ToRelative(const WindowPlacement& wp, int nWidth, int nHeight)
{
    WindowPlacement out = wp;
    out.left = Relative(wp.left, nWidth);
    out.top = Relative(wp.top, nHeight);
    out.right = Relative(wp.right, nWidth);
    out.bottom = Relative(wp.bottom, nHeight);
    return out;
}

WindowPlacement ToPixels(const WindowPlacement& wp, int nWidth, int nHeight)
{
    WindowPlacement out = wp;
    out.left = Pixels(wp.left, nWidth);
    out.top = Pixels(wp.top, nHeight);
    out.right = Pixels(wp.right, nWidth);
    out.bottom = Pixels(wp.bottom, nHeight);
    return out;
}

} // namespace PlacementUnits
