// The FFT window as a widget: its dialog bar's controls and their
// cross-effects, the "Aktuelle FFT" box, the tone in the top strip, the
// settings handed to and from the profile, and its export services.
#include "FFTView.h"
#include "ProfileSettings.h"
#include "ProgramFlags.h"
#include "RiffWaveFile.h"
#include "ScriptedUiServices.h"
#include "TonaroDoc.h"
#include "UiServices.h"
#include "ViewHost.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QTemporaryDir>
#include <QLineEdit>
#include <QMouseEvent>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <gtest/gtest.h>

#include <memory>

namespace {

class FakeHost : public CViewHost {
public:
    void AppendWindowMenuEntry(int nCommand, const QString& strText) override
    {
        m_nCommand = nCommand;
        m_strEntry = strText;
    }
    void RemoveWindowMenuEntry(int) override { m_nCommand = 0; }
    CProfileSettings& Settings() override { return m_settings; }

    CProfileSettings m_settings;
    int m_nCommand = 0;
    QString m_strEntry;
};

// A stand-in for the frame's content: dialog bar 168 with controls named by their numbers.
class FakeFrame : public QWidget {
public:
    FakeFrame()
    {
        auto* bar = new QWidget(this);
        bar->setObjectName(QStringLiteral("c168"));
        auto* layout = new QVBoxLayout(bar);
        auto add = [&](QWidget* w, int nId) {
            w->setObjectName(QStringLiteral("c%1").arg(nId));
            layout->addWidget(w);
        };
        // Each edit and its spin are one spin box named after the edit.
        struct Spin { int id, spinId, lo, hi; };
        for (const Spin s : {Spin{1068, 1070, 1, 999}, Spin{1069, 1077, 1, 100}, Spin{1082, 1088, -99, 0},
                             Spin{1083, 1089, -99, 0}, Spin{1087, 1090, 0, 15}, Spin{1094, 1095, 0, 50},
                             Spin{1096, 1097, 1, 50}}) {
            auto* box = new QSpinBox;
            box->setRange(s.lo, s.hi);
            box->setProperty("spinId", s.spinId);
            add(box, s.id);
        }
        // Each radio group in a widget of its own, as the group boxes of the bar.
        for (const auto& group : {std::vector<int>{1071, 1072}, {1073, 1074}, {1078, 1046, 1182}}) {
            auto* box = new QWidget;
            auto* l = new QVBoxLayout(box);
            for (int id : group) {
                auto* r = new QRadioButton;
                r->setObjectName(QStringLiteral("c%1").arg(id));
                l->addWidget(r);
            }
            layout->addWidget(box);
        }
        for (int id : {1171, 1180, 1181, 1177, 1084, 1085, 1086})
            add(new QCheckBox, id);
        auto* edit = new QLineEdit;
        edit->setEnabled(false);
        add(edit, 1076);
    }
    template <class T>
    T* Control(int nId) const
    {
        return findChild<T*>(QStringLiteral("c%1").arg(nId));
    }
};

class FFTViewTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetProgramFlags();
        SetUiServices(&m_ui);
        SetViewHost(&m_host);
        CProfileSettings& p = m_host.m_settings;
        p.IniDokumentNumFFTPoints = 4096;
        p.IniFFTBottomCutHz = 20;
        p.IniFFTTopCutkHz = 20;
        p.IniFFTBottomCutAmp = -20;
        p.IniFFTTopCutAmp = -80;
        p.IniFFTDelay = 3;
        p.IniFFTMinAbstandMaxima = 10;
        p.IniFFTMinAbstandNachbarMin = 5;
        p.IniFFTbIsSpline = 1;
        p.IniFFTSplineTyp = 2;
        m_doc.OnNewDocument();
        m_doc.m_nSampleRate = 44100;
        m_doc.m_aSpectrum.assign(513, 10.0);
        m_frame = std::make_unique<FakeFrame>();
        m_view = new CFFTView(&m_doc, m_frame.get());
        m_view->resize(640, 400);
    }
    void TearDown() override
    {
        m_frame.reset();
        SetViewHost(nullptr);
        SetUiServices(nullptr);
        ResetProgramFlags();
    }
    void Click(int nId) { m_frame->Control<QAbstractButton>(nId)->click(); }
    QSpinBox* Spin(int nId) { return m_frame->Control<QSpinBox>(nId); }
    void Mouse(QEvent::Type type, QPoint p, Qt::MouseButton button, Qt::MouseButtons held)
    {
        QMouseEvent e(type, QPointF(p), m_view->mapToGlobal(QPointF(p)), button, held, Qt::NoModifier);
        QApplication::sendEvent(m_view, &e);
    }

    ScriptedUiServices m_ui;
    FakeHost m_host;
    CTonaroDoc m_doc;
    std::unique_ptr<FakeFrame> m_frame;
    CFFTView* m_view = nullptr;
};

} // namespace

