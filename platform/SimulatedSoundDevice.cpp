#include "SimulatedSoundDevice.h"

#include "SoundCaptureRing.h"
#include "SoundPlaybackStore.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <map>
#include <mutex>
#include <new>

namespace simulated_sound {

class PlaybackBufferImpl;
class CaptureBufferImpl;

} // namespace simulated_sound

struct SimulatedSoundState {
    using Operation = SimulatedSoundSystem::Operation;

    HResult Failure(Operation operation) const // caller holds m_mutex
    {
        const auto it = m_failures.find(operation);
        return it == m_failures.end() ? S_OK : it->second;
    }

    mutable std::mutex m_mutex;
    std::vector<SoundDeviceEntry> m_aPlaybackDevices;
    std::vector<SoundDeviceEntry> m_aCaptureDevices;
    std::optional<std::vector<SoundFormat>> m_aPrimaryFormats;
    std::optional<std::vector<SoundFormat>> m_aCaptureFormats;
    SimulatedSoundSystem::SignalSource m_source;
    std::map<Operation, HResult> m_failures;
    std::int64_t m_nNowMs = 0;
    std::vector<SimulatedSoundSystem::Notification> m_aNotifications;
    std::vector<std::uint8_t> m_aPlayed;
    std::vector<simulated_sound::PlaybackBufferImpl*> m_aPlaybackBuffers; // live buffers
    std::vector<simulated_sound::CaptureBufferImpl*> m_aCaptureBuffers;
};

namespace simulated_sound {

using Operation = SimulatedSoundSystem::Operation;

constexpr std::uint32_t kStepFrames = 4096; // frames rendered or captured per step of Advance

// Frames of a stream at nRate that fall between the clock times nFromMs and nToMs.
std::uint64_t FramesBetween(std::int64_t nFromMs, std::int64_t nToMs, std::uint32_t nRate)
{
    const auto at = [nRate](std::int64_t ms) { return static_cast<std::uint64_t>(ms) * nRate / 1000; };
    return at(nToMs) - at(nFromMs);
}

bool IsValidBuffer(std::uint32_t nBytes, const SoundFormat& format)
{
    return format.IsBufferFormat() && nBytes >= format.m_nBlockAlign && nBytes <= kMaxSoundBufferBytes;
}

bool Accepts(const std::optional<std::vector<SoundFormat>>& aFormats, const SoundFormat& format)
{
    return !aFormats || std::find(aFormats->begin(), aFormats->end(), format) != aFormats->end();
}

template <typename T>
void Unregister(std::vector<T*>& aList, T* item)
{
    aList.erase(std::remove(aList.begin(), aList.end(), item), aList.end());
}

class PlaybackBufferImpl : public PlaybackBuffer {
public:
    PlaybackBufferImpl(std::shared_ptr<SimulatedSoundState> pState, std::uint32_t nBytes, const SoundFormat& format)
        : m_pState(std::move(pState)), m_store(nBytes, format)
    {
        std::lock_guard lock(m_pState->m_mutex);
        m_pState->m_aPlaybackBuffers.push_back(this);
    }

    ~PlaybackBufferImpl() override
    {
        std::lock_guard lock(m_pState->m_mutex);
        Unregister(m_pState->m_aPlaybackBuffers, this);
    }

    HResult Lock(std::uint32_t nOffset, std::uint32_t nBytes, SoundLockedRange& range) override
    {
        return m_store.Lock(nOffset, nBytes, range);
    }
    HResult Unlock(const SoundLockedRange& range) override { return m_store.Unlock(range); }

    HResult Play(bool bLooping) override
    {
        std::lock_guard lock(m_pState->m_mutex);
        if (const HResult hr = m_pState->Failure(Operation::Play); Failed(hr))
            return hr;
        m_store.Play(bLooping);
        return S_OK;
    }

    HResult Stop() override
    {
        m_store.Stop();
        return S_OK;
    }

