// The memory and positions of a looping capture buffer, shared by both sound
// back-ends: the device side writes whole frames at the capture position and
// signals the notification event once for every notification offset it passes;
// the reading side asks for the positions and locks ranges.
#pragma once

#include "SoundDevice.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class SoundEvent;

class SoundCaptureRing {
public:
    // Called on the writing thread for every offset passed, in the order passed.
    using NotificationObserver = std::function<void(std::uint32_t nOffset)>;

    static constexpr std::size_t kMaxNotifications = 1024;

    // nBytes: a whole number of frames of the (mono) format, checked by the
    // caller.  The ring starts silent.  Throws std::bad_alloc only.
    SoundCaptureRing(std::uint32_t nBytes, const SoundFormat& format);

    // Control side (one thread at a time).
    HResult SetNotificationPositions(const std::vector<std::uint32_t>& aOffsets, std::shared_ptr<SoundEvent> pEvent);
    void SetObserver(NotificationObserver observer); // only while stopped
    void Start(bool bLooping);
    void Stop();
    bool IsCapturing() const { return m_bCapturing.load(std::memory_order_acquire); }
    void GetPositions(std::uint32_t& nCaptureBytes, std::uint32_t& nReadBytes) const;
    HResult Lock(std::uint32_t nOffset, std::uint32_t nBytes, SoundLockedRange& range);
    HResult Unlock(const SoundLockedRange& range) const;

    // Writing side (the audio callback): copies nBytes (whole frames) into the
    // ring, publishes the new position, then signals.  Does nothing while
    // stopped; without looping it stops at the ring's end.  Never allocates.
    void Write(const std::uint8_t* pData, std::uint32_t nBytes);

    std::uint32_t Size() const { return static_cast<std::uint32_t>(m_aData.size()); }
    const SoundFormat& Format() const { return m_format; }

private:
    void SignalPassed(std::uint32_t nFrom, std::uint32_t nTo);

    std::vector<std::uint8_t> m_aData;
    SoundFormat m_format;
    std::vector<std::uint32_t> m_aNotifyOffsets;   // ascending, < size; fixed while capturing
    std::shared_ptr<SoundEvent> m_pNotifyEvent;
    NotificationObserver m_observer;
    std::atomic<std::uint32_t> m_nWritePos{0};     // bytes, 0 .. size - 1, whole frames
    std::atomic<bool> m_bCapturing{false};
    std::atomic<bool> m_bLooping{true};
};
