// The FFT plot drawn into the recording canvas: mappings, plot points, held
// maxima and fall-back, drawing modes, piano band, axes, read-out, data copy
// and the cross-effects of the dialog bar's controls.
#include "FFTMapping.h"
#include "FFTPlot.h"
#include "ProgramFlags.h"
#include "RecordingCanvas.h"
#include "TonaroDoc.h"

#include <gtest/gtest.h>

#include <QStringList>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>

namespace {

constexpr int kW = 800;
constexpr int kH = 600;

class FFTPlotTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetProgramFlags();
        m_doc.OnNewDocument();
        m_doc.m_nSampleRate = 44100;
        m_doc.m_nBitsPerSample = 16;
        m_doc.m_dFullScale = 32767.0;
        CFFTSettings& s = m_plot.Settings();
        s.m_nBottomCutHz = 20;
        s.m_nTopCutkHz = 20;
        s.m_nBottomCutAmp = 0;
        s.m_nTopCutAmp = -99;
        s.m_bIsAmpLinear = false;
        s.m_bIsFreqLinear = false;
        s.m_nDarstellung = 0;
        s.m_bGrid = true;
    }
    // A spectrum of nFft points with a floor value everywhere.
    void Spectrum(int nFft, double dFloor = 0.0) { m_doc.m_aSpectrum.assign(nFft / 2 + 1, dFloor); }
    CFFTMapping Map() const
    {
        return CFFTMapping(m_plot.Settings(), kW, kH, m_doc.m_nBitsPerSample, m_doc.m_nSampleRate);
    }
    void Draw()
    {
        m_dc.Clear();
        m_plot.Draw(m_dc, m_doc);
    }
    // The bar of column x (drawn from the axis upwards); its top y, or -1.
    int BarTop(int x) const
    {
        for (const CanvasSegment& s : m_dc.VerticalAt(x))
            if (s.m_ptFrom.y == kH - 20 && s.m_ptTo.y < kH - 20)
                return s.m_ptTo.y;
        return -1;
    }

    CTonaroDoc m_doc;
    CFFTPlot m_plot;
    RecordingCanvas m_dc{{kW, kH}};
};

} // namespace

TEST_F(FFTPlotTest, FullScaleSineSitsAtMinus12DbrAndReadsMinus6DbInTheDataCopy)
{
    Spectrum(1024);
    m_doc.m_aSpectrum[100] = 16383.5;   // amplitude 32767 exactly on bin 100
    Draw();
    const CFFTMapping map = Map();
    const int x = map.X(CFFTMapping::EntryHz(100, 44100, 1024));
    const double dbr = 20.0 * std::log10(16384.5 / 65536.0);
    EXPECT_NEAR(dbr, -12.04, 0.01);
    const int expected = static_cast<int>((kH - 20) - (kH - 45) * (dbr + 99.0) / 99.0);
    EXPECT_EQ(BarTop(x), expected);
    // The level read back at that row is -12 dBr.
    EXPECT_NEAR(20.0 * std::log10(map.AmplitudeAt(expected) / 65536.0), -12.04, 0.2);

    const QStringList lines = CFFTPlot::DataText(m_doc).split(QStringLiteral("\r\n"));
    ASSERT_GT(lines.size(), 101);
    QStringList cols = lines[101].split(u'\t');
    ASSERT_EQ(cols.size(), 2);
    EXPECT_EQ(cols[0], QStringLiteral("4306,640625"));
    EXPECT_NEAR(cols[1].replace(u',', u'.').toDouble(), -6.0206, 0.001);
}

