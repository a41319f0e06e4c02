// The opened sound devices of the program: the output device with the best
// output format it accepts, the input device, and the playback manager that
// makes playback objects on the output.  Rebuilt at start-up and after the
// user chose other devices.  User-interface thread only.
#pragma once

#include "PlaybackManager.h"
#include "SoundDevice.h"
#include "SoundFormats.h"

#include <QString>

#include <array>
#include <memory>
#include <string>

class CSoundInterfaces {
public:
    explicit CSoundInterfaces(SoundSystem& system) : m_system(system) {}

    // 0 = every device ready, 1 = failure (a message has been shown).
    // bQuiet: no message (the caller reports the failure itself).
    int InitDirectSoundInterfaces(bool bQuiet = false);
    void ReleaseDirectSoundInterfaces();
    // 0 = the output takes the format, 1 = not, CO_E_NOTINITIALIZED without an output.
    HResult SetPrimaryBufferFormat(int nChannels, std::uint32_t nRateHz, int nBits);
    // For each of the 20 formats: whether the input device takes it.
    std::array<bool, kSoundFormatCount> ScanAvailableInputFormats();

    SoundSystem& System() { return m_system; }

    std::string m_strPlaybackGuid;                        // identifier of the output ("" = default)
    std::string m_strCaptureGuid;                         // identifier of the input ("" = default)
    std::shared_ptr<PlaybackDevice> m_pDirectSound;       // the opened output, or null
    std::shared_ptr<CaptureDevice> m_pDirectSoundCapture; // the opened input, or null
    std::unique_ptr<CPlaybackManager> m_pSoundManager;    // makes playback objects, or null
    int m_nPrimaryFormat = -1;                            // index 0 .. 19 of the output format, -1 none
    QString m_strLastFailure;                             // message of the last failed set-up, else empty

private:
    SoundSystem& m_system;
};
