// A sound back-end for tests.  Devices, accepted formats and failures come from
// the test; a manual clock (Advance) moves the play cursors and fills the
// capture rings from a signal source, with the same buffer code as the real
// back-end, so positions, looping and notifications behave alike.  Advance may
// run on one thread while another uses the buffers (as a capture thread does).
#pragma once

#include "SoundDevice.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

struct SimulatedSoundState;

class SimulatedSoundSystem : public SoundSystem {
public:
    // Value (-1 .. 1) of the captured signal at dSeconds of captured sound
    // (frames captured by the buffer so far / rate).  Called inside Advance
    // with the system locked: it must not call the system back.
    using SignalSource = std::function<double(double dSeconds)>;

    // Operations whose failure a test can ask for.
    enum class Operation {
        Enumerate,
        CreatePlaybackDevice,
        CreateCaptureDevice,
        SetCooperativeLevel,
        CreateStaticBuffer,
        Play,
        CreateCaptureBuffer,
        SetNotificationPositions,
        StartCapture,
        GetCapturePosition,
        LockCapture,
    };

    // One notification signalled: the offset passed, the clock after the
    // Advance step that wrote it (ms), and the number of frames the buffer
    // had captured once the byte at the offset was written.
    struct Notification {
        std::uint32_t m_nOffset = 0;
        std::int64_t m_nTimeMs = 0;
        std::uint64_t m_nFrame = 0;
    };

    // One playback device "Simulierte Ausgabe" and one capture device
    // "Simulierter Eingang"; every consistent format accepted; silent source.
    SimulatedSoundSystem();
    ~SimulatedSoundSystem() override;

    // The first device of a list is the default device.  An empty list: no device.
    void SetPlaybackDevices(std::vector<SoundDeviceEntry> aDevices);
    void SetCaptureDevices(std::vector<SoundDeviceEntry> aDevices);
    // Formats that SetPrimaryFormat and CreateCaptureBuffer accept; nullopt = every consistent one.
    void SetPrimaryFormats(std::optional<std::vector<SoundFormat>> aFormats);
    void SetCaptureFormats(std::optional<std::vector<SoundFormat>> aFormats);
    void SetSignalSource(SignalSource source);
    // The operation fails with hr from now on (S_OK: works again).
    void SetFailure(Operation operation, HResult hr);

    // Moves the clock by nMs (>= 0): every playing buffer advances and every
    // capturing ring receives the frames that fall into that time, at its own
    // rate (frame n lies at n / rate seconds after the start of capture).
    void Advance(std::int64_t nMs);
    std::int64_t NowMs() const;

    std::vector<Notification> Notifications() const;
    // The sound bytes that playing buffers gave up, in order (silence after a
    // buffer's end is not included).
    std::vector<std::uint8_t> PlayedBytes() const;

    HResult EnumeratePlaybackDevices(std::vector<SoundDeviceEntry>& aDevices) override;
    HResult EnumerateCaptureDevices(std::vector<SoundDeviceEntry>& aDevices) override;
    HResult CreatePlaybackDevice(const std::string& strIdentifier, std::unique_ptr<PlaybackDevice>& pDevice) override;
    HResult CreateCaptureDevice(const std::string& strIdentifier, std::unique_ptr<CaptureDevice>& pDevice) override;

private:
    std::shared_ptr<SimulatedSoundState> m_pState;
};
