// The Lyapunov spectrum: refusals, the plot's first drawing and range, cancel,
// and the exponents and Kaplan-Yorke dimension of the Hénon map.
#include "ChaoticSeries.h"
#include "NonlinearPlots.h"
#include "NonlinearTestSupport.h"
#include "RecordingCanvas.h"

#include <cmath>

using ::testing::ElementsAre;

namespace {

SpectrumParams HenonParams(std::uint32_t iterations)
{
    SpectrumParams p;
    p.m_nEmbedDim = 2;
    p.m_nDelay = 1;
    p.m_nIterations = iterations;
    return p;
}

} // namespace

TEST_F(NonlinearTest, SpectrumRefusesSeriesTooShortForTheNeighbours)
{
    // 40 points at m = 3, d = 2 hold 34 vectors with a successor: at most 33 neighbours.
    // q = 30 passes that count, but no radius up to the whole range holds 31 of the
    // vectors, so the first point ends the run.
    const std::string shortSeries = "Your time series is not long enough to find 20 neighbors!\n";
    const std::string notEnough = "#Not enough neighbors found.\n";
    struct Case {
        std::size_t length;
        std::uint32_t m, d, q;
        std::string message;
    };
    const std::vector<Case> cases{
        {40, 3, 2, 30, notEnough},
        {40, 3, 2, 34, shortSeries},
        {40, 3, 2, 36, shortSeries},
        {40, 1, 50, 5, shortSeries},          // delay longer than the series
        {200, 4000000000u, 1, 5, shortSeries}, // dimension beyond the series
    };
    for (const Case& c : cases) {
        SpectrumParams p;
        p.m_nEmbedDim = c.m;
        p.m_nDelay = c.d;
        p.m_nNeighbours = c.q;
        m_engine->SetUp(p);
        std::vector<double> x = HenonX(c.length);
        RecordingCanvas canvas;
        g_bAbort = false;
        m_aMessages.clear();
        const SpectrumResult r = m_engine->RunSpectrum(&canvas, x);
        const std::string name = "L " + std::to_string(c.length) + " m " + std::to_string(c.m) + " q " + std::to_string(c.q);
        EXPECT_THAT(m_aMessages, ElementsAre(c.message)) << name;
        EXPECT_TRUE(g_bAbort) << name;
        EXPECT_TRUE(r.Empty()) << name;
        EXPECT_FALSE(r.m_bFinished) << name;
        EXPECT_TRUE(canvas.Records().empty()) << name;
    }
}

TEST_F(NonlinearTest, SpectrumOfRepeatedVectorsReportsTheSingularModel)
{
    // Period 7: every neighbour repeats the reference vector exactly, so the
    // normal matrix of the local fit is singular.
    std::vector<double> x(700);
    for (std::size_t i = 0; i < x.size(); ++i)
        x[i] = static_cast<double>((i * 3) % 7);
    m_engine->SetUp(HenonParams(100));
    const SpectrumResult r = m_engine->RunSpectrum(nullptr, x);
    ASSERT_FALSE(m_aMessages.empty());
    EXPECT_EQ(m_aMessages[0], "Fehler: Singuläre matrix! Erhöhen Sie versuchsweise die Anzahl der berücksichtigten Nachbarn.\n");
    EXPECT_FALSE(r.m_bFinished);
    EXPECT_EQ(r.m_nRowsDone, 0u);
}

TEST_F(NonlinearTest, SpectrumOfTheHenonMap)
{
    m_engine->SetUp(HenonParams(10000));
    std::vector<double> x = HenonX(10000);
    const SpectrumResult r = m_engine->RunSpectrum(nullptr, x);
    EXPECT_TRUE(m_aMessages.empty());
    ASSERT_TRUE(r.m_bFinished);
    EXPECT_EQ(r.m_nPlanned, 9999u);  // min(T, L - d)
    EXPECT_EQ(r.m_nRowsDone, 9998u); // a = 1 .. 9998
    const std::vector<double>& last = r.m_aRows[r.m_nRowsDone - 1];
    RecordProperty("HenonLargestExponent", std::to_string(last[0]));
    RecordProperty("HenonKaplanYorke", std::to_string(r.m_dKaplanYorke));
    EXPECT_NEAR(last[0], 0.419, 0.03);
    EXPECT_LT(last[1], -1.0);
    EXPECT_NEAR(r.m_dKaplanYorke, 1.26, 0.05);
    EXPECT_EQ(m_engine->KaplanYorkeDimension(), r.m_dKaplanYorke);
    EXPECT_EQ(r.m_dAverageNeighbours, 30.0);
    EXPECT_GT(r.m_dAverageRadius, 0.0);
}

