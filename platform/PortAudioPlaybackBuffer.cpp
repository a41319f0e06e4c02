#include "PortAudioPlaybackBuffer.h"

#include "PortAudioSession.h"
#include "PortAudioStreamSetup.h"

#include <new>

HResult PortAudioPlaybackBuffer::Create(std::shared_ptr<PortAudioSession> pSession, PaDeviceIndex nDevice,
                                        std::uint32_t nBytes, const SoundFormat& format,
                                        std::unique_ptr<PlaybackBuffer>& pBuffer)
{
    pBuffer.reset();
    std::unique_ptr<PortAudioPlaybackBuffer> buffer;
    try {
        buffer.reset(new PortAudioPlaybackBuffer(std::move(pSession), nBytes, format));
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
    if (!buffer->Open(nDevice))
        return E_FAIL;
    pBuffer = std::move(buffer);
    return S_OK;
}

PortAudioPlaybackBuffer::PortAudioPlaybackBuffer(std::shared_ptr<PortAudioSession> pSession, std::uint32_t nBytes,
                                                 const SoundFormat& format)
    : m_pSession(std::move(pSession)), m_store(nBytes, format)
{
}

PortAudioPlaybackBuffer::~PortAudioPlaybackBuffer()
{
    if (!m_pStream)
        return;
    std::lock_guard lock(PortAudioSession::ApiMutex());
    if (m_bStreamRunning)
        Pa_AbortStream(m_pStream);
    Pa_CloseStream(m_pStream);
}

bool PortAudioPlaybackBuffer::Open(PaDeviceIndex nDevice)
{
    std::lock_guard lock(PortAudioSession::ApiMutex());
    const PaDeviceInfo* info = Pa_GetDeviceInfo(nDevice);
    if (!info || info->maxOutputChannels < 1)
        return false;
    const double rate = m_store.Format().m_nSamplesPerSec;
    const PaSampleFormat native = PortAudioSampleFormat(m_store.Format().m_nBitsPerSample);
    struct Attempt {
        bool m_bResample;
        int m_nChannels;
    };
    for (Attempt attempt : {Attempt{false, 1}, Attempt{false, 2}, Attempt{true, 1}, Attempt{true, 2}}) {
        if (attempt.m_nChannels > info->maxOutputChannels)
            continue;
        const double deviceRate = attempt.m_bResample ? info->defaultSampleRate : rate;
        if (deviceRate <= 0.0)
            continue;
        const PaStreamParameters out = PortAudioStreamParameters(
            nDevice, false, attempt.m_nChannels, attempt.m_bResample ? paFloat32 : native);
        m_nChannels = attempt.m_nChannels;
        m_bResampling = attempt.m_bResample;
        m_dStep = rate / deviceRate;
        if (Pa_OpenStream(&m_pStream, nullptr, &out, deviceRate, paFramesPerBufferUnspecified, paNoFlag, Callback,
                          this) == paNoError)
            return true;
        m_pStream = nullptr;
    }
    return false;
}

int PortAudioPlaybackBuffer::Callback(const void*, void* pOutput, unsigned long nFrames,
                                      const PaStreamCallbackTimeInfo*, PaStreamCallbackFlags, void* pUser)
{
    auto* self = static_cast<PortAudioPlaybackBuffer*>(pUser);
    const auto frames = static_cast<std::uint32_t>(nFrames);
    if (self->m_bResampling)
        self->m_store.RenderResampled(static_cast<float*>(pOutput), frames, self->m_nChannels, self->m_dStep);
    else
        self->m_store.Render(static_cast<std::uint8_t*>(pOutput), frames, self->m_nChannels);
    // The stream runs on after the end (with silence) until Stop, so that a
    // new Play needs no restart.
    return paContinue;
}

HResult PortAudioPlaybackBuffer::Lock(std::uint32_t nOffset, std::uint32_t nBytes, SoundLockedRange& range)
{
    return m_store.Lock(nOffset, nBytes, range);
}

HResult PortAudioPlaybackBuffer::Unlock(const SoundLockedRange& range)
{
    return m_store.Unlock(range);
}

HResult PortAudioPlaybackBuffer::Play(bool bLooping)
{
    m_store.Play(bLooping);
    if (m_bStreamRunning)
        return S_OK;
    std::lock_guard lock(PortAudioSession::ApiMutex());
    if (Pa_StartStream(m_pStream) != paNoError) {
        m_store.Stop();
        return E_FAIL;
    }
    m_bStreamRunning = true;
    return S_OK;
}

HResult PortAudioPlaybackBuffer::Stop()
{
    m_store.Stop();
    if (!m_bStreamRunning)
        return S_OK;
    std::lock_guard lock(PortAudioSession::ApiMutex());
    m_bStreamRunning = false;
    return Pa_AbortStream(m_pStream) == paNoError ? S_OK : E_FAIL;
}

HResult PortAudioPlaybackBuffer::GetStatus(bool& bPlaying)
{
    bPlaying = m_store.IsPlaying();
    return S_OK;
}

HResult PortAudioPlaybackBuffer::GetCurrentPosition(std::uint32_t& nPlayBytes)
{
    nPlayBytes = m_store.Position();
    return S_OK;
}

HResult PortAudioPlaybackBuffer::SetCurrentPosition(std::uint32_t nBytes)
{
    return m_store.SetPosition(nBytes);
}

HResult PortAudioPlaybackBuffer::Restore()
{
    return S_OK;
}

std::uint32_t PortAudioPlaybackBuffer::Size() const
{
    return m_store.Size();
}

SoundFormat PortAudioPlaybackBuffer::Format() const
{
    return m_store.Format();
}
