// The sound layer's buffer rules through the simulated back-end, which runs the
// same ring and playback code as the PortAudio one: notification geometry and
// signalling, wrapped locks, a capture thread reading without gaps, the play
// cursor looping and stopping, resampling, device lists, formats and events.
#include "SimulatedSoundDevice.h"
#include "SoundEvent.h"
#include "SoundPlaybackStore.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <ostream>
#include <string>
#include <thread>

namespace {

// A source whose samples tell their frame: frame n gives (n mod 251) - 125 in
// 8-bit steps, so every byte read back can be checked.
double Pattern(double dSeconds, std::uint32_t nRate)
{
    const auto frame = static_cast<std::int64_t>(std::llround(dSeconds * nRate));
    return static_cast<double>(frame % 251 - 125) / 127.0;
}

int PatternSample(std::uint64_t nFrame, int nBits)
{
    const double value = static_cast<double>(static_cast<std::int64_t>(nFrame % 251) - 125) / 127.0;
    return nBits == 8 ? 128 + static_cast<int>(std::lround(value * 127.0))
                      : static_cast<int>(std::lround(value * 32767.0));
}

int SampleAt(const std::uint8_t* p, int nBits)
{
    if (nBits == 8)
        return *p;
    std::int16_t v = 0;
    std::memcpy(&v, p, 2);
    return v;
}

// The offsets the capture code sets: k x S - 1 for k = 1 .. 16.
std::vector<std::uint32_t> NotificationOffsets(std::uint32_t nS)
{
    std::vector<std::uint32_t> offsets;
    for (std::uint32_t k = 1; k <= kCaptureNotificationCount; ++k)
        offsets.push_back(k * nS - 1);
    return offsets;
}

struct CaptureSetup {
    std::unique_ptr<CaptureDevice> m_pDevice;
    std::unique_ptr<CaptureBuffer> m_pBuffer;
    std::shared_ptr<SoundEvent> m_pEvent = std::make_shared<SoundEvent>();
};

CaptureSetup MakeCapture(SimulatedSoundSystem& system, const SoundFormat& format, std::uint32_t nS)
{
    CaptureSetup setup;
    EXPECT_EQ(system.CreateCaptureDevice("", setup.m_pDevice), S_OK);
    EXPECT_EQ(setup.m_pDevice->CreateCaptureBuffer(kCaptureNotificationCount * nS, format, setup.m_pBuffer), S_OK);
    EXPECT_EQ(setup.m_pBuffer->SetNotificationPositions(NotificationOffsets(nS), setup.m_pEvent), S_OK);
    return setup;
}

struct GeometryCase {
    std::uint32_t m_nRate;
    std::uint16_t m_nBits;
    std::uint32_t m_nFftPoints;
};

void PrintTo(const GeometryCase& c, std::ostream* os)
{
    *os << c.m_nRate << " Hz, " << c.m_nBits << " bit, FFT " << c.m_nFftPoints;
}

class CaptureGeometry : public ::testing::TestWithParam<GeometryCase> {};

// Two passes around the ring in 1 ms steps: each offset is signalled once per
// pass, in order, in the step that writes its byte, with the event set then
// and only then, and the capture position standing just past the offset.
TEST_P(CaptureGeometry, EveryOffsetSignalsOncePerPassWhenItsByteIsWritten)
{
    const GeometryCase c = GetParam();
    const SoundFormat format = SoundFormat::Pcm(1, c.m_nRate, c.m_nBits);
    const std::uint32_t s = c.m_nFftPoints - c.m_nFftPoints % format.m_nBlockAlign;
    const std::uint32_t ring = kCaptureNotificationCount * s;
    SimulatedSoundSystem system;
    system.SetSignalSource([rate = c.m_nRate](double t) { return Pattern(t, rate); });
    CaptureSetup capture = MakeCapture(system, format, s);
    ASSERT_TRUE(capture.m_pBuffer);
    ASSERT_EQ(capture.m_pBuffer->Start(true), S_OK);

    const std::uint64_t framesPerNotification = s / format.m_nBlockAlign;
    const std::uint64_t passes = 2;
    std::size_t seen = 0;
    std::int64_t ms = 0;
    while (seen < passes * kCaptureNotificationCount) {
        system.Advance(1);
        ++ms;
        ASSERT_LT(ms, 100000);
        const auto notes = system.Notifications();
        EXPECT_EQ(capture.m_pEvent->Wait(0), notes.size() > seen) << "at " << ms << " ms";
        for (; seen < notes.size(); ++seen) {
            const std::uint64_t k = seen + 1;
            const std::uint64_t frame = k * framesPerNotification;
            EXPECT_EQ(notes[seen].m_nOffset, (k - 1) % kCaptureNotificationCount * s + s - 1);
            EXPECT_EQ(notes[seen].m_nFrame, frame);
            // The first whole millisecond by which that frame has been captured.
            EXPECT_EQ(notes[seen].m_nTimeMs, static_cast<std::int64_t>((frame * 1000 + c.m_nRate - 1) / c.m_nRate));
        }
        std::uint32_t capturePos = 0, readPos = 0;
        ASSERT_EQ(capture.m_pBuffer->GetCurrentPosition(capturePos, readPos), S_OK);
        const std::uint64_t captured = static_cast<std::uint64_t>(ms) * c.m_nRate / 1000;
        EXPECT_EQ(capturePos, captured * format.m_nBlockAlign % ring);
        EXPECT_EQ(readPos, capturePos);
    }
    EXPECT_EQ(system.Notifications().size(),
              static_cast<std::uint64_t>(ms) * c.m_nRate / 1000 / framesPerNotification);

    // The ring holds the newest frames; a lock across the end gives two parts.
    std::uint32_t capturePos = 0, readPos = 0;
    ASSERT_EQ(capture.m_pBuffer->GetCurrentPosition(capturePos, readPos), S_OK);
    const std::uint32_t half = s / 2 / format.m_nBlockAlign * format.m_nBlockAlign;
    const std::uint32_t from = (readPos + ring - s - half) % ring;
    SoundLockedRange range;
    ASSERT_EQ(capture.m_pBuffer->Lock(ring - half, s, range), S_OK);
    EXPECT_EQ(range.m_nFirstBytes, half);
    EXPECT_EQ(range.m_nSecondBytes, s - half);
    EXPECT_EQ(range.m_pSecond + ring - half, range.m_pFirst);
    EXPECT_EQ(capture.m_pBuffer->Unlock(range), S_OK);
    ASSERT_EQ(capture.m_pBuffer->Lock(from, s, range), S_OK);
    const std::uint64_t total = static_cast<std::uint64_t>(ms) * c.m_nRate / 1000;
    const std::uint64_t firstFrame = total - (s + half) / format.m_nBlockAlign;
    for (std::uint32_t i = 0; i < s / format.m_nBlockAlign; ++i) {
        const std::uint32_t byte = i * format.m_nBlockAlign;
        const std::uint8_t* p = byte < range.m_nFirstBytes ? range.m_pFirst + byte
                                                          : range.m_pSecond + (byte - range.m_nFirstBytes);
        ASSERT_EQ(SampleAt(p, c.m_nBits), PatternSample(firstFrame + i, c.m_nBits)) << "frame " << firstFrame + i;
    }
    EXPECT_EQ(capture.m_pBuffer->Unlock(range), S_OK);
}

INSTANTIATE_TEST_SUITE_P(Formats, CaptureGeometry,
                         ::testing::Values(GeometryCase{44100, 16, 4096}, // 46 ms per notification
                                           GeometryCase{8000, 8, 256},    // a full FFT length of 8-bit samples
                                           GeometryCase{11025, 16, 255},  // S rounded down to whole frames
                                           GeometryCase{192000, 16, 64}),
                         [](const ::testing::TestParamInfo<GeometryCase>& param) {
                             return std::to_string(param.param.m_nRate) + "Hz" + std::to_string(param.param.m_nBits)
                                 + "BitFft" + std::to_string(param.param.m_nFftPoints);
                         });

TEST(SimulatedCapture, WithoutLoopingStopsAtTheEndAfterOnePass)
{
    SimulatedSoundSystem system;
    CaptureSetup capture = MakeCapture(system, SoundFormat::Pcm(1, 8000, 16), 160); // 10 ms per notification
    ASSERT_EQ(capture.m_pBuffer->Start(false), S_OK);
    system.Advance(500);
    bool capturing = true;
    EXPECT_EQ(capture.m_pBuffer->GetStatus(capturing), S_OK);
    EXPECT_FALSE(capturing);
    EXPECT_EQ(system.Notifications().size(), static_cast<std::size_t>(kCaptureNotificationCount));
    std::uint32_t capturePos = 1, readPos = 1;
    EXPECT_EQ(capture.m_pBuffer->GetCurrentPosition(capturePos, readPos), S_OK);
    EXPECT_EQ(capturePos, 0u);
}

// Offsets need not be the last byte of a frame: an offset is passed once the
// byte at it is written, not when the position reaches it.  8000 Hz, 16 bit:
// 16 bytes per millisecond.
TEST(SimulatedCapture, OffsetIsPassedWhenItsByteIsWritten)
{
    SimulatedSoundSystem system;
    std::unique_ptr<CaptureDevice> device;
    ASSERT_EQ(system.CreateCaptureDevice("", device), S_OK);
    std::unique_ptr<CaptureBuffer> buffer;
    ASSERT_EQ(device->CreateCaptureBuffer(128, SoundFormat::Pcm(1, 8000, 16), buffer), S_OK);
    ASSERT_EQ(buffer->SetNotificationPositions({100, 16, 0, 17}, std::make_shared<SoundEvent>()), S_OK);
    ASSERT_EQ(buffer->Start(true), S_OK);
    for (int i = 0; i < 9; ++i)
        system.Advance(1);
    std::vector<std::pair<std::uint32_t, std::int64_t>> log;
    for (const auto& note : system.Notifications())
        log.emplace_back(note.m_nOffset, note.m_nTimeMs);
    const std::vector<std::pair<std::uint32_t, std::int64_t>> expected = {{0, 1}, {16, 2}, {17, 2}, {100, 7}, {0, 9}};
    EXPECT_EQ(log, expected);
}

TEST(SimulatedCapture, RefusesBadNotificationsAndChangesWhileCapturing)
{
    SimulatedSoundSystem system;
    CaptureSetup capture = MakeCapture(system, SoundFormat::Pcm(1, 8000, 16), 160);
    const std::uint32_t size = capture.m_pBuffer->Size();
    EXPECT_EQ(capture.m_pBuffer->SetNotificationPositions({size}, capture.m_pEvent), E_INVALIDARG);
    EXPECT_EQ(capture.m_pBuffer->SetNotificationPositions({0}, nullptr), E_INVALIDARG);
    ASSERT_EQ(capture.m_pBuffer->Start(true), S_OK);
    EXPECT_EQ(capture.m_pBuffer->SetNotificationPositions({0}, capture.m_pEvent), SND_E_INVALIDCALL);
    SoundLockedRange range;
    EXPECT_EQ(capture.m_pBuffer->Lock(size, 1, range), E_INVALIDARG);
    EXPECT_EQ(capture.m_pBuffer->Lock(0, size + 1, range), E_INVALIDARG);
    EXPECT_EQ(capture.m_pBuffer->Lock(0, 0, range), E_INVALIDARG);
}

// A reader thread works as the capture thread does (wait for the notification
// or stop event, read up to the read position in whole notifications, lock,
// copy both parts) while the clock runs in uneven steps on this thread; it must
// receive every frame exactly once, in order, across many wraps.
TEST(SimulatedCapture, ReaderThreadReceivesEveryFrameOnceAcrossWraps)
{
    const SoundFormat format = SoundFormat::Pcm(1, 44100, 16);
    const std::uint32_t s = 512;
    const std::uint32_t ring = kCaptureNotificationCount * s;
    SimulatedSoundSystem system;
    system.SetSignalSource([](double t) { return Pattern(t, 44100); });
    CaptureSetup capture = MakeCapture(system, format, s);
    ASSERT_EQ(capture.m_pBuffer->Start(true), S_OK);
    SoundEvent stop(true);

    std::vector<int> received;
    std::atomic<std::uint64_t> readBytes{0};
    std::thread reader([&] {
        std::uint32_t next = 0;
        SoundEvent* events[] = {capture.m_pEvent.get(), &stop};
        while (SoundEvent::WaitForAny({events[0], events[1]}, 5000) == 0) {
            std::uint32_t capturePos = 0, readPos = 0;
            capture.m_pBuffer->GetCurrentPosition(capturePos, readPos);
            std::uint32_t size = (readPos + ring - next) % ring;
            size -= size % s;
            if (size == 0)
                continue;
            SoundLockedRange range;
            if (Failed(capture.m_pBuffer->Lock(next, size, range)))
                break;
            for (std::uint32_t i = 0; i < range.m_nFirstBytes; i += 2)
                received.push_back(SampleAt(range.m_pFirst + i, 16));
            for (std::uint32_t i = 0; i < range.m_nSecondBytes; i += 2)
                received.push_back(SampleAt(range.m_pSecond + i, 16));
            capture.m_pBuffer->Unlock(range);
            next = (next + size) % ring;
            readBytes += size;
        }
    });

    const std::int64_t steps[] = {1, 7, 3, 40, 2, 11};
    std::uint64_t captured = 0;
    for (int i = 0; i < 300; ++i) {
        system.Advance(steps[i % 6]);
        captured = static_cast<std::uint64_t>(system.NowMs()) * 44100 / 1000 * 2;
        // Let the reader catch up before the writer could lap it.
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (readBytes < captured - captured % s && std::chrono::steady_clock::now() < deadline)
            std::this_thread::yield();
    }
    stop.Set();
    reader.join();

    const std::uint64_t expectedFrames = (captured - captured % s) / 2;
    ASSERT_EQ(received.size(), expectedFrames);
    for (std::uint64_t n = 0; n < expectedFrames; ++n)
        ASSERT_EQ(received[n], PatternSample(n, 16)) << "frame " << n;
}

// A 16-bit buffer at 1000 Hz: one frame per simulated millisecond.
class SimulatedPlayback : public ::testing::Test {
protected:
    static constexpr std::uint32_t kFrames = 1000;