TEST_F(FFTPlotTest, EntriesAtOrBelowTheLowerLimitAreSkippedAndCounted)
{
    struct Case { int fmin; int skipped; int firstEntry; };
    for (const Case c : {Case{20, 0, 1}, Case{100, 2, 3}}) {
        SCOPED_TRACE(c.fmin);
        m_plot.Settings().m_nBottomCutHz = c.fmin;
        Spectrum(1024, 100.0);
        Draw();
        EXPECT_EQ(m_plot.SkippedEntries(), c.skipped);
        ASSERT_FALSE(m_plot.PlotPoints().empty());
        EXPECT_EQ(m_plot.PlotPoints().front().x, Map().X(CFFTMapping::EntryHz(c.firstEntry, 44100, 1024)));
    }
}

TEST_F(FFTPlotTest, FurtherEntriesOfAColumnCarryTheirHighestLevelIntoTheNextColumn)
{
    m_plot.Settings().m_bIsFreqLinear = true;
    Spectrum(8192, 10.0);
    const CFFTMapping map = Map();
    auto col = [&](int k) { return map.X(CFFTMapping::EntryHz(k, 44100, 8192)); };
    // The first entry of a column holding at least three entries.
    int k0 = 2;
    while (!(col(k0) != col(k0 - 1) && col(k0 + 2) == col(k0)))
        ++k0;
    m_doc.m_aSpectrum[k0] = 100.0;         // low
    m_doc.m_aSpectrum[k0 + 1] = 20000.0;   // high
    m_doc.m_aSpectrum[k0 + 2] = 100.0;     // low
    Draw();
    const auto& pts = m_plot.PlotPoints();
    auto it = std::find_if(pts.begin(), pts.end(), [&](const CanvasPoint& p) { return p.x == col(k0); });
    ASSERT_NE(it, pts.end());
    ASSERT_NE(it + 1, pts.end());
    EXPECT_EQ(it->y, map.Y(100.0));
    EXPECT_LE((it + 1)->y, map.Y(20000.0));
}

TEST_F(FFTPlotTest, LevelLimitsPushEachOtherAndTheAxisKindSetsTheUpperLimit)
{
    CFFTSettings& s = m_plot.Settings();
    s.m_nBottomCutAmp = -20;
    s.m_nTopCutAmp = -60;
    m_plot.SetLowerLevel(-10);
    EXPECT_EQ(s.m_nTopCutAmp, -10);
    EXPECT_EQ(s.m_nBottomCutAmp, -5);

    m_plot.SetUpperLevel(-30);
    EXPECT_EQ(s.m_nBottomCutAmp, -30);
    EXPECT_EQ(s.m_nTopCutAmp, -35);

    m_plot.SetAmpLinear(true);
    EXPECT_TRUE(s.m_bIsAmpLinear);
    EXPECT_EQ(s.m_nBottomCutAmp, -15);
    m_plot.SetAmpLinear(false);
    EXPECT_EQ(s.m_nBottomCutAmp, 0);

    // Equal limits would leave no range: they stay apart even at the ends of the scale.
    m_plot.SetLowerLevel(0);
    EXPECT_LT(s.m_nTopCutAmp, s.m_nBottomCutAmp);
    m_plot.SetUpperLevel(-99);
    EXPECT_LT(s.m_nTopCutAmp, s.m_nBottomCutAmp);
}

TEST_F(FFTPlotTest, DelayAndPeakFindingExcludeEachOther)
{
    CFFTSettings& s = m_plot.Settings();
    m_plot.SetDelay(true);
    m_plot.SetPeakFinding(true);
    EXPECT_TRUE(s.m_bIsCrossVisible);
    EXPECT_FALSE(s.m_bIsDelay);
    m_plot.SetDelay(true);
    EXPECT_FALSE(s.m_bIsCrossVisible);
    m_plot.SetCurve(3, true);
    EXPECT_TRUE(s.m_bIsSpline);
    EXPECT_EQ(s.m_nSplineTyp, 3);
    m_plot.SetCurve(3, false);
    EXPECT_FALSE(s.m_bIsSpline);
    EXPECT_EQ(s.m_nSplineTyp, 0);
}

