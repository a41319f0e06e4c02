// The maximal Lyapunov exponent: parameter corrections, refusals, cancel,
// steps without a value, and the exponent of the Lorenz system.
#include "ChaoticSeries.h"
#include "NonlinearPlots.h"
#include "NonlinearTestSupport.h"
#include "QtCanvas.h"
#include "RecordingCanvas.h"

#include <cmath>

TEST_F(NonlinearTest, MaxExponentCorrectsItsParameters)
{
    struct Case {
        const char* name;
        MaxExponentParams params;
        std::uint32_t sizes, minDim, maxDim;
    };
    auto make = [](std::uint32_t m1, std::uint32_t m2, double eMin, double eMax, std::uint32_t sizes) {
        MaxExponentParams p;
        p.m_nIterations = 10;
        p.m_nMinDim = m1;
        p.m_nMaxDim = m2;
        p.m_dMinSize = eMin;
        p.m_dMaxSize = eMax;
        p.m_nSizes = sizes;
        p.m_nReferences = 200;
        return p;
    };
    const std::vector<Case> cases{
        {"equal sizes run one size", make(2, 2, 0.01, 0.01, 5), 1, 2, 2},
        {"smallest size above largest", make(2, 2, 0.05, 0.01, 5), 1, 2, 2},
        {"dimension 1 becomes 2", make(1, 1, 0.01, 0.1, 3), 3, 2, 2},
        {"smallest dimension above largest", make(4, 3, 0.1, 0.3, 2), 2, 4, 4},
        {"zero sizes become one", make(2, 3, 0.01, 0.1, 0), 1, 2, 3},
    };
    for (const Case& c : cases) {
        std::vector<double> x = Noise(1000, 1);
        m_engine->SetUp(c.params);
        const MaxExponentResult r = m_engine->RunMaxExponent(nullptr, x);
        EXPECT_TRUE(m_aMessages.empty()) << c.name;
        EXPECT_EQ(r.m_nSizes, c.sizes) << c.name;
        EXPECT_EQ(r.m_nSizesDone, c.sizes) << c.name;
        EXPECT_EQ(r.m_nMinDim, c.minDim) << c.name;
        EXPECT_EQ(r.m_nMaxDim, c.maxDim) << c.name;
        ASSERT_EQ(r.m_aRows.size(), c.maxDim - 1) << c.name;
        EXPECT_TRUE(r.HasValue(c.minDim, 0, 1)) << c.name;
        // Rows below the smallest dimension receive no value.
        for (std::uint32_t k = 2; k < c.minDim; ++k)
            EXPECT_FALSE(r.HasValue(k, 0, 1)) << c.name;
    }
}

TEST_F(NonlinearTest, MaxExponentRefusesParametersTheDataCannotCarry)
{
    struct Case {
        const char* name;
        std::size_t length;
        std::uint32_t iterations, maxDim, delay;
        double eMin;
        const char* message;
    };
    const char* tooFew = "Too few points to handle these parameters!\n";
    const std::vector<Case> cases{
        {"I + 2d = L", 100, 50, 3, 25, 0.001, tooFew},
        {"I alone reaches L", 100, 100, 2, 1, 0.001, tooFew},
        {"huge delay", 100, 10, 3, 4000000000u, 0.001, tooFew},
        {"huge dimension", 100, 10, 4000000000u, 1, 0.001, tooFew},
        {"zero size", 1000, 10, 2, 1, 0.0, "Der kleinste Radius muss größer als 0 sein.\n"},
    };
    for (const Case& c : cases) {
        MaxExponentParams p;
        p.m_nIterations = c.iterations;
        p.m_nMaxDim = c.maxDim;
        p.m_nMinDim = 2;
        p.m_nDelay = c.delay;
        p.m_dMinSize = c.eMin;
        m_engine->SetUp(p);
        std::vector<double> x = Noise(c.length, 2);
        RecordingCanvas canvas;
        g_bAbort = false;
        m_aMessages.clear();
        const MaxExponentResult r = m_engine->RunMaxExponent(&canvas, x);
        EXPECT_THAT(m_aMessages, ::testing::ElementsAre(c.message)) << c.name;
        EXPECT_TRUE(g_bAbort) << c.name;
        EXPECT_TRUE(r.Empty()) << c.name;
        EXPECT_TRUE(canvas.Records().empty()) << c.name;
    }
}

TEST_F(NonlinearTest, MaxExponentReducesTheReferencePointsToThePossibleOnes)
{
    // L = 1000, I = 20, m2 = 3, d = 2: at most 1000 - 20 - 4 = 976 reference points.
    MaxExponentParams p;
    p.m_nIterations = 20;
    p.m_nMaxDim = 3;
    p.m_nDelay = 2;
    p.m_nSizes = 1;
    p.m_dMinSize = 0.05;
    int progressCalls = 0;
    m_engine->SetProgressHandler([&progressCalls] { ++progressCalls; });
    p.m_nReferences = 5000000;
    m_engine->SetUp(p);
    std::vector<double> x = Noise(1000, 3);
    const MaxExponentResult all = m_engine->RunMaxExponent(nullptr, x);
    EXPECT_EQ(progressCalls, 20); // a = 0, 50, .., 950

    p.m_nReferences = 976;
    m_engine->SetUp(p);
    x = Noise(1000, 3);
    const MaxExponentResult exact = m_engine->RunMaxExponent(nullptr, x);
    ASSERT_FALSE(all.Empty());
    for (std::uint32_t n = 0; n <= 20; ++n)
        EXPECT_EQ(all.Value(3, 0, n), exact.Value(3, 0, n)) << n;
    EXPECT_TRUE(m_aMessages.empty());
}

