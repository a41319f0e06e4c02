// The envelope editor: extraction in groups of seven oscillations, scaling and
// merging of repeated extractions, the support points and their mouse edits,
// the picture's description, and the spline drawings it relies on.
#include "EmfReader.h"
#include "EnvelopeEditor.h"
#include "HuellkurveDlg.h"
#include "RecordingCanvas.h"
#include "SplineDrawing.h"
#include "TonaroView.h"
#include "ViewFixture.h"

#include <QClipboard>
#include <QFile>
#include <QTemporaryDir>
#include <QGuiApplication>
#include <QLabel>
#include <QMimeData>
#include <QPushButton>

namespace {

constexpr double kPi = 3.14159265358979323846;

class EnvelopeTest : public ViewTest {
protected:
    void SetUp() override
    {
        ViewTest::SetUp();
        // A sine of period 100 samples, half a sample out of phase so no sample is 0.
        Load(Pcm16(140000, [](int i) { return static_cast<int>(std::lround(20000 * std::sin(2 * kPi * (i + 0.5) / 100))); }));
        m_view = std::make_unique<CTonaroView>(m_doc.get(), nullptr);
        m_view->resize(800, 300);
        m_view->show();
        m_view->SetZoomWindow({0, 0, 780, 0}, 780);
        Redraw();
    }
    void TearDown() override
    {
        m_view.reset();
        ViewTest::TearDown();
    }
    void Redraw()
    {
        RecordingCanvas dc({800, 300});
        m_view->Draw(dc);
    }
    void SetMarkers(int x1, int x2)
    {
        Mouse::DoubleClick(m_view.get(), QPoint(x1, 100));
        Mouse::DoubleClick(m_view.get(), QPoint(x2, 100));
    }
    CEnvelopeEditor& Env() { return m_view->Envelope(); }

