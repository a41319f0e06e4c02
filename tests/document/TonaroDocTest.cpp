// The sound document without windows: start-up state, markers, selection,
// spectra, removal, format members, status texts and the FFT size command.
#include "AudioControl.h"
#include "DocumentHost.h"
#include "ProgramFlags.h"
#include "ScriptedUiServices.h"
#include "TonaroDoc.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace {

struct FakeHost : CDocumentHost {
    int nFFTSetting = 4096;
    QString strPlayFile;
    bool bStatusBar = true;
    bool bSchool = false;
    QStringList status;   // every status message in order
    QString strTitle;

    int NumFFTPointsSetting() const override { return nFFTSetting; }
    void SetNumFFTPointsSetting(int n) override { nFFTSetting = n; }
    QString PlayFileSetting() const override { return strPlayFile; }
    void SetPlayFileSetting(const QString& s) override { strPlayFile = s; }
    bool StatusBarShown() const override { return bStatusBar; }
    bool SchoolProfile() const override { return bSchool; }
    void ShowFFTPoints(int n) override { status << QString("fft %1").arg(n); }
    void ShowFileName(const QString& s) override { status << "file " + s; }
    void ShowBitsPerSample(int n) override { status << QString("bits %1").arg(n); }
    void ShowSampleRate(int n) override { status << QString("rate %1").arg(n); }
    void ShowListening(bool b) override { status << QString("listen %1").arg(b); }
    void ShowRecording(bool b) override { status << QString("record %1").arg(b); }
    void SetDocumentTitle(const QString& s) override { strTitle = s; }
};

struct HintLog : CDocView {
    std::vector<int> hints;
    void OnUpdate(int nHint) override { hints.push_back(nHint); }
};

struct FakeAudio : CAudioControl {
    int nStopListening = 0, nStopPlayback = 0, nRestart = 0, nSelectionEnd = 0;
    void StopListening() override { ++nStopListening; g_bListening = false; }
    void StopPlayback() override { ++nStopPlayback; }
    bool RestartPlayback() override { ++nRestart; return true; }
    void OnSelectionEnd() override { ++nSelectionEnd; }
};

QWidget* const kOpenWindow = reinterpret_cast<QWidget*>(0x1);

class DocTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetProgramFlags();
        SetUiServices(&ui);
        doc = std::make_unique<CTonaroDoc>(&host);
        doc->OnNewDocument();
        doc->AddView(&log);
        host.status.clear();
    }
    void TearDown() override
    {
        doc->RemoveView(&log);
        doc->m_pFFTFrame = doc->m_pNotenbildFrame = nullptr;
        doc.reset();
        SetUiServices(nullptr);
        ResetProgramFlags();
    }

    // Loads a 16-bit sound whose sample i has the value f(i).
    template <class F> void Load16(int nSamples, F f)
    {
        std::vector<uint8_t> raw;
        for (int i = 0; i < nSamples; ++i) {
            const auto v = static_cast<uint16_t>(static_cast<int16_t>(f(i)));
            raw.push_back(static_cast<uint8_t>(v & 0xFF));
            raw.push_back(static_cast<uint8_t>(v >> 8));
        }
        doc->WriteWaveParametersInVariables(WaveFormat::Pcm(1, 44100, 16));
        doc->SetRawData(std::move(raw));
        g_bWaveLoaded = true;
    }

    FakeHost host;
    HintLog log;
    ScriptedUiServices ui;
    std::unique_ptr<CTonaroDoc> doc;
};

TEST_F(DocTest, StartsWithOneZeroInEveryArrayAndNoCaptureFormat)
{
    for (const auto* a : {&doc->m_aSignal, &doc->m_aSpectrum, &doc->m_aAutocorr[0]})
        EXPECT_EQ(*a, std::vector<double>{0.0});
    EXPECT_EQ(doc->m_aWavelet, std::vector<float>{0.0f});
    EXPECT_EQ(doc->m_nNumFFTPoints, 4096);
    EXPECT_EQ(doc->m_pCaptureFormat->channels, 6);
    EXPECT_EQ(doc->m_strRecordFile, "Kein File ausgewählt.");
    EXPECT_EQ(doc->m_palette.size(), 1536u);
    EXPECT_EQ(doc->m_palette[0], 0x0000FFu);      // red
    EXPECT_EQ(doc->m_palette[1535], 0xFFFFFFu);   // white
}

