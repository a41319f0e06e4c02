// The whole sound path on the machine's real devices through PortAudio: a
// 440 Hz tone plays into the default output while the program listens on the
// default input.  The test command routes one into the other (a PulseAudio
// null sink and its monitor).  Without devices the test fails, unless
// TONARO_NO_SOUND_DEVICE=1 says the machine has none.
#include "AudioFixture.h"

#include "PlaybackManager.h"
#include "PlaybackSound.h"
#include "PortAudioSoundDevice.h"
#include "ProgramPaths.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <numbers>

namespace {

class EndToEndSoundTest : public TempDirTest {
protected:
    void SetUp() override
    {
        TempDirTest::SetUp();
        ResetProgramFlags();
        SetUiServices(&m_ui);
        ASSERT_TRUE(m_system.IsAvailable()) << "PortAudio could not be initialised";
        std::vector<SoundDeviceEntry> aPlayback, aCapture;
        m_system.EnumeratePlaybackDevices(aPlayback);
        m_system.EnumerateCaptureDevices(aCapture);
        if (aPlayback.empty() || aCapture.empty()) {
            const char* none = std::getenv("TONARO_NO_SOUND_DEVICE");
            if (none && std::string(none) == "1")
                GTEST_SKIP() << "no sound device, and TONARO_NO_SOUND_DEVICE=1 allows that";
            FAIL() << "no default sound output or input (start PulseAudio with a null sink, as the test command "
                      "does, or set TONARO_NO_SOUND_DEVICE=1 on a machine without sound)";
        }
        m_pDoc = std::make_unique<CTonaroDoc>();
        m_pDoc->OnNewDocument();
        m_pDoc->AddView(&m_view);
        m_pAudio = std::make_unique<CTonaroAudio>(*m_pDoc, m_system, m_dialogs);
        m_pDoc->SetPlaySoundMaker(m_pAudio.get());
        m_pDoc->SetAudioControl(m_pAudio.get());
        ASSERT_EQ(m_pAudio->InitDirectSoundInterfaces(), 0) << m_ui.MessageTexts().join("; ").toStdString();
    }
    void TearDown() override
    {
        m_pTone.reset();
        if (m_pDoc) {
            m_pDoc->SetAudioControl(nullptr);
            m_pDoc->RemoveView(&m_view);
        }
        m_pDoc.reset();
        m_pAudio.reset();
        SetUiServices(nullptr);
        ResetProgramFlags();
        TempDirTest::TearDown();
    }

    ScriptedUiServices m_ui;
    PortAudioSoundSystem m_system;
    ScriptedSoundDialogs m_dialogs;
    HintRecorder m_view;
    std::unique_ptr<CTonaroDoc> m_pDoc;
    std::unique_ptr<CTonaroAudio> m_pAudio;
    std::unique_ptr<CPlaybackSound> m_pTone;
};

TEST_F(EndToEndSoundTest, AToneIsHeardAtItsFrequencyAndRecorded)
{
    constexpr int kRate = 44100;
    constexpr int kFFT = 4096;
    const QString tonePath = QPathOf("ton440.wav");
    std::vector<int> tone(kRate);   // one second, played in a loop
    for (int i = 0; i < kRate; ++i)
        tone[static_cast<std::size_t>(i)] =
            static_cast<int>(std::lround(12000.0 * std::sin(2.0 * std::numbers::pi * 440.0 * i / kRate)));
    WriteWave(tonePath, kRate, 16, tone);
    ASSERT_NE(m_pAudio->Interfaces().m_pSoundManager, nullptr);
    ASSERT_EQ(m_pAudio->Interfaces().m_pSoundManager->Create(m_pTone, tonePath, 1), S_OK);
    ASSERT_EQ(m_pTone->Play(true), S_OK);

    *m_pDoc->m_pCaptureFormat = WaveFormat::Pcm(1, kRate, 16);
    m_pDoc->m_nNumFFTPoints = kFFT;
    std::vector<double> aHeard;           // every block, in order
    std::vector<int> aPeakBins;           // strongest bin of each block's spectrum (beyond DC)
    std::size_t nFirstLoudBlock = SIZE_MAX;
    m_view.onHint = [&](int nHint) {
        if (nHint != kHintRefresh || !g_bListening || m_pDoc->m_aSignal.size() < 2)
            return;
        const auto& block = m_pDoc->m_aSignal;
        aHeard.insert(aHeard.end(), block.begin(), block.end());
        const auto& spectrum = m_pDoc->m_aSpectrum;
        aPeakBins.push_back(static_cast<int>(std::max_element(spectrum.begin() + 1, spectrum.end()) - spectrum.begin()));
        if (nFirstLoudBlock == SIZE_MAX &&
            std::any_of(block.begin(), block.end(), [](double v) { return std::abs(v) > 2000.0; }))
            nFirstLoudBlock = aPeakBins.size() - 1;
    };
    m_pAudio->OnListen();
    ASSERT_TRUE(g_bListening);
    // The devices take a moment to start; then 12 blocks of the tone (about half a second).
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (std::chrono::steady_clock::now() < deadline &&
           (nFirstLoudBlock == SIZE_MAX || aPeakBins.size() < nFirstLoudBlock + 14))
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    m_view.onHint = nullptr;
    m_pAudio->OnListen();
    m_pTone->Stop();
    EXPECT_FALSE(g_bListening);

    ASSERT_NE(nFirstLoudBlock, SIZE_MAX) << "the tone was never heard; " << aPeakBins.size() << " blocks came";
    ASSERT_GE(aPeakBins.size(), nFirstLoudBlock + 14);
    // Every block wholly inside the tone peaks within one bin of 440 Hz.
    const double dBinHz = static_cast<double>(kRate) / kFFT;
    for (std::size_t i = nFirstLoudBlock + 2; i < aPeakBins.size(); ++i)
        EXPECT_LE(std::abs(aPeakBins[i] * dBinHz - 440.0), dBinHz) << "block " << i << " bin " << aPeakBins[i];

    // The recording is loaded and holds exactly the samples that were analysed.
    const CaptureStatistics& stats = m_pAudio->Capture().Statistics();
    ASSERT_TRUE(g_bWaveLoaded);
    EXPECT_EQ(m_pDoc->m_strFileName, ProgramPaths::InProgramFolder("Aufnahme.wav"));
    EXPECT_EQ(stats.nBlocksDropped.load(), 0u);
    ASSERT_EQ(static_cast<std::size_t>(m_pDoc->NumSamples()), aHeard.size());
    std::size_t nDiffer = 0;
    for (std::size_t i = 0; i < aHeard.size(); ++i)
        nDiffer += m_pDoc->SampleAt(static_cast<int>(i)) != aHeard[i] ? 1 : 0;
    EXPECT_EQ(nDiffer, 0u);

    const double dPeriodMs = 2048.0 * 1000.0 / kRate;
    const double dMeanMs = static_cast<double>(stats.nHandOverMicros.load()) / 1000.0 /
                           static_cast<double>(std::max<std::uint64_t>(1, stats.nBlocksHandedOver.load()));
    std::printf("[ latency  ] real devices, %llu blocks: notification to spectrum in the document mean %.2f ms, "
                "max %.2f ms = %.3f / %.3f notification periods of %.1f ms\n",
                static_cast<unsigned long long>(stats.nBlocksHandedOver.load()), dMeanMs,
                static_cast<double>(stats.nHandOverMicrosMax.load()) / 1000.0, dMeanMs / dPeriodMs,
                static_cast<double>(stats.nHandOverMicrosMax.load()) / 1000.0 / dPeriodMs, dPeriodMs);
}

} // namespace