TEST_F(NonlinearTest, MaxExponentStepsWithoutDistanceHaveNoValue)
{
    // A series of period 10 whose neighbours repeat it exactly: every distance is 0,
    // so no step receives a value and the plot draws no curve.
    std::vector<double> x(600);
    for (std::size_t i = 0; i < x.size(); ++i)
        x[i] = static_cast<double>((i * 7) % 10);
    MaxExponentParams p;
    p.m_nIterations = 15;
    p.m_nSizes = 2;
    m_engine->SetUp(p);
    RecordingCanvas canvas({400, 300});
    const MaxExponentResult r = m_engine->RunMaxExponent(&canvas, x);
    ASSERT_EQ(r.m_nSizesDone, 2u);
    for (std::uint32_t l = 0; l < 2; ++l)
        for (std::uint32_t n = 0; n <= 15; ++n)
            EXPECT_FALSE(r.HasValue(2, l, n));
    for (const CanvasRecord& rec : canvas.OfKind(CanvasRecordKind::LineTo))
        EXPECT_EQ(rec.m_state.m_pen.m_clrColour, kBlack);
    EXPECT_EQ(MaxExponentPlotScales(r, 400, 300).m_dScaleY, 270.0);
}

TEST_F(NonlinearTest, MaxExponentStopsOnCancelAndKeepsTheCompletedSizes)
{
    MaxExponentParams p;
    p.m_nIterations = 10;
    p.m_nSizes = 3;
    p.m_dMinSize = 0.01;
    p.m_dMaxSize = 0.1;
    int calls = 0;
    // 1000 points: 20 progress steps per size; cancel during the second size.
    m_engine->SetProgressHandler([&calls] {
        if (++calls == 25)
            g_bAbort = true;
    });
    RecordingCanvas canvas;
    int drawings = 0;
    m_engine->SetPlotHandler([&drawings] { ++drawings; });
    m_engine->SetUp(p);
    std::vector<double> x = Noise(1000, 4);
    const MaxExponentResult r = m_engine->RunMaxExponent(&canvas, x);
    EXPECT_EQ(r.m_nSizesDone, 1u);
    EXPECT_EQ(drawings, 1);
    EXPECT_EQ(calls, 25);
    EXPECT_TRUE(r.HasValue(2, 0, 5));
    EXPECT_FALSE(r.HasValue(2, 1, 5));
}

TEST_F(NonlinearTest, MaxExponentOfTheLorenzSystem)
{
    // x sampled every 0.01 time units; delay 10 samples, embedding dimension 5,
    // one size of 0.5 % of the range.  S(n) rises linearly from n = 100 to 300.
    MaxExponentParams p;
    p.m_nIterations = 300;
    p.m_nMinDim = 5;
    p.m_nMaxDim = 5;
    p.m_nDelay = 10;
    p.m_nSizes = 1;
    p.m_dMinSize = 0.005;
    p.m_dMaxSize = 0.005;
    m_engine->SetUp(p);
    std::vector<double> x = LorenzX(20000);
    const MaxExponentResult r = m_engine->RunMaxExponent(nullptr, x);
    ASSERT_EQ(r.m_nSizesDone, 1u);
    double sn = 0.0, ss = 0.0, snn = 0.0, sns = 0.0;
    int count = 0;
    for (std::uint32_t n = 100; n <= 300; ++n) {
        ASSERT_TRUE(r.HasValue(5, 0, n));
        const double s = r.Value(5, 0, n);
        sn += n;
        ss += s;
        snn += double(n) * n;
        sns += n * s;
        ++count;
    }
    const double slopePerStep = (count * sns - sn * ss) / (count * snn - sn * sn);
    const double perTimeUnit = slopePerStep / 0.01;
    RecordProperty("LorenzMaxExponent", std::to_string(perTimeUnit));
    EXPECT_NEAR(perTimeUnit, 0.906, 0.15 * 0.906);
}

TEST_F(NonlinearTest, MaxExponentRunPaintsIntoAnImage)
{
    MaxExponentParams p;
    p.m_nIterations = 20;
    p.m_nSizes = 2;
    p.m_dMinSize = 0.01;
    p.m_dMaxSize = 0.05;
    m_engine->SetUp(p);
    std::vector<double> x = HenonX(3000);
    QImage image(500, 400, QImage::Format_RGB32);
    image.fill(Qt::black);
    QtCanvas canvas(image);
    const MaxExponentResult r = m_engine->RunMaxExponent(&canvas, x);
    canvas.Flush();
    ASSERT_EQ(r.m_nSizesDone, 2u);
    int red = 0;
    int black = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int xx = 0; xx < image.width(); ++xx) {
            const QRgb px = image.pixel(xx, y);
            red += px == qRgb(255, 0, 0) ? 1 : 0;
            black += px == qRgb(0, 0, 0) ? 1 : 0;
        }
    EXPECT_GT(red, 100);                     // the curves of dimension 2
    EXPECT_LT(black, image.width() * image.height() / 10); // the background was filled white
    EXPECT_EQ(image.pixel(40, 100), qRgb(0, 0, 0));        // the vertical axis
}
