#include "PlayPositionTimer.h"

#include "DocView.h"
#include "ProgramFlags.h"
#include "TonaroDoc.h"

CPlayPositionTimer::CPlayPositionTimer(CTonaroDoc& doc) : m_doc(doc)
{
    m_timer.setInterval(kPeriodMs);
    QObject::connect(&m_timer, &QTimer::timeout, [this] { Tick(); });
}

void CPlayPositionTimer::Start()
{
    m_timer.start();
}

void CPlayPositionTimer::Stop()
{
    m_timer.stop();
}

void CPlayPositionTimer::Tick()
{
    if (!g_bPlaying)
        return;
    if (!m_doc.m_pPlaySound) {
        // The sound went away under the timer: nothing plays any more.
        g_bPlaying = false;
        Stop();
        return;
    }
    m_doc.OnPlayPosition(m_doc.m_pPlaySound->GetPosition());
    // OnPlayPosition may have stopped playback at the selection's end.
    if (g_bPlaying && m_doc.m_pPlaySound && !m_doc.m_pPlaySound->IsPlaying()) {
        m_doc.m_pPlaySound->Reset();
        g_bPlaying = false;
        Stop();
        m_doc.UpdateAllViews(kHintRefresh);
    }
}
