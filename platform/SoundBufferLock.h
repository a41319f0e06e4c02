// Lock and unlock of a range of a sound buffer's memory, the same for playback
// and capture buffers: offset < size and 0 < bytes <= size; a range that runs
// past the end continues at offset 0 in a second part.
#pragma once

#include "SoundDevice.h"

#include <cstdint>
#include <vector>

HResult LockSoundBuffer(std::vector<std::uint8_t>& aData, std::uint32_t nOffset, std::uint32_t nBytes,
                        SoundLockedRange& range);

// E_INVALIDARG when the range does not lie in the buffer's memory.
HResult UnlockSoundBuffer(const std::vector<std::uint8_t>& aData, const SoundLockedRange& range);
