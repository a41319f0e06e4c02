// The sound device layer: device lists, playback objects with a static buffer
// that holds a whole sound, and capture objects with a looping ring buffer that
// signals an event at chosen byte offsets.  Two back-ends implement it: PortAudio
// for the real devices and a simulated one driven by a manual clock for tests.
#pragma once

#include "ResultCodes.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class SoundEvent;

// Failures of the sound layer besides the general codes of ResultCodes.h.
inline constexpr HResult SND_E_NODRIVER = static_cast<HResult>(0x88780078u);   // no such device
inline constexpr HResult SND_E_BADFORMAT = static_cast<HResult>(0x88780064u);  // device refuses the format
inline constexpr HResult SND_E_INVALIDCALL = static_cast<HResult>(0x88780032u); // not allowed in this state

// Number of notification offsets the capture code sets around its ring buffer.
inline constexpr int kCaptureNotificationCount = 16;

// Largest buffer the layer makes, in bytes (about 268 MB).
inline constexpr std::uint32_t kMaxSoundBufferBytes = 0x0FFFFFFFu;

// An integer PCM format.  The program uses mono 8-bit (unsigned) and 16-bit
// (signed) sound; playback and capture buffers take exactly those.
struct SoundFormat {
    std::uint16_t m_nChannels = 1;          // 1 = mono, 2 = stereo
    std::uint32_t m_nSamplesPerSec = 44100; // Hz
    std::uint16_t m_nBitsPerSample = 16;    // 8 or 16
    std::uint16_t m_nBlockAlign = 2;        // bytes per frame = channels x bits / 8
    std::uint32_t m_nAvgBytesPerSec = 88200; // samples per second x block align

    // A format whose block align and byte rate follow from the three values.
    static SoundFormat Pcm(std::uint16_t nChannels, std::uint32_t nSamplesPerSec, std::uint16_t nBitsPerSample)
    {
        SoundFormat f;
        f.m_nChannels = nChannels;
        f.m_nSamplesPerSec = nSamplesPerSec;
        f.m_nBitsPerSample = nBitsPerSample;
        f.m_nBlockAlign = static_cast<std::uint16_t>(nChannels * (nBitsPerSample / 8));
        f.m_nAvgBytesPerSec = nSamplesPerSec * f.m_nBlockAlign;
        return f;
    }

    // 1 or 2 channels of 8 or 16 bits at 1 .. 1,000,000 Hz with matching block
    // align and byte rate.
    bool IsConsistent() const
    {
        return (m_nChannels == 1 || m_nChannels == 2) && (m_nBitsPerSample == 8 || m_nBitsPerSample == 16)
            && m_nSamplesPerSec >= 1 && m_nSamplesPerSec <= 1000000
            && m_nBlockAlign == m_nChannels * (m_nBitsPerSample / 8)
            && m_nAvgBytesPerSec == m_nSamplesPerSec * m_nBlockAlign;
    }

    // What a playback or capture buffer holds: a consistent mono format.
    bool IsBufferFormat() const { return IsConsistent() && m_nChannels == 1; }

    bool operator==(const SoundFormat&) const = default;
};

// One entry of a device list.  The identifier is stable across runs ("host API/
// device name"); the first entry of a non-empty list is the system's default
// device with an empty identifier and the description of that device.
struct SoundDeviceEntry {
    std::string m_strDescription;
    std::string m_strIdentifier;

    bool operator==(const SoundDeviceEntry&) const = default;
};

// Memory of a locked range of a buffer: one part, or two when the range wraps
// around the buffer's end (then the second part starts at offset 0).
struct SoundLockedRange {
    std::uint8_t* m_pFirst = nullptr;
    std::uint32_t m_nFirstBytes = 0;
    std::uint8_t* m_pSecond = nullptr;
    std::uint32_t m_nSecondBytes = 0;
};

// A static playback buffer holding a whole sound in memory.  Positions are byte
// offsets within the buffer (0 .. size - 1), kept on whole frames.  Use from one
// thread (the user-interface thread); the device reads it on its own.
class PlaybackBuffer {
public:
    virtual ~PlaybackBuffer() = default;

