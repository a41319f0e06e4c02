// Opening wave files: mono and stereo, the channel dialog, the reduced-rate
// copy, refused formats and damaged files, and the playback object.
#include "ImportFixture.h"

#include "SimulatedPlaySound.h"

#include <QFileInfo>

#include <algorithm>
#include <functional>
#include <optional>

namespace {

const QString kWait = QStringLiteral("Bitte warten Sie, bis das Wavefile eingelesen ist.");

// A maker standing in for the sound layer: records what it was asked for.
class RecordingMaker : public CPlaySoundMaker {
public:
    QStringList m_aPaths;
    bool m_bFail = false;
    HResult Create(const QString& strPath, std::unique_ptr<CPlaySound>& out) override
    {
        m_aPaths << strPath;
        if (m_bFail)
            return E_FAIL;
        out = std::make_unique<CSimulatedPlaySound>(1);
        return S_OK;
    }
};

} // namespace

using WaveImport = ImportTest;

TEST_F(WaveImport, Mono16BitLoadsWithoutDialogAndPlaysFromTheFileItself)
{
    RecordingMaker maker;
    doc->SetPlaySoundMaker(&maker);
    const QString path = WriteWave("ton.wav", WaveFormat::Pcm(1, 44100, 16), Pcm16({100, -200, 300, 32767, -32768}));
    OpenWave(path);

    EXPECT_TRUE(g_bWaveLoaded);
    EXPECT_FALSE(g_bConverted);
    EXPECT_EQ(DocSamples(), (std::vector<int>{100, -200, 300, 32767, -32768}));
    EXPECT_EQ(doc->m_nRawSize, 10);
    EXPECT_EQ(doc->m_nPlayDataSize, 10);
    EXPECT_EQ(doc->m_nSampleRate, 44100);
    EXPECT_EQ(doc->m_nBitsPerSample, 16);
    EXPECT_EQ(doc->m_strChannels, "Mono");
    EXPECT_EQ(doc->m_strFileName, path);
    EXPECT_EQ(host.m_strTitle, "ton.wav");
    EXPECT_TRUE(ui.CallsOf(UiCallKind::WaveParameters).empty());
    EXPECT_TRUE(ui.MessageTexts().isEmpty());
    EXPECT_EQ(maker.m_aPaths, QStringList{path});
    ASSERT_NE(doc->m_pPlaySound, nullptr);
    EXPECT_EQ(hints.m_aHints.back(), kHintRefresh);

    // The progress window: shown (not the school profile), told to wait, closed.
    const auto shows = ui.CallsOf(UiCallKind::ProgressShow);
    ASSERT_EQ(shows.size(), 1u);
    EXPECT_TRUE(shows[0].m_bVisible);
    const auto texts = ui.CallsOf(UiCallKind::ProgressText);
    ASSERT_FALSE(texts.empty());
    EXPECT_EQ(texts.back().m_strText, kWait);
    EXPECT_EQ(ui.CallsOf(UiCallKind::ProgressClose).size(), 1u);
}

TEST_F(WaveImport, WithoutSoundDeviceTheSoundLoadsButDoesNotClaimToPlay)
{
    OpenWave(WriteWave("ton.wav", WaveFormat::Pcm(1, 22050, 8), {1, 2, 3}));
    ASSERT_TRUE(g_bWaveLoaded);
    ASSERT_NE(doc->m_pPlaySound, nullptr);
    EXPECT_TRUE(Failed(doc->m_pPlaySound->Play(false)));
    EXPECT_FALSE(doc->m_pPlaySound->IsPlaying());
    EXPECT_EQ(DocSamples(), (std::vector<int>{1, 2, 3}));
    EXPECT_DOUBLE_EQ(doc->m_dFullScale, 255.0);
}