    void SetUp() override
    {
        ASSERT_EQ(m_system.CreatePlaybackDevice("", m_pDevice), S_OK);
        ASSERT_EQ(m_pDevice->SetCooperativeLevel(nullptr, 2), S_OK);
        ASSERT_EQ(m_pDevice->CreateStaticBuffer(kFrames * 2, SoundFormat::Pcm(1, 1000, 16), m_pBuffer), S_OK);
        SoundLockedRange range;
        ASSERT_EQ(m_pBuffer->Lock(0, kFrames * 2, range), S_OK);
        ASSERT_EQ(range.m_nFirstBytes, kFrames * 2);
        ASSERT_EQ(range.m_pSecond, nullptr);
        for (std::uint32_t i = 0; i < kFrames; ++i) {
            const auto v = static_cast<std::int16_t>(i);
            std::memcpy(range.m_pFirst + 2 * i, &v, 2);
        }
        ASSERT_EQ(m_pBuffer->Unlock(range), S_OK);
    }

    // Frame numbers of the bytes played since the last call.
    std::vector<int> TakePlayed()
    {
        const std::vector<std::uint8_t> bytes = m_system.PlayedBytes();
        std::vector<int> frames;
        for (std::size_t i = m_nTaken; i + 1 < bytes.size(); i += 2)
            frames.push_back(SampleAt(bytes.data() + i, 16));
        m_nTaken = bytes.size();
        return frames;
    }

