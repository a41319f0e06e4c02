// The export services on the wave view: save dialog and the three formats,
// the clipboard picture (EMF bytes and PNG), the data copy and its rules.
#include "EmfReader.h"
#include "RecordingCanvas.h"
#include "TonaroView.h"
#include "ViewExport.h"
#include "ViewFixture.h"

#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

namespace {

QString Description(const QString& title)
{
    return QStringLiteral("TONARO Soundanalyse") + QChar(0) + title + QChar(0) + QChar(0);
}

class ExportTest : public ViewTest {
protected:
    void SetUp() override
    {
        ViewTest::SetUp();
        Load(Pcm16(78000, [](int i) { return static_cast<int>(20000 * std::sin(i * 0.001)); }));
        m_view = std::make_unique<CTonaroView>(m_doc.get(), nullptr);
        m_view->resize(800, 300);
        m_view->SetZoomWindow({0, 0, 780, 0}, 780);
        RecordingCanvas dc({800, 300});
        m_view->Draw(dc);
    }
    void TearDown() override
    {
        m_view.reset();
        ViewTest::TearDown();
    }
    std::unique_ptr<CTonaroView> m_view;
    QTemporaryDir m_tmp;
};

TEST_F(ExportTest, SaveDialogOffersTheMetafileFirstAndTheChosenFilterDecidesTheFormat)
{
    struct Case {
        const char* m_pszName;
        int m_nFilter;
        const char* m_pszMagicHex; // first bytes of the file
    };
    // The extension does not decide: a ".wmf" name saved with the PNG filter holds a PNG.
    const Case cases[] = {{"a.wmf", 1, "01000000"}, {"b.wmf", 3, "89504e47"}, {"c.svg", 2, "3c3f786d6c"},
                          {"d.png", 1, "01000000"}};
    for (const Case& c : cases) {
        const QString path = m_tmp.filePath(c.m_pszName);
        m_ui.QueueFile(path, c.m_nFilter);
        ASSERT_TRUE(ViewExport::SavePicture(*m_view)) << c.m_pszName;
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        EXPECT_TRUE(f.readAll().startsWith(QByteArray::fromHex(c.m_pszMagicHex))) << c.m_pszName;
    }
    const auto dialogs = m_ui.CallsOf(UiCallKind::SaveFile);
    ASSERT_FALSE(dialogs.empty());
    const FileDialogRequest& r = dialogs[0].m_fileRequest;
    EXPECT_EQ(r.m_strTitle, "Speichert diese Waveansicht...");
    EXPECT_TRUE(r.m_strFilter.startsWith("WMF - Enhanced Metafile|*.wmf|")) << r.m_strFilter.toStdString();
    EXPECT_EQ(r.m_nFilterIndex, 1);
    EXPECT_EQ(r.m_strDefaultExt, ".wmf");
}

TEST_F(ExportTest, CancelledSaveWritesNothing)
{
    m_ui.QueueFileCancel();
    EXPECT_FALSE(ViewExport::SavePicture(*m_view));
    EXPECT_TRUE(QDir(m_tmp.path()).isEmpty());
}

TEST_F(ExportTest, SavedMetafileCarriesTheTitleAndTheScreenWaveform)
{
    const QString path = m_tmp.filePath("wave.wmf");
    ASSERT_TRUE(ViewExport::WritePicture(*m_view, path, ViewExport::PictureFormat::Emf));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EmfReader reader;
    ASSERT_TRUE(reader.Read(f.readAll())) << reader.Error().toStdString();
    EXPECT_EQ(reader.Header().m_strDescription, Description("Wave Abbild"));

    RecordingCanvas screen({800, 300});
    m_view->Draw(screen);
    const std::vector<CanvasPoint> onScreen = screen.OfKind(CanvasRecordKind::Polyline).at(0).m_aPoints;
    bool found = false;
    for (const EmfRecordRef& r : reader.Records())
        if (reader.Points(r) == onScreen)
            found = true;
    EXPECT_TRUE(found) << "the metafile's polyline differs from the screen's";
}

TEST_F(ExportTest, ClipboardGetsTheMetafileAndAPicture)
{
    ASSERT_TRUE(ViewExport::CopyPicture(*m_view));
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(data, nullptr);
    ASSERT_TRUE(data->hasFormat(ViewExport::kEmfMimeType));
    EmfReader reader;
    ASSERT_TRUE(reader.Read(data->data(ViewExport::kEmfMimeType))) << reader.Error().toStdString();
    EXPECT_EQ(reader.Header().m_strDescription, Description("View Abbild"));
    const QImage image = qvariant_cast<QImage>(data->imageData());
    EXPECT_EQ(image.size(), QSize(800, 300));
}

// A window with numbers to give, for the data copy rules.
class DataWindow : public CExportableView {
public:
    ViewExportInfo ExportInfo() const override
    {
        ViewExportInfo info;
        info.m_strDataMessage = QStringLiteral("Daten kopiert.");
        return info;
    }
    CanvasSize PictureSize() const override { return {10, 10}; }
    void DrawPicture(Canvas&, bool) override {}
    QString DataText() override { return QStringLiteral("Frequenz[Hz]\tAmplitude[dB]\r\n1,5\t-3\r\n"); }
};

TEST_F(ExportTest, DataCopyGoesToTheClipboardExceptWhilePlaying)
{
    DataWindow window;
    QGuiApplication::clipboard()->setText(QStringLiteral("vorher"));
    g_bPlaying = true;
    EXPECT_FALSE(ViewExport::CopyData(window));
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "vorher");
    EXPECT_TRUE(m_ui.MessageTexts().isEmpty());

