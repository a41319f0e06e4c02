// "Aufnahme speichern": the loaded sound file copied as WAV or encoded as MP3,
// and the messages of a copy that cannot be made.
#include "ImportFixture.h"

namespace {

uint32_t Le32(const QByteArray& b, int at)
{
    return uint32_t(uchar(b[at])) | uint32_t(uchar(b[at + 1])) << 8 | uint32_t(uchar(b[at + 2])) << 16 |
           uint32_t(uchar(b[at + 3])) << 24;
}

QByteArray ReadAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

using RecordingFiles = ImportTest;

TEST_F(RecordingFiles, WaveCopyKeepsFormatAndDataAndFillsTheHeaderSizes)
{
    // An odd data size in 8-bit stereo: the copy needs the pad byte as well.
    const WaveFormat format = WaveFormat::Pcm(2, 11025, 8);
    const std::vector<uint8_t> data = {1, 2, 3, 4, 5, 6, 7};
    const QString src = WriteWave("Aufnahme.wav", format, data);
    const QString dest = QPathOf("Kopie.wav");
    ASSERT_TRUE(doc->CopyWaveFile(dest, src));

    WaveFormat copied;
    std::vector<int> samples;
    ASSERT_TRUE(ReadWaveSamples(dest, copied, samples));
    EXPECT_EQ(copied, format);
    EXPECT_EQ(samples, std::vector<int>(data.begin(), data.end()));
    const QByteArray bytes = ReadAll(dest);
    EXPECT_EQ(Le32(bytes, 4), uint32_t(bytes.size() - 8));
    const int nData = int(bytes.indexOf("data"));
    ASSERT_GT(nData, 0);
    EXPECT_EQ(Le32(bytes, nData + 4), data.size());
    EXPECT_TRUE(ui.MessageTexts().isEmpty());
}

TEST_F(RecordingFiles, SaveCommandChoosesByTheExtensionInLowerCase)
{
    const QString src = WriteWave("Aufnahme.wav", WaveFormat::Pcm(1, 22050, 16), Pcm16(Sine(22050, 22050, 440.0)));
    OpenWave(src);
    ASSERT_TRUE(g_bWaveLoaded);

    struct Case {
        QString name;
        const char* start;   // first bytes of the file written; null: nothing written
    };
    const std::vector<Case> cases = {
        {"Kopie.WAV", "RIFF"},
        {"Lied.mp3", ""},
        {"Notiz.txt", nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name.toStdString());
        ui.QueueFile(QPathOf(c.name));
        doc->OnSaveRecording();
        const QByteArray bytes = ReadAll(QPathOf(c.name));
        if (c.start == nullptr) {
            EXPECT_TRUE(bytes.isEmpty());
        } else if (*c.start) {
            EXPECT_TRUE(bytes.startsWith(c.start));
        } else {
            ASSERT_GE(bytes.size(), 2);
            EXPECT_TRUE(bytes.startsWith("ID3") || (uchar(bytes[0]) == 0xFF && (uchar(bytes[1]) & 0xE0) == 0xE0));
        }
    }
    const auto saves = ui.CallsOf(UiCallKind::SaveFile);
    ASSERT_EQ(saves.size(), 3u);
    EXPECT_EQ(saves[0].m_fileRequest.m_strTitle, "Wavefile auswählen oder neu benennen.");
    EXPECT_TRUE(saves[0].m_fileRequest.m_nFlags & FileDialogFlag::OverwritePrompt);
    EXPECT_TRUE(ui.MessageTexts().isEmpty());
    EXPECT_TRUE(g_bWaveLoaded);
}

TEST_F(RecordingFiles, CopiesThatCannotBeMadeAreReportedWithTheInformationIcon)
{
    const QString series = WriteBytes("reihe.txt", "1 2 3");
    const QString wav = WriteWave("ton.wav", WaveFormat::Pcm(1, 8000, 16), Pcm16({1, 2}));
    struct Case {
        QString source;
        QString dest;
        QString message;
    };
    const std::vector<Case> cases = {
        {series, QPathOf("a.wav"), "Konnte die Quelldatei:\n" + series + "\nnicht öffnen, Befehl wird abgebrochen."},
        {QPathOf("fehlt.wav"), QPathOf("a.wav"), "Konnte die Quelldatei:\n" + QPathOf("fehlt.wav") + "\nnicht öffnen"},
        {wav, QPathOf("kein ordner/a.wav"), "Konnte Zieldatei nicht öffnen, Befehl wird abgebrochen"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message.toStdString());
        ui.ClearCalls();
        EXPECT_FALSE(doc->CopyWaveFile(c.dest, c.source));
        const auto boxes = ui.CallsOf(UiCallKind::MessageBox);
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_TRUE(boxes[0].m_strText.startsWith(c.message)) << boxes[0].m_strText.toStdString();
        EXPECT_EQ(boxes[0].m_eIcon, MsgIcon::Information);
    }
}

TEST_F(RecordingFiles, SavingALoadedTimeSeriesAsWaveFindsNoWaveFile)
{
    const QString series = WriteBytes("reihe.txt", "1 2 3");
    ASSERT_EQ(doc->ReadTimeSeries(series), CTonaroDoc::kReadOk);
    ui.QueueFile(QPathOf("reihe.wav"));
    doc->OnSaveRecording();
    const QStringList messages = ui.MessageTexts();
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].contains("nicht öffnen, Befehl wird abgebrochen."));
}
