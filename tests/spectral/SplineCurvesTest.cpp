// Cubic spline through points and Beta-spline near them.
#include "SplineCurves.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

TEST(CubicSpline, TwoPointsFortyPixelsApartGiveTenSteps)
{
    const auto curve = CubicSplinePoints({{10, 50}, {50, 50}});
    ASSERT_EQ(curve.size(), 11u);
    EXPECT_EQ(curve.front(), (SplinePoint{10, 50}));
    EXPECT_EQ(curve.back(), (SplinePoint{50, 50}));
    for (size_t i = 1; i < curve.size(); ++i)
        EXPECT_GE(curve[i].x, curve[i - 1].x);
}

TEST(CubicSpline, StepsFollowTheLargerExtentOfEachSegment)
{
    struct Case { std::vector<SplinePoint> points; size_t expected; };
    const Case cases[] = {
        {{{0, 0}, {3, 2}}, 2u},                    // closer than 4 px: still one step
        {{{0, 0}, {2, 17}}, 5u},                   // 17 px down: 4 steps
        {{{0, 0}, {40, 0}, {40, 8}}, 11u + 3u},    // 10 steps, then 2 steps
        {{{5, 5}}, 0u},                            // one point: no curve
    };
    for (const Case& c : cases)
        EXPECT_EQ(CubicSplinePoints(c.points).size(), c.expected);
}

TEST(CubicSpline, PassesThroughEveryPointAndStaysOnALine)
{
    std::vector<SplinePoint> line;
    for (int i = 0; i < 6; ++i)
        line.push_back({20 * i, 100 + 10 * i});
    const auto curve = CubicSplinePoints(line);
    ASSERT_EQ(curve.size(), 5u * 6u);
    for (size_t seg = 0; seg < 5; ++seg)
        EXPECT_EQ(curve[seg * 6], line[seg]);
    EXPECT_EQ(curve.back(), line.back());
    for (const SplinePoint& p : curve)
        EXPECT_LE(std::abs((100 + p.x / 2) - p.y), 1) << p.x << "," << p.y;
}

TEST(CubicSpline, RepeatedPointsGiveAFiniteCurve)
{
    const auto curve = CubicSplinePoints({{0, 0}, {30, 10}, {30, 10}, {60, 0}});
    ASSERT_FALSE(curve.empty());
    for (const SplinePoint& p : curve) {
        EXPECT_GE(p.x, -100);
        EXPECT_LE(p.x, 200);
        EXPECT_GE(p.y, -100);
        EXPECT_LE(p.y, 200);
    }
    EXPECT_EQ(curve.back(), (SplinePoint{60, 0}));
}

TEST(BetaSpline, ElevenPointsPerSegment)
{
    CBetaSpline spline;
    EXPECT_EQ(spline.Beta1(), 2.0);
    EXPECT_EQ(spline.Beta2(), 0.0);
    const std::vector<SplinePoint> five = {{0, 0}, {10, 40}, {20, 0}, {30, 40}, {40, 0}};
    EXPECT_TRUE(spline.Points({five.begin(), five.begin() + 3}).empty());
    EXPECT_EQ(spline.Points({five.begin(), five.begin() + 4}).size(), 11u);
    EXPECT_EQ(spline.Points(five).size(), 22u);
}

TEST(BetaSpline, ApproximatesWithoutPassingThroughTheControlPoints)
{
    // A straight run of control points gives points on the line; a peak is
    // smoothed: the curve stays below the middle control point.
    CBetaSpline spline;
    for (const SplinePoint& p : spline.Points({{0, 0}, {10, 10}, {20, 20}, {30, 30}}))
        EXPECT_LE(std::abs(p.x - p.y), 1);
    int highest = 1000;
    for (const SplinePoint& p : spline.Points({{0, 100}, {10, 100}, {20, 20}, {30, 100}, {40, 100}}))
        highest = std::min(highest, p.y);
    EXPECT_GT(highest, 20);
    EXPECT_LT(highest, 100);
}

TEST(BetaSpline, StartsAtTheWeightedFirstPoints)
{
    // At t = 0 the weights are (2 b1^3, b2 + 4 (b1^2 + b1), 2, 0) / delta = (16, 24, 2, 0) / 42.
    CBetaSpline spline;
    const auto curve = spline.Points({{0, 0}, {42, 0}, {84, 0}, {126, 0}});
    EXPECT_EQ(curve.front().x, (24 * 42 + 2 * 84) / 42);
}

} // namespace
