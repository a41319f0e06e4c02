// The memory, play cursor and state of a static playback buffer, shared by both
// sound back-ends.  The control side (one thread) starts, stops and moves the
// cursor; the device side renders frames from the cursor, looping or stopping
// at the end.  The cursor is atomic, so moving it while playing takes effect at
// the next rendered block.
#pragma once

#include "SoundDevice.h"

#include <atomic>
#include <cstdint>
#include <vector>

class SoundPlaybackStore {
public:
    // nBytes: at least one frame of the (mono) format, checked by the caller; a
    // partial frame at the end is never played.  Starts silent.  Throws
    // std::bad_alloc only.
    SoundPlaybackStore(std::uint32_t nBytes, const SoundFormat& format);

    // Control side.
    HResult Lock(std::uint32_t nOffset, std::uint32_t nBytes, SoundLockedRange& range);
    HResult Unlock(const SoundLockedRange& range) const;
    void Play(bool bLooping);
    void Stop();
    bool IsPlaying() const { return m_bPlaying.load(std::memory_order_acquire); }
    std::uint32_t Position() const { return m_nCursor.load(std::memory_order_acquire); }
    // Rounded down to a whole frame; E_INVALIDARG for nBytes >= size.
    HResult SetPosition(std::uint32_t nBytes);

    // Device side; never allocate.  Both write nFrames frames of nChannels
    // interleaved channels (the mono sound on each) and silence once the sound
    // is stopped or has ended, and return the frames taken from the sound.
    // Render: in the buffer's own sample format and rate.
    std::uint32_t Render(std::uint8_t* pOut, std::uint32_t nFrames, int nChannels);
    // RenderResampled: float samples (-1 .. 1) at a device rate, reading dStep
    // buffer frames per device frame with linear interpolation.
    std::uint32_t RenderResampled(float* pOut, std::uint32_t nFrames, int nChannels, double dStep);

    std::uint32_t Size() const { return static_cast<std::uint32_t>(m_aData.size()); }
    const SoundFormat& Format() const { return m_format; }

private:
    float SampleAt(std::uint32_t nFrame) const;
    // Stores the new cursor unless the control side moved it meanwhile; returns
    // the cursor now in force.
    std::uint32_t Advance(std::uint32_t nOld, std::uint32_t nNew, bool bEnded);

    std::vector<std::uint8_t> m_aData;
    SoundFormat m_format;
    std::uint32_t m_nFrames = 0;               // whole frames in the buffer (>= 1)
    std::uint8_t m_nSilence = 0;               // 128 for 8-bit sound, else 0
    std::atomic<std::uint32_t> m_nCursor{0};   // bytes, whole frames, < size
    std::atomic<bool> m_bPlaying{false};
    std::atomic<bool> m_bLooping{false};
    // Device side only: fraction (0 .. 1) between the cursor frame and the next
    // one, and the cursor it belongs to.
    double m_dPhase = 0.0;
    std::uint32_t m_nPhaseCursor = 0;
};
