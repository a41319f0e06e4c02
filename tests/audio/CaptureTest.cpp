// Listening and recording on the simulated input: the buffer geometry, the
// blocks handed to the document, the recording file with pause and resume,
// and the rules of the listen command.
#include "AudioFixture.h"

#include "ProgramPaths.h"

#include <cmath>
#include <numbers>

namespace {

class CaptureTest : public AudioTest {
protected:
    // The input hears a sine of dHz at amplitude 0.5.
    void Sine(double dHz)
    {
        m_system.SetSignalSource([dHz](double t) { return 0.5 * std::sin(2.0 * std::numbers::pi * dHz * t); });
    }
    QString RecordingPath() const { return ProgramPaths::InProgramFolder("Aufnahme.wav"); }
};

TEST_F(CaptureTest, BlocksFollowTheGeometryOfTheFormat)
{
    struct Case {
        int nFFT, nRate, nBits;
        std::uint32_t nNotifyBytes, nBufferBytes;
        std::size_t nBlockSamples;
        double dMin, dMax;   // range of the sample values
    };
    const Case cases[] = {
        {4096, 44100, 16, 4096, 65536, 2048, -32768.0, 32767.0},
        {256, 8000, 8, 256, 4096, 256, 0.0, 255.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.nFFT);
        Sine(440.0);
        ChooseFormat(c.nRate, c.nBits);
        m_pDoc->m_nNumFFTPoints = c.nFFT;
        std::vector<std::size_t> aSizes;
        m_pAudio->OnListen();
        ASSERT_TRUE(g_bListening);
        m_view.onHint = [&](int nHint) {
            if (nHint == kHintRefresh)
                aSizes.push_back(m_pDoc->m_aSignal.size());
        };
        ASSERT_TRUE(RunUntilBlocks(3, c.nRate == 8000 ? 32 : 47));
        EXPECT_EQ(m_pAudio->Capture().NotifySize(), c.nNotifyBytes);
        EXPECT_EQ(m_pAudio->Capture().BufferSize(), c.nBufferBytes);
        ASSERT_FALSE(aSizes.empty());
        for (std::size_t n : aSizes)
            EXPECT_EQ(n, c.nBlockSamples);
        const auto [lo, hi] = std::minmax_element(m_pDoc->m_aSignal.begin(), m_pDoc->m_aSignal.end());
        EXPECT_GE(*lo, c.dMin);
        EXPECT_LE(*hi, c.dMax);
        EXPECT_LT(*lo, *hi);
        // The spectrum covers the whole FFT length (the block padded with zeros).
        EXPECT_EQ(m_pDoc->m_aSpectrum.size(), static_cast<std::size_t>(c.nFFT / 2 + 1));
        EXPECT_EQ(m_pDoc->m_strRecordFile, RecordingPath());
        m_view.onHint = nullptr;
        EXPECT_EQ(m_pAudio->Capture().Statistics().nBlocksDropped.load(), 0u);
        m_pAudio->OnListen();
        EXPECT_FALSE(g_bListening);
        m_pDoc->RemoveWave();
    }
}

TEST_F(CaptureTest, PauseAndResumeWriteOneFileThatIsLoadedWhenListeningStops)
{
    Sine(1000.0);
    ChooseFormat(8000, 16);
    m_pDoc->m_nNumFFTPoints = 1024;   // 512 samples per block
    m_pAudio->OnListen();
    ASSERT_TRUE(RunUntilBlocks(4, 64));
    m_pAudio->StopRecording();
    EXPECT_FALSE(g_bRecording);
    ASSERT_TRUE(RunUntilBlocks(4, 64));
    m_pAudio->StartRecording();
    ASSERT_TRUE(RunUntilBlocks(4, 64));
    m_pAudio->OnListen();

    const CaptureStatistics& stats = m_pAudio->Capture().Statistics();
    EXPECT_GT(stats.nSamplesInBlocks.load() * 2, stats.nBytesRecorded.load());   // the pause was left out
    EXPECT_GE(stats.nBytesRecorded.load(), 8u * 1024u);
    ASSERT_TRUE(g_bWaveLoaded);
    EXPECT_EQ(m_pDoc->m_strFileName, RecordingPath());
    EXPECT_EQ(static_cast<std::uint64_t>(m_pDoc->m_nRawSize), stats.nBytesRecorded.load());
    EXPECT_EQ(m_pDoc->m_nSampleRate, 8000);
    EXPECT_FALSE(g_bRecording);
}

TEST_F(CaptureTest, TheRecordingOnDiskIsAValidWaveFileWhileListeningGoesOn)
{
    Sine(500.0);
    ChooseFormat(8000, 16);
    m_pDoc->m_nNumFFTPoints = 1024;
    m_pAudio->OnListen();
    ASSERT_TRUE(RunUntilBlocks(40, 64));   // 40 x 512 samples: 2.56 s
    const std::uint64_t nWritten = m_pAudio->Capture().Statistics().nBytesRecorded.load();

    // What a program killed now would leave behind.
    CRiffWaveFile file;
    ASSERT_EQ(file.Open(QFile::encodeName(RecordingPath()).toStdString(), nullptr, CRiffWaveFile::kModeRead), S_OK);
    EXPECT_EQ(file.GetDeclaredDataSize(), file.GetDataSize());
    EXPECT_GE(file.GetDataSize() + 16000u, nWritten);   // at most a second missing
    EXPECT_GT(file.GetDataSize(), 0u);
    file.Close();
    m_pAudio->OnListen();
}

TEST_F(CaptureTest, ListeningRemovesTheLoadedSoundFirst)
{
    Load(8000, 16, std::vector<int>(8000, 100));
    ChooseFormat(8000, 16);
    m_pAudio->OnPlay();
    m_pAudio->OnListen();
    EXPECT_TRUE(g_bListening);
    EXPECT_FALSE(g_bPlaying);
    EXPECT_EQ(m_view.Count(kHintRemoving), 1);
    EXPECT_EQ(m_pDoc->m_nRawSize, 0);
    m_pAudio->OnListen();
}

TEST_F(CaptureTest, WithoutAFormatTheDialogAsksAndCancellingLeavesEverythingOff)
{
    ASSERT_EQ(m_pDoc->m_pCaptureFormat->channels, 6);
    m_system.SetCaptureFormats(std::vector<SoundFormat>{SoundFormat::Pcm(1, 44100, 16), SoundFormat::Pcm(1, 48000, 16)});
    m_pAudio->OnListen();
    ASSERT_EQ(m_dialogs.formatLines.size(), 1u);
    EXPECT_EQ(m_dialogs.formatLines[0], (QStringList{"44100 Hz, 16-bit Mono", "48000 Hz, 16-bit Mono"}));
    EXPECT_FALSE(g_bListening);
    EXPECT_FALSE(g_bRecording);
    EXPECT_FALSE(m_pAudio->Capture().IsRunning());
    EXPECT_EQ(m_pDoc->m_pCaptureFormat->channels, 6);

    m_dialogs.formatAnswers.push_back(0);
    m_pAudio->OnListen();
    EXPECT_TRUE(g_bListening);
    EXPECT_TRUE(g_bRecording);
    EXPECT_EQ(*m_pDoc->m_pCaptureFormat, WaveFormat::Pcm(1, 44100, 16));   // format 9
    EXPECT_EQ(m_pDoc->m_nSampleRate, 44100);
    m_pAudio->OnListen();
}

TEST_F(CaptureTest, TheSchoolProfileListensAt44100Hz16BitWithoutTheDialog)
{
    m_bSchool = true;
    m_pAudio->OnListen();
    EXPECT_TRUE(m_dialogs.formatLines.empty());
    EXPECT_TRUE(g_bListening);
    EXPECT_EQ(*m_pDoc->m_pCaptureFormat, WaveFormat::Pcm(1, 44100, 16));
    EXPECT_EQ(m_pDoc->m_nBitsPerSample, 16);
    EXPECT_EQ(m_pDoc->m_dFullScale, 32767.0);
    EXPECT_EQ(m_pDoc->m_strChannels, "Mono");
    m_pAudio->OnListen();
}

TEST_F(CaptureTest, AGuiThreadThatDoesNotTakeBlocksOnlyLosesThem)
{
    Sine(300.0);
    ChooseFormat(8000, 8);
    m_pDoc->m_nNumFFTPoints = 256;
    m_pAudio->OnListen();
    // No events are processed: the thread gives each block up after 1000 ms.
    for (int i = 0; i < 4; ++i) {
        m_system.Advance(40);
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (m_pAudio->Capture().Statistics().nBlocksDropped.load() == 0 && std::chrono::steady_clock::now() < until)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_GE(m_pAudio->Capture().Statistics().nBlocksDropped.load(), 1u);
    // Stopping does not wait for the pending hand-over, and the late calls
    // that run afterwards leave the loaded recording alone.
    m_pAudio->OnListen();
    ASSERT_TRUE(g_bWaveLoaded);
    const std::vector<double> signal = m_pDoc->m_aSignal;
    QCoreApplication::processEvents();
    EXPECT_EQ(m_pDoc->m_aSignal, signal);
}

TEST_F(CaptureTest, CaptureFailuresAreShownOnTheGuiThread)
{
    ChooseFormat(8000, 16);
    m_system.SetFailure(SimulatedSoundSystem::Operation::CreateCaptureBuffer, E_FAIL);
    m_pAudio->OnListen();
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    while (m_ui.MessageTexts().isEmpty() && std::chrono::steady_clock::now() < until)
        QCoreApplication::processEvents();
    EXPECT_EQ(m_ui.MessageTexts(), QStringList{"CreateCaptureBuffer IN: CaptureThread"});
    m_pAudio->OnListen();
    EXPECT_FALSE(g_bListening);
}

} // namespace
