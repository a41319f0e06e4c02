// Maker of the simulated playback object: reads the wave file's header the way
// the device's maker does (no data -> E_FAIL) and makes a CSimulatedPlaySound.
#pragma once

#include "PlaySound.h"

class CSimulatedPlaySoundMaker : public CPlaySoundMaker {
public:
    HResult Create(const QString& strPath, std::unique_ptr<CPlaySound>& out) override;
};
