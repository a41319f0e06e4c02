// Playback on the simulated device: the play command's marker rules, loop and
// stop at the selection's end, the play-position timer and the end of playback.
#include "AudioFixture.h"

#include "PlaybackManager.h"
#include "PlaybackSound.h"

#include <numeric>

namespace {

class PlaybackTest : public AudioTest {
protected:
    // A 16-bit sound of nSamples at 8000 Hz whose sample i has the value i (mod 32768).
    void LoadRamp(int nSamples)
    {
        std::vector<int> samples(static_cast<std::size_t>(nSamples));
        for (int i = 0; i < nSamples; ++i)
            samples[static_cast<std::size_t>(i)] = i % 32768;
        Load(8000, 16, samples);
        m_pDoc->m_nNumFFTPoints = 256;
    }
    std::uint32_t Position() const { return m_pDoc->m_pPlaySound->GetPosition(); }
};

TEST_F(PlaybackTest, PlayStartsAtTheLeftMarkerWhenThePositionLiesOutsideTheSelection)
{
    struct Case {
        std::uint32_t nLeft, nRight, nPlayPos, nBufferBytes, nExpectedBytes;
    };
    const Case cases[] = {
        {1000, 5000, 200, 400, 2000},    // before the selection: from the left marker
        {1001, 5000, 6000, 400, 2000},   // behind it: left marker lowered to an even sample
        {1000, 5000, 3000, 400, 400},    // inside it: from where the buffer stands
        {0, 0, 3000, 400, 400},          // no selection: from where the buffer stands
    };
    LoadRamp(16000);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.nPlayPos);
        m_pAudio->OnStop();
        m_pDoc->SetMarkers(c.nLeft, c.nRight);
        m_pDoc->m_nPlayPos = c.nPlayPos;
        m_pDoc->m_pPlaySound->SetPosition(c.nBufferBytes);
        m_pDoc->m_nSpectrumPoints = 77;
        m_pAudio->OnPlay();
        EXPECT_EQ(Position(), c.nExpectedBytes);
        EXPECT_TRUE(g_bPlaying);
        EXPECT_EQ(m_pDoc->m_nSpectrumPoints, 0);
        EXPECT_TRUE(m_pAudio->PlayTimer().IsActive());
    }
    EXPECT_EQ(m_view.Count(kHintPlayStarted), 4);
}

TEST_F(PlaybackTest, RewindAfterStopStartsFromTheBeginning)
{
    LoadRamp(16000);
    m_pAudio->OnPlay();
    m_system.Advance(500);
    m_pAudio->OnStop();
    EXPECT_FALSE(g_bPlaying);
    EXPECT_EQ(Position(), 8000u);   // stop keeps the position
    m_pAudio->OnRewind();
    EXPECT_EQ(Position(), 0u);
    m_pAudio->OnPlay();
    m_system.Advance(125);
    EXPECT_EQ(Position(), 2000u);
}

TEST_F(PlaybackTest, TheSelectionEndStopsOrLoopsBackToTheLeftMarker)
{
    for (const bool bLoop : {false, true}) {
        SCOPED_TRACE(bLoop);
        LoadRamp(16000);
        g_bLoop = bLoop;
        m_pDoc->SetMarkers(1000, 3000);
        m_pAudio->OnPlay();
        m_system.Advance(250);   // sample 3000
        m_pAudio->PlayTimer().Tick();
        EXPECT_TRUE(g_bPlaying);
        m_system.Advance(20);    // past the right marker
        m_pAudio->PlayTimer().Tick();
        EXPECT_EQ(m_pDoc->m_nPlayPos, 3160u);
        if (bLoop) {
            EXPECT_TRUE(g_bPlaying);
            EXPECT_EQ(Position(), 2000u);
            EXPECT_TRUE(m_pDoc->m_pPlaySound->IsPlaying());
        } else {
            EXPECT_FALSE(g_bPlaying);
            EXPECT_FALSE(m_pDoc->m_pPlaySound->IsPlaying());
            EXPECT_FALSE(m_pAudio->PlayTimer().IsActive());
        }
        // The block at the play position is the document's analysis block.
        ASSERT_EQ(m_pDoc->m_aSignal.size(), 256u);
        EXPECT_EQ(m_pDoc->m_aSignal[0], 3160.0);
        m_pAudio->OnStop();
        m_pDoc->RemoveWave();
    }
}

TEST_F(PlaybackTest, TheTimerEndsPlaybackAtTheEndOfTheSound)
{
    LoadRamp(4000);   // half a second
    m_pAudio->OnPlay();
    m_system.Advance(300);
    m_pAudio->PlayTimer().Tick();
    EXPECT_EQ(m_view.Count(kHintPlayBlock), 1);
    EXPECT_TRUE(g_bPlaying);
    const int nRefreshBefore = m_view.Count(kHintRefresh);
    m_system.Advance(300);
    m_pAudio->PlayTimer().Tick();
    EXPECT_FALSE(g_bPlaying);
    EXPECT_EQ(Position(), 0u);
    EXPECT_EQ(m_view.Count(kHintRefresh), nRefreshBefore + 1);
    EXPECT_FALSE(m_pAudio->PlayTimer().IsActive());
}

