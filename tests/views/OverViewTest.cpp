// The overview: time scale rules, framing a stretch with the mouse (wave view
// zoom window, markers, school-profile selection), the live trace, and the
// whole path from a loaded WAV file to the document's selection.
#include "RecordingCanvas.h"
#include "TempDir.h"
#include "TimeScale.h"
#include "TonaroOverView.h"
#include "TonaroView.h"
#include "ViewFixture.h"

#include <QFile>
#include <QScrollBar>
#include <QSplitter>

namespace {

TEST(TimeScaleTest, UnitAndLabelStepFollowDurationAndWidth)
{
    struct Case {
        double m_dMs;
        TimeScaleLayout::Unit m_eUnit;
        int m_nLabelStep;
        int m_nMinorStep;
        std::vector<QString> m_aFirstLabels;
    };
    using U = TimeScaleLayout::Unit;
    const Case cases[] = {
        {600000.0, U::Minutes, 1, 1, {"0:00", "1:00", "2:00"}},
        {3000.0, U::Milliseconds, 230, 23, {"0:00", "0:00.230", "0:00.460"}},
        {30000.0, U::Seconds, 2, 1, {"0:00", "0:02", "0:04"}},
        {7200000.0, U::Minutes, 9, 1, {"0:00", "9:00", "18:00"}},
    };
    for (const Case& c : cases) {
        const TimeScaleLayout l = LayoutTimeScale(c.m_dMs, 780, 800);
        EXPECT_EQ(l.m_eUnit, c.m_eUnit) << c.m_dMs;
        EXPECT_EQ(l.m_nLabelStep, c.m_nLabelStep) << c.m_dMs;
        EXPECT_EQ(l.m_nMinorStep, c.m_nMinorStep) << c.m_dMs;
        for (size_t i = 0; i < c.m_aFirstLabels.size(); ++i)
            EXPECT_EQ(TimeScaleLabel(l.m_eUnit, static_cast<int>(i) * l.m_nLabelStep), c.m_aFirstLabels[i]);
    }
    EXPECT_EQ(TimeScaleLabel(U::Milliseconds, 61005), "1:01.005");
    EXPECT_EQ(TimeScaleLabel(U::Seconds, 3599), "59:59");
}

class OverViewTest : public ViewTest {
protected:
    void SetUp() override
    {
        ViewTest::SetUp();
        m_splitter = std::make_unique<QSplitter>(Qt::Vertical);
        m_over = new CTonaroOverView(m_doc.get(), m_splitter.get());
        m_wave = new CTonaroView(m_doc.get(), m_splitter.get());
        m_over->SetWaveView(m_wave);
        m_over->SetSchoolProfileQuery([this] { return m_bSchool; });
        m_splitter->resize(820, 500);
        m_splitter->setSizes({150, 350});
        m_splitter->show();
        QApplication::processEvents();
        ASSERT_EQ(m_over->ClientWidth(), 820);
    }
    void TearDown() override
    {
        m_splitter.reset();
        ViewTest::TearDown();
    }
    std::unique_ptr<RecordingCanvas> DrawOverview(int w, int h)
    {
        auto dc = std::make_unique<RecordingCanvas>(CanvasSize{w, h});
        m_over->Draw(*dc);
        return dc;
    }
    void DragOver(int x1, int x2) { Mouse::Drag(m_over->viewport(), QPoint(x1, 60), QPoint(x2, 60)); }
    void DragWave(int x1, int x2) { Mouse::Drag(m_wave, QPoint(x1, 100), QPoint(x2, 100)); }

