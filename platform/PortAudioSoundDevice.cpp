#include "PortAudioSoundDevice.h"

#include "PortAudioCaptureBuffer.h"
#include "PortAudioPlaybackBuffer.h"
#include "PortAudioSession.h"
#include "PortAudioStreamSetup.h"

#include <portaudio.h>

#include <map>
#include <mutex>
#include <utility>

namespace {

struct ListedDevice {
    SoundDeviceEntry m_entry;
    PaDeviceIndex m_nIndex = paNoDevice;
};

// The devices of one direction, default entry first.  A name that occurs twice
// in one host API gets " #2", " #3", ... so that identifiers stay distinct.
// Caller holds the API lock.
std::vector<ListedDevice> ListDevices(bool bInput)
{
    std::vector<ListedDevice> list;
    const PaDeviceIndex defaultIndex = bInput ? Pa_GetDefaultInputDevice() : Pa_GetDefaultOutputDevice();
    if (const PaDeviceInfo* info = defaultIndex == paNoDevice ? nullptr : Pa_GetDeviceInfo(defaultIndex))
        list.push_back({{info->name ? info->name : "", ""}, defaultIndex});
    std::map<std::string, int> seen;
    const PaDeviceIndex count = Pa_GetDeviceCount();
    for (PaDeviceIndex i = 0; i < count; ++i) {
        const PaDeviceInfo* info = Pa_GetDeviceInfo(i);
        if (!info || (bInput ? info->maxInputChannels : info->maxOutputChannels) < 1)
            continue;
        const PaHostApiInfo* host = Pa_GetHostApiInfo(info->hostApi);
        const std::string name = info->name ? info->name : "";
        std::string identifier = std::string(host && host->name ? host->name : "") + "/" + name;
        const int occurrence = ++seen[identifier];
        if (occurrence > 1)
            identifier += " #" + std::to_string(occurrence);
        list.push_back({{name, identifier}, i});
    }
    return list;
}

HResult Enumerate(const std::shared_ptr<PortAudioSession>& pSession, bool bInput, std::vector<SoundDeviceEntry>& aDevices)
{
    aDevices.clear();
    if (!pSession)
        return E_FAIL;
    std::lock_guard lock(PortAudioSession::ApiMutex());
    for (ListedDevice& device : ListDevices(bInput))
        aDevices.push_back(std::move(device.m_entry));
    return S_OK;
}

PaDeviceIndex FindDevice(bool bInput, const std::string& strIdentifier)
{
    std::lock_guard lock(PortAudioSession::ApiMutex());
    for (const ListedDevice& device : ListDevices(bInput))
        if (device.m_entry.m_strIdentifier == strIdentifier)
            return device.m_nIndex;
    return paNoDevice;
}

bool IsValidBuffer(std::uint32_t nBytes, const SoundFormat& format)
{
    return format.IsBufferFormat() && nBytes >= format.m_nBlockAlign && nBytes <= kMaxSoundBufferBytes;
}

class PortAudioPlaybackDevice : public PlaybackDevice {
public:
    PortAudioPlaybackDevice(std::shared_ptr<PortAudioSession> pSession, PaDeviceIndex nDevice)
        : m_pSession(std::move(pSession)), m_nDevice(nDevice)
    {
    }

    HResult SetCooperativeLevel(const void*, int) override { return S_OK; }

    HResult SetPrimaryFormat(const SoundFormat& format) override
    {
        if (!format.IsConsistent())
            return E_INVALIDARG;
        std::lock_guard lock(PortAudioSession::ApiMutex());
        return PortAudioFormatSupported(m_nDevice, false, format.m_nChannels,
                                        PortAudioSampleFormat(format.m_nBitsPerSample), format.m_nSamplesPerSec)
            ? S_OK
            : SND_E_BADFORMAT;
    }

    HResult CreateStaticBuffer(std::uint32_t nBytes, const SoundFormat& format,
                               std::unique_ptr<PlaybackBuffer>& pBuffer) override
    {
        pBuffer.reset();
        if (!IsValidBuffer(nBytes, format))
            return E_INVALIDARG;
        return PortAudioPlaybackBuffer::Create(m_pSession, m_nDevice, nBytes, format, pBuffer);
    }

private:
    std::shared_ptr<PortAudioSession> m_pSession;
    PaDeviceIndex m_nDevice;
};

class PortAudioCaptureDevice : public CaptureDevice {
public:
    PortAudioCaptureDevice(std::shared_ptr<PortAudioSession> pSession, PaDeviceIndex nDevice)
        : m_pSession(std::move(pSession)), m_nDevice(nDevice)
    {
    }

    HResult CreateCaptureBuffer(std::uint32_t nBytes, const SoundFormat& format,
                                std::unique_ptr<CaptureBuffer>& pBuffer) override
    {
        pBuffer.reset();
        if (!IsValidBuffer(nBytes, format) || nBytes % format.m_nBlockAlign != 0)
            return E_INVALIDARG;
        return PortAudioCaptureBuffer::Create(m_pSession, m_nDevice, nBytes, format, pBuffer);
    }

private:
    std::shared_ptr<PortAudioSession> m_pSession;
    PaDeviceIndex m_nDevice;
};

} // namespace

PortAudioSoundSystem::PortAudioSoundSystem() : m_pSession(PortAudioSession::Acquire())
{
}

PortAudioSoundSystem::~PortAudioSoundSystem() = default;

HResult PortAudioSoundSystem::EnumeratePlaybackDevices(std::vector<SoundDeviceEntry>& aDevices)
{
    return Enumerate(m_pSession, false, aDevices);
}

HResult PortAudioSoundSystem::EnumerateCaptureDevices(std::vector<SoundDeviceEntry>& aDevices)
{
    return Enumerate(m_pSession, true, aDevices);
}

HResult PortAudioSoundSystem::CreatePlaybackDevice(const std::string& strIdentifier,
                                                   std::unique_ptr<PlaybackDevice>& pDevice)
{
    pDevice.reset();
    if (!m_pSession)
        return E_FAIL;
    const PaDeviceIndex index = FindDevice(false, strIdentifier);
    if (index == paNoDevice)
        return SND_E_NODRIVER;
    pDevice = std::make_unique<PortAudioPlaybackDevice>(m_pSession, index);
    return S_OK;
}

HResult PortAudioSoundSystem::CreateCaptureDevice(const std::string& strIdentifier,
                                                  std::unique_ptr<CaptureDevice>& pDevice)
{
    pDevice.reset();
    if (!m_pSession)
        return E_FAIL;
    const PaDeviceIndex index = FindDevice(true, strIdentifier);
    if (index == paNoDevice)
        return SND_E_NODRIVER;
    pDevice = std::make_unique<PortAudioCaptureDevice>(m_pSession, index);
    return S_OK;
}