TEST_F(FFTPlotTest, HeldMaximaStayAndWithDelayFallBackThreePixelsPerDrawing)
{
    Spectrum(1024, 50.0);
    const int k = 100;
    const CFFTMapping map = Map();
    const int x = map.X(CFFTMapping::EntryHz(k, 44100, 1024));

    m_plot.Settings().m_bIsSumme = true;
    m_doc.m_aSpectrum[k] = 10000.0;
    Draw();
    const int high = BarTop(x);
    m_doc.m_aSpectrum[k] = 50.0;
    Draw();
    EXPECT_EQ(BarTop(x), high);
    m_plot.SetHoldMaxima(false);
    EXPECT_TRUE(m_plot.HeldPoints().empty());

    m_plot.Settings().m_bIsDelay = true;
    m_plot.Settings().m_nDelay = 3;
    m_doc.m_aSpectrum[k] = 10000.0;
    Draw();
    ASSERT_EQ(BarTop(x), high);
    m_doc.m_aSpectrum[k] = 50.0;
    const int floor = map.Y(50.0);
    int expected = high;
    while (expected + 3 < floor) {
        Draw();
        expected += 3;
        EXPECT_EQ(BarTop(x), expected);
    }
    Draw();
    EXPECT_EQ(BarTop(x), floor);
}

TEST_F(FFTPlotTest, DrawingModesDrawBarsInPaletteColoursLinesAndSteps)
{
    Spectrum(1024, 1000.0);
    Draw();
    const auto& pts = m_plot.PlotPoints();
    ASSERT_GE(pts.size(), 2u);
    const auto bars = m_dc.VerticalAt(pts.front().x);
    ASSERT_FALSE(bars.empty());
    EXPECT_EQ(bars.front().m_pen.m_clrColour, m_doc.m_palette[0]);   // red at the lowest frequency

    m_plot.SetMode(1);
    Draw();
    auto moves = m_dc.OfKind(CanvasRecordKind::MoveTo);
    const std::vector<CanvasPoint> start{{20, pts.front().y}};
    EXPECT_TRUE(std::any_of(moves.begin(), moves.end(), [&](const CanvasRecord& r) { return r.m_aPoints == start; }));
    const auto segs = m_dc.Segments();
    const auto red = std::count_if(segs.begin(), segs.end(),
                                   [](const CanvasSegment& s) { return s.m_pen.m_clrColour == MakeColour(255, 0, 0); });
    EXPECT_EQ(static_cast<std::size_t>(red), pts.size() - 1);

    m_plot.SetMode(2);
    Draw();
    const auto steps = m_dc.Segments();
    const auto redSteps = std::count_if(
        steps.begin(), steps.end(), [](const CanvasSegment& s) { return s.m_pen.m_clrColour == MakeColour(255, 0, 0); });
    EXPECT_EQ(static_cast<std::size_t>(redSteps), 2 * (pts.size() - 1));
}

