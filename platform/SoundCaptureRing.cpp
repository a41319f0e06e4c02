#include "SoundCaptureRing.h"

#include "SoundBufferLock.h"
#include "SoundEvent.h"

#include <algorithm>
#include <cstring>

SoundCaptureRing::SoundCaptureRing(std::uint32_t nBytes, const SoundFormat& format)
    : m_aData(nBytes, format.m_nBitsPerSample == 8 ? std::uint8_t{128} : std::uint8_t{0}), m_format(format)
{
}

HResult SoundCaptureRing::SetNotificationPositions(const std::vector<std::uint32_t>& aOffsets,
                                                   std::shared_ptr<SoundEvent> pEvent)
{
    if (IsCapturing())
        return SND_E_INVALIDCALL;
    if (aOffsets.size() > kMaxNotifications || (!aOffsets.empty() && !pEvent))
        return E_INVALIDARG;
    for (std::uint32_t offset : aOffsets)
        if (offset >= Size())
            return E_INVALIDARG;
    std::vector<std::uint32_t> sorted = aOffsets;
    std::sort(sorted.begin(), sorted.end());
    sorted.erase(std::unique(sorted.begin(), sorted.end()), sorted.end());
    m_aNotifyOffsets = std::move(sorted);
    m_pNotifyEvent = std::move(pEvent);
    return S_OK;
}

void SoundCaptureRing::SetObserver(NotificationObserver observer)
{
    if (!IsCapturing())
        m_observer = std::move(observer);
}

void SoundCaptureRing::Start(bool bLooping)
{
    m_bLooping.store(bLooping, std::memory_order_relaxed);
    m_bCapturing.store(true, std::memory_order_release);
}

void SoundCaptureRing::Stop()
{
    m_bCapturing.store(false, std::memory_order_release);
}

void SoundCaptureRing::GetPositions(std::uint32_t& nCaptureBytes, std::uint32_t& nReadBytes) const
{
    // Bytes are published only once copied, so the device's position is also
    // how far reading is safe.
    nCaptureBytes = m_nWritePos.load(std::memory_order_acquire);
    nReadBytes = nCaptureBytes;
}

HResult SoundCaptureRing::Lock(std::uint32_t nOffset, std::uint32_t nBytes, SoundLockedRange& range)
{
    return LockSoundBuffer(m_aData, nOffset, nBytes, range);
}

HResult SoundCaptureRing::Unlock(const SoundLockedRange& range) const
{
    return UnlockSoundBuffer(m_aData, range);
}

void SoundCaptureRing::Write(const std::uint8_t* pData, std::uint32_t nBytes)
{
    const std::uint32_t size = Size();
    while (nBytes > 0 && m_bCapturing.load(std::memory_order_acquire)) {
        const std::uint32_t from = m_nWritePos.load(std::memory_order_relaxed);
        const std::uint32_t chunk = std::min(nBytes, size - from);
        std::memcpy(m_aData.data() + from, pData, chunk);
        std::uint32_t to = from + chunk;
        const bool atEnd = to == size;
        if (atEnd)
            to = 0;
        m_nWritePos.store(to, std::memory_order_release);
        if (atEnd && !m_bLooping.load(std::memory_order_relaxed))
            m_bCapturing.store(false, std::memory_order_release);
        SignalPassed(from, from + chunk);
        pData += chunk;
        nBytes -= chunk;
    }
}

void SoundCaptureRing::SignalPassed(std::uint32_t nFrom, std::uint32_t nTo)
{
    // An offset is passed once the byte at it has been written: nFrom <= offset < nTo.
    auto it = std::lower_bound(m_aNotifyOffsets.begin(), m_aNotifyOffsets.end(), nFrom);
    for (; it != m_aNotifyOffsets.end() && *it < nTo; ++it) {
        if (m_observer)
            m_observer(*it);
        m_pNotifyEvent->Set();
    }
}