TEST_F(DocTest, ProfileFFTSizeThatIsNoChoiceFallsBackTo1024)
{
    host.nFFTSetting = 3000;
    doc->Initialise();
    EXPECT_EQ(doc->m_nNumFFTPoints, 1024);
}

TEST_F(DocTest, SetMarkersKeepsTheMarkerGivenAllOnes)
{
    doc->SetMarkers(100, 200);
    doc->SetMarkers(CTonaroDoc::kKeepMarker, 500);
    EXPECT_EQ(doc->m_nMarkerLeft, 100u);
    EXPECT_EQ(doc->m_nMarkerRight, 500u);
    EXPECT_TRUE(log.hints.empty());
}

TEST_F(DocTest, SixteenBitSelectionStartsAtEvenIndex)
{
    Load16(2000, [](int i) { return i - 1000; });
    doc->m_pFFTFrame = kOpenWindow;
    doc->SelectRange(3, 1003);
    ASSERT_EQ(doc->m_aSignal.size(), 1001u);
    EXPECT_EQ(doc->m_aSignal.front(), 2 - 1000);
    EXPECT_EQ(doc->m_aSignal.back(), 1002 - 1000);
    EXPECT_EQ(doc->m_nSpectrumPoints, 512);
    EXPECT_EQ(doc->m_aSpectrum.size(), 257u);
    EXPECT_TRUE(g_bSelectionChanged);
    EXPECT_EQ(log.hints, std::vector<int>{kHintSelection});
}

TEST_F(DocTest, SelectionSpectrumOnlyWhileASpectralWindowIsOpen)
{
    Load16(4096, [](int i) { return 1000 * std::sin(2 * std::numbers::pi * 8 * i / 1024.0); });
    doc->SelectRange(0, 1024);
    EXPECT_EQ(doc->m_aSpectrum, std::vector<double>{0.0});
    EXPECT_EQ(doc->m_nSpectrumPoints, 1024);

    doc->m_pNotenbildFrame = kOpenWindow;
    doc->SelectRange(0, 1024);
    ASSERT_EQ(doc->m_aSpectrum.size(), 513u);
    EXPECT_NEAR(doc->m_aSpectrum[8], 500.0, 0.5);
}

TEST_F(DocTest, SampleValuesAreRawIntegers)
{
    // 8 bit: unsigned byte values; 16 bit: signed values, both ends of the range.
    doc->WriteWaveParametersInVariables(WaveFormat::Pcm(1, 8000, 8));
    doc->SetRawData({0, 128, 255});
    g_bWaveLoaded = true;
    doc->SelectRange(0, 3);
    EXPECT_EQ(doc->m_aSignal, (std::vector<double>{0, 128, 255}));

    Load16(3, [](int i) { return i == 0 ? -32768 : i == 1 ? 0 : 32767; });
    doc->SelectRange(0, 3);
    EXPECT_EQ(doc->m_aSignal, (std::vector<double>{-32768, 0, 32767}));
}

TEST_F(DocTest, SelectionIsKeptInsideTheSoundAndInOrder)
{
    Load16(100, [](int i) { return i; });
    doc->SelectRange(90, 5000);
    EXPECT_EQ(doc->m_aSignal.size(), 10u);
    doc->SelectRange(60, 40);
    ASSERT_EQ(doc->m_aSignal.size(), 20u);
    EXPECT_EQ(doc->m_aSignal.front(), 40);
    doc->SelectRange(-7, 4);
    EXPECT_EQ(doc->m_aSignal.size(), 4u);
}

TEST_F(DocTest, SelectionWithoutSoundOnlySendsTheHintAndWhilePlayingDoesNothing)
{
    doc->SelectRange(0, 100);
    EXPECT_EQ(doc->m_aSignal, std::vector<double>{0.0});
    EXPECT_EQ(log.hints, std::vector<int>{kHintSelection});

    Load16(100, [](int i) { return i; });
    g_bPlaying = true;
    doc->SelectRange(0, 50);
    EXPECT_EQ(log.hints.size(), 1u);
    EXPECT_EQ(doc->m_aSignal, std::vector<double>{0.0});
}

