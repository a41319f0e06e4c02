#include "SoundPlaybackStore.h"

#include "SoundBufferLock.h"

#include <algorithm>
#include <cstring>

SoundPlaybackStore::SoundPlaybackStore(std::uint32_t nBytes, const SoundFormat& format)
    : m_aData(nBytes, format.m_nBitsPerSample == 8 ? std::uint8_t{128} : std::uint8_t{0}),
      m_format(format),
      m_nFrames(nBytes / format.m_nBlockAlign),
      m_nSilence(format.m_nBitsPerSample == 8 ? std::uint8_t{128} : std::uint8_t{0})
{
}

HResult SoundPlaybackStore::Lock(std::uint32_t nOffset, std::uint32_t nBytes, SoundLockedRange& range)
{
    return LockSoundBuffer(m_aData, nOffset, nBytes, range);
}

HResult SoundPlaybackStore::Unlock(const SoundLockedRange& range) const
{
    return UnlockSoundBuffer(m_aData, range);
}

void SoundPlaybackStore::Play(bool bLooping)
{
    m_bLooping.store(bLooping, std::memory_order_relaxed);
    m_bPlaying.store(true, std::memory_order_release);
}

void SoundPlaybackStore::Stop()
{
    m_bPlaying.store(false, std::memory_order_release);
}

HResult SoundPlaybackStore::SetPosition(std::uint32_t nBytes)
{
    if (nBytes >= Size())
        return E_INVALIDARG;
    const std::uint32_t frame = std::min(nBytes / m_format.m_nBlockAlign, m_nFrames - 1);
    m_nCursor.store(frame * m_format.m_nBlockAlign, std::memory_order_release);
    return S_OK;
}

std::uint32_t SoundPlaybackStore::Advance(std::uint32_t nOld, std::uint32_t nNew, bool bEnded)
{
    std::uint32_t expected = nOld;
    const bool moved = !m_nCursor.compare_exchange_strong(expected, nNew, std::memory_order_acq_rel);
    // A sound that ran out stops, unless the control side has just moved the
    // cursor: then it goes on from there.
    if (bEnded && !moved)
        m_bPlaying.store(false, std::memory_order_release);
    return moved ? expected : nNew;
}

std::uint32_t SoundPlaybackStore::Render(std::uint8_t* pOut, std::uint32_t nFrames, int nChannels)
{
    const std::uint32_t align = m_format.m_nBlockAlign;
    const std::uint32_t start = m_nCursor.load(std::memory_order_acquire);
    const bool looping = m_bLooping.load(std::memory_order_relaxed);
    std::uint32_t frame = start / align;
    std::uint32_t done = 0;
    bool ended = false;
    if (m_bPlaying.load(std::memory_order_acquire)) {
        while (done < nFrames && !ended) {
            const std::uint32_t n = std::min(nFrames - done, m_nFrames - frame);
            const std::uint8_t* src = m_aData.data() + std::size_t{frame} * align;
            std::uint8_t* dst = pOut + std::size_t{done} * align * nChannels;
            if (nChannels == 1) {
                std::memcpy(dst, src, std::size_t{n} * align);
            } else {
                for (std::uint32_t i = 0; i < n; ++i)
                    for (int c = 0; c < nChannels; ++c)
                        std::memcpy(dst + (std::size_t{i} * nChannels + c) * align, src + std::size_t{i} * align, align);
            }
            done += n;
            frame += n;
            if (frame == m_nFrames) {
                frame = 0;
                ended = !looping;
            }
        }
        Advance(start, frame * align, ended);
    }
    std::memset(pOut + std::size_t{done} * align * nChannels, m_nSilence, std::size_t{nFrames - done} * align * nChannels);
    return done;
}

float SoundPlaybackStore::SampleAt(std::uint32_t nFrame) const
{
    if (m_format.m_nBitsPerSample == 8)
        return (static_cast<float>(m_aData[nFrame]) - 128.0f) / 128.0f;
    std::int16_t value = 0;
    std::memcpy(&value, m_aData.data() + std::size_t{nFrame} * 2, 2);
    return static_cast<float>(value) / 32768.0f;
}

std::uint32_t SoundPlaybackStore::RenderResampled(float* pOut, std::uint32_t nFrames, int nChannels, double dStep)
{
    const std::uint32_t align = m_format.m_nBlockAlign;
    const std::uint32_t start = m_nCursor.load(std::memory_order_acquire);
    const bool looping = m_bLooping.load(std::memory_order_relaxed);
    if (start != m_nPhaseCursor)
        m_dPhase = 0.0; // the cursor was moved: start exactly on its frame
    std::uint32_t frame = start / align;
    std::uint32_t done = 0;
    bool ended = false;
    if (m_bPlaying.load(std::memory_order_acquire)) {
        for (; done < nFrames && !ended; ++done) {
            const float s0 = SampleAt(frame);
            const std::uint32_t next = frame + 1;
            const float s1 = next < m_nFrames ? SampleAt(next) : (looping ? SampleAt(0) : s0);
            const float value = s0 + (s1 - s0) * static_cast<float>(m_dPhase);
            for (int c = 0; c < nChannels; ++c)
                pOut[std::size_t{done} * nChannels + c] = value;
            m_dPhase += dStep;
            while (m_dPhase >= 1.0 && !ended) {
                m_dPhase -= 1.0;
                if (++frame == m_nFrames) {
                    frame = 0;
                    ended = !looping;
                }
            }
        }
        const std::uint32_t now = Advance(start, frame * align, ended);
        if (ended || now != frame * align)
            m_dPhase = 0.0; // a fresh start, or the cursor was moved meanwhile
        m_nPhaseCursor = now;
    }
    std::fill(pOut + std::size_t{done} * nChannels, pOut + std::size_t{nFrames} * nChannels, 0.0f);
    return done;
}
