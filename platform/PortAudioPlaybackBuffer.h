// A static playback buffer played by a PortAudio output stream whose callback
// reads the sound at the buffer's atomic cursor.  The stream is opened with the
// buffer and closed with it.
#pragma once

#include "SoundDevice.h"
#include "SoundPlaybackStore.h"

#include <portaudio.h>

#include <memory>

class PortAudioSession;

class PortAudioPlaybackBuffer : public PlaybackBuffer {
public:
    // The stream is opened in the buffer's own format and rate, as mono and
    // else as stereo; a device that refuses the rate gets float samples at its
    // default rate, resampled linearly here.  E_FAIL when no stream opens.
    static HResult Create(std::shared_ptr<PortAudioSession> pSession, PaDeviceIndex nDevice, std::uint32_t nBytes,
                          const SoundFormat& format, std::unique_ptr<PlaybackBuffer>& pBuffer);
    ~PortAudioPlaybackBuffer() override;

    HResult Lock(std::uint32_t nOffset, std::uint32_t nBytes, SoundLockedRange& range) override;
    HResult Unlock(const SoundLockedRange& range) override;
    HResult Play(bool bLooping) override;
    HResult Stop() override;
    HResult GetStatus(bool& bPlaying) override;
    HResult GetCurrentPosition(std::uint32_t& nPlayBytes) override;
    HResult SetCurrentPosition(std::uint32_t nBytes) override;
    HResult Restore() override;
    std::uint32_t Size() const override;
    SoundFormat Format() const override;

private:
    PortAudioPlaybackBuffer(std::shared_ptr<PortAudioSession> pSession, std::uint32_t nBytes, const SoundFormat& format);
    bool Open(PaDeviceIndex nDevice);
    static int Callback(const void* pInput, void* pOutput, unsigned long nFrames, const PaStreamCallbackTimeInfo* pTime,
                        PaStreamCallbackFlags flags, void* pUser);

    std::shared_ptr<PortAudioSession> m_pSession;
    SoundPlaybackStore m_store;
    PaStream* m_pStream = nullptr;
    int m_nChannels = 1;            // channels of the stream (the sound on each)
    bool m_bResampling = false;     // float stream at the device's rate
    double m_dStep = 1.0;           // buffer frames per device frame when resampling
    bool m_bStreamRunning = false;  // started and not yet stopped
};