TEST_F(DocTest, RemoveWaveClearsTheSoundAndDisablesItsCommands)
{
    Load16(100, [](int i) { return i; });
    doc->m_strFileName = "/musik/Test.wav";
    g_bLoop = true;
    doc->RemoveWave();
    EXPECT_EQ(log.hints, (std::vector<int>{kHintRemoving, kHintRefresh}));
    EXPECT_EQ(host.strTitle, "Keine Datei geöffnet ");
    EXPECT_EQ(doc->m_strFileName, "Kein File ausgewählt.");
    EXPECT_EQ(doc->m_nRawSize, 0);
    EXPECT_FALSE(g_bWaveLoaded);
    EXPECT_FALSE(g_bLoop);
    for (DocCommand cmd : {DocCommand::Play, DocCommand::Stop, DocCommand::Loop,
                           DocCommand::Rewind, DocCommand::RemoveWave, DocCommand::SaveRecording})
        EXPECT_FALSE(doc->GetCommandState(cmd).bEnabled) << static_cast<int>(cmd);
    EXPECT_TRUE(doc->GetCommandState(DocCommand::OpenWave).bEnabled);
}

TEST_F(DocTest, LoopTogglesOnlyWhileNotPlaying)
{
    doc->OnLoop();
    EXPECT_TRUE(g_bLoop);
    g_bPlaying = true;
    doc->OnLoop();
    EXPECT_TRUE(g_bLoop);
}

TEST_F(DocTest, FormatMembersFollowTheFormatWidth)
{
    struct Case { uint16_t channels, bits; int nBitsPerSample; double dFullScale; const char* channelText; };
    const Case cases[] = {
        {1, 8, 8, 255.0, "Mono"},
        {2, 16, 16, 32767.0, "Stereo"},
        {1, 24, 24, 8388607.0, "Mono"},
        {3, 32, 32, 2147483647.0, "?"},
    };
    for (const Case& c : cases) {
        doc->WriteWaveParametersInVariables(WaveFormat::Pcm(c.channels, 22050, c.bits));
        EXPECT_EQ(doc->m_nBitsPerSample, c.nBitsPerSample);
        EXPECT_EQ(doc->m_dFullScale, c.dFullScale);
        EXPECT_EQ(doc->m_strChannels, c.channelText);
        EXPECT_EQ(doc->m_bStereo, c.channels == 2);
        EXPECT_EQ(doc->m_bSigned, c.bits != 8);
        EXPECT_EQ(doc->m_strFormatTag, "PCM");
    }
    EXPECT_TRUE(ui.MessageTexts().isEmpty());

    // An unreadable width keeps the old one and says so.
    doc->WriteWaveParametersInVariables(WaveFormat::Pcm(1, 22050, 12));
    EXPECT_EQ(doc->m_nBitsPerSample, 32);
    EXPECT_EQ(doc->m_nFormatBits, 12);
    EXPECT_EQ(ui.MessageTexts(), QStringList{"Bitrate nicht lesbarCTonaroDoc.WriteWaveParametersInVariables"});
}

TEST_F(DocTest, StatusTextsGoOutInOrderOnlyWithTheStatusBar)
{
    doc->m_nSampleRate = 44100;
    doc->m_nFormatBits = 16;
    doc->UpdateStatus();
    EXPECT_EQ(host.status, (QStringList{"fft 4096", "file Kein File ausgewählt.", "bits 16",
                                        "rate 44100", "listen 0", "record 0"}));
    host.status.clear();
    host.bStatusBar = false;
    doc->UpdateStatus();
    EXPECT_TRUE(host.status.isEmpty());
}

TEST_F(DocTest, FftSizeCommand)
{
    struct Case { int nAnswer; bool bSchoolNoteImage; int nExpected; };
    const Case cases[] = {
        {11, false, 524288},
        {0, false, 256},
        {5, true, 32768},          // the note image in the school profile forces its size
        {kDialogCancelled, false, 4096},
    };
    for (const Case& c : cases) {
        doc->m_nNumFFTPoints = 4096;
        host.bSchool = c.bSchoolNoteImage;
        doc->m_pNotenbildFrame = c.bSchoolNoteImage ? kOpenWindow : nullptr;
        ui.QueueListChoice(c.nAnswer);
        log.hints.clear();
        doc->OnFftSize();
        EXPECT_EQ(doc->m_nNumFFTPoints, c.nExpected) << c.nAnswer;
        EXPECT_EQ(log.hints, std::vector<int>{kHintRefresh});
    }
}

