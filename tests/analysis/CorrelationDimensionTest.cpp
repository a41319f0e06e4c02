// The correlation dimension: radius corrections, refusals, exact pair counts
// with the temporal exclusion, the closing of radii, and the plateau of the
// Hénon map found by the slope fit.
#include "ChaoticSeries.h"
#include "NonlinearPlots.h"
#include "NonlinearTestSupport.h"
#include "PlateauFit.h"
#include "RecordingCanvas.h"

#include <cmath>
#include <random>

using ::testing::ElementsAre;

namespace {

CorrDimParams Params(std::uint32_t m, std::uint32_t k, double eMin, double eMax, std::uint32_t pairs = 1000)
{
    CorrDimParams p;
    p.m_nMaxDim = m;
    p.m_nRadii = k;
    p.m_dMinRadius = eMin;
    p.m_dMaxRadius = eMax;
    p.m_nPairTarget = pairs;
    return p;
}

} // namespace

TEST_F(NonlinearTest, CorrelationDimensionCorrectsTheRadii)
{
    struct Case {
        const char* name;
        CorrDimParams params;
        double firstRadius; // radius of entry 0 (epsilon_1)
        double lastRadius;  // radius of entry K-2 (epsilon_(K-1))
    };
    const double f100 = std::pow(1000.0, 1.0 / 99.0);
    const std::vector<Case> cases{
        {"K = 100 from 1 to 0.001", Params(2, 100, 0.001, 1.0), 1.0 / f100, 0.001},
        {"largest 2.5 is used as 1", Params(2, 100, 0.001, 2.5), 1.0 / f100, 0.001},
        {"negative radii count by magnitude", Params(2, 100, -0.001, -1.0), 1.0 / f100, 0.001},
        {"smallest equal to largest becomes half", Params(2, 10, 0.4, 0.4), 0.4 / std::pow(2.0, 1.0 / 9.0), 0.2},
        {"zero smallest becomes half", Params(2, 10, 0.0, 0.4), 0.4 / std::pow(2.0, 1.0 / 9.0), 0.2},
    };
    for (const Case& c : cases) {
        m_engine->SetUp(c.params);
        std::vector<double> x = Noise(3000, 5);
        const CorrDimResult r = m_engine->RunCorrelationDimension(nullptr, x);
        EXPECT_TRUE(m_aMessages.empty()) << c.name;
        ASSERT_FALSE(r.Empty()) << c.name;
        ASSERT_EQ(r.m_aRows[0].size(), c.params.m_nRadii - 1) << c.name;
        EXPECT_NEAR(r.m_aRows[0].front().m_dRadius, c.firstRadius, 1e-12) << c.name;
        EXPECT_NEAR(r.m_aRows[0].back().m_dRadius, c.lastRadius, 1e-12) << c.name;
    }
}

TEST_F(NonlinearTest, CorrelationDimensionRefusesWhatTheDataCannotCarry)
{
    struct Case {
        const char* name;
        std::size_t length;
        CorrDimParams params;
        const char* message;
    };
    CorrDimParams longDelay = Params(5, 100, 0.001, 1.0);
    longDelay.m_nDelay = 25; // (M - 1) d = 100 = L
    CorrDimParams huge = Params(100000, 200000, 0.001, 1.0);
    const std::vector<Case> cases{
        {"delay vector as long as the series", 100, longDelay,
         "Embedding dimension and delay are too large.\nThe delay vector would be longer than the whole series.\n"},
        {"pair counts larger than the memory", 200000, huge, "MaxLyapunov::check_alloc: Couldn't allocate enough memory.\n"},
    };
    for (const Case& c : cases) {
        m_engine->SetUp(c.params);
        std::vector<double> x = Noise(c.length, 6);
        g_bAbort = false;
        m_aMessages.clear();
        RecordingCanvas canvas;
        const CorrDimResult r = m_engine->RunCorrelationDimension(&canvas, x);
        EXPECT_THAT(m_aMessages, ElementsAre(c.message)) << c.name;
        EXPECT_TRUE(g_bAbort) << c.name;
        EXPECT_TRUE(r.Empty()) << c.name;
        EXPECT_TRUE(canvas.Records().empty()) << c.name;
    }
}