TEST_F(WaveImport, StereoFileKeepsTheChosenChannel)
{
    struct Case {
        int nBits;
        bool bSchool;
        std::optional<int> answer;   // channel chosen in the dialog; none: default answer
        std::vector<int> expected;
    };
    // Frames (L, R): (1, -1), (2, -2), (3, -3) in 16 bit; (10, 20), (11, 21) in 8 bit.
    const std::vector<Case> cases = {
        {16, false, std::nullopt, {1, 2, 3}},
        {16, false, 0, {-1, -2, -3}},
        {16, false, 1, {1, 2, 3}},
        {16, true, std::nullopt, {1, 2, 3}},
        {8, false, 0, {20, 21}},
        {8, true, std::nullopt, {10, 11}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.nBits << " bit, school " << c.bSchool);
        ui.ClearCalls();
        hints.m_aHints.clear();
        host.m_bSchool = c.bSchool;
        const std::vector<uint8_t> data =
            c.nBits == 16 ? Pcm16({1, -1, 2, -2, 3, -3, 4}) : std::vector<uint8_t>{10, 20, 11, 21, 12};
        RecordingMaker maker;
        doc->SetPlaySoundMaker(&maker);
        if (c.answer)
            ui.QueueWaveParameters(true, *c.answer);
        const QString path = WriteWave("stereo.wav", WaveFormat::Pcm(2, 44100, static_cast<uint16_t>(c.nBits)), data);
        OpenWave(path);

        EXPECT_TRUE(g_bWaveLoaded);
        EXPECT_EQ(DocSamples(), c.expected);
        EXPECT_EQ(doc->m_strChannels, "Mono");
        EXPECT_FALSE(doc->m_bStereo);
        EXPECT_EQ(doc->m_strFileName, path);
        ASSERT_EQ(maker.m_aPaths.size(), 1);
        EXPECT_EQ(QFileInfo(maker.m_aPaths[0]).fileName(), "~TempWaveMono.wav");
        EXPECT_EQ(QFileInfo(maker.m_aPaths[0]).absolutePath(), QPathOf("tmp"));
        const auto dialogs = ui.CallsOf(UiCallKind::WaveParameters);
        if (c.bSchool) {
            EXPECT_TRUE(dialogs.empty());
        } else {
            ASSERT_EQ(dialogs.size(), 1u);
            const WaveParameterInfo& info = dialogs[0].m_waveInfo;
            EXPECT_EQ(info.m_strChannels, "Stereo");
            EXPECT_EQ(info.m_nSampleRate, 44100);
            EXPECT_EQ(info.m_nBitsPerSample, c.nBits);
            EXPECT_EQ(info.m_strFormatTag, "PCM");
            EXPECT_EQ(info.m_strFileName, path);
            EXPECT_TRUE(info.HintText().startsWith("Hinweis: Dies ist ein Stereo-File."));
            EXPECT_TRUE(info.OkEnabled());
            // "Links" is preselected: the dialog's default answer is the left channel.
            EXPECT_EQ(std::count(hints.m_aHints.begin(), hints.m_aHints.end(), kHintChannelChosen), 1);
        }
        doc->SetPlaySoundMaker(nullptr);
    }
}

TEST_F(WaveImport, CancelledChannelDialogLoadsNothing)
{
    ui.QueueWaveParameters(false, 1);
    OpenWave(WriteWave("stereo.wav", WaveFormat::Pcm(2, 44100, 16), Pcm16({1, 2, 3, 4})));
    ExpectNoSound();
    EXPECT_TRUE(ui.MessageTexts().isEmpty());
}