    std::unique_ptr<CTonaroView> m_view;
};

TEST_F(EnvelopeTest, OnePointPerSevenPeriodsAtTheMiddleOfEachGroup)
{
    Env().ComputeEnvelope(0, 140000);
    const auto& upper = Env().UpperPoints();
    const auto& lower = Env().LowerPoints();
    ASSERT_EQ(upper.size(), 200u);
    ASSERT_EQ(lower.size(), 200u);
    const int top = m_view->SampleOffset(24, 300); // the sine's crest
    for (size_t g = 0; g < upper.size(); ++g) {
        const int mid = static_cast<int>(g) * 700 + 350;
        EXPECT_EQ(upper[g].x, mid * 800 / 140000) << g;
        EXPECT_EQ(upper[g].y, 140 - top + 10) << g;
        EXPECT_EQ(lower[g].y, 140 + top + 10) << g;
    }
}

TEST_F(EnvelopeTest, MissingMarkerShowsTheMessageAndOpensNothing)
{
    Mouse::DoubleClick(m_view.get(), QPoint(100, 100));
    m_view->OpenEnvelopeEditor();
    ASSERT_EQ(m_ui.MessageTexts().size(), 1);
    EXPECT_TRUE(m_ui.MessageTexts()[0].startsWith("Bitte mit einem Doppelklick der linken Maustaste zwei Marker"));
    EXPECT_EQ(m_view->EnvelopeDialog(), nullptr);
}

TEST_F(EnvelopeTest, OpeningTwiceOnTheSameStretchKeepsTheStoredLists)
{
    SetMarkers(100, 700);
    m_view->OpenEnvelopeEditor();
    ASSERT_NE(m_view->EnvelopeDialog(), nullptr);
    EXPECT_TRUE(m_view->EnvelopeDialog()->isVisible());
    EXPECT_TRUE(m_view->EnvelopeShown());
    const auto upper = Env().StoredUpper();
    const auto lower = Env().StoredLower();
    ASSERT_GT(upper.size(), 3u);
    EXPECT_EQ(Env().Outline().size(), upper.size() + lower.size());
    EXPECT_EQ(Env().Outline().back(), lower.front()); // the lower half runs backwards
    for (size_t i = 1; i < upper.size(); ++i)
        EXPECT_GT(upper[i].x, upper[i - 1].x);

    m_view->OpenEnvelopeEditor();
    EXPECT_EQ(Env().StoredUpper(), upper);
    EXPECT_EQ(Env().StoredLower(), lower);

    Env().OnClearAndClose();
    EXPECT_TRUE(Env().StoredUpper().empty());
    EXPECT_FALSE(m_view->EnvelopeDialog()->isVisible());
}

TEST_F(EnvelopeTest, ClicksAddAndRemoveSupportPointsUntilTheCurveIsDrawn)
{
    SetMarkers(100, 700);
    m_view->OpenEnvelopeEditor();
    Env().OnDrawCurve();
    const std::vector<CanvasPoint> support = Env().SupportPoints();
    ASSERT_GT(support.size(), 8u);
    EXPECT_EQ(support[0], support[2]); // first point repeated twice in front
    EXPECT_EQ(support.back(), support[support.size() - 3]);

    const CanvasPoint far{400, 150}; // on the centre line, far from the envelope
    Env().OnRightClick(far);
    EXPECT_TRUE(Env().Edits().empty());
    Env().OnLeftClick(support[4]);
    EXPECT_TRUE(Env().Edits().empty()) << "a click on a support point adds nothing";

    Env().OnLeftClick(far);
    EXPECT_EQ(Env().SupportPoints().size(), support.size() + 1);
    Env().OnRightClick(Env().SupportPoints()[5]);
    EXPECT_EQ(Env().SupportPoints().size(), support.size());
    Env().OnRightClick(Env().SupportPoints()[0]); // a repeated end point: ignored
    EXPECT_EQ(Env().SupportPoints().size(), support.size());
    EXPECT_EQ(Env().Edits().size(), 3u); // kept, but the drawing skips the end point's removal

    Env().OnDrawCurve();
    EXPECT_TRUE(Env().Edits().empty());
    Env().OnDrawCurve();
    EXPECT_EQ(Env().SupportPoints(), support);
}

TEST_F(EnvelopeTest, DialogClicksMapThroughThePictureControl)
{
    SetMarkers(100, 700);
    m_view->OpenEnvelopeEditor();
    CHuellkurveDlg* dlg = m_view->EnvelopeDialog();
    const QRect pic = dlg->PictureControl()->geometry();
    CanvasPoint q;
    ASSERT_TRUE(dlg->MapToView(pic.topLeft() + QPoint(pic.width() / 2, pic.height() / 2), q));
    EXPECT_EQ(q, (CanvasPoint{400, 150}));
    EXPECT_FALSE(dlg->MapToView(pic.topLeft() - QPoint(1, 1), q));
    Mouse::Press(dlg, pic.center());
    EXPECT_EQ(Env().Edits().size(), 1u);
}

TEST_F(EnvelopeTest, SavedAndCopiedPicturesSayHuellkurve)
{
    SetMarkers(100, 700);
    m_view->OpenEnvelopeEditor();
    QTemporaryDir tmp;
    const QString path = tmp.filePath("huelle.wmf");
    m_ui.QueueFile(path, 1);
    ASSERT_TRUE(Env().OnSave());
    EXPECT_EQ(m_ui.CallsOf(UiCallKind::SaveFile).at(0).m_fileRequest.m_strTitle,
              "Speichert diese Hüllkurvenansicht...");
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EmfReader reader;
    ASSERT_TRUE(reader.Read(f.readAll())) << reader.Error().toStdString();
    const QString expected = QStringLiteral("TONARO Soundanalyse") + QChar(0) + QStringLiteral("Hüllkurve") + QChar(0) + QChar(0);
    EXPECT_EQ(reader.Header().m_strDescription, expected);
    ASSERT_TRUE(Env().OnCopy());
    ASSERT_TRUE(reader.Read(QGuiApplication::clipboard()->mimeData()->data("image/x-emf")));
    EXPECT_EQ(reader.Header().m_strDescription, expected);
}

TEST_F(EnvelopeTest, OptimizeDropsNearDuplicatesAndPullsTowardsCrowds)
{
    SetMarkers(100, 700);
    m_view->OpenEnvelopeEditor();
    const size_t before = Env().Outline().size();
    Env().OnOptimize();
    EXPECT_LE(Env().Outline().size(), before);
    for (const CanvasPoint& p : Env().Outline())
        EXPECT_NE(p.x, 2000);
}

TEST(SplineDrawingTest, CurvesGoThroughCanvasAsPolylinesAndBeziers)
{
    RecordingCanvas dc;
    const CanvasPoint two[] = {{0, 0}, {40, 0}};
    DrawCubicSpline(dc, two);
    const CanvasPoint four[] = {{0, 0}, {30, 60}, {60, 0}, {90, 60}};
    DrawBetaSpline(dc, four, MakeColour(0, 0, 255));
    const CanvasPoint five[] = {{0, 0}, {30, 60}, {60, 0}, {90, 60}, {120, 0}};
    DrawBetaSpline(dc, five, MakeColour(0, 0, 255));
    DrawBezier(dc, four);
    const auto lines = dc.OfKind(CanvasRecordKind::Polyline);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0].m_aPoints.size(), 11u);
    EXPECT_EQ(lines[0].m_aPoints.back(), (CanvasPoint{40, 0}));
    EXPECT_EQ(lines[1].m_aPoints.size(), 11u);
    EXPECT_EQ(lines[1].m_state.m_pen.m_clrColour, MakeColour(0, 0, 255));
    EXPECT_EQ(lines[2].m_aPoints.size(), 22u);
    const auto beziers = dc.OfKind(CanvasRecordKind::PolyBezierTo);
    ASSERT_EQ(beziers.size(), 1u);
    EXPECT_EQ(beziers[0].m_aPoints.front(), (CanvasPoint{0, 0}));
    EXPECT_EQ(beziers[0].m_aPoints.back(), (CanvasPoint{90, 60}));
}

} // namespace