    HResult GetStatus(bool& bPlaying) override
    {
        bPlaying = m_store.IsPlaying();
        return S_OK;
    }

    HResult GetCurrentPosition(std::uint32_t& nPlayBytes) override
    {
        nPlayBytes = m_store.Position();
        return S_OK;
    }

    HResult SetCurrentPosition(std::uint32_t nBytes) override { return m_store.SetPosition(nBytes); }
    HResult Restore() override { return S_OK; }
    std::uint32_t Size() const override { return m_store.Size(); }
    SoundFormat Format() const override { return m_store.Format(); }

    // Plays the frames between two clock times; caller holds the state lock.
    void Step(std::int64_t nFromMs, std::int64_t nToMs)
    {
        if (!m_store.IsPlaying())
            return;
        const std::uint32_t align = m_store.Format().m_nBlockAlign;
        std::uint64_t frames = FramesBetween(nFromMs, nToMs, m_store.Format().m_nSamplesPerSec);
        std::vector<std::uint8_t> block(std::size_t{kStepFrames} * align);
        while (frames > 0 && m_store.IsPlaying()) {
            const auto n = static_cast<std::uint32_t>(std::min<std::uint64_t>(frames, kStepFrames));
            const std::uint32_t taken = m_store.Render(block.data(), n, 1);
            m_pState->m_aPlayed.insert(m_pState->m_aPlayed.end(), block.begin(), block.begin() + std::size_t{taken} * align);
            frames -= n;
        }
    }

private:
    std::shared_ptr<SimulatedSoundState> m_pState;
    SoundPlaybackStore m_store;
};

class CaptureBufferImpl : public CaptureBuffer {
public:
    CaptureBufferImpl(std::shared_ptr<SimulatedSoundState> pState, std::uint32_t nBytes, const SoundFormat& format)
        : m_pState(std::move(pState)), m_ring(nBytes, format)
    {
        std::lock_guard lock(m_pState->m_mutex);
        m_pState->m_aCaptureBuffers.push_back(this);
    }

    ~CaptureBufferImpl() override
    {
        std::lock_guard lock(m_pState->m_mutex);
        Unregister(m_pState->m_aCaptureBuffers, this);
    }

    HResult SetNotificationPositions(const std::vector<std::uint32_t>& aOffsets,
                                     std::shared_ptr<SoundEvent> pEvent) override
    {
        std::lock_guard lock(m_pState->m_mutex);
        if (const HResult hr = m_pState->Failure(Operation::SetNotificationPositions); Failed(hr))
            return hr;
        return m_ring.SetNotificationPositions(aOffsets, std::move(pEvent));
    }

    HResult Start(bool bLooping) override
    {
        std::lock_guard lock(m_pState->m_mutex);
        if (const HResult hr = m_pState->Failure(Operation::StartCapture); Failed(hr))
            return hr;
        if (!m_ring.IsCapturing()) {
            m_ring.SetObserver([this](std::uint32_t nOffset) { Record(nOffset); });
            m_ring.Start(bLooping);
        }
        return S_OK;
    }

    HResult Stop() override
    {
        std::lock_guard lock(m_pState->m_mutex);
        m_ring.Stop();
        return S_OK;
    }

    HResult GetStatus(bool& bCapturing) override
    {
        bCapturing = m_ring.IsCapturing();
        return S_OK;
    }

    HResult GetCurrentPosition(std::uint32_t& nCaptureBytes, std::uint32_t& nReadBytes) override
    {
        {
            std::lock_guard lock(m_pState->m_mutex);
            if (const HResult hr = m_pState->Failure(Operation::GetCapturePosition); Failed(hr))
                return hr;
        }
        m_ring.GetPositions(nCaptureBytes, nReadBytes);
        return S_OK;
    }