TEST_F(WaveImport, FastSoundKeepsItsRateAndIsPlayedFromAReducedCopy)
{
    struct Case {
        uint32_t nRate;
        uint16_t nBits;
        std::vector<int> input;
        uint32_t nPlayedRate;
        std::vector<int> played;   // floor of each group's mean; a short last group is dropped
    };
    const std::vector<Case> cases = {
        {96000, 16, {-3, -4, 1, 2, 7}, 48000, {-4, 1}},
        {192000, 16, {-1, -2, -3, -4, 32767, 32767, 32767, 32766}, 48000, {-3, 32766}},
        {88200, 8, {1, 2, 255, 254}, 44100, {1, 254}},
        {64000, 16, {-32768, -32767}, 32000, {-32768}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.nRate);
        std::vector<uint8_t> data;
        if (c.nBits == 16)
            data = Pcm16(c.input);
        else
            data.assign(c.input.begin(), c.input.end());
        OpenWave(WriteWave("fast.wav", WaveFormat::Pcm(1, c.nRate, c.nBits), data));

        ASSERT_TRUE(g_bWaveLoaded);
        EXPECT_TRUE(g_bConverted);
        EXPECT_EQ(doc->m_nSampleRate, static_cast<int>(c.nRate));
        EXPECT_EQ(DocSamples(), c.input);
        EXPECT_EQ(doc->m_nPlaySampleRate, static_cast<int>(c.nPlayedRate));
        EXPECT_EQ(doc->m_nPlayDataSize, doc->m_nRawSize / static_cast<int>(c.nRate / c.nPlayedRate));
        WaveFormat format;
        std::vector<int> played;
        ASSERT_TRUE(ReadWaveSamples(QPathOf("tmp/~TempWave.wav"), format, played));
        EXPECT_EQ(format, WaveFormat::Pcm(1, c.nPlayedRate, c.nBits));
        EXPECT_EQ(played, c.played);
    }
}

TEST_F(WaveImport, ExtensionIsTestedWithoutRegardToCaseAndTheRealNameIsKept)
{
    ASSERT_TRUE(QDir().mkpath(QPathOf("Klänge mit Leerzeichen")));
    const QString path = WriteWave("Klänge mit Leerzeichen/Mein Ton.WAV", WaveFormat::Pcm(1, 8000, 16), Pcm16({5}));
    OpenWave(path);
    EXPECT_TRUE(g_bWaveLoaded);
    EXPECT_EQ(doc->m_strFileName, path);
    EXPECT_EQ(host.m_strTitle, "Mein Ton.WAV");
    EXPECT_EQ(DocSamples(), std::vector<int>{5});
}

TEST_F(WaveImport, UnusableFilesEndInAMessageAndLeaveNoSound)
{
    const QByteArray header = [] {
        QFile f(QString::fromStdString(TestDataPath("riff_pcm8_list.wav")));
        f.open(QIODevice::ReadOnly);
        return f.readAll();
    }();
    QByteArray random(4096, '\0');
    for (int i = 0; i < random.size(); ++i)
        random[i] = static_cast<char>((i * 7919 + 13) % 251);

    struct Case {
        QString name;
        std::function<QString()> make;
        QString message;   // start of the message shown
    };
    const std::vector<Case> cases = {
        {"empty data", [&] { return WriteWave("leer.wav", WaveFormat::Pcm(1, 44100, 16), {}); }, "Wavefile ist leer."},
        {"0 bytes", [&] { return WriteBytes("null.wav", {}); }, "Die Datei\n"},
        {"random bytes", [&] { return WriteBytes("zufall.wav", random); }, "Die Datei\n"},
        {"cut in the header", [&] { return WriteBytes("kurz.wav", header.left(30)); }, "Die Datei\n"},
        {"other extension", [&] { return WriteWave("ton.txt", WaveFormat::Pcm(1, 44100, 16), Pcm16({1})); },
         "Konnte diese Datei bzw. das Format nicht lesen, weil die Endung nicht .mp3 oder .wav lautet."},
        {"rate without reduction",
         [&] { return WriteWave("ton.wav", WaveFormat::Pcm(1, 50000, 16), Pcm16({1})); },
         "Die Samplingrate dieser Wavedatei (50000 Hz)"},
        {"four channels", [&] { return WriteWave("ton.wav", WaveFormat::Pcm(4, 44100, 16), Pcm16({1, 2, 3, 4})); },
         "Diese Wavedatei hat 4 Kanäle."},
        {"12 bit", [&] { return WriteWave("ton.wav", WaveFormat::Pcm(1, 44100, 12), Pcm16({1})); },
         "Bitrate nicht lesbarCTonaroDoc.WriteWaveParametersInVariables"},
        {"float samples",
         [&] {
             WaveFormat f = WaveFormat::Pcm(1, 44100, 32);
             f.formatTag = 3;
             return WriteWave("ton.wav", f, std::vector<uint8_t>(8, 0));
         },
         "Diese Wavedatei ist nicht im PCM-Format"},
        {"frame size wrong",
         [&] {
             WaveFormat f = WaveFormat::Pcm(2, 44100, 16);
             f.blockAlign = 2;
             return WriteWave("ton.wav", f, Pcm16({1, 2}));
         },
         "Das Format dieser Wavedatei ist fehlerhaft"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name.toStdString());
        // A sound loaded before is removed by the open command, whatever follows.
        OpenWave(WriteWave("vorher.wav", WaveFormat::Pcm(1, 44100, 16), Pcm16({9, 9})));
        ASSERT_TRUE(g_bWaveLoaded);
        ui.ClearCalls();
        OpenWave(c.make());
        ExpectNoSound();
        const QStringList messages = ui.MessageTexts();
        ASSERT_EQ(messages.size(), 1) << messages.join(" | ").toStdString();
        EXPECT_TRUE(messages[0].startsWith(c.message)) << messages[0].toStdString();
        EXPECT_EQ(ui.CallsOf(UiCallKind::ProgressClose).size(), 1u);
    }
}

