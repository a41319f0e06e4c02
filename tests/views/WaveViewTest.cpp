// The wave view: visible range and step, amplitude scaling, selection band
// driven by real mouse events, markers by double click.
#include "RecordingCanvas.h"
#include "TonaroView.h"
#include "ViewFixture.h"


namespace {

class WaveViewTest : public ViewTest {
protected:
    void SetUp() override
    {
        ViewTest::SetUp();
        m_view = std::make_unique<CTonaroView>(m_doc.get(), nullptr);
        m_view->resize(800, 300);
        m_view->show();
    }
    void TearDown() override
    {
        m_view.reset();
        ViewTest::TearDown();
    }
    // Frames the whole sound the way the overview does, then draws once.
    void FrameAll(int nOverviewPlot = 780)
    {
        m_view->SetZoomWindow({0, 0, nOverviewPlot, 0}, nOverviewPlot);
        Draw();
    }
    RecordingCanvas& Draw()
    {
        m_dc = std::make_unique<RecordingCanvas>(CanvasSize{m_view->width(), m_view->height()});
        m_view->Draw(*m_dc);
        return *m_dc;
    }
    void Drag(int x1, int x2) { Mouse::Drag(m_view.get(), QPoint(x1, 150), QPoint(x2, 150)); }
    // Start of the document's selection (the ramp's value) and its length.
    std::pair<int, int> Selection() const
    {
        return {static_cast<int>(m_doc->m_aSignal.empty() ? -1 : m_doc->m_aSignal.front()),
                static_cast<int>(m_doc->m_aSignal.size())};
    }

    std::unique_ptr<CTonaroView> m_view;
    std::unique_ptr<RecordingCanvas> m_dc;
};

TEST_F(WaveViewTest, StepFollowsRangePlotWidthAndPrecision)
{
    Load(Pcm16(441000, Ramp));
    FrameAll();
    EXPECT_EQ(m_view->FirstSample(), 0.0);
    EXPECT_EQ(m_view->LastSample(), 441000.0);
    EXPECT_EQ(m_view->Step(), 6); // ceil(441000 / 780 / 100)
    const auto lines = m_dc->OfKind(CanvasRecordKind::Polyline);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].m_state.m_pen.m_clrColour, MakeColour(255, 0, 0));
    EXPECT_EQ(lines[0].m_aPoints.size(), 73500u); // every sixth sample
    EXPECT_EQ(lines[0].m_aPoints.front().x, 10);
    EXPECT_EQ(lines[0].m_aPoints.back().x, static_cast<int>(440994LL * 780 / 441000) + 10);
}

TEST_F(WaveViewTest, EightBitSamplesAroundTheMiddleLine)
{
    // Plot height 280: half = 140; the middle line lies at y = 150.
    struct Case {
        uint8_t m_nSample;
        int m_nY;
    };
    const Case cases[] = {{128, 150}, {255, 150 - 140 * 127 / 128}, {0, 150 + 140}, {64, 150 + 70}};
    std::vector<uint8_t> raw;
    for (const Case& c : cases)
        raw.insert(raw.end(), 100, c.m_nSample);
    Load(raw, 8);
    FrameAll(static_cast<int>(raw.size()));
    const auto lines = m_dc->OfKind(CanvasRecordKind::Polyline);
    ASSERT_EQ(lines.size(), 1u);
    for (size_t k = 0; k < std::size(cases); ++k)
        EXPECT_EQ(lines[0].m_aPoints[k * 100].y, cases[k].m_nY) << "sample " << int(cases[k].m_nSample);
}

TEST_F(WaveViewTest, DragSelectsTheSamplesUnderTheBandInEitherDirection)
{
    Load(Pcm16(78000, Ramp));
    FrameAll(); // 100 samples per plot pixel
    for (auto [x1, x2] : {std::pair{110, 310}, std::pair{310, 110}}) {
        Drag(x1, x2);
        // start = (110 - 10) x 78000 / 780 = 10000, end = 30000
        EXPECT_EQ(Selection(), std::make_pair(10000, 20000)) << x1 << " -> " << x2;
        EXPECT_EQ(m_view->Band().left, 110);
        EXPECT_EQ(m_view->Band().right, 310);
    }
}

