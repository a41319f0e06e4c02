// A capture ring buffer filled by a PortAudio input stream: the callback copies
// each block into the ring and signals the notification offsets it passes.  The
// stream is opened by Start and closed by Stop, so a buffer made only to test a
// format never opens the device.
#pragma once

#include "SoundCaptureRing.h"
#include "SoundDevice.h"

#include <portaudio.h>

#include <memory>

class PortAudioSession;

class PortAudioCaptureBuffer : public CaptureBuffer {
public:
    // SND_E_BADFORMAT when the device takes the format's rate and width neither
    // as mono nor as stereo (of which the first channel is kept).
    static HResult Create(std::shared_ptr<PortAudioSession> pSession, PaDeviceIndex nDevice, std::uint32_t nBytes,
                          const SoundFormat& format, std::unique_ptr<CaptureBuffer>& pBuffer);
    ~PortAudioCaptureBuffer() override;

    HResult SetNotificationPositions(const std::vector<std::uint32_t>& aOffsets,
                                     std::shared_ptr<SoundEvent> pEvent) override;
    HResult Start(bool bLooping) override;
    HResult Stop() override;
    HResult GetStatus(bool& bCapturing) override;
    HResult GetCurrentPosition(std::uint32_t& nCaptureBytes, std::uint32_t& nReadBytes) override;
    HResult Lock(std::uint32_t nOffset, std::uint32_t nBytes, SoundLockedRange& range) override;
    HResult Unlock(const SoundLockedRange& range) override;
    std::uint32_t Size() const override;
    SoundFormat Format() const override;

private:
    PortAudioCaptureBuffer(std::shared_ptr<PortAudioSession> pSession, PaDeviceIndex nDevice, int nChannels,
                           std::uint32_t nBytes, const SoundFormat& format);
    void CloseStream(); // caller holds the API lock
    static int Callback(const void* pInput, void* pOutput, unsigned long nFrames, const PaStreamCallbackTimeInfo* pTime,
                        PaStreamCallbackFlags flags, void* pUser);

    std::shared_ptr<PortAudioSession> m_pSession;
    SoundCaptureRing m_ring;
    PaDeviceIndex m_nDevice;
    int m_nChannels;               // channels of the stream; only the first is kept
    PaStream* m_pStream = nullptr; // open while capturing
};
