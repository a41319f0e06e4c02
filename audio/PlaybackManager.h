// Maker of playback objects: holds the opened output device and builds a
// CPlaybackSound with static buffers from a wave file.
#pragma once

#include "PlaySound.h"
#include "SoundDevice.h"

#include <memory>

class CPlaybackSound;

class CPlaybackManager : public CPlaySoundMaker {
public:
    explicit CPlaybackManager(std::shared_ptr<PlaybackDevice> pDevice) : m_pDevice(std::move(pDevice)) {}

    // S_OK, CO_E_NOTINITIALIZED without a device, E_INVALIDARG without a file
    // name or with no buffers, E_FAIL for a file that cannot be read or holds
    // no data, or the device's failure when the buffer cannot be made.
    HResult Create(std::unique_ptr<CPlaybackSound>& out, const QString& strPath, int nBuffers);
    // One buffer.
    HResult Create(const QString& strPath, std::unique_ptr<CPlaySound>& out) override;

private:
    std::shared_ptr<PlaybackDevice> m_pDevice;
};
