// The program's sound: the opened devices, the sound commands (play, stop,
// loop, rewind, listen, start and stop recording, wave format, sound card),
// the play-position timer and the capture thread.  It is the document's
// playback maker and audio control.  User-interface thread only.
#pragma once

#include "AudioControl.h"
#include "CaptureThread.h"
#include "PlayPositionTimer.h"
#include "PlaySound.h"
#include "SoundInterfaces.h"

#include <QObject>
#include <QString>

#include <functional>
#include <memory>
#include <string>
#include <vector>

class CSoundDialogs;
class CTonaroDoc;

class CTonaroAudio : public CAudioControl, public CPlaySoundMaker {
public:
    static constexpr int kMaxDeviceIds = 20;   // device identifiers kept for the whole run

    // Nothing is owned; all three outlive this object.  Call InitDirectSoundInterfaces next.
    CTonaroAudio(CTonaroDoc& doc, SoundSystem& system, CSoundDialogs& dialogs);
    ~CTonaroAudio() override;

    // Whether the school profile is in use (asked when listening starts).
    void SetSchoolProfileQuery(std::function<bool()> fnSchool) { m_fnSchool = std::move(fnSchool); }

    CSoundInterfaces& Interfaces() { return m_interfaces; }
    int InitDirectSoundInterfaces(bool bQuiet = false) { return m_interfaces.InitDirectSoundInterfaces(bQuiet); }

    // Commands
    void OnPlay();
    void OnStop();
    void OnRewind();
    void OnLoop();
    void OnListen();
    void StartRecording();
    void StopRecording();
    // 0 = a format was chosen, 1 = cancelled.
    int OnWaveFormat();
    // Device choice; hint 50 and new devices after OK.  Returns true when the
    // devices were taken over and opened.
    bool OnSoundCard();

    // CAudioControl
    void StopListening() override;
    void StopPlayback() override;
    bool RestartPlayback() override;
    void OnSelectionEnd() override;

    // CPlaySoundMaker: the device's maker, or (without an output device) one
    // whose sounds load but never play.
    HResult Create(const QString& strPath, std::unique_ptr<CPlaySound>& out) override;

    CPlayPositionTimer& PlayTimer() { return m_timer; }
    CCaptureThread& Capture() { return m_capture; }
    QString RecordingPath() const;
    // The device identifier table (at most 20 entries for the whole run).
    const std::vector<std::string>& DeviceIds() const { return m_aDeviceIds; }
    QString m_strPlaybackDevice = QStringLiteral("Primärer Soundtreiber");
    QString m_strCaptureDevice = QStringLiteral("Primärer Soundaufnahmetreiber");

private:
    void StartListening();
    void StartCaptureThread();
    std::uint32_t LeftMarkerBytes(bool bLowerToEven) const;
    // Table entry of a device (index), -1 for the default device or a full table.
    int DeviceIdEntry(const std::string& strIdentifier);

    CTonaroDoc& m_doc;
    CSoundDialogs& m_dialogs;
    CSoundInterfaces m_interfaces;
    CPlayPositionTimer m_timer;
    CCaptureThread m_capture;
    QObject m_receiver;                       // context of the capture hand-over on this thread
    std::function<bool()> m_fnSchool;
    std::vector<std::string> m_aDeviceIds;    // identifiers of devices listed so far
};