TEST_F(WaveViewTest, ClickWithoutMovingSelectsNothingAndClampsToTheMargins)
{
    Load(Pcm16(78000, Ramp));
    FrameAll();
    Mouse::Click(m_view.get(), QPoint(211, 100));
    EXPECT_EQ(Selection().second, 0);
    Drag(2, 799); // clamped to 10 .. 790
    EXPECT_EQ(Selection(), std::make_pair(0, 78000));
}

TEST_F(WaveViewTest, SixteenBitSelectionStartsAndEndsOnEvenSamples)
{
    Load(Pcm16(7800, Ramp)); // 10 samples per pixel ...
    m_view->SetZoomWindow({0, 0, 780, 0}, 780);
    m_view->resize(800 + 300, 300); // ... on a wider plot: 7800 / 1080 per pixel
    Draw();
    Drag(113, 500);
    const auto [start, count] = Selection();
    EXPECT_EQ(start % 2, 0);
    EXPECT_EQ((start + count) % 2, 0);
}

TEST_F(WaveViewTest, NoFramedStretchDrawsOnlyMarginsAndLeavesTheDocumentAlone)
{
    Load(Pcm16(78000, Ramp));
    Draw();
    EXPECT_EQ(m_dc->Count(CanvasRecordKind::Polyline), 0);
    EXPECT_EQ(m_dc->Count(CanvasRecordKind::FillRect), 4);
    m_doc->m_aSignal = {42.0};
    Drag(100, 300);
    EXPECT_EQ(m_doc->m_aSignal, std::vector<double>{42.0});
}

TEST_F(WaveViewTest, DoubleClicksSetMoveAndRemoveMarkers)
{
    Load(Pcm16(78000, Ramp));
    FrameAll();
    struct Step {
        int m_nX;
        int m_nMarker1;
        int m_nMarker2;
    };
    const Step steps[] = {
        {300, 300, 0},   // first marker
        {100, 100, 300}, // second marker, swapped to stay right of the first
        {250, 100, 250}, // both set: the nearer (300) moves
        {104, 0, 250},   // within 4 pixels of marker 1: removed
        {500, 250, 500}, // marker 1 set again, then swapped to stay left
    };
    for (const Step& s : steps) {
        Mouse::DoubleClick(m_view.get(), QPoint(s.m_nX, 120));
        EXPECT_EQ(m_view->Marker1().x, s.m_nMarker1) << "double click at " << s.m_nX;
        EXPECT_EQ(m_view->Marker2().x, s.m_nMarker2) << "double click at " << s.m_nX;
    }
}

TEST_F(WaveViewTest, MarkersAndBandDrawnAndClearedWhenTheStretchChanges)
{
    Load(Pcm16(78000, Ramp));
    FrameAll();
    Mouse::DoubleClick(m_view.get(), QPoint(200, 120));
    Mouse::DoubleClick(m_view.get(), QPoint(400, 120));
    Drag(300, 350);
    RecordingCanvas& dc = Draw();
    for (int x : {200, 400}) {
        const auto lines = dc.VerticalAt(x);
        EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                                [](const CanvasSegment& s) {
                                    return s.m_pen.m_nWidth == 2 && s.m_ptFrom.y == 0 && s.m_ptTo.y == 300;
                                }),
                  1)
            << "marker at " << x;
    }
    const auto bands = dc.OfKind(CanvasRecordKind::Rectangle);
    ASSERT_EQ(bands.size(), 1u);
    EXPECT_EQ(bands[0].m_rect, (CanvasRect{300, 10, 350, 290}));
    EXPECT_EQ(bands[0].m_state.m_eRasterMode, RasterMode::Invert);
    EXPECT_EQ(bands[0].m_state.m_brush.m_eHatch, HatchStyle::DiagCross);

    m_view->SetZoomWindow({100, 0, 500, 0}, 780);
    Draw();
    EXPECT_EQ(m_view->Marker1().x, 0);
    EXPECT_EQ(m_view->Marker2().x, 0);
    EXPECT_FALSE(m_view->HasBand());
}

TEST_F(WaveViewTest, VerticalZoomScalesAndPrecisionThinsTheWaveform)
{
    Load(Pcm16(78000, [](int) { return 8192; }));
    m_view->SetVerticalZoomPosition(19); // zoom 2
    FrameAll();
    EXPECT_EQ(m_dc->OfKind(CanvasRecordKind::Polyline)[0].m_aPoints[0].y, 150 - 280 * 2 / 2 * 8192 / 32768);
    m_view->SetPrecision(10);
    Draw();
    EXPECT_EQ(m_view->Step(), 10);
}

} // namespace