TEST_F(DocTest, FftSizeDialogPreselectsTheCurrentSize)
{
    for (auto [nPoints, nIndex] : {std::pair{8192, 5}, std::pair{3000, 2}}) {
        doc->m_nNumFFTPoints = nPoints;
        ui.QueueListChoice(kDialogCancelled);
        doc->OnFftSize();
        EXPECT_EQ(ui.Calls().back().m_nIndex, nIndex) << nPoints;
    }
}

TEST_F(DocTest, FftSizeChangePausesListeningAndPlayback)
{
    FakeAudio audio;
    doc->SetAudioControl(&audio);
    g_bListening = true;
    g_bPlaying = true;
    ui.QueueListChoice(3);
    doc->OnFftSize();
    EXPECT_EQ(audio.nStopListening, 1);
    EXPECT_EQ(audio.nStopPlayback, 1);
    EXPECT_EQ(audio.nRestart, 1);
    EXPECT_TRUE(g_bPlaying);
    EXPECT_EQ(doc->m_nNumFFTPoints, 2048);
    doc->SetAudioControl(nullptr);
}

TEST_F(DocTest, PlayPositionBlock)
{
    FakeAudio audio;
    doc->SetAudioControl(&audio);
    doc->m_nNumFFTPoints = 256;
    Load16(1000, [](int i) { return i; });
    doc->SetMarkers(0, 999);

    doc->OnPlayPosition(2 * 700);   // 700 + 256 samples fit
    EXPECT_EQ(doc->m_nPlayPos, 700u);
    ASSERT_EQ(doc->m_aSignal.size(), 256u);
    EXPECT_EQ(doc->m_aSignal[0], 700);
    EXPECT_EQ(doc->m_aSpectrum.size(), 129u);
    EXPECT_EQ(log.hints, std::vector<int>{kHintPlayBlock});

    const auto signal = doc->m_aSignal;
    doc->OnPlayPosition(2 * 800);   // would run past the end: nothing changes
    EXPECT_EQ(doc->m_aSignal, signal);
    EXPECT_EQ(log.hints.size(), 1u);

    doc->SetMarkers(0, 600);        // beyond the right marker: the selection end is handled
    doc->OnPlayPosition(2 * 700);
    EXPECT_EQ(audio.nSelectionEnd, 1);
    doc->SetAudioControl(nullptr);
}

TEST_F(DocTest, CaptureBlockBecomesTheAnalysisBlock)
{
    doc->m_nNumFFTPoints = 256;
    std::vector<double> block(128, 5.0);
    doc->OnCaptureBlock(block, "/tmp/Aufnahme.wav");
    EXPECT_EQ(doc->m_aSignal, block);
    EXPECT_EQ(doc->m_strRecordFile, "/tmp/Aufnahme.wav");
    ASSERT_EQ(doc->m_aSpectrum.size(), 129u);
    EXPECT_DOUBLE_EQ(doc->m_aSpectrum[0], 5.0 * 128 / 256);
    EXPECT_EQ(log.hints, std::vector<int>{kHintRefresh});
}

TEST_F(DocTest, DestructionHandsSettingsBack)
{
    doc->m_nNumFFTPoints = 16384;
    doc->m_strFileName = "/musik/a.wav";
    doc->RemoveView(&log);
    doc.reset();
    EXPECT_EQ(host.nFFTSetting, 16384);
    EXPECT_EQ(host.strPlayFile, "/musik/a.wav");

    // Without a profile read (setting 0) the size is not handed back.
    host.nFFTSetting = 0;
    doc = std::make_unique<CTonaroDoc>(&host);
    doc->OnNewDocument();
    EXPECT_EQ(doc->m_nNumFFTPoints, 1024);
    doc.reset();
    EXPECT_EQ(host.nFFTSetting, 0);
    doc = std::make_unique<CTonaroDoc>(&host);
}

} // namespace