TEST_F(FFTPlotTest, PianoBandAndAxesOnTheScreenButNotInTheCopy)
{
    Spectrum(1024, 10.0);
    Draw();
    const auto rects = m_dc.OfKind(CanvasRecordKind::Rectangle);
    const auto blackKeys = std::count_if(rects.begin(), rects.end(), [](const CanvasRecord& r) {
        return r.m_state.m_brush.m_clrColour == kBlack && r.m_rect.top == 0 && r.m_rect.bottom == 17;
    });
    EXPECT_EQ(blackKeys, 36);
    EXPECT_NE(m_dc.FindText(QStringLiteral("Tonumfang Klavier")), nullptr);
    EXPECT_NE(m_dc.FindText(QStringLiteral("c")), nullptr);
    // Octaves of A on the logarithmic axis, and level marks every 5 dB.
    for (const char* label : {"55 Hz", "110 Hz", "440 Hz", "1,7 kHz", "14 kHz"})
        EXPECT_NE(m_dc.FindText(QString::fromUtf8(label)), nullptr) << label;
    EXPECT_NE(m_dc.FindText(QStringLiteral("-5dB")), nullptr);
    EXPECT_EQ(m_dc.FindText(QStringLiteral("-100dB")), nullptr);   // below the lower limit
    const CanvasRecord* level = m_dc.FindText(QStringLiteral("-5dB"));
    EXPECT_EQ(level->m_state.m_font.m_nEscapement, 900);
    EXPECT_EQ(level->m_state.m_font.m_nHeight, 14);
    // Labels keep more than 40 pixels apart.
    auto texts = m_dc.OfKind(CanvasRecordKind::TextOut);
    std::vector<int> xs;
    for (const CanvasRecord& r : texts)
        if (r.m_strText.endsWith(QStringLiteral("Hz")) && r.m_aPoints[0].y == kH - 16)
            xs.push_back(r.m_aPoints[0].x);
    for (std::size_t i = 1; i < xs.size(); ++i)
        EXPECT_GT(xs[i] - xs[i - 1], 40);

    m_dc.Clear();
    m_plot.DrawCopy(m_dc, m_doc);
    EXPECT_EQ(m_dc.FindText(QStringLiteral("Tonumfang Klavier")), nullptr);
    const CanvasRecord* freq = m_dc.FindText(QStringLiteral("Frequenz"));
    ASSERT_NE(freq, nullptr);
    EXPECT_EQ(freq->m_aPoints[0], (CanvasPoint{kW / 2 - 10, kH + 5}));
    EXPECT_EQ(freq->m_state.m_font.m_strFace, QStringLiteral("Tahoma"));
    const CanvasRecord* amp = m_dc.FindText(QStringLiteral("Amplitude"));
    ASSERT_NE(amp, nullptr);
    EXPECT_EQ(amp->m_aPoints[0], (CanvasPoint{-25, kH / 2 + 45}));
    EXPECT_EQ(amp->m_state.m_font.m_nEscapement, 900);
    const CanvasRecord* axisLabel = m_dc.FindText(QStringLiteral("440 Hz"));
    ASSERT_NE(axisLabel, nullptr);
    EXPECT_EQ(axisLabel->m_state.m_clrText, kBlack);
}

TEST_F(FFTPlotTest, LinearFrequencyAxisTicksEveryKilohertzStep)
{
    m_plot.SetFreqLinear(true);
    Spectrum(1024, 10.0);
    Draw();
    // step = floor((20000 - 20) / 11000 + 44100 / 88200) = 2: ticks at 0, 2, 4 ... 22 kHz.
    EXPECT_NE(m_dc.FindText(QStringLiteral("2,0 kHz")), nullptr);
    EXPECT_NE(m_dc.FindText(QStringLiteral("12 kHz")), nullptr);
    EXPECT_EQ(m_dc.FindText(QStringLiteral("3,0 kHz")), nullptr);
    EXPECT_FALSE(m_dc.VerticalAt(Map().X(4000)).empty());
}

TEST_F(FFTPlotTest, ShortSpectrumDrawsOnlyBandAndAxes)
{
    m_doc.m_aSpectrum.assign(1, 0.0);
    Draw();
    EXPECT_TRUE(m_plot.PlotPoints().empty());
    EXPECT_NE(m_dc.FindText(QStringLiteral("440 Hz")), nullptr);
}

