// Peaks of the FFT plot: the walk over the spectrum, the 20 % neighbour test
// and the -80 dB floor, thinning by pixel distance, the user's edits, and the
// curves drawn through the list.
#include "FFTMapping.h"
#include "FFTPeaks.h"
#include "FFTSettings.h"
#include "RecordingCanvas.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr int kW = 270;   // 2.5 pixels per spectrum entry below
constexpr int kH = 300;
constexpr int kRate = 2000;
constexpr int kFft = 200; // entry k at 10 k Hz; 101 entries up to 1 kHz

class FFTPeaksTest : public ::testing::Test {
protected:
    FFTPeaksTest()
    {
        m_settings.m_bIsFreqLinear = true;
        m_settings.m_nBottomCutHz = 1;
        m_settings.m_nTopCutkHz = 1;
        m_settings.m_nBottomCutAmp = 0;
        m_settings.m_nTopCutAmp = -99;
        m_settings.m_nMinAbstandMaxima = 0;
        m_settings.m_nMinAbstandNachbarMin = 1;
        m_settings.m_bIsCrossVisible = true;
    }
    CFFTMapping Map() const { return CFFTMapping(m_settings, kW, kH, 16, kRate); }
    void Build(const std::vector<double>& S)
    {
        std::vector<double> full = S;
        full.resize(kFft / 2 + 1, 0.0);
        m_peaks.Build(full, kFft, 0, Map(), m_settings);
    }
    CanvasPoint PeakAt(int k, double v) const { return {Map().X(10 * k) + 1, Map().Y(v)}; }
    std::vector<CanvasPoint> Ends(std::vector<CanvasPoint> inner) const
    {
        inner.insert(inner.begin(), CanvasPoint{20, kH - 20});
        inner.push_back({kW, kH - 20});
        return inner;
    }

    CFFTSettings m_settings;
    CFFTPeaks m_peaks;
};

} // namespace