TEST_F(PlaybackTest, TheTimerFollowsThePositionFromTheEventLoop)
{
    LoadRamp(16000);
    m_pAudio->OnPlay();
    m_system.Advance(100);
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(200);
    while (std::chrono::steady_clock::now() < until && m_view.Count(kHintPlayBlock) == 0)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    EXPECT_GE(m_view.Count(kHintPlayBlock), 1);
    EXPECT_EQ(m_pDoc->m_nPlayPos, 800u);
}

TEST_F(PlaybackTest, LoopCannotBeSwitchedWhilePlayingAndPlayWaitsForComputations)
{
    LoadRamp(16000);
    m_pAudio->OnLoop();
    EXPECT_TRUE(g_bLoop);
    m_pAudio->OnPlay();
    m_pAudio->OnLoop();
    EXPECT_TRUE(g_bLoop);
    m_pAudio->OnStop();
    m_pAudio->OnLoop();
    EXPECT_FALSE(g_bLoop);

    g_bComputing = true;
    m_pAudio->OnPlay();
    EXPECT_FALSE(g_bPlaying);
    EXPECT_FALSE(m_pDoc->m_pPlaySound->IsPlaying());
}

TEST_F(PlaybackTest, AFailedStartIsReportedAndNothingClaimsToPlay)
{
    LoadRamp(16000);
    m_system.SetFailure(SimulatedSoundSystem::Operation::Play, E_FAIL);
    m_pAudio->OnPlay();
    EXPECT_EQ(m_ui.MessageTexts(), QStringList{"Abspielen konnte nicht gestartet werden"});
    EXPECT_FALSE(g_bPlaying);
    EXPECT_EQ(m_view.Count(kHintPlayStarted), 0);
}

TEST_F(PlaybackTest, TheManagerCopiesTheWholeDataChunkAndChecksItsArguments)
{
    const QString path = QPathOf("acht.wav");
    std::vector<int> samples(1001);
    std::iota(samples.begin(), samples.end(), 0);
    for (int& s : samples)
        s %= 256;
    WriteWave(path, 11025, 8, samples);
    WriteWave(QPathOf("leer.wav"), 11025, 8, {});

    CPlaybackManager none(nullptr);
    std::unique_ptr<CPlaybackSound> sound;
    EXPECT_EQ(none.Create(sound, path, 1), CO_E_NOTINITIALIZED);

    std::unique_ptr<PlaybackDevice> device;
    ASSERT_EQ(m_system.CreatePlaybackDevice("", device), S_OK);
    CPlaybackManager manager(std::shared_ptr<PlaybackDevice>(std::move(device)));
    EXPECT_EQ(manager.Create(sound, "", 1), E_INVALIDARG);
    EXPECT_EQ(manager.Create(sound, path, 0), E_INVALIDARG);
    EXPECT_EQ(manager.Create(sound, QPathOf("leer.wav"), 1), E_FAIL);
    EXPECT_TRUE(Failed(manager.Create(sound, QPathOf("fehlt.wav"), 1)));
    EXPECT_EQ(sound, nullptr);

    ASSERT_EQ(manager.Create(sound, path, 2), S_OK);
    ASSERT_EQ(sound->BufferCount(), 2u);
    EXPECT_EQ(sound->GetBuffer(2), nullptr);
    EXPECT_EQ(sound->BufferSize(), 1001u);
    ASSERT_EQ(sound->Play(false), S_OK);
    ASSERT_EQ(sound->Play(false), S_OK);   // the second buffer, since the first plays
    bool bSecondPlays = false;
    sound->GetBuffer(1)->GetStatus(bSecondPlays);
    EXPECT_TRUE(bSecondPlays);
    sound->Stop();
    EXPECT_FALSE(sound->IsPlaying());

    // Filling a buffer from the file: the bytes of the data chunk, then silence.
    std::unique_ptr<PlaybackDevice> device2;
    ASSERT_EQ(m_system.CreatePlaybackDevice("", device2), S_OK);
    std::unique_ptr<PlaybackBuffer> big;
    ASSERT_EQ(device2->CreateStaticBuffer(2500, SoundFormat::Pcm(1, 11025, 8), big), S_OK);
    for (const bool bRepeat : {false, true}) {
        ASSERT_EQ(sound->FillBufferWithSound(*big, bRepeat), S_OK);
        SoundLockedRange range;
        ASSERT_EQ(big->Lock(0, 2500, range), S_OK);
        EXPECT_EQ(range.m_pFirst[1000], 1000 % 256);
        EXPECT_EQ(range.m_pFirst[1001], bRepeat ? 0 : 128);
        EXPECT_EQ(range.m_pFirst[2499], bRepeat ? (2499 % 1001) % 256 : 128);
        big->Unlock(range);
    }
}

} // namespace
