#include "SystemCheck.h"

#include <QGuiApplication>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <portaudio.h>

namespace SystemCheck {

QString SoundProblem()
{
    if (Pa_Initialize() != paNoError)
        return QStringLiteral("Die Soundschnittstelle konnte nicht initialisiert werden.");
    QString problem;
    const bool output = Pa_GetDefaultOutputDevice() != paNoDevice;
    const bool input = Pa_GetDefaultInputDevice() != paNoDevice;
    if (!output && !input)
        problem = QStringLiteral("Es wurde kein Wiedergabegerät und kein Aufnahmegerät gefunden.");
    else if (!output)
        problem = QStringLiteral("Es wurde kein Wiedergabegerät gefunden.");
    else if (!input)
        problem = QStringLiteral("Es wurde kein Aufnahmegerät (Mikrofon) gefunden.");
    Pa_Terminate();
    return problem;
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