TEST_F(FFTPeaksTest, WalkFindsRisesFollowedByFalls)
{
    struct Case { const char* name; std::vector<double> S; std::vector<int> peaks; };
    const std::vector<Case> cases = {
        {"only rising", {0, 100, 200, 300, 400, 500}, {}},
        {"single peak", {0, 100, 1000, 100, 0}, {2}},
        {"flat top: last entry", {0, 100, 1000, 1000, 1000, 100, 0}, {4}},
        {"below -80 dB", {0, 1, 6, 1, 0}, {}},
        {"two peaks", {0, 1000, 0, 0, 0, 800, 0}, {1, 5}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<double> S = c.S;
        if (c.peaks.empty() && S.back() > 0)
            S.resize(kFft / 2 + 1, S.back() + 1);   // keeps rising to the end
        Build(S);
        std::vector<CanvasPoint> expected;
        for (int k : c.peaks)
            expected.push_back(PeakAt(k, S[static_cast<std::size_t>(k)]));
        EXPECT_EQ(m_peaks.List(), Ends(expected));
    }
}

TEST_F(FFTPeaksTest, NeighbourTestNeedsOneSideBelowTwentyPercent)
{
    struct Case { double left; double right; bool accepted; };
    for (const Case c : {Case{300, 100, true}, Case{100, 300, true}, Case{300, 300, false}, Case{199, 300, true}}) {
        SCOPED_TRACE(testing::Message() << c.left << " " << c.right);
        // Entries 10 .. 12: left neighbour, peak, right neighbour; a slope to them.
        std::vector<double> S(13, 0.0);
        for (int k = 1; k < 10; ++k)
            S[static_cast<std::size_t>(k)] = c.left * k / 10.0;
        S[10] = c.left;
        S[11] = 1000;
        S[12] = c.right;
        Build(S);
        EXPECT_EQ(m_peaks.List().size(), c.accepted ? 3u : 2u);
    }
}

TEST_F(FFTPeaksTest, ThinningRemovesTheLowerOfTwoCloseEntries)
{
    // Peaks at entries 10 and 12: 5 pixels apart.
    auto spectrum = [](double a, double b) {
        std::vector<double> S(20, 0.0);
        S[10] = a;
        S[12] = b;
        return S;
    };
    ASSERT_EQ(PeakAt(12, 1).x - PeakAt(10, 1).x, 5);
    m_settings.m_nMinAbstandMaxima = 10;
    Build(spectrum(1000, 2000));
    EXPECT_EQ(m_peaks.List(), Ends({PeakAt(12, 2000)}));
    Build(spectrum(2000, 1000));
    EXPECT_EQ(m_peaks.List(), Ends({PeakAt(10, 2000)}));
    Build(spectrum(1000, 1000));   // equal heights: the left one goes
    EXPECT_EQ(m_peaks.List(), Ends({PeakAt(12, 1000)}));
    m_settings.m_nMinAbstandMaxima = 4;
    Build(spectrum(1000, 2000));
    EXPECT_EQ(m_peaks.List().size(), 4u);
}

TEST_F(FFTPeaksTest, ThinningWithZeroDistanceStillMergesOneColumn)
{
    // A narrow plot: a quarter pixel per entry, so two peaks share a column.
    const CFFTMapping narrow(m_settings, 45, kH, 16, kRate);
    int k = 10;
    while (narrow.X(10 * k) != narrow.X(10 * (k + 2)))
        ++k;
    std::vector<double> S(101, 0.0);
    S[static_cast<std::size_t>(k)] = 1000;
    S[static_cast<std::size_t>(k) + 2] = 2000;
    m_peaks.Build(S, kFft, 0, narrow, m_settings);
    ASSERT_EQ(m_peaks.List().size(), 3u);
    EXPECT_EQ(m_peaks.List()[1].y, narrow.Y(2000));
}

TEST_F(FFTPeaksTest, RightClicksDeleteNearPeaksAndInsertElsewhere)
{
    std::vector<double> S(40, 0.0);
    S[10] = 1000;
    S[20] = 2000;
    S[30] = 1500;
    Build(S);
    ASSERT_EQ(m_peaks.List().size(), 5u);
    const CanvasPoint second = m_peaks.List()[2];

    m_peaks.RightClick({second.x + 3, second.y - 2});   // 3.6 pixels away
    Build(S);
    EXPECT_EQ(m_peaks.List(), Ends({PeakAt(10, 1000), PeakAt(30, 1500)}));

    const CanvasPoint added{70, 50};
    m_peaks.RightClick(added);
    Build(S);
    ASSERT_EQ(m_peaks.List().size(), 5u);
    EXPECT_EQ(m_peaks.List()[2], added);   // in x order between the two peaks

    // Five pixels away is not near: another point is added.
    const CanvasPoint first = m_peaks.List()[1];
    m_peaks.RightClick({first.x + 5, first.y});
    Build(S);
    EXPECT_EQ(m_peaks.List().size(), 6u);
    EXPECT_EQ(m_peaks.Edits().size(), 3u);
}

TEST_F(FFTPeaksTest, RightClickOnTheFirstPeakDeletesItWithEveryCurveKind)
{
    std::vector<double> S(40, 0.0);
    S[10] = 1000;
    S[20] = 2000;
    for (int kind : {0, 1, 2, 3}) {
        SCOPED_TRACE(kind);
        m_settings.m_bIsSpline = kind != 0;
        m_settings.m_nSplineTyp = kind;
        m_peaks.ClearEdits();
        Build(S);
        RecordingCanvas dc({kW, kH});
        m_peaks.Draw(dc, Map(), m_settings, MakeColour(255, 255, 0));
        const auto& list = m_peaks.List();
        const auto it = std::find(list.begin(), list.end(), PeakAt(10, 1000));
        ASSERT_NE(it, list.end());
        m_peaks.RightClick(*it);
        Build(S);
        EXPECT_EQ(m_peaks.List(), Ends({PeakAt(20, 2000)}));
    }
}

TEST_F(FFTPeaksTest, CurvesAndCrosses)
{
    std::vector<double> S(60, 0.0);
    for (int k : {10, 18, 26, 34, 42})
        S[static_cast<std::size_t>(k)] = 1000.0 + 10 * k;
    Build(S);
    ASSERT_EQ(m_peaks.List().size(), 7u);
    const ColourRef yellow = MakeColour(255, 255, 0);

    RecordingCanvas dc({kW, kH});
    m_peaks.Draw(dc, Map(), m_settings, yellow);
    EXPECT_EQ(dc.Segments().size(), 14u);   // two green lines per entry
    EXPECT_EQ(dc.Segments().front().m_pen.m_clrColour, MakeColour(0, 255, 0));

    m_settings.m_bIsCrossVisible = false;
    m_settings.m_bIsSpline = true;
    m_settings.m_nSplineTyp = 1;
    dc.Clear();
    m_peaks.Draw(dc, Map(), m_settings, yellow);
    const auto bez = dc.OfKind(CanvasRecordKind::PolyBezierTo);
    ASSERT_EQ(bez.size(), 1u);
    EXPECT_EQ(bez[0].m_aPoints.size(), 1u + 6u);   // from (20, H - 20) through 6 of the 7 entries
    EXPECT_EQ(bez[0].m_aPoints[0], (CanvasPoint{20, kH - 20}));
    EXPECT_EQ(bez[0].m_state.m_pen.m_clrColour, yellow);

    Build(S);
    m_settings.m_nSplineTyp = 2;
    dc.Clear();
    m_peaks.Draw(dc, Map(), m_settings, yellow);
    const auto cubic = dc.OfKind(CanvasRecordKind::Polyline);
    ASSERT_EQ(cubic.size(), 1u);
    EXPECT_EQ(cubic[0].m_aPoints, m_peaks.CubicPoints());
    EXPECT_EQ(cubic[0].m_aPoints.front(), (CanvasPoint{20, kH - 20}));

    m_settings.m_nSplineTyp = 3;
    dc.Clear();
    m_peaks.Draw(dc, Map(), m_settings, yellow);
    const auto beta = dc.OfKind(CanvasRecordKind::Polyline);
    ASSERT_EQ(beta.size(), 1u);
    // 7 entries, two in front and two behind: 11 control points, 8 segments of 11 points.
    EXPECT_EQ(m_peaks.List().size(), 11u);
    EXPECT_EQ(beta[0].m_aPoints.size(), 8u * 11u);
    EXPECT_EQ(m_peaks.List()[0], (CanvasPoint{21, kH - 21}));
}
