// The two dialogs of the sound set-up, behind an interface so tests can answer
// them: the sound card dialog (130, "Soundkarteneinstellungen") and the wave
// format dialog (131, "Waveformat").
#pragma once

#include <QStringList>

struct SoundCardAnswer {
    bool m_bOk = false;      // false: "Abbrechen"
    int m_nCapture = 0;      // index in the capture list
    int m_nPlayback = 0;     // index in the playback list
};

class CSoundDialogs {
public:
    virtual ~CSoundDialogs() = default;
    // Lists of device descriptions, the first item of each selected at first.
    virtual SoundCardAnswer SoundCardDialog(const QStringList& aCapture, const QStringList& aPlayback) = 0;
    // The lines of the available formats; the chosen line's index, or -1 when cancelled.
    virtual int WaveFormatDialog(const QStringList& aLines) = 0;
};