TEST_F(NonlinearTest, CorrelationPairCountsEqualBruteForceAndSkipCloseTimes)
{
    struct Case {
        const char* name;
        std::vector<double> series;
        std::uint32_t m, d, k;
        double eMin, eMax;
        bool expectPairs;
    };
    std::vector<double> ramp(1600);
    for (std::size_t i = 0; i < ramp.size(); ++i)
        ramp[i] = static_cast<double>(i);
    const std::vector<Case> cases{
        {"noise", Noise(1400, 8), 3, 2, 12, 0.01, 0.3, true},
        {"Henon", HenonX(1500), 4, 1, 20, 0.002, 0.5, true},
        // Values within 0.3 of each other lie at most 480 samples apart: no pair counts.
        {"ramp", ramp, 2, 1, 8, 0.01, 0.3, false},
    };
    for (const Case& c : cases) {
        CorrDimParams p = Params(c.m, c.k, c.eMin, c.eMax, 1000000000u); // no radius closes
        p.m_nDelay = c.d;
        m_engine->SetUp(p);
        std::vector<double> x = c.series;
        const CorrDimResult r = m_engine->RunCorrelationDimension(nullptr, x); // x is rescaled in place
        ASSERT_FALSE(r.Empty()) << c.name;
        const std::vector<double>& counts = m_engine->CorrPairCounts();
        const std::vector<double>& norm = m_engine->CorrNormalisation();

        const std::size_t n = x.size() - (c.m - 1) * c.d;
        std::vector<double> radii(c.k);
        radii[0] = c.eMax;
        const double f = std::pow(c.eMax / c.eMin, 1.0 / (c.k - 1));
        for (std::uint32_t k = 1; k < c.k; ++k)
            radii[k] = radii[k - 1] / f;
        std::vector<double> brute(static_cast<std::size_t>(c.m) * c.k, 0.0);
        double pairs = 0.0;
        for (std::size_t a = 0; a < n; ++a)
            for (std::size_t b = a + 501; b < n; ++b) {
                pairs += 1.0;
                double delta = 0.0;
                for (std::uint32_t j = 0; j < c.m; ++j) {
                    delta = std::max(delta, std::fabs(x[a + j * c.d] - x[b + j * c.d]));
                    for (std::uint32_t k = 0; k < c.k; ++k)
                        if (delta <= radii[k] || delta < c.eMin)
                            brute[j * c.k + k] += 1.0;
                }
            }
        EXPECT_EQ(counts, brute) << c.name;
        for (std::uint32_t k = 0; k < c.k; ++k)
            EXPECT_EQ(norm[k], pairs) << c.name;
        double total = 0.0;
        for (double v : counts)
            total += v;
        EXPECT_EQ(total > 0.0, c.expectPairs) << c.name;
    }
}

TEST_F(NonlinearTest, ClosedRadiiStopCounting)
{
    m_engine->SetUp(CorrDimParams{});
    std::vector<double> previous;
    std::int32_t previousOpen = 0;
    int checks = 0;
    m_engine->SetProgressHandler([&] {
        const std::vector<double>& counts = m_engine->CorrPairCounts();
        const std::size_t nRadii = 100;
        for (std::size_t j = 0; j < 10 && !previous.empty(); ++j)
            for (std::int32_t k = 0; k < previousOpen; ++k) {
                ASSERT_EQ(counts[j * nRadii + static_cast<std::size_t>(k)], previous[j * nRadii + static_cast<std::size_t>(k)]);
                ++checks;
            }
        previous = counts;
        previousOpen = static_cast<std::int32_t>(m_engine->CorrFirstOpenRadius());
    });
    std::vector<double> x = HenonX(10000);
    const CorrDimResult r = m_engine->RunCorrelationDimension(nullptr, x);
    ASSERT_FALSE(r.Empty());
    EXPECT_GT(checks, 0);
    const std::uint32_t open = m_engine->CorrFirstOpenRadius();
    EXPECT_GE(open, 1u);
    // The radii closed are those whose count at the largest dimension reached the target.
    for (std::uint32_t k = 0; k < open && k < 100; ++k)
        EXPECT_GE(m_engine->CorrPairCounts()[9 * 100 + k], 1000.0) << k;
}

TEST(PlateauFitTest, FitsTheMeanAndKeepsTheStartWithoutPoints)
{
    EXPECT_NEAR(PlateauFit::Fit(std::vector<double>{1.0, 2.0, 3.0, 6.0}), 3.0, 1e-9);
    EXPECT_NEAR(PlateauFit::Fit(std::vector<double>{1.22}), 1.22, 1e-9);
    EXPECT_EQ(PlateauFit::Fit({}), 1.0);
}

TEST_F(NonlinearTest, CorrelationDimensionOfTheHenonMap)
{
    m_engine->SetUp(CorrDimParams{});
    std::vector<double> x = HenonX(10000);
    RecordingCanvas canvas({800, 600});
    const CorrDimResult r = m_engine->RunCorrelationDimension(&canvas, x);
    ASSERT_FALSE(r.Empty());
    EXPECT_TRUE(m_aMessages.empty());
    EXPECT_EQ(canvas.Count(CanvasRecordKind::Ellipse), 0); // no plateau panel without bounds

    // Fit the slopes between radii 0.002 and 0.1.
    const int x1 = CorrelationRadiusColumn(r, 800, 0.002);
    const int x2 = CorrelationRadiusColumn(r, 800, 0.1);
    ASSERT_LT(x1, x2);
    canvas.Clear();
    const std::vector<double> plateaus = DrawCorrelationPlot(canvas, r, x1, x2);
    ASSERT_EQ(plateaus.size(), 10u);
    EXPECT_EQ(canvas.Count(CanvasRecordKind::Ellipse), 10);
    QString list;
    for (std::size_t j = 1; j < plateaus.size(); ++j) {
        EXPECT_NEAR(plateaus[j], 1.22, 0.1) << "embedding dimension " << j + 1;
        EXPECT_TRUE(canvas.FindText(QString::fromStdString(FourDigitText(plateaus[j])).left(6)));
        list += QString::number(plateaus[j], 'f', 3) + QLatin1Char(' ');
    }
    RecordProperty("HenonPlateaus", list.toStdString());
    // Without any radius between the bounds each plateau keeps the start value 1.
    const int narrow = CorrelationRadiusColumn(r, 800, 0.05);
    EXPECT_THAT(DrawCorrelationPlot(canvas, r, narrow, narrow + 1), ::testing::Each(1.0));
}
