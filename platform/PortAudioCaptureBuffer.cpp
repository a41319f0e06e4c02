#include "PortAudioCaptureBuffer.h"

#include "PortAudioSession.h"
#include "PortAudioStreamSetup.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace {

constexpr std::uint32_t kScratchBytes = 1024; // first-channel bytes copied per step from a stereo block

} // namespace

HResult PortAudioCaptureBuffer::Create(std::shared_ptr<PortAudioSession> pSession, PaDeviceIndex nDevice,
                                       std::uint32_t nBytes, const SoundFormat& format,
                                       std::unique_ptr<CaptureBuffer>& pBuffer)
{
    pBuffer.reset();
    int channels = 0;
    {
        std::lock_guard lock(PortAudioSession::ApiMutex());
        const PaSampleFormat sampleFormat = PortAudioSampleFormat(format.m_nBitsPerSample);
        for (int candidate : {1, 2}) {
            if (PortAudioFormatSupported(nDevice, true, candidate, sampleFormat, format.m_nSamplesPerSec)) {
                channels = candidate;
                break;
            }
        }
    }
    if (channels == 0)
        return SND_E_BADFORMAT;
    try {
        pBuffer.reset(new PortAudioCaptureBuffer(std::move(pSession), nDevice, channels, nBytes, format));
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
    return S_OK;
}

PortAudioCaptureBuffer::PortAudioCaptureBuffer(std::shared_ptr<PortAudioSession> pSession, PaDeviceIndex nDevice,
                                               int nChannels, std::uint32_t nBytes, const SoundFormat& format)
    : m_pSession(std::move(pSession)), m_ring(nBytes, format), m_nDevice(nDevice), m_nChannels(nChannels)
{
}

PortAudioCaptureBuffer::~PortAudioCaptureBuffer()
{
    m_ring.Stop();
    std::lock_guard lock(PortAudioSession::ApiMutex());
    CloseStream();
}

void PortAudioCaptureBuffer::CloseStream()
{
    if (!m_pStream)
        return;
    Pa_AbortStream(m_pStream);
    Pa_CloseStream(m_pStream);
    m_pStream = nullptr;
}

int PortAudioCaptureBuffer::Callback(const void* pInput, void*, unsigned long nFrames,
                                     const PaStreamCallbackTimeInfo*, PaStreamCallbackFlags, void* pUser)
{
    auto* self = static_cast<PortAudioCaptureBuffer*>(pUser);
    if (!pInput)
        return paContinue;
    const auto* input = static_cast<const std::uint8_t*>(pInput);
    const std::uint32_t sampleBytes = self->m_ring.Format().m_nBlockAlign;
    const auto frames = static_cast<std::uint32_t>(nFrames);
    if (self->m_nChannels == 1) {
        self->m_ring.Write(input, frames * sampleBytes);
        return paContinue;
    }
    // Keep the first channel of each frame, a scratch block at a time.
    std::uint8_t scratch[kScratchBytes];
    const std::uint32_t stride = sampleBytes * static_cast<std::uint32_t>(self->m_nChannels);
    const std::uint32_t perStep = kScratchBytes / sampleBytes;
    for (std::uint32_t done = 0; done < frames;) {
        const std::uint32_t n = std::min(perStep, frames - done);
        for (std::uint32_t i = 0; i < n; ++i)
            std::memcpy(scratch + i * sampleBytes, input + (done + i) * stride, sampleBytes);
        self->m_ring.Write(scratch, n * sampleBytes);
        done += n;
    }
    return paContinue;
}

HResult PortAudioCaptureBuffer::SetNotificationPositions(const std::vector<std::uint32_t>& aOffsets,
                                                         std::shared_ptr<SoundEvent> pEvent)
{
    return m_ring.SetNotificationPositions(aOffsets, std::move(pEvent));
}

HResult PortAudioCaptureBuffer::Start(bool bLooping)
{
    if (m_ring.IsCapturing())
        return S_OK;
    std::lock_guard lock(PortAudioSession::ApiMutex());
    CloseStream(); // left open when a capture without looping filled the ring
    const PaStreamParameters in = PortAudioStreamParameters(
        m_nDevice, true, m_nChannels, PortAudioSampleFormat(m_ring.Format().m_nBitsPerSample));
    if (Pa_OpenStream(&m_pStream, &in, nullptr, m_ring.Format().m_nSamplesPerSec, paFramesPerBufferUnspecified,
                      paNoFlag, Callback, this) != paNoError) {
        m_pStream = nullptr;
        return E_FAIL;
    }
    m_ring.Start(bLooping);
    if (Pa_StartStream(m_pStream) != paNoError) {
        m_ring.Stop();
        CloseStream();
        return E_FAIL;
    }
    return S_OK;
}

HResult PortAudioCaptureBuffer::Stop()
{
    m_ring.Stop();
    std::lock_guard lock(PortAudioSession::ApiMutex());
    CloseStream();
    return S_OK;
}

HResult PortAudioCaptureBuffer::GetStatus(bool& bCapturing)
{
    bCapturing = m_ring.IsCapturing();
    return S_OK;
}

HResult PortAudioCaptureBuffer::GetCurrentPosition(std::uint32_t& nCaptureBytes, std::uint32_t& nReadBytes)
{
    m_ring.GetPositions(nCaptureBytes, nReadBytes);
    return S_OK;
}

HResult PortAudioCaptureBuffer::Lock(std::uint32_t nOffset, std::uint32_t nBytes, SoundLockedRange& range)
{
    return m_ring.Lock(nOffset, nBytes, range);
}

HResult PortAudioCaptureBuffer::Unlock(const SoundLockedRange& range)
{
    return m_ring.Unlock(range);
}

std::uint32_t PortAudioCaptureBuffer::Size() const
{
    return m_ring.Size();
}

SoundFormat PortAudioCaptureBuffer::Format() const
{
    return m_ring.Format();
}