    std::unique_ptr<QSplitter> m_splitter;
    CTonaroOverView* m_over = nullptr;
    CTonaroView* m_wave = nullptr;
    bool m_bSchool = false;
};

TEST_F(OverViewTest, TimeScaleOfTenMinutesAndOfThreeSeconds)
{
    Load(Pcm16(600 * 1000, [](int) { return 0; }), 16, 1000);
    const auto ten = DrawOverview(800, 120);
    for (const char* label : {"0:00", "1:00", "9:00"})
        EXPECT_NE(ten->FindText(label), nullptr) << label;
    EXPECT_EQ(ten->FindText("10:00"), nullptr);
    EXPECT_NE(ten->FindText("1:00"), nullptr);
    EXPECT_EQ(ten->FindText("1:00")->m_aPoints[0], (CanvasPoint{78 + 5, 0}));

    Load(Pcm16(3000, [](int) { return 0; }), 16, 1000);
    const auto three = DrawOverview(800, 120);
    const QStringList texts = three->Texts();
    ASSERT_GE(texts.size(), 3);
    EXPECT_EQ(texts.mid(0, 3), (QStringList{"0:00", "0:00.230", "0:00.460"}));
    // Minor ticks every 23 ms: x = trunc(j x 0.26 + 10) from y 19 to 17.
    for (int j : {0, 23, 46, 207}) {
        const int x = static_cast<int>(j * 0.26 + 10);
        const auto lines = three->VerticalAt(x);
        EXPECT_TRUE(std::any_of(lines.begin(), lines.end(),
                                [](const CanvasSegment& s) { return s.m_ptFrom.y == 19 && s.m_ptTo.y == 17; }))
            << "minor tick at " << j << " ms";
    }
}

TEST_F(OverViewTest, FramingSetsZoomWindowAndPlayMarkersButSelectsOnlyInSchoolProfile)
{
    Load(Pcm16(80000, Ramp));
    for (bool school : {false, true}) {
        m_bSchool = school;
        m_doc->m_aSignal = {-1.0};
        DragOver(110, 410);
        EXPECT_EQ(m_wave->ZoomWindow().left, 100);
        EXPECT_EQ(m_wave->ZoomWindow().right, 400);
        EXPECT_EQ(m_doc->m_nMarkerLeft, 10000u); // 100 x 80000 / 800
        EXPECT_EQ(m_doc->m_nMarkerRight, 40000u);
        if (school)
            EXPECT_EQ(m_doc->m_aSignal.size(), 30000u);
        else
            EXPECT_EQ(m_doc->m_aSignal, std::vector<double>{-1.0});
    }
}

TEST_F(OverViewTest, ClickWithoutDragClearsZoomWindowAndMarkers)
{
    Load(Pcm16(80000, Ramp));
    DragOver(110, 410);
    DragOver(300, 300);
    EXPECT_EQ(m_wave->ZoomWindow().left, m_wave->ZoomWindow().right);
    EXPECT_EQ(m_doc->m_nMarkerLeft, 0u);
    EXPECT_EQ(m_doc->m_nMarkerRight, 0u);
    EXPECT_EQ(m_over->CaretX(), 300);
}

TEST_F(OverViewTest, HorizontalZoomWidensTheLogicalAreaAndResetsTheBand)
{
    Load(Pcm16(80000, Ramp));
    DragOver(110, 410);
    m_over->SetHorizontalZoomPosition(2);
    EXPECT_EQ(m_over->LogicalWidth(), 5 * 820);
    EXPECT_EQ(m_over->BandRight(), 0);
    EXPECT_EQ(m_wave->ZoomWindow(), CanvasRect{});
    m_over->horizontalScrollBar()->setValue(820);
    DragOver(10, 420); // logical 830 .. 1240, plot 820 .. 1230 of 4080
    EXPECT_EQ(m_wave->ZoomWindow().left, 820);
    EXPECT_EQ(m_doc->m_nMarkerLeft, static_cast<uint32_t>(820 * 80000 / 4080));
}

TEST_F(OverViewTest, LiveTraceGrowsOnePixelPerThousandSamples)
{
    Load(Pcm16(1000, Ramp));
    g_bListening = true;
    m_doc->m_aSignal.assign(4410, 0.0);
    m_over->OnUpdate(kHintRefresh);
    ASSERT_EQ(m_over->Trace().size(), 441u);
    EXPECT_EQ(m_over->Trace().front().x, 10);
    EXPECT_EQ(m_over->Trace().back().x, 14);
    // A silent block lies in the middle of the plot: (F - 0) x (H - 21) / F / 2 + 20.
    const double scale = (m_over->ClientHeight() - 21) / 32767.0 / 2.0;
    EXPECT_EQ(m_over->Trace().front().y, static_cast<int>(32767.0 * scale) + 20);
    m_over->OnUpdate(kHintRefresh);
    EXPECT_EQ(m_over->Trace().size(), 882u);
    EXPECT_EQ(m_over->Trace().back().x, 18);
}

// A mono 16-bit WAV file of the samples.
void WriteWave(const QString& path, const std::vector<uint8_t>& pcm, int rate)
{
    QByteArray b;
    auto u32 = [&](uint32_t v) { b.append(reinterpret_cast<const char*>(&v), 4); };
    auto u16 = [&](uint16_t v) { b.append(reinterpret_cast<const char*>(&v), 2); };
    b.append("RIFF");
    u32(static_cast<uint32_t>(36 + pcm.size()));
    b.append("WAVEfmt ");
    u32(16);
    u16(1);
    u16(1);
    u32(static_cast<uint32_t>(rate));
    u32(static_cast<uint32_t>(rate * 2));
    u16(2);
    u16(16);
    b.append("data");
    u32(static_cast<uint32_t>(pcm.size()));
    b.append(reinterpret_cast<const char*>(pcm.data()), static_cast<qsizetype>(pcm.size()));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(b);
}

class OpenFrameSelectTest : public OverViewTest {
protected:
    QTemporaryDir m_tmp;
};

TEST_F(OpenFrameSelectTest, ThreeMinuteWaveFramedAndSelected)
{
    const int n = 3 * 60 * 44100;
    const QString path = m_tmp.filePath("drei.wav");
    WriteWave(path, Pcm16(n, Ramp), 44100);
    ASSERT_EQ(m_doc->ReadWave(path), CTonaroDoc::kReadOk);
    ASSERT_EQ(m_doc->NumSamples(), n);
    m_doc->UpdateAllViews(kHintRefresh);

    DragOver(210, 610); // plot 200 .. 600 of 800
    const int first = static_cast<int>(200LL * n / 800) & ~1;
    const int last = static_cast<int>(600LL * n / 800) & ~1;
    EXPECT_EQ(m_doc->m_nMarkerLeft, static_cast<uint32_t>(200LL * n / 800));

    QApplication::processEvents();
    m_wave->repaint();
    EXPECT_EQ(m_wave->FirstSample(), first);
    EXPECT_EQ(m_wave->LastSample(), last);

    DragWave(110, 310);
    const int P = m_wave->width() - 20;
    const int64_t start = static_cast<int64_t>(100.0 * (last - first) / P + first) & ~1LL;
    const int64_t end = static_cast<int64_t>(300.0 * (last - first) / P + first) & ~1LL;
    ASSERT_EQ(m_doc->m_aSignal.size(), static_cast<size_t>(end - start));
    EXPECT_EQ(m_doc->m_aSignal.front(), Ramp(static_cast<int>(start)));
}

} // namespace