TEST_F(WaveImport, SamplesWiderThan16BitAreRefusedByTheDialog)
{
    for (const uint16_t nChannels : {uint16_t{1}, uint16_t{2}}) {
        SCOPED_TRACE(nChannels);
        ui.ClearCalls();
        // Even a queued OK cannot be pressed: the dialog offers only Cancel.
        ui.QueueWaveParameters(true, 1);
        OpenWave(WriteWave("breit.wav", WaveFormat::Pcm(nChannels, 44100, 24), std::vector<uint8_t>(12, 1)));
        ExpectNoSound();
        const auto dialogs = ui.CallsOf(UiCallKind::WaveParameters);
        ASSERT_EQ(dialogs.size(), 1u);
        EXPECT_FALSE(dialogs[0].m_waveInfo.OkEnabled());
        EXPECT_TRUE(dialogs[0].m_waveInfo.HintText().startsWith("Problem: Die Auflösung dieser Wavedatei ist mehr "
                                                                 "als 16-Bit."));
        EXPECT_TRUE(ui.MessageTexts().isEmpty());
    }
}

TEST_F(WaveImport, FileEndingBeforeItsDataIsRefused)
{
    const QString path = WriteWave("ton.wav", WaveFormat::Pcm(1, 44100, 16), Pcm16({1, 2, 3, 4}));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    const qint64 nSize = file.size();
    ASSERT_TRUE(file.resize(nSize - 3));   // cuts the last sample and a half
    file.close();
    OpenWave(path);
    ExpectNoSound();
    EXPECT_EQ(ui.MessageTexts(),
              QStringList{"Die Wavedatei ist unvollständig: sie endet vor dem Ende ihrer Daten."});
}

TEST_F(WaveImport, PlaybackObjectThatCannotBeMadeLeavesNoSound)
{
    RecordingMaker maker;
    maker.m_bFail = true;
    doc->SetPlaySoundMaker(&maker);
    OpenWave(WriteWave("ton.wav", WaveFormat::Pcm(1, 44100, 16), Pcm16({1, 2})));
    ExpectNoSound();
    EXPECT_EQ(maker.m_aPaths.size(), 1);
}

TEST_F(WaveImport, CancelledFileDialogKeepsNothingAndShowsNothing)
{
    ui.QueueFileCancel();
    doc->OnOpenWave();
    EXPECT_FALSE(g_bWaveLoaded);
    EXPECT_TRUE(ui.CallsOf(UiCallKind::ProgressShow).empty());
}

TEST_F(WaveImport, ProgressWindowStaysHiddenInTheSchoolProfile)
{
    host.m_bSchool = true;
    OpenWave(WriteWave("ton.wav", WaveFormat::Pcm(1, 44100, 16), Pcm16({1})));
    const auto shows = ui.CallsOf(UiCallKind::ProgressShow);
    ASSERT_EQ(shows.size(), 1u);
    EXPECT_FALSE(shows[0].m_bVisible);
}
