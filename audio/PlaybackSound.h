// The playback object of one loaded sound: static device buffers holding the
// whole data chunk of the played wave file, filled once from that file, which
// stays open for refills.  User-interface thread only.
#pragma once

#include "PlaySound.h"
#include "SoundDevice.h"

#include <cstdint>
#include <memory>
#include <vector>

class CRiffWaveFile;

class CPlaybackSound : public CPlaySound {
public:
    // Takes the buffers (at least one, all of nBufferSize bytes) and the open
    // file they are filled from; fills every buffer and sets the positions to 0.
    CPlaybackSound(std::vector<std::unique_ptr<PlaybackBuffer>> aBuffers, std::uint32_t nBufferSize,
                   std::unique_ptr<CRiffWaveFile> pWaveFile);
    ~CPlaybackSound() override;

    HResult Play(bool bLoop) override;
    void Stop() override;
    void Reset() override;
    bool IsPlaying() const override;
    std::uint32_t GetPosition() const override;
    void SetPosition(std::uint32_t nBytes) override;

    // The buffer of that index, or null beyond the count.
    PlaybackBuffer* GetBuffer(std::size_t nIndex) const;
    std::size_t BufferCount() const { return m_apBuffers.size(); }
    std::uint32_t BufferSize() const { return m_dwBufferSize; }

    // Reads the file into the buffer (from its start); with bRepeatIfLarger the
    // file is read again until the buffer is full, otherwise silence fills the rest.
    HResult FillBufferWithSound(PlaybackBuffer& buffer, bool bRepeatIfLarger);

private:
    std::vector<std::unique_ptr<PlaybackBuffer>> m_apBuffers;
    std::uint32_t m_dwBufferSize = 0;              // bytes per buffer = data size of the file
    std::unique_ptr<CRiffWaveFile> m_pWaveFile;    // the played file, open for reading
};