TEST_F(FFTPlotTest, ReadoutShowsFrequencyAndLevelUnderTheClick)
{
    const CFFTMapping map = Map();
    const int x = map.X(440.0) + 1;
    const int y = map.Y(16383.5);
    m_plot.DrawReadout(m_dc, {x, y}, m_doc);
    EXPECT_EQ(m_dc.HorizontalAt(y).size() + m_dc.VerticalAt(x).size(), 0u);   // a diagonal cross
    EXPECT_EQ(m_dc.Segments().size(), 2u);
    const auto texts = m_dc.OfKind(CanvasRecordKind::TextOut);
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0].m_aPoints[0], (CanvasPoint{kW - 55, 30}));
    EXPECT_TRUE(texts[0].m_strText.endsWith(QStringLiteral(" Hz")));
    const double f = texts[0].m_strText.chopped(3).toDouble();
    EXPECT_NEAR(f, map.FrequencyAt(x), 0.1);
    EXPECT_GT(f, 440.0);
    EXPECT_EQ(texts[1].m_aPoints[0], (CanvasPoint{kW - 60, 45}));
    ASSERT_TRUE(texts[1].m_strText.endsWith(QStringLiteral(" dB")));
    EXPECT_NEAR(texts[1].m_strText.chopped(3).toDouble(), -12.0, 0.25);

    m_dc.Clear();
    m_doc.m_nSampleRate = 0;
    m_plot.DrawReadout(m_dc, {x, y}, m_doc);
    EXPECT_TRUE(m_dc.Records().empty());
}

TEST_F(FFTPlotTest, ReadoutNumbersHaveFiveDigitsCutOneAfterThePoint)
{
    struct Case { double v; const char* text; };
    for (const Case c : {Case{440.123, "440.1"}, Case{12345.6, "12346"}, Case{-12.0412, "-12.0"},
                         Case{3.14159, "3.1"}, Case{100000.0, "100000.0"}})
        EXPECT_EQ(CFFTPlot::ReadoutNumber(c.v), QString::fromUtf8(c.text)) << c.v;
}

TEST_F(FFTPlotTest, DataCopyIsOneNumericLinePerEntryWithDecimalCommas)
{
    Spectrum(1024);
    for (std::size_t k = 0; k < m_doc.m_aSpectrum.size(); ++k)
        m_doc.m_aSpectrum[k] = 1.0 + 3.0 * static_cast<double>(k);
    m_doc.m_aSpectrum[7] = 0.0;   // silence still gives a number
    const QString text = CFFTPlot::DataText(m_doc);
    ASSERT_TRUE(text.startsWith(QStringLiteral("Frequenz[Hz]\tAmplitude[dB]\r\n")));
    ASSERT_TRUE(text.endsWith(QStringLiteral("\r\n")));
    QStringList lines = text.split(QStringLiteral("\r\n"));
    lines.removeLast();
    lines.removeFirst();
    ASSERT_EQ(lines.size(), 513);
    EXPECT_EQ(lines[1].split(u'\t')[0], QStringLiteral("43,06640625"));   // 10 significant digits
    // Read as a spreadsheet with a German locale does: tab-separated, decimal comma.
    for (const QString& line : lines) {
        const QStringList cols = line.split(u'\t');
        ASSERT_EQ(cols.size(), 2) << line.toStdString();
        for (QString c : cols) {
            EXPECT_FALSE(c.contains(u'.')) << c.toStdString();
            const std::string s = c.replace(u',', u'.').toStdString();
            char* end = nullptr;
            const double v = std::strtod(s.c_str(), &end);
            EXPECT_EQ(*end, '\0') << s;
            EXPECT_TRUE(std::isfinite(v)) << s;
        }
    }
    EXPECT_EQ(lines[512].split(u'\t')[0], QStringLiteral("22050"));
}

TEST_F(FFTPlotTest, DeleteCapturesAndSizeChangesEmptyTheHeldPoints)
{
    Spectrum(1024, 500.0);
    Draw();
    ASSERT_FALSE(m_plot.HeldPoints().empty());
    m_plot.OnSizeChanged();
    EXPECT_TRUE(m_plot.HeldPoints().empty());
    m_plot.DeleteCaptures();
    EXPECT_EQ(m_plot.HeldPoints(), (std::vector<CanvasPoint>{{0, 0}}));
    EXPECT_EQ(m_plot.PlotPoints(), (std::vector<CanvasPoint>{{0, 0}}));
}
