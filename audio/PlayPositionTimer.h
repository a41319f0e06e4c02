// Follows the play position while the sound plays: every 60 ms it reads the
// first buffer's position, hands it to the document, and notices the end of
// playback (positions back to 0, g_bPlaying cleared, hint 50).
#pragma once

#include <QTimer>

class CTonaroDoc;

class CPlayPositionTimer {
public:
    static constexpr int kPeriodMs = 60;

    explicit CPlayPositionTimer(CTonaroDoc& doc);

    void Start();
    void Stop();
    bool IsActive() const { return m_timer.isActive(); }
    // One tick (what the timer runs; tests call it directly).
    void Tick();

private:
    CTonaroDoc& m_doc;
    QTimer m_timer;
};
