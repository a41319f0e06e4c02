// Start-up checks of what the program needs from the machine: a sound device
// layer with an output and an input device, and an OpenGL context for the 3D
// windows.  Each answers with an empty text or a German description of what is missing.
#pragma once

#include <QString>

namespace SystemCheck {

QString SoundProblem();
QString OpenGLProblem();

} // namespace SystemCheck
