#include "ProgramFlags.h"

std::atomic<bool> g_bWaveLoaded{false};
std::atomic<bool> g_bPlaying{false};
std::atomic<bool> g_bLoop{false};
std::atomic<bool> g_bListening{false};
std::atomic<bool> g_bRecording{false};
std::atomic<bool> g_bConverted{false};
std::atomic<bool> g_bSelectionChanged{false};
std::atomic<bool> g_bAbort{false};
std::atomic<bool> g_bComputing{false};

void ResetProgramFlags()
{
    for (auto* flag : {&g_bWaveLoaded, &g_bPlaying, &g_bLoop, &g_bListening, &g_bRecording,
                       &g_bConverted, &g_bSelectionChanged, &g_bAbort, &g_bComputing})
        flag->store(false);
}