    static std::vector<int> Frames(int nFrom, int nCount)
    {
        std::vector<int> frames;
        for (int i = 0; i < nCount; ++i)
            frames.push_back((nFrom + i) % static_cast<int>(kFrames));
        return frames;
    }

    bool Playing()
    {
        bool playing = false;
        EXPECT_EQ(m_pBuffer->GetStatus(playing), S_OK);
        return playing;
    }

    std::uint32_t Position()
    {
        std::uint32_t position = 0;
        EXPECT_EQ(m_pBuffer->GetCurrentPosition(position), S_OK);
        return position;
    }

    SimulatedSoundSystem m_system;
    std::unique_ptr<PlaybackDevice> m_pDevice;
    std::unique_ptr<PlaybackBuffer> m_pBuffer;
    std::size_t m_nTaken = 0;
};

TEST_F(SimulatedPlayback, PlaysFromTheCursorAndStopsAtTheEndWithoutLoop)
{
    m_system.Advance(50);
    EXPECT_TRUE(TakePlayed().empty());
    ASSERT_EQ(m_pBuffer->Play(false), S_OK);
    m_system.Advance(300);
    EXPECT_EQ(TakePlayed(), Frames(0, 300));
    EXPECT_EQ(Position(), 600u);

    // Moving the cursor while playing: playback goes on there, from a whole frame.
    ASSERT_EQ(m_pBuffer->SetCurrentPosition(1801), S_OK);
    EXPECT_EQ(Position(), 1800u);
    m_system.Advance(250);
    EXPECT_EQ(TakePlayed(), Frames(900, 100));
    EXPECT_FALSE(Playing());
    EXPECT_EQ(Position(), 0u);

    // Stop keeps the position; Play goes on from it.
    ASSERT_EQ(m_pBuffer->Play(false), S_OK);
    m_system.Advance(20);
    ASSERT_EQ(m_pBuffer->Stop(), S_OK);
    m_system.Advance(20);
    EXPECT_EQ(Position(), 40u);
    ASSERT_EQ(m_pBuffer->Play(false), S_OK);
    m_system.Advance(5);
    EXPECT_EQ(TakePlayed(), Frames(0, 25));
}

TEST_F(SimulatedPlayback, LoopingRepeatsTheBufferWithoutEnd)
{
    ASSERT_EQ(m_pBuffer->SetCurrentPosition(1900), S_OK);
    ASSERT_EQ(m_pBuffer->Play(true), S_OK);
    m_system.Advance(2150);
    std::vector<int> expected = Frames(950, 2150);
    EXPECT_EQ(TakePlayed(), expected);
    EXPECT_TRUE(Playing());
    EXPECT_EQ(Position(), 2u * (950 + 2150) % 2000);
}

TEST_F(SimulatedPlayback, RefusesPositionsAndLocksOutsideTheBuffer)
{
    EXPECT_EQ(m_pBuffer->SetCurrentPosition(2000), E_INVALIDARG);
    SoundLockedRange range;
    EXPECT_EQ(m_pBuffer->Lock(1999, 2001, range), E_INVALIDARG);
    EXPECT_EQ(m_pBuffer->Unlock(SoundLockedRange{}), E_INVALIDARG);
    EXPECT_EQ(m_pBuffer->Restore(), S_OK);
    std::unique_ptr<PlaybackBuffer> other;
    EXPECT_EQ(m_pDevice->CreateStaticBuffer(1, SoundFormat::Pcm(1, 1000, 16), other), E_INVALIDARG);
    EXPECT_EQ(m_pDevice->CreateStaticBuffer(100, SoundFormat::Pcm(2, 1000, 16), other), E_INVALIDARG);
    EXPECT_EQ(other, nullptr);
}

// The resampling path of devices that refuse the buffer's rate: half steps
// interpolate between neighbours, the end of a non-looping sound stops it,
// and a moved cursor restarts exactly on its frame.
TEST(SoundPlaybackStore, ResamplesLinearlyAndFollowsTheCursor)
{
    SoundPlaybackStore store(8, SoundFormat::Pcm(1, 1000, 16)); // frames 0, 1000, 2000, 3000
    SoundLockedRange range;
    ASSERT_EQ(store.Lock(0, 8, range), S_OK);
    for (int i = 0; i < 4; ++i) {
        const auto v = static_cast<std::int16_t>(1000 * i);
        std::memcpy(range.m_pFirst + 2 * i, &v, 2);
    }
    std::vector<float> out(2 * 10, -9.0f);
    store.Play(false);
    EXPECT_EQ(store.RenderResampled(out.data(), 10, 2, 0.5), 8u);
    const float expected[] = {0, 500, 1000, 1500, 2000, 2500, 3000, 3000, 0, 0};
    for (int i = 0; i < 10; ++i) {
        EXPECT_FLOAT_EQ(out[2 * i] * 32768.0f, expected[i]) << i;
        EXPECT_EQ(out[2 * i + 1], out[2 * i]) << i;
    }
    EXPECT_FALSE(store.IsPlaying());
    EXPECT_EQ(store.Position(), 0u);

    store.Play(true);
    EXPECT_EQ(store.RenderResampled(out.data(), 1, 1, 0.5), 1u); // half way from frame 0
    ASSERT_EQ(store.SetPosition(6), S_OK);
    EXPECT_EQ(store.RenderResampled(out.data(), 3, 1, 0.5), 3u);
    EXPECT_FLOAT_EQ(out[0] * 32768.0f, 3000.0f);
    EXPECT_FLOAT_EQ(out[1] * 32768.0f, 1500.0f); // looping: between the last frame and the first
    EXPECT_FLOAT_EQ(out[2] * 32768.0f, 0.0f);
    EXPECT_TRUE(store.IsPlaying());
}

TEST(SimulatedSoundSystem, ListsTheDefaultFirstAndFindsDevicesByIdentifier)
{
    SimulatedSoundSystem system;
    system.SetCaptureDevices({{"Mikrofon", "ALSA/mic"}, {"Line-In", "ALSA/line"}});
    std::vector<SoundDeviceEntry> list;
    ASSERT_EQ(system.EnumerateCaptureDevices(list), S_OK);
    const std::vector<SoundDeviceEntry> expected = {{"Mikrofon", ""}, {"Mikrofon", "ALSA/mic"}, {"Line-In", "ALSA/line"}};
    EXPECT_EQ(list, expected);
    std::unique_ptr<CaptureDevice> device;
    EXPECT_EQ(system.CreateCaptureDevice("ALSA/line", device), S_OK);
    EXPECT_EQ(system.CreateCaptureDevice("ALSA/gone", device), SND_E_NODRIVER);
    EXPECT_EQ(device, nullptr);

    system.SetPlaybackDevices({});
    ASSERT_EQ(system.EnumeratePlaybackDevices(list), S_OK);
    EXPECT_TRUE(list.empty());
    std::unique_ptr<PlaybackDevice> playback;
    EXPECT_EQ(system.CreatePlaybackDevice("", playback), SND_E_NODRIVER);

    system.SetFailure(SimulatedSoundSystem::Operation::Enumerate, E_FAIL);
    EXPECT_EQ(system.EnumerateCaptureDevices(list), E_FAIL);
    system.SetFailure(SimulatedSoundSystem::Operation::Enumerate, S_OK);
    EXPECT_EQ(system.EnumerateCaptureDevices(list), S_OK);
}

// A device that takes only 44100 Hz and 48000 Hz at 16 bit, tried with the
// twenty mono formats (rates 8000 .. 192000 Hz, 8 and 16 bit each).
TEST(SimulatedSoundSystem, AcceptsOnlyTheFormatsGiven)
{
    SimulatedSoundSystem system;
    const std::vector<SoundFormat> taken = {SoundFormat::Pcm(1, 44100, 16), SoundFormat::Pcm(1, 48000, 16)};
    system.SetCaptureFormats(taken);
    system.SetPrimaryFormats(taken);
    std::unique_ptr<CaptureDevice> capture;
    std::unique_ptr<PlaybackDevice> playback;
    ASSERT_EQ(system.CreateCaptureDevice("", capture), S_OK);
    ASSERT_EQ(system.CreatePlaybackDevice("", playback), S_OK);
    const std::uint32_t rates[] = {8000, 11025, 22050, 32000, 44100, 48000, 64000, 88200, 96000, 192000};
    std::vector<int> captureOk, primaryOk;
    for (int i = 0; i < 20; ++i) {
        const SoundFormat format = SoundFormat::Pcm(1, rates[i / 2], i % 2 ? 16 : 8);
        std::unique_ptr<CaptureBuffer> buffer;
        const HResult hr = capture->CreateCaptureBuffer(format.m_nAvgBytesPerSec, format, buffer);
        if (Succeeded(hr))
            captureOk.push_back(i);
        else
            EXPECT_EQ(hr, SND_E_BADFORMAT);
        if (playback->SetPrimaryFormat(format) == S_OK)
            primaryOk.push_back(i);
    }
    EXPECT_EQ(captureOk, (std::vector<int>{9, 11}));
    EXPECT_EQ(primaryOk, (std::vector<int>{9, 11}));
    SoundFormat broken = SoundFormat::Pcm(1, 44100, 16);
    broken.m_nAvgBytesPerSec = 44100;
    EXPECT_EQ(playback->SetPrimaryFormat(broken), E_INVALIDARG);
}

TEST(SoundEvent, ResetsAutomaticallyOrManuallyAndWaitsForAny)
{
    SoundEvent automatic;
    SoundEvent manual(true);
    EXPECT_FALSE(automatic.Wait(0));
    automatic.Set();
    automatic.Set(); // two sets before a wait wake it once
    EXPECT_TRUE(automatic.Wait(0));
    EXPECT_FALSE(automatic.Wait(0));
    manual.Set();
    EXPECT_TRUE(manual.Wait(0));
    EXPECT_TRUE(manual.Wait(0));
    manual.Reset();
    EXPECT_FALSE(manual.IsSet());

    // The first set event wins; an automatic one is cleared, a manual one not.
    automatic.Set();
    manual.Set();
    EXPECT_EQ(SoundEvent::WaitForAny({nullptr, &automatic, &manual}, 0), 1);
    EXPECT_EQ(SoundEvent::WaitForAny({nullptr, &automatic, &manual}, 0), 2);
    manual.Reset();
    EXPECT_EQ(SoundEvent::WaitForAny({&automatic, &manual}, 20), SoundEvent::kTimeout);

    // A set from another thread wakes a waiter without limit.
    std::thread setter([&manual] {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        manual.Set();
    });
    EXPECT_EQ(SoundEvent::WaitForAny({&automatic, &manual}, SoundEvent::kInfinite), 1);
    setter.join();
}

} // namespace
