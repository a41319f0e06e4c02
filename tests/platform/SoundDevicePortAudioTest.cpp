// The PortAudio sound back-end on the machine's real devices: device lists,
// argument checks, a non-looping sound that ends, and the whole loop from a
// playback buffer through the default output to a capture ring on the default
// input.  The test command routes the default output into the default input
// (a PulseAudio null sink and its monitor); without any device these tests
// fail, unless TONARO_NO_SOUND_DEVICE=1 says the machine has none.
#include "PortAudioSoundDevice.h"
#include "SoundEvent.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <numbers>
#include <set>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

// Magnitude of DFT bin k of the Hann-windowed block (Goertzel filter).
double BinMagnitude(const std::vector<double>& aBlock, std::size_t nBin)
{
    const std::size_t n = aBlock.size();
    const double w = 2.0 * std::numbers::pi * static_cast<double>(nBin) / static_cast<double>(n);
    const double coefficient = 2.0 * std::cos(w);
    double s1 = 0.0, s2 = 0.0;
    for (std::size_t i = 0; i < n; ++i) {
        const double hann = 0.5 - 0.5 * std::cos(2.0 * std::numbers::pi * static_cast<double>(i) / static_cast<double>(n));
        const double s0 = aBlock[i] * hann + coefficient * s1 - s2;
        s2 = s1;
        s1 = s0;
    }
    return std::sqrt(std::max(0.0, s1 * s1 + s2 * s2 - coefficient * s1 * s2));
}

class PortAudioDevices : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_system.IsAvailable()) << "PortAudio could not be initialised";
        ASSERT_EQ(m_system.EnumeratePlaybackDevices(m_aPlayback), S_OK);
        ASSERT_EQ(m_system.EnumerateCaptureDevices(m_aCapture), S_OK);
        if (m_aPlayback.empty() || m_aCapture.empty()) {
            const char* none = std::getenv("TONARO_NO_SOUND_DEVICE");
            if (none && std::string(none) == "1")
                GTEST_SKIP() << "no sound device, and TONARO_NO_SOUND_DEVICE=1 allows that";
            FAIL() << "no default sound output or input (start PulseAudio with a null sink, as the test command "
                      "does, or set TONARO_NO_SOUND_DEVICE=1 on a machine without sound)";
        }
    }

    PortAudioSoundSystem m_system;
    std::vector<SoundDeviceEntry> m_aPlayback;
    std::vector<SoundDeviceEntry> m_aCapture;
};

TEST_F(PortAudioDevices, ListsTheDefaultFirstAndDistinctIdentifiersThatOpen)
{
    for (const auto* list : {&m_aPlayback, &m_aCapture}) {
        ASSERT_FALSE(list->empty());
        EXPECT_TRUE(list->front().m_strIdentifier.empty());
        EXPECT_FALSE(list->front().m_strDescription.empty());
        std::set<std::string> identifiers;
        for (std::size_t i = 1; i < list->size(); ++i) {
            const std::string& id = (*list)[i].m_strIdentifier;
            EXPECT_NE(id.find('/'), std::string::npos) << id;
            EXPECT_TRUE(identifiers.insert(id).second) << "twice: " << id;
        }
        // The default device appears again under its own identifier.
        EXPECT_TRUE(std::any_of(list->begin() + 1, list->end(), [&](const SoundDeviceEntry& e) {
            return e.m_strDescription == list->front().m_strDescription;
        }));
    }
    std::unique_ptr<PlaybackDevice> playback;
    std::unique_ptr<CaptureDevice> capture;
    EXPECT_EQ(m_system.CreatePlaybackDevice(m_aPlayback.back().m_strIdentifier, playback), S_OK);
    EXPECT_EQ(m_system.CreateCaptureDevice(m_aCapture.back().m_strIdentifier, capture), S_OK);
    EXPECT_EQ(m_system.CreatePlaybackDevice("ALSA/kein Gerät", playback), SND_E_NODRIVER);
    EXPECT_EQ(m_system.CreateCaptureDevice("ALSA/kein Gerät", capture), SND_E_NODRIVER);
    EXPECT_EQ(capture, nullptr);
}