TEST_F(FFTViewTest, ControlsShowTheProfileAndHandItBackOnDestruction)
{
    EXPECT_EQ(m_host.m_nCommand, 32827);
    EXPECT_EQ(m_host.m_strEntry, QStringLiteral("FFT"));
    EXPECT_EQ(Spin(1082)->value(), -20);
    EXPECT_EQ(Spin(1083)->value(), -80);
    EXPECT_TRUE(m_frame->Control<QAbstractButton>(1072)->isChecked());
    EXPECT_TRUE(m_frame->Control<QAbstractButton>(1085)->isChecked());
    EXPECT_FALSE(Spin(1087)->isEnabled());
    EXPECT_EQ(m_view->CurrentFftText(), QStringLiteral("4096"));

    Spin(1069)->setValue(10);
    m_frame.reset();
    EXPECT_EQ(m_host.m_settings.IniFFTTopCutkHz, 10);
    EXPECT_EQ(m_host.m_nCommand, 0);
    EXPECT_EQ(m_doc.m_pFFTFrame, nullptr);
}

TEST_F(FFTViewTest, LevelControlsPushEachOtherAndFollowTheAxisKind)
{
    Click(1071);   // "Lin"
    EXPECT_EQ(Spin(1082)->value(), -15);
    EXPECT_TRUE(m_view->Plot().Settings().m_bIsAmpLinear);
    Click(1072);   // "Log"
    EXPECT_EQ(Spin(1082)->value(), 0);

    Spin(1082)->setValue(-20);
    Spin(1083)->setValue(-10);
    EXPECT_EQ(Spin(1082)->value(), -5);
    EXPECT_EQ(m_view->Plot().Settings().m_nBottomCutAmp, -5);
    Spin(1082)->setValue(-30);
    EXPECT_EQ(Spin(1083)->value(), -35);
}

TEST_F(FFTViewTest, DelayPeakFindingAndCurveBoxesExcludeEachOther)
{
    Click(1180);   // "Delay"
    EXPECT_TRUE(Spin(1087)->isEnabled());
    Click(1177);   // "ermitteln"
    EXPECT_FALSE(m_frame->Control<QAbstractButton>(1180)->isChecked());
    EXPECT_FALSE(Spin(1087)->isEnabled());
    Click(1180);
    EXPECT_FALSE(m_frame->Control<QAbstractButton>(1177)->isChecked());

    Click(1086);   // "Beta"
    EXPECT_FALSE(m_frame->Control<QAbstractButton>(1085)->isChecked());
    EXPECT_EQ(m_view->Plot().Settings().m_nSplineTyp, 3);
    Click(1086);
    EXPECT_FALSE(m_view->Plot().Settings().m_bIsSpline);
    EXPECT_EQ(m_view->Plot().Settings().m_nSplineTyp, 0);

    Click(1182);   // "Säulen"
    EXPECT_EQ(m_view->Plot().Settings().m_nDarstellung, 2);
    EXPECT_FALSE(m_frame->Control<QAbstractButton>(1078)->isChecked());
}

TEST_F(FFTViewTest, CurrentFftBoxFollowsLiveSizeAndSelection)
{
    m_doc.m_nNumFFTPoints = 8192;
    m_doc.m_nSpectrumPoints = 512;
    m_view->OnUpdate(kHintRefresh);
    EXPECT_EQ(m_view->CurrentFftText(), QStringLiteral("8192"));
    g_bSelectionChanged = true;
    m_view->OnUpdate(kHintSelection);
    EXPECT_EQ(m_view->CurrentFftText(), QStringLiteral("512"));
}

TEST_F(FFTViewTest, DraggingInTheTopStripPlaysTheFrequencyUnderTheMouse)
{
    Mouse(QEvent::MouseButtonPress, {300, 10}, Qt::LeftButton, Qt::LeftButton);
    Mouse(QEvent::MouseMove, {320, 10}, Qt::NoButton, Qt::LeftButton);
    Mouse(QEvent::MouseMove, {320, 30}, Qt::NoButton, Qt::LeftButton);                    // below the strip
    Mouse(QEvent::MouseMove, {330, 10}, Qt::NoButton, Qt::LeftButton | Qt::RightButton); // not only the left
    Mouse(QEvent::MouseButtonRelease, {320, 10}, Qt::LeftButton, Qt::NoButton);
    const auto beeps = m_ui.CallsOf(UiCallKind::Beep);
    ASSERT_EQ(beeps.size(), 1u);
    EXPECT_EQ(beeps[0].m_nFrequencyHz, m_view->Plot().ToneHz(320, {640, 400}, m_doc));
    EXPECT_EQ(beeps[0].m_nDurationMs, 50);
    EXPECT_GT(beeps[0].m_nFrequencyHz, 20);
}

TEST_F(FFTViewTest, RightClicksEditPeaksAndDeleteCapturesEmptiesEverything)
{
    m_doc.m_aSpectrum[100] = 5000.0;
    m_view->Picture();
    ASSERT_GE(m_view->Plot().Peaks().List().size(), 3u);
    Mouse(QEvent::MouseButtonPress, {200, 100}, Qt::RightButton, Qt::RightButton);
    Mouse(QEvent::MouseButtonRelease, {200, 100}, Qt::RightButton, Qt::NoButton);
    EXPECT_EQ(m_view->Plot().Peaks().Edits().size(), 1u);

    m_view->OnDeleteCaptures();
    EXPECT_TRUE(m_view->Plot().Peaks().Edits().empty());
    EXPECT_EQ(m_doc.m_aSpectrum.size(), 1u);
    m_view->Picture();
    EXPECT_TRUE(m_view->Plot().PlotPoints().empty());
}

