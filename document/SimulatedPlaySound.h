// Playback object used while no sound device is installed: it knows the size
// of the played data and keeps a position, but never plays (Play fails), so
// a sound loads and nothing claims to be heard.
#pragma once

#include "PlaySound.h"

class CSimulatedPlaySound : public CPlaySound {
public:
    explicit CSimulatedPlaySound(std::uint32_t nDataSize) : m_nDataSize(nDataSize) {}

    HResult Play(bool bLoop) override;
    void Stop() override {}
    void Reset() override { m_nPosition = 0; }
    bool IsPlaying() const override { return false; }
    std::uint32_t GetPosition() const override { return m_nPosition; }
    void SetPosition(std::uint32_t nBytes) override;

    std::uint32_t DataSize() const { return m_nDataSize; }

private:
    std::uint32_t m_nDataSize = 0;   // bytes of sample data of the played file
    std::uint32_t m_nPosition = 0;   // bytes, 0 .. m_nDataSize
};