TEST_F(PortAudioDevices, RefusesInconsistentFormatsAndSizes)
{
    std::unique_ptr<PlaybackDevice> playback;
    std::unique_ptr<CaptureDevice> capture;
    ASSERT_EQ(m_system.CreatePlaybackDevice("", playback), S_OK);
    ASSERT_EQ(m_system.CreateCaptureDevice("", capture), S_OK);
    EXPECT_EQ(playback->SetCooperativeLevel(nullptr, 2), S_OK);
    SoundFormat twelveBits = SoundFormat::Pcm(1, 44100, 16);
    twelveBits.m_nBitsPerSample = 12;
    EXPECT_EQ(playback->SetPrimaryFormat(twelveBits), E_INVALIDARG);
    std::unique_ptr<PlaybackBuffer> buffer;
    EXPECT_EQ(playback->CreateStaticBuffer(0, SoundFormat::Pcm(1, 44100, 16), buffer), E_INVALIDARG);
    std::unique_ptr<CaptureBuffer> ring;
    EXPECT_EQ(capture->CreateCaptureBuffer(4097, SoundFormat::Pcm(1, 44100, 16), ring), E_INVALIDARG);
    EXPECT_EQ(capture->CreateCaptureBuffer(4096, twelveBits, ring), E_INVALIDARG);
    EXPECT_EQ(ring, nullptr);
    // The format every sound card of the program's users takes.
    EXPECT_EQ(playback->SetPrimaryFormat(SoundFormat::Pcm(1, 44100, 16)), S_OK);
    EXPECT_EQ(capture->CreateCaptureBuffer(88200, SoundFormat::Pcm(1, 44100, 16), ring), S_OK);
}