    // Range of bytes to write: offset < size, 0 < bytes <= size; wraps into two parts.
    virtual HResult Lock(std::uint32_t nOffset, std::uint32_t nBytes, SoundLockedRange& range) = 0;
    virtual HResult Unlock(const SoundLockedRange& range) = 0;
    // Starts from the current position; looping repeats the buffer without end,
    // otherwise playback stops (and the position returns to 0) at the end.
    virtual HResult Play(bool bLooping) = 0;
    virtual HResult Stop() = 0;
    virtual HResult GetStatus(bool& bPlaying) = 0;
    virtual HResult GetCurrentPosition(std::uint32_t& nPlayBytes) = 0;
    // Moves the position (while playing, playback continues there); rounded
    // down to a whole frame; nBytes >= size is refused.
    virtual HResult SetCurrentPosition(std::uint32_t nBytes) = 0;
    // Buffers are never lost here: always succeeds.
    virtual HResult Restore() = 0;

    virtual std::uint32_t Size() const = 0;        // bytes
    virtual SoundFormat Format() const = 0;
};

// A looping capture ring buffer.  The capture position is where the device
// writes next; everything before the read position up to the last position
// read by the caller is safe to read.  Notification offsets must be set while
// the buffer is stopped.
class CaptureBuffer {
public:
    virtual ~CaptureBuffer() = default;

    // Offsets (< size, any order, at most 1024) at which the event is signalled
    // once each time capture passes them, i.e. when the byte at the offset has
    // been written.  The buffer keeps the event alive.
    virtual HResult SetNotificationPositions(const std::vector<std::uint32_t>& aOffsets,
                                             std::shared_ptr<SoundEvent> pEvent) = 0;
    // Starts capturing at the current capture position; without looping capture
    // stops when the ring's end is reached.
    virtual HResult Start(bool bLooping) = 0;
    virtual HResult Stop() = 0;
    virtual HResult GetStatus(bool& bCapturing) = 0;
    virtual HResult GetCurrentPosition(std::uint32_t& nCaptureBytes, std::uint32_t& nReadBytes) = 0;
    virtual HResult Lock(std::uint32_t nOffset, std::uint32_t nBytes, SoundLockedRange& range) = 0;
    virtual HResult Unlock(const SoundLockedRange& range) = 0;

    virtual std::uint32_t Size() const = 0;        // bytes
    virtual SoundFormat Format() const = 0;
};

// An opened output device.
class PlaybackDevice {
public:
    virtual ~PlaybackDevice() = default;

    // Kept for the order of the set-up; nothing to arrange here, always succeeds.
    virtual HResult SetCooperativeLevel(const void* pWindow, int nLevel) = 0;
    // S_OK when the device takes the format as it is, SND_E_BADFORMAT when not,
    // E_INVALIDARG for an inconsistent format.
    virtual HResult SetPrimaryFormat(const SoundFormat& format) = 0;
    // A buffer of nBytes (at least one frame) in a mono format; filled with silence.
    virtual HResult CreateStaticBuffer(std::uint32_t nBytes, const SoundFormat& format,
                                       std::unique_ptr<PlaybackBuffer>& pBuffer) = 0;
};

// An opened input device.
class CaptureDevice {
public:
    virtual ~CaptureDevice() = default;

    // A ring of nBytes (at least one frame) in a mono format; SND_E_BADFORMAT
    // when the device does not take the format.  Filled with silence.
    virtual HResult CreateCaptureBuffer(std::uint32_t nBytes, const SoundFormat& format,
                                        std::unique_ptr<CaptureBuffer>& pBuffer) = 0;
};

// A back-end: device lists and the objects of one device.  Devices and buffers
// may outlive the system object that made them.
class SoundSystem {
public:
    virtual ~SoundSystem() = default;

    virtual HResult EnumeratePlaybackDevices(std::vector<SoundDeviceEntry>& aDevices) = 0;
    virtual HResult EnumerateCaptureDevices(std::vector<SoundDeviceEntry>& aDevices) = 0;
    // Empty identifier = the system's default device; an unknown one gives SND_E_NODRIVER.
    virtual HResult CreatePlaybackDevice(const std::string& strIdentifier, std::unique_ptr<PlaybackDevice>& pDevice) = 0;
    virtual HResult CreateCaptureDevice(const std::string& strIdentifier, std::unique_ptr<CaptureDevice>& pDevice) = 0;
};