    HResult Lock(std::uint32_t nOffset, std::uint32_t nBytes, SoundLockedRange& range) override
    {
        {
            std::lock_guard lock(m_pState->m_mutex);
            if (const HResult hr = m_pState->Failure(Operation::LockCapture); Failed(hr))
                return hr;
        }
        return m_ring.Lock(nOffset, nBytes, range);
    }

    HResult Unlock(const SoundLockedRange& range) override { return m_ring.Unlock(range); }
    std::uint32_t Size() const override { return m_ring.Size(); }
    SoundFormat Format() const override { return m_ring.Format(); }

    // Captures the frames between two clock times; caller holds the state lock.
    void Step(std::int64_t nFromMs, std::int64_t nToMs)
    {
        if (!m_ring.IsCapturing())
            return;
        const SoundFormat& format = m_ring.Format();
        const std::uint32_t align = format.m_nBlockAlign;
        // A step never wraps the ring more than once, so each offset passed in
        // it maps to one frame.
        const std::uint32_t stepFrames = std::min(kStepFrames, m_ring.Size() / align);
        std::uint64_t frames = FramesBetween(nFromMs, nToMs, format.m_nSamplesPerSec);
        std::vector<std::uint8_t> block(std::size_t{stepFrames} * align);
        while (frames > 0 && m_ring.IsCapturing()) {
            const auto n = static_cast<std::uint32_t>(std::min<std::uint64_t>(frames, stepFrames));
            for (std::uint32_t i = 0; i < n; ++i)
                PutSample(block.data() + std::size_t{i} * align, m_nFrames + i);
            std::uint32_t unused = 0;
            m_ring.GetPositions(m_nStepStart, unused);
            m_ring.Write(block.data(), n * align);
            m_nFrames += n;
            frames -= n;
        }
    }

private:
    void PutSample(std::uint8_t* pOut, std::uint64_t nFrame) const
    {
        const SoundFormat& format = m_ring.Format();
        double value = m_pState->m_source ? m_pState->m_source(static_cast<double>(nFrame) / format.m_nSamplesPerSec) : 0.0;
        value = std::isfinite(value) ? std::clamp(value, -1.0, 1.0) : 0.0;
        if (format.m_nBitsPerSample == 8) {
            *pOut = static_cast<std::uint8_t>(128 + std::lround(value * 127.0));
        } else {
            const auto sample = static_cast<std::int16_t>(std::lround(value * 32767.0));
            std::memcpy(pOut, &sample, 2);
        }
    }

    // Called from the ring while Step holds the state lock.
    void Record(std::uint32_t nOffset)
    {
        const std::uint32_t size = m_ring.Size();
        const std::uint32_t distance = (nOffset + size - m_nStepStart) % size;
        m_pState->m_aNotifications.push_back(
            {nOffset, m_pState->m_nNowMs, m_nFrames + distance / m_ring.Format().m_nBlockAlign + 1});
    }

    std::shared_ptr<SimulatedSoundState> m_pState;
    SoundCaptureRing m_ring;
    std::uint64_t m_nFrames = 0;     // frames captured since the buffer was made
    std::uint32_t m_nStepStart = 0;  // capture position at the start of the current write, bytes
};

class PlaybackDeviceImpl : public PlaybackDevice {
public:
    explicit PlaybackDeviceImpl(std::shared_ptr<SimulatedSoundState> pState) : m_pState(std::move(pState)) {}

    HResult SetCooperativeLevel(const void*, int) override
    {
        std::lock_guard lock(m_pState->m_mutex);
        return m_pState->Failure(Operation::SetCooperativeLevel);
    }

    HResult SetPrimaryFormat(const SoundFormat& format) override
    {
        if (!format.IsConsistent())
            return E_INVALIDARG;
        std::lock_guard lock(m_pState->m_mutex);
        return Accepts(m_pState->m_aPrimaryFormats, format) ? S_OK : SND_E_BADFORMAT;
    }

