// Opening the devices, the output format choice, the format table, the scan of
// the input formats and the sound card dialog's device table.
#include "AudioFixture.h"

#include "SoundFormats.h"

namespace {

using Op = SimulatedSoundSystem::Operation;

TEST(SoundFormats, TheTableRunsThroughTenRatesAtEightAndSixteenBit)
{
    struct Case {
        int nIndex;
        std::uint32_t nRate;
        std::uint16_t nBits;
    };
    const Case cases[] = {{0, 8000, 8}, {1, 8000, 16}, {8, 44100, 8}, {9, 44100, 16}, {11, 48000, 16},
                          {19, 192000, 16}};
    for (const Case& c : cases) {
        WaveFormat f;
        MakeFormat(c.nIndex, f);
        EXPECT_EQ(f, WaveFormat::Pcm(1, c.nRate, c.nBits)) << c.nIndex;
    }
    WaveFormat f = WaveFormat::Pcm(1, 22050, 8);
    MakeFormat(25, f);   // outside the table: the rate stays
    EXPECT_EQ(f.samplesPerSec, 22050u);
    EXPECT_EQ(FormatLine(WaveFormat::Pcm(1, 44100, 16)), "44100 Hz, 16-bit Mono");
}

class SetupTest : public AudioTest {};

TEST_F(SetupTest, TheOutputGetsTheLastFormatItTakes)
{
    EXPECT_EQ(m_pAudio->Interfaces().m_nPrimaryFormat, 19);   // takes all: 192000 Hz, 16 bit
    m_system.SetPrimaryFormats(std::vector<SoundFormat>{SoundFormat::Pcm(1, 8000, 8), SoundFormat::Pcm(1, 48000, 16),
                                                        SoundFormat::Pcm(1, 22050, 16)});
    ASSERT_EQ(m_pAudio->InitDirectSoundInterfaces(), 0);
    EXPECT_EQ(m_pAudio->Interfaces().m_nPrimaryFormat, 11);
    m_system.SetPrimaryFormats(std::vector<SoundFormat>{});
    ASSERT_EQ(m_pAudio->InitDirectSoundInterfaces(), 0);   // plays with each buffer's own format
    EXPECT_EQ(m_pAudio->Interfaces().m_nPrimaryFormat, -1);
    EXPECT_NE(m_pAudio->Interfaces().m_pSoundManager, nullptr);
}

TEST_F(SetupTest, EachFailingStepIsNamedAndLeavesNothingOpen)
{
    const std::pair<Op, QString> cases[] = {
        {Op::CreatePlaybackDevice, "FAIL: DirectSoundCreate8 in InitDirectSoundInterfaces"},
        {Op::CreateCaptureDevice, "FAIL: DirectSoundCaptureCreate8 in InitDirectSoundInterfaces"},
        {Op::SetCooperativeLevel, "FAIL: SetCooperativeLevel in InitDirectSoundInterfaces"},
    };
    for (const auto& [op, text] : cases) {
        m_ui.ClearCalls();
        m_system.SetFailure(op, E_FAIL);
        EXPECT_EQ(m_pAudio->InitDirectSoundInterfaces(), 1);
        EXPECT_EQ(m_ui.MessageTexts(), QStringList{text});
        CSoundInterfaces& i = m_pAudio->Interfaces();
        EXPECT_TRUE(!i.m_pDirectSound && !i.m_pDirectSoundCapture && !i.m_pSoundManager);
        EXPECT_EQ(i.SetPrimaryBufferFormat(1, 44100, 16), CO_E_NOTINITIALIZED);
        m_system.SetFailure(op, S_OK);
    }
}

TEST_F(SetupTest, WithoutAnOutputSoundsStillLoadButDoNotPlay)
{
    m_pAudio->Interfaces().ReleaseDirectSoundInterfaces();
    Load(8000, 16, std::vector<int>(800, 5));
    m_pAudio->OnPlay();
    EXPECT_FALSE(g_bPlaying);
    EXPECT_EQ(m_ui.MessageTexts(), QStringList{"Abspielen konnte nicht gestartet werden"});
}

TEST_F(SetupTest, TheFormatDialogListsOnlyWhatTheInputTakesAndStopsListeningFirst)
{
    m_system.SetCaptureFormats(std::vector<SoundFormat>{SoundFormat::Pcm(1, 48000, 16), SoundFormat::Pcm(1, 44100, 16)});
    ChooseFormat(44100, 16);
    m_pAudio->OnListen();
    ASSERT_TRUE(g_bListening);
    m_dialogs.formatAnswers.push_back(1);
    EXPECT_EQ(m_pAudio->OnWaveFormat(), 0);
    EXPECT_FALSE(g_bListening);
    EXPECT_EQ(m_dialogs.formatLines.back(), (QStringList{"44100 Hz, 16-bit Mono", "48000 Hz, 16-bit Mono"}));
    EXPECT_EQ(*m_pDoc->m_pCaptureFormat, WaveFormat::Pcm(1, 48000, 16));

    EXPECT_EQ(m_pAudio->OnWaveFormat(), 1);   // cancelled: the format stays
    EXPECT_EQ(*m_pDoc->m_pCaptureFormat, WaveFormat::Pcm(1, 48000, 16));
    m_system.SetCaptureFormats(std::vector<SoundFormat>{});
    EXPECT_EQ(m_pAudio->OnWaveFormat(), 1);
    EXPECT_TRUE(m_dialogs.formatLines.back().isEmpty());
}

TEST_F(SetupTest, TheSoundCardDialogOpensTheChosenDevicesAndKeepsItsTable)
{
    // Each list starts with the default device (no identifier), then the 12 devices.
    std::vector<SoundDeviceEntry> outputs, inputs;
    for (int i = 0; i < 12; ++i) {
        outputs.push_back({"Ausgang " + std::to_string(i), "ALSA/out" + std::to_string(i)});
        inputs.push_back({"Eingang " + std::to_string(i), "ALSA/in" + std::to_string(i)});
    }
    m_system.SetPlaybackDevices(outputs);
    m_system.SetCaptureDevices(inputs);

    m_dialogs.cardAnswers.push_back({true, 3, 2});
    EXPECT_TRUE(m_pAudio->OnSoundCard());
    ASSERT_EQ(m_dialogs.cardLists.size(), 1u);
    // 24 identifiers, 20 entries: the table takes the inputs first.
    EXPECT_EQ(m_dialogs.cardLists[0].first.size(), 13);
    EXPECT_EQ(m_dialogs.cardLists[0].second.size(), 9);
    EXPECT_EQ(m_dialogs.cardLists[0].second[0], "Ausgang 0");
    EXPECT_EQ(m_pAudio->Interfaces().m_strCaptureGuid, "ALSA/in2");
    EXPECT_EQ(m_pAudio->Interfaces().m_strPlaybackGuid, "ALSA/out1");
    EXPECT_EQ(m_pAudio->m_strCaptureDevice, "Eingang 2");
    EXPECT_EQ(m_pAudio->m_strPlaybackDevice, "Ausgang 1");
    EXPECT_NE(m_pAudio->Interfaces().m_pDirectSound, nullptr);

    // Opening it again lists the same devices: known ones keep their entries.
    m_dialogs.cardAnswers.push_back({true, 0, 0});
    EXPECT_TRUE(m_pAudio->OnSoundCard());
    EXPECT_EQ(m_dialogs.cardLists[1], m_dialogs.cardLists[0]);
    EXPECT_EQ(m_pAudio->DeviceIds().size(), 20u);
    EXPECT_EQ(m_pAudio->Interfaces().m_strCaptureGuid, "");

    EXPECT_FALSE(m_pAudio->OnSoundCard());   // cancelled
    m_system.SetFailure(Op::CreateCaptureDevice, E_FAIL);
    m_ui.ClearCalls();
    m_dialogs.cardAnswers.push_back({true, 0, 0});
    EXPECT_FALSE(m_pAudio->OnSoundCard());
    EXPECT_EQ(m_ui.MessageTexts(), (QStringList{"FAIL: DirectSoundCaptureCreate8 in InitDirectSoundInterfaces",
                                                "DirectSound Interfaceerzeugung mißlungen"}));
    m_system.SetFailure(Op::Enumerate, E_FAIL);
    m_ui.ClearCalls();
    EXPECT_FALSE(m_pAudio->OnSoundCard());
    ASSERT_EQ(m_ui.Calls().size(), 1u);
    EXPECT_EQ(m_ui.Calls()[0].m_strCaption, "DirectSound Sample");
}

} // namespace
