// Folders the program uses at run time: the program folder (profiles, the
// recording, converted files), the temporary folder and the folder of the
// files shipped with the program.
#pragma once

#include <QString>

namespace ProgramPaths {

// The program folder without a trailing slash: $TONARO_HOME when set, else
// $XDG_DATA_HOME/Tonaro (~/.local/share/Tonaro).  Created when missing.
QString ProgramFolder();

// The program folder followed by name ("Profile/x.ini", "Aufnahme.wav").
// Backslashes in name are taken as folder separators.
QString InProgramFolder(const QString& name);

// Folder for temporary files ("~TempWave.wav", "~TempWaveMono.wav").
QString TempFolder();

// Folder of the shipped files (profiles, help, samples): <exe dir>/share/tonaro
// when it exists, else the installed share folder.  Empty when neither exists.
QString ShippedFolder();

// Copies the shipped profiles and help pages into the program folder.  Files
// that are already there are kept, so a user's edits survive an update.
void SeedProgramFolder();

// Turns backslashes into slashes, so paths stored by older profiles work.
QString NormalisedPath(const QString& path);

} // namespace ProgramPaths