TEST_F(PortAudioDevices, SoundWithoutLoopEndsAndReturnsToTheStart)
{
    std::unique_ptr<PlaybackDevice> playback;
    ASSERT_EQ(m_system.CreatePlaybackDevice("", playback), S_OK);
    std::unique_ptr<PlaybackBuffer> buffer;
    ASSERT_EQ(playback->CreateStaticBuffer(2205, SoundFormat::Pcm(1, 22050, 8), buffer), S_OK); // 0.1 s of silence
    ASSERT_EQ(buffer->Play(false), S_OK);
    bool playing = true;
    const auto deadline = Clock::now() + std::chrono::seconds(20);
    while (playing && Clock::now() < deadline) {
        ASSERT_EQ(buffer->GetStatus(playing), S_OK);
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_FALSE(playing) << "a 0.1 s sound still plays after 20 s";
    std::uint32_t position = 1;
    EXPECT_EQ(buffer->GetCurrentPosition(position), S_OK);
    EXPECT_EQ(position, 0u);
}

// A looping 440 Hz tone (44100 Hz, 16 bit, mono) goes out of the default
// output; the default input is read as the capture code reads it, in whole
// notifications of a 16 x 4096-byte ring; the spectrum of the captured sound
// must peak within one bin of 440 Hz.
TEST_F(PortAudioDevices, ToneThroughOutputAndInputPeaksAt440Hz)
{
    constexpr std::uint32_t kRate = 44100;
    constexpr std::uint32_t kS = 4096;
    constexpr std::uint32_t kRing = kCaptureNotificationCount * kS;
    constexpr std::size_t kAnalysed = 8192;
    const SoundFormat format = SoundFormat::Pcm(1, kRate, 16);

    std::unique_ptr<PlaybackDevice> playback;
    ASSERT_EQ(m_system.CreatePlaybackDevice("", playback), S_OK);
    ASSERT_EQ(playback->SetCooperativeLevel(nullptr, 2), S_OK);
    std::unique_ptr<PlaybackBuffer> tone;
    ASSERT_EQ(playback->CreateStaticBuffer(kRate * 2, format, tone), S_OK); // one second: 440 whole periods
    SoundLockedRange range;
    ASSERT_EQ(tone->Lock(0, kRate * 2, range), S_OK);
    // At 0.58 of full scale, so that a beep of another test mixed into the same
    // sink at a lower level neither clips the sum nor outweighs the tone.
    for (std::uint32_t i = 0; i < kRate; ++i) {
        const auto v = static_cast<std::int16_t>(std::lround(19000.0 * std::sin(2.0 * std::numbers::pi * 440.0 * i / kRate)));
        std::memcpy(range.m_pFirst + 2 * i, &v, 2);
    }
    ASSERT_EQ(tone->Unlock(range), S_OK);

    std::unique_ptr<CaptureDevice> capture;
    ASSERT_EQ(m_system.CreateCaptureDevice("", capture), S_OK);
    std::unique_ptr<CaptureBuffer> ring;
    ASSERT_EQ(capture->CreateCaptureBuffer(kRing, format, ring), S_OK);
    auto notify = std::make_shared<SoundEvent>();
    std::vector<std::uint32_t> offsets;
    for (std::uint32_t k = 1; k <= kCaptureNotificationCount; ++k)
        offsets.push_back(k * kS - 1);
    ASSERT_EQ(ring->SetNotificationPositions(offsets, notify), S_OK);

    ASSERT_EQ(tone->Play(true), S_OK);
    ASSERT_EQ(ring->Start(true), S_OK);

    // Read until a second has come in and kAnalysed samples follow the first
    // loud one (the loop may deliver silence before the tone arrives).
    std::vector<double> samples;
    std::size_t firstLoud = SIZE_MAX;
    std::uint32_t next = 0;
    int notifications = 0;
    const auto deadline = Clock::now() + std::chrono::seconds(60);
    while (Clock::now() < deadline
           && (samples.size() < kRate || firstLoud == SIZE_MAX || samples.size() - firstLoud < kAnalysed)) {
        if (!notify->Wait(5000))
            continue;
        ++notifications;
        std::uint32_t capturePos = 0, readPos = 0;
        ASSERT_EQ(ring->GetCurrentPosition(capturePos, readPos), S_OK);
        std::uint32_t size = (readPos + kRing - next) % kRing;
        size -= size % kS;
        if (size == 0)
            continue;
        ASSERT_EQ(ring->Lock(next, size, range), S_OK);
        for (const auto& [p, n] : {std::pair{range.m_pFirst, range.m_nFirstBytes}, std::pair{range.m_pSecond, range.m_nSecondBytes}}) {
            for (std::uint32_t i = 0; i + 1 < n; i += 2) {
                std::int16_t v = 0;
                std::memcpy(&v, p + i, 2);
                if (firstLoud == SIZE_MAX && std::abs(v) > 2000)
                    firstLoud = samples.size();
                samples.push_back(v);
            }
        }
        ASSERT_EQ(ring->Unlock(range), S_OK);
        next = (next + size) % kRing;
    }
    EXPECT_EQ(ring->Stop(), S_OK);
    EXPECT_EQ(tone->Stop(), S_OK);
    ASSERT_GT(notifications, 0) << "no notification within 60 s";
    ASSERT_NE(firstLoud, SIZE_MAX) << "only silence came back from the input (" << samples.size() << " samples)";
    ASSERT_GE(samples.size() - firstLoud, kAnalysed) << "the tone arrived but stopped coming";

    const std::vector<double> block(samples.end() - kAnalysed, samples.end());
    std::size_t peak = 1;
    double peakMagnitude = 0.0;
    std::vector<double> magnitudes;
    for (std::size_t k = 1; k < kAnalysed / 2; ++k) {
        magnitudes.push_back(BinMagnitude(block, k));
        if (magnitudes.back() > peakMagnitude) {
            peakMagnitude = magnitudes.back();
            peak = k;
        }
    }
    const double binHz = static_cast<double>(kRate) / kAnalysed;
    EXPECT_LE(std::abs(peak * binHz - 440.0), binHz) << "peak at " << peak * binHz << " Hz";
    std::nth_element(magnitudes.begin(), magnitudes.begin() + magnitudes.size() / 2, magnitudes.end());
    EXPECT_GT(peakMagnitude, 100.0 * magnitudes[magnitudes.size() / 2]) << "the peak does not stand out of the noise";
}

} // namespace
