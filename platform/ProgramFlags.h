// Program-wide state flags shared by the document, the windows, the long
// computations and the capture thread.  Atomic because the capture thread
// reads them while the user-interface thread writes them.
#pragma once

#include <atomic>

extern std::atomic<bool> g_bWaveLoaded;        // a sound is loaded
extern std::atomic<bool> g_bPlaying;           // playback runs
extern std::atomic<bool> g_bLoop;              // loop playback chosen
extern std::atomic<bool> g_bListening;         // the capture thread runs
extern std::atomic<bool> g_bRecording;         // captured blocks go into the recording file
extern std::atomic<bool> g_bConverted;         // the sound came from a converted temporary file
extern std::atomic<bool> g_bSelectionChanged;  // a new selection; windows recompute their results
extern std::atomic<bool> g_bAbort;             // cancel request for long computations (Esc, "Abbruch")
extern std::atomic<bool> g_bComputing;         // sonogram or 3D landscape computes its whole picture

// Clears every flag; for tests and for a clean start.
void ResetProgramFlags();