    HResult CreateStaticBuffer(std::uint32_t nBytes, const SoundFormat& format,
                               std::unique_ptr<PlaybackBuffer>& pBuffer) override
    {
        pBuffer.reset();
        if (!IsValidBuffer(nBytes, format))
            return E_INVALIDARG;
        {
            std::lock_guard lock(m_pState->m_mutex);
            if (const HResult hr = m_pState->Failure(Operation::CreateStaticBuffer); Failed(hr))
                return hr;
        }
        try {
            pBuffer = std::make_unique<PlaybackBufferImpl>(m_pState, nBytes, format);
        } catch (const std::bad_alloc&) {
            return E_OUTOFMEMORY;
        }
        return S_OK;
    }

private:
    std::shared_ptr<SimulatedSoundState> m_pState;
};

class CaptureDeviceImpl : public CaptureDevice {
public:
    explicit CaptureDeviceImpl(std::shared_ptr<SimulatedSoundState> pState) : m_pState(std::move(pState)) {}

    HResult CreateCaptureBuffer(std::uint32_t nBytes, const SoundFormat& format,
                                std::unique_ptr<CaptureBuffer>& pBuffer) override
    {
        pBuffer.reset();
        if (!IsValidBuffer(nBytes, format) || nBytes % format.m_nBlockAlign != 0)
            return E_INVALIDARG;
        {
            std::lock_guard lock(m_pState->m_mutex);
            if (const HResult hr = m_pState->Failure(Operation::CreateCaptureBuffer); Failed(hr))
                return hr;
            if (!Accepts(m_pState->m_aCaptureFormats, format))
                return SND_E_BADFORMAT;
        }
        try {
            pBuffer = std::make_unique<CaptureBufferImpl>(m_pState, nBytes, format);
        } catch (const std::bad_alloc&) {
            return E_OUTOFMEMORY;
        }
        return S_OK;
    }

private:
    std::shared_ptr<SimulatedSoundState> m_pState;
};

HResult Enumerate(SimulatedSoundState& state, const std::vector<SoundDeviceEntry>& aListed,
                  std::vector<SoundDeviceEntry>& aDevices)
{
    aDevices.clear();
    if (const HResult hr = state.Failure(Operation::Enumerate); Failed(hr))
        return hr;
    if (!aListed.empty())
        aDevices.push_back({aListed.front().m_strDescription, ""});
    aDevices.insert(aDevices.end(), aListed.begin(), aListed.end());
    return S_OK;
}

bool Exists(const std::vector<SoundDeviceEntry>& aListed, const std::string& strIdentifier)
{
    if (strIdentifier.empty())
        return !aListed.empty();
    return std::any_of(aListed.begin(), aListed.end(),
                       [&](const SoundDeviceEntry& entry) { return entry.m_strIdentifier == strIdentifier; });
}

} // namespace simulated_sound

using namespace simulated_sound;

SimulatedSoundSystem::SimulatedSoundSystem() : m_pState(std::make_shared<SimulatedSoundState>())
{
    m_pState->m_aPlaybackDevices = {{"Simulierte Ausgabe", "Simulation/Ausgabe"}};
    m_pState->m_aCaptureDevices = {{"Simulierter Eingang", "Simulation/Eingang"}};
}

SimulatedSoundSystem::~SimulatedSoundSystem() = default;

void SimulatedSoundSystem::SetPlaybackDevices(std::vector<SoundDeviceEntry> aDevices)
{
    std::lock_guard lock(m_pState->m_mutex);
    m_pState->m_aPlaybackDevices = std::move(aDevices);
}

void SimulatedSoundSystem::SetCaptureDevices(std::vector<SoundDeviceEntry> aDevices)
{
    std::lock_guard lock(m_pState->m_mutex);
    m_pState->m_aCaptureDevices = std::move(aDevices);
}