    g_bListening = true; // listening: the copy runs even while the flag says playing
    EXPECT_TRUE(ViewExport::CopyData(window));
    EXPECT_EQ(QGuiApplication::clipboard()->text(), window.DataText());
    EXPECT_EQ(m_ui.MessageTexts(), QStringList{"Daten kopiert."});
    EXPECT_EQ(m_ui.WaitCursorDepth(), 0);
    // The wave view has no numbers to give.
    EXPECT_FALSE(ViewExport::CopyData(*m_view));
}

TEST_F(ExportTest, SavedMetafileRendersInInkscape)
{
    // scripts/test installs Inkscape for this check.
    const QString inkscape = QStandardPaths::findExecutable(QStringLiteral("inkscape"));
    ASSERT_FALSE(inkscape.isEmpty()) << "inkscape is not installed";
    const QString emf = m_tmp.filePath("wave.emf");
    const QString png = m_tmp.filePath("wave.png");
    ASSERT_TRUE(ViewExport::WritePicture(*m_view, emf, ViewExport::PictureFormat::Emf));
    QProcess p;
    p.start(inkscape, {emf, QStringLiteral("--export-type=png"), QStringLiteral("--export-filename=") + png});
    ASSERT_TRUE(p.waitForFinished(120000));
    const QImage rendered(png);
    ASSERT_FALSE(rendered.isNull()) << p.readAllStandardError().toStdString();
    // The waveform is red: the rendering must show red pixels along the sine.
    QImage screen(800, 300, QImage::Format_RGB32);
    m_view->render(&screen);
    const QImage scaled = rendered.scaled(800, 300).convertToFormat(QImage::Format_RGB32);
    int agree = 0;
    int red = 0;
    for (int x = 20; x < 780; x += 10)
        for (int y = 10; y < 290; ++y) {
            const QColor s = screen.pixelColor(x, y);
            if (s.red() > 200 && s.green() < 80) {
                ++red;
                for (int dy = -3; dy <= 3; ++dy) {
                    const QColor r = scaled.pixelColor(x, std::clamp(y + dy, 0, 299));
                    if (r.red() > 90 && r.red() > 2 * r.green()) {
                        ++agree;
                        break;
                    }
                }
            }
        }
    ASSERT_GT(red, 50);
    EXPECT_GT(agree, red * 8 / 10);
}

} // namespace
