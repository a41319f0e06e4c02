#include "SystemCheck.h"

#include "TonaroApp.h"
#include "TonaroAudio.h"

#include <QGuiApplication>
#include <QOffscreenSurface>
#include <QOpenGLContext>

namespace SystemCheck {

// Opens the sound devices of the running application; the failure is
// reported by the caller together with what it means for the user.
QString SoundProblem()
{
    CTonaroApp* pApp = TheApp();
    if (!pApp || !pApp->m_pSoundManager)
        return QStringLiteral("Die Soundschnittstelle konnte nicht initialisiert werden.");
    CSoundInterfaces& interfaces = pApp->m_pSoundManager->Interfaces();
    if (pApp->m_pSoundManager->InitDirectSoundInterfaces(true) == 0)
        return {};
    return interfaces.m_strLastFailure;
}

QString OpenGLProblem()
{
    if (!QGuiApplication::instance())
        return QStringLiteral("Kein OpenGL verfügbar.");
    QOpenGLContext context;
    if (!context.create())
        return QStringLiteral("Es konnte kein OpenGL-Kontext erzeugt werden.");
    QOffscreenSurface surface;
    surface.setFormat(context.format());
    surface.create();
    if (!surface.isValid() || !context.makeCurrent(&surface))
        return QStringLiteral("Der OpenGL-Kontext konnte nicht aktiviert werden.");
    context.doneCurrent();
    return {};
}

} // namespace SystemCheck
