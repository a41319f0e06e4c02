// Geometry of the maximal-exponent and correlation-dimension plots.
#include "NonlinearPlots.h"
#include "RecordingCanvas.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

constexpr ColourRef kRed = MakeColour(255, 0, 0);
constexpr ColourRef kBlue = MakeColour(0, 0, 255);
constexpr ColourRef kGreen = MakeColour(0, 255, 0);

std::vector<CanvasSegment> SegmentsOf(const RecordingCanvas& canvas, ColourRef colour)
{
    std::vector<CanvasSegment> out;
    for (const CanvasSegment& s : canvas.Segments())
        if (s.m_pen.m_clrColour == colour)
            out.push_back(s);
    return out;
}

} // namespace

TEST(MaxExponentPlot, CurvesAxesAndGaps)
{
    // Dimensions 2 .. 4, one size, 20 iterations, S(n) = -2 + 0.05 n; dimension 2 has no value at n = 5.
    MaxExponentResult r;
    r.m_nSizes = 1;
    r.m_nSizesDone = 1;
    r.m_nIterations = 20;
    r.m_nMinDim = 2;
    r.m_nMaxDim = 4;
    r.m_aRows.assign(3, std::vector<double>(2 * 21));
    for (auto& row : r.m_aRows)
        for (int n = 0; n <= 20; ++n)
            row[static_cast<std::size_t>(n)] = -2.0 + 0.05 * n;
    r.m_aRows[0][5] = std::numeric_limits<double>::quiet_NaN();

    RecordingCanvas canvas({440, 330});
    DrawMaxExponentPlot(canvas, r);
    const MaxExponentScales scales = MaxExponentPlotScales(r, 440, 330);
    EXPECT_EQ(scales.m_nXStep, 19);        // 400 / 21, as integers
    EXPECT_DOUBLE_EQ(scales.m_dScaleY, 150.0); // 300 / |-2|

    const CanvasRecord* title = canvas.FindText(QStringLiteral("Maximaler Lyapunovexponent"));
    ASSERT_TRUE(title);
    EXPECT_EQ(title->m_eKind, CanvasRecordKind::DrawText);
    EXPECT_TRUE(title->m_nFormat & DrawTextFormat::Right);
    const CanvasRecord* label = canvas.FindText(QStringLiteral("Stretchfaktor S(dn)"));
    ASSERT_TRUE(label);
    EXPECT_EQ(label->m_aPoints[0], (CanvasPoint{4, 165}));
    EXPECT_EQ(label->m_state.m_font.m_nEscapement, 900);
    EXPECT_EQ(label->m_state.m_font.m_strFace, QStringLiteral("Century Gothic"));
    // S = -1 is the only tick above the axis; iterations 0, 10, 20 are labelled.
    const CanvasRecord* tick = canvas.FindText(QStringLiteral("-1"));
    ASSERT_TRUE(tick);
    EXPECT_EQ(tick->m_aPoints[0], (CanvasPoint{22, 150}));
    EXPECT_FALSE(canvas.FindText(QStringLiteral("-2")));
    ASSERT_TRUE(canvas.FindText(QStringLiteral("20")));
    EXPECT_EQ(canvas.FindText(QStringLiteral("20"))->m_aPoints[0], (CanvasPoint{417, 302}));

    const std::vector<CanvasSegment> red = SegmentsOf(canvas, kRed);
    const std::vector<CanvasSegment> blue = SegmentsOf(canvas, kBlue);
    const std::vector<CanvasSegment> green = SegmentsOf(canvas, kGreen);
    ASSERT_EQ(blue.size(), 20u);
    EXPECT_EQ(green.size(), 20u);
    EXPECT_EQ(red.size(), 18u); // no line into the step without a value, none out of it
    EXPECT_EQ(blue[0].m_ptFrom, (CanvasPoint{40, 300}));
    EXPECT_EQ(blue[0].m_ptTo, (CanvasPoint{40, 292}));  // S(1) = -1.95
    EXPECT_EQ(blue[19].m_ptTo, (CanvasPoint{401, 150})); // S(20) = -1
    for (const CanvasSegment& s : red)
        EXPECT_NE(s.m_ptTo.x, 4 * 19 + 40); // no line to the point of S(5)
}

TEST(CorrelationPlot, PanelsCurvesAndClipping)
{
    // Three dimensions, 12 radii from 1 down to 0.001; slope 2 except one far above
    // the panel and one below its base line.
    CorrDimResult r;
    r.m_nMaxDim = 3;
    r.m_nRadii = 12;
    const double f = std::pow(1000.0, 1.0 / 11.0);
    for (int j = 0; j < 3; ++j) {
        std::vector<CorrDimEntry> row;
        double radius = 1.0;
        for (int k = 0; k < 11; ++k) {
            radius /= f;
            row.push_back({radius, k == 4 ? 10.0 : k == 6 ? -1.0 : 2.0});
        }
        r.m_aRows.push_back(row);
    }
    RecordingCanvas canvas({600, 400});
    EXPECT_TRUE(DrawCorrelationPlot(canvas, r, 0, 0).empty());

    // y_step = (370 / 2) / 7 = 26, base line h = 400 - 200 - 30 = 170, slope 2 at y = 118.
    const std::vector<CanvasSegment> separator = canvas.HorizontalAt(200);
    ASSERT_EQ(separator.size(), 1u);
    EXPECT_EQ(separator[0].m_pen.m_nWidth, 3);
    EXPECT_EQ(canvas.HorizontalAt(170).size(), 1u);
    ASSERT_TRUE(canvas.FindText(QStringLiteral("Radien")));
    EXPECT_EQ(canvas.FindText(QStringLiteral("Radien"))->m_aPoints[0], (CanvasPoint{450, 182}));
    EXPECT_TRUE(canvas.FindText(QStringLiteral("0.001")));
    EXPECT_TRUE(canvas.FindText(QStringLiteral("0.100")));

    const std::vector<CanvasSegment> red = SegmentsOf(canvas, kRed);
    EXPECT_EQ(SegmentsOf(canvas, kBlue).size(), red.size());
    EXPECT_EQ(SegmentsOf(canvas, kGreen).size(), red.size());
    ASSERT_EQ(red.size(), 10u); // the entry below the base line draws nothing
    EXPECT_EQ(red[0].m_ptFrom, (CanvasPoint{40, 118}));
    EXPECT_EQ(red.back().m_ptTo, (CanvasPoint{40, 118})); // smallest radius at x = 40
    int atTop = 0;
    for (const CanvasSegment& s : red)
        atTop += s.m_ptTo.y == 0 ? 1 : 0;
    EXPECT_EQ(atTop, 1); // slope 10 is clipped to the top edge
    EXPECT_EQ(canvas.Count(CanvasRecordKind::Ellipse), 0);
}
