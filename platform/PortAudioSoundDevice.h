// The sound back-end over PortAudio (on Linux through ALSA, which reaches
// PulseAudio and PipeWire).  Devices are named "host API/device name"; the
// default entry of each list is the host's default device.
#pragma once

#include "SoundDevice.h"

#include <memory>

class PortAudioSession;

class PortAudioSoundSystem : public SoundSystem {
public:
    PortAudioSoundSystem();
    ~PortAudioSoundSystem() override;

    // False when PortAudio could not be initialised; every operation then fails with E_FAIL.
    bool IsAvailable() const { return m_pSession != nullptr; }

    HResult EnumeratePlaybackDevices(std::vector<SoundDeviceEntry>& aDevices) override;
    HResult EnumerateCaptureDevices(std::vector<SoundDeviceEntry>& aDevices) override;
    HResult CreatePlaybackDevice(const std::string& strIdentifier, std::unique_ptr<PlaybackDevice>& pDevice) override;
    HResult CreateCaptureDevice(const std::string& strIdentifier, std::unique_ptr<CaptureDevice>& pDevice) override;

private:
    std::shared_ptr<PortAudioSession> m_pSession;
};