TEST_F(FFTViewTest, ExportOffersPicturesAndDataButNoHelpPage)
{
    const ViewExportInfo info = m_view->ExportInfo();
    EXPECT_TRUE(info.m_strHelpPage.isEmpty());
    EXPECT_EQ(info.m_strSaveTitle, QStringLiteral("Speichert diese FFT Ansicht..."));
    EXPECT_EQ(info.m_strCopyImageTitle, QStringLiteral("FFT Abbild"));
    EXPECT_EQ(info.m_strSaveImageTitle, QStringLiteral("FFT Abbild"));
    EXPECT_TRUE(info.m_strDataMessage.startsWith(QStringLiteral("Daten der Fouriertransformation")));
    EXPECT_TRUE(m_view->DataText().startsWith(QStringLiteral("Frequenz[Hz]\tAmplitude[dB]\r\n")));
    const QImage& image = m_view->Picture();
    EXPECT_EQ(image.size(), QSize(640, 400));
    EXPECT_EQ(QColor(image.pixel(5, 5)), QColor(Qt::white));      // piano band
    EXPECT_EQ(QColor(image.pixel(300, 200)), QColor(Qt::black));  // plot background
}

TEST_F(FFTViewTest, ClipboardPictureCarriesTheTitleAndTheCaptionsBelowThePlot)
{
    const QByteArray emf = ViewExport::EmfPicture(*m_view, QStringLiteral("FFT Abbild"), true);
    ASSERT_FALSE(emf.isEmpty());
    const QString title = QStringLiteral("FFT Abbild");
    EXPECT_TRUE(emf.contains(QByteArray(reinterpret_cast<const char*>(title.utf16()), title.size() * 2)));
    const QString caption = QStringLiteral("Frequenz");
    EXPECT_TRUE(emf.contains(QByteArray(reinterpret_cast<const char*>(caption.utf16()), caption.size() * 2)));
}

TEST_F(FFTViewTest, LoadingASoundSetsTheDynamicRangeFromItsWidth)
{
    QTemporaryDir tmp;
    m_doc.m_pFFTFrame = m_frame.get();
    for (const auto& [nBits, nDbr] : {std::pair{8, -48}, std::pair{16, -96}}) {
        const QString path = tmp.filePath(QStringLiteral("ton%1.wav").arg(nBits));
        {
            CRiffWaveFile file;
            const WaveFormat format = WaveFormat::Pcm(1, 22050, static_cast<uint16_t>(nBits));
            ASSERT_EQ(file.Open(path.toStdString(), &format, CRiffWaveFile::kModeWrite), S_OK);
            const std::vector<uint8_t> data(2000, 128);
            uint32_t written = 0;
            ASSERT_EQ(file.Write(static_cast<uint32_t>(data.size()), data.data(), &written), S_OK);
        }
        ASSERT_EQ(m_doc.ReadWave(path), CTonaroDoc::kReadOk);
        EXPECT_EQ(Spin(1083)->value(), nDbr);
        EXPECT_EQ(m_view->Plot().Settings().m_nTopCutAmp, nDbr);
    }
    m_doc.m_pFFTFrame = nullptr;
}

// The FFT window over the shipped chord with piano band, logarithmic axes,
// peaks and the Beta curve, written as fft-chord.png to TONARO_SCREENSHOT_DIR
// when it is set (run under xvfb-run to refresh docs/screenshots), else to a
// temporary folder.
TEST_F(FFTViewTest, ScreenshotOverAChord)
{
    QTemporaryDir tmp;
    QString out = qEnvironmentVariable("TONARO_SCREENSHOT_DIR");
    if (out.isEmpty())
        out = tmp.path();
    ASSERT_EQ(m_doc.ReadWave(QStringLiteral(TONARO_TEST_DATA "/../../resources/samples/Beispiel-Akkord.wav")),
              CTonaroDoc::kReadOk);
    m_frame->resize(1500, 700);
    m_frame->show();
    m_doc.m_pFFTFrame = m_frame.get();
    Spin(1069)->setValue(5);
    Spin(1068)->setValue(50);
    Spin(1082)->setValue(0);
    Spin(1083)->setValue(-96);
    Click(1074);   // logarithmic frequency axis
    Click(1078);   // bars
    Click(1177);   // peaks
    Click(1086);   // Beta curve
    m_view->setGeometry(0, 0, 1280, 700);
    m_doc.SelectRange(44100 / 2, 44100 / 2 + 32768);
    QApplication::processEvents();
    ASSERT_GT(m_doc.m_aSpectrum.size(), 2u);
    EXPECT_FALSE(m_view->Plot().Peaks().List().empty());
    EXPECT_TRUE(m_view->grab().save(out + QStringLiteral("/fft-chord.png")));
    m_doc.m_pFFTFrame = nullptr;
}