TEST_F(NonlinearTest, SpectrumDrawsFromTheEleventhPointAndEndsWithTheText)
{
    m_engine->SetUp(HenonParams(200));
    std::vector<double> x = HenonX(2000);
    RecordingCanvas canvas({640, 480});
    int drawings = 0;
    m_engine->SetPlotHandler([&drawings] { ++drawings; });
    const SpectrumResult r = m_engine->RunSpectrum(&canvas, x);
    ASSERT_TRUE(r.m_bFinished);
    EXPECT_EQ(r.m_nRowsDone, 199u);
    // After every point from the 11th on, then once more with the text.
    EXPECT_EQ(drawings, 199 - 10 + 1);
    EXPECT_EQ(canvas.Texts().constLast(),
              QStringLiteral("Kaplan-Yorke-Dimension:%1\nAnzahl nächster Nachbarn: ~30.00")
                  .arg(QString::fromStdString(FourDigitText(r.m_dKaplanYorke))));
    // Only the final drawing has the dotted average lines, one per exponent.
    int dotted = 0;
    for (const CanvasSegment& s : canvas.Segments())
        dotted += s.m_pen.m_eStyle == PenStyle::Dot ? 1 : 0;
    EXPECT_EQ(dotted, 2);
}

TEST_F(NonlinearTest, SpectrumCancelWritesNoKaplanYorkeText)
{
    m_engine->SetUp(HenonParams(1000));
    m_engine->SetProgressHandler([] { g_bAbort = true; });
    std::vector<double> x = HenonX(2000);
    RecordingCanvas canvas;
    const SpectrumResult r = m_engine->RunSpectrum(&canvas, x);
    EXPECT_FALSE(r.m_bFinished);
    EXPECT_EQ(r.m_nRowsDone, 50u); // a = 1 .. 50; the step at a = 50 cancels after its row
    EXPECT_EQ(m_engine->KaplanYorkeDimension(), 0.0);
    for (const QString& t : canvas.Texts())
        EXPECT_FALSE(t.startsWith(QStringLiteral("Kaplan-Yorke")));
}

TEST(SpectrumPlot, EarlyRowsDoNotSetTheVerticalRange)
{
    SpectrumResult r;
    r.m_nPlanned = 100;
    r.m_nDimension = 2;
    r.m_nRowsDone = 30;
    r.m_aRows.assign(30, {0.5, -1.0});
    for (int t = 0; t < 20; ++t)
        r.m_aRows[static_cast<std::size_t>(t)] = {50.0, -80.0};
    RecordingCanvas canvas({440, 370});
    double lastScale = 0.0;
    DrawSpectrumPlot(canvas, r, false, &lastScale);
    // v_max = 0.5, v_min = -1.0: y_scale = 300 / 1.5 = 200, zero line at 0.5 x 200 + 40.
    EXPECT_DOUBLE_EQ(lastScale, 200.0);
    EXPECT_EQ(canvas.HorizontalAt(140).size(), 1u);
    EXPECT_TRUE(canvas.FindText(QStringLiteral("Lyapunov Spektrum")));
    EXPECT_FALSE(canvas.FindText(QStringLiteral("0.5000"))); // 30 rows: no average before row 50

    // Same scale again: only the label strip is cleared.
    canvas.Clear();
    DrawSpectrumPlot(canvas, r, false, &lastScale);
    const std::vector<CanvasRecord> fills = canvas.OfKind(CanvasRecordKind::FillRect);
    ASSERT_EQ(fills.size(), 1u);
    EXPECT_EQ(fills[0].m_rect, (CanvasRect{0, 0, 38, 370}));
}
