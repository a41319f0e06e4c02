// The playback object of a loaded sound, and the maker that builds one from a
// wave file.  The sound layer implements both on the real device; the document
// owns the object it is given and only calls these operations.
#pragma once

#include "ResultCodes.h"

#include <QString>

#include <cstdint>
#include <memory>

class CPlaySound {
public:
    virtual ~CPlaySound() = default;

    // Starts playing from the current position, repeating the sound without
    // end when bLoop is set.  A failure code when the sound cannot be started.
    virtual HResult Play(bool bLoop) = 0;
    // Stops where the sound stands.
    virtual void Stop() = 0;
    // Moves the play position back to the start.
    virtual void Reset() = 0;
    virtual bool IsPlaying() const = 0;
    // Play position in bytes of the played file's sample data.
    virtual std::uint32_t GetPosition() const = 0;
    virtual void SetPosition(std::uint32_t nBytes) = 0;
};

class CPlaySoundMaker {
public:
    virtual ~CPlaySoundMaker() = default;

    // Makes the playback object of the wave file strPath (one buffer holding
    // its whole data chunk).  E_FAIL when the file cannot be read or holds no
    // sample data; out is left empty on failure.
    virtual HResult Create(const QString& strPath, std::unique_ptr<CPlaySound>& out) = 0;
};