void SimulatedSoundSystem::SetPrimaryFormats(std::optional<std::vector<SoundFormat>> aFormats)
{
    std::lock_guard lock(m_pState->m_mutex);
    m_pState->m_aPrimaryFormats = std::move(aFormats);
}

void SimulatedSoundSystem::SetCaptureFormats(std::optional<std::vector<SoundFormat>> aFormats)
{
    std::lock_guard lock(m_pState->m_mutex);
    m_pState->m_aCaptureFormats = std::move(aFormats);
}

void SimulatedSoundSystem::SetSignalSource(SignalSource source)
{
    std::lock_guard lock(m_pState->m_mutex);
    m_pState->m_source = std::move(source);
}

void SimulatedSoundSystem::SetFailure(Operation operation, HResult hr)
{
    std::lock_guard lock(m_pState->m_mutex);
    if (Failed(hr))
        m_pState->m_failures[operation] = hr;
    else
        m_pState->m_failures.erase(operation);
}

void SimulatedSoundSystem::Advance(std::int64_t nMs)
{
    if (nMs <= 0)
        return;
    std::lock_guard lock(m_pState->m_mutex);
    const std::int64_t from = m_pState->m_nNowMs;
    m_pState->m_nNowMs += nMs;
    for (PlaybackBufferImpl* buffer : m_pState->m_aPlaybackBuffers)
        buffer->Step(from, m_pState->m_nNowMs);
    for (CaptureBufferImpl* buffer : m_pState->m_aCaptureBuffers)
        buffer->Step(from, m_pState->m_nNowMs);
}

std::int64_t SimulatedSoundSystem::NowMs() const
{
    std::lock_guard lock(m_pState->m_mutex);
    return m_pState->m_nNowMs;
}

std::vector<SimulatedSoundSystem::Notification> SimulatedSoundSystem::Notifications() const
{
    std::lock_guard lock(m_pState->m_mutex);
    return m_pState->m_aNotifications;
}

std::vector<std::uint8_t> SimulatedSoundSystem::PlayedBytes() const
{
    std::lock_guard lock(m_pState->m_mutex);
    return m_pState->m_aPlayed;
}

HResult SimulatedSoundSystem::EnumeratePlaybackDevices(std::vector<SoundDeviceEntry>& aDevices)
{
    std::lock_guard lock(m_pState->m_mutex);
    return Enumerate(*m_pState, m_pState->m_aPlaybackDevices, aDevices);
}

HResult SimulatedSoundSystem::EnumerateCaptureDevices(std::vector<SoundDeviceEntry>& aDevices)
{
    std::lock_guard lock(m_pState->m_mutex);
    return Enumerate(*m_pState, m_pState->m_aCaptureDevices, aDevices);
}

HResult SimulatedSoundSystem::CreatePlaybackDevice(const std::string& strIdentifier,
                                                   std::unique_ptr<PlaybackDevice>& pDevice)
{
    pDevice.reset();
    std::lock_guard lock(m_pState->m_mutex);
    if (const HResult hr = m_pState->Failure(Operation::CreatePlaybackDevice); Failed(hr))
        return hr;
    if (!Exists(m_pState->m_aPlaybackDevices, strIdentifier))
        return SND_E_NODRIVER;
    pDevice = std::make_unique<PlaybackDeviceImpl>(m_pState);
    return S_OK;
}

HResult SimulatedSoundSystem::CreateCaptureDevice(const std::string& strIdentifier,
                                                  std::unique_ptr<CaptureDevice>& pDevice)
{
    pDevice.reset();
    std::lock_guard lock(m_pState->m_mutex);
    if (const HResult hr = m_pState->Failure(Operation::CreateCaptureDevice); Failed(hr))
        return hr;
    if (!Exists(m_pState->m_aCaptureDevices, strIdentifier))
        return SND_E_NODRIVER;
    pDevice = std::make_unique<CaptureDeviceImpl>(m_pState);
    return S_OK;
}
