// The wave format block of a WAV file: the 18-byte header of the "fmt " chunk
// followed by its extra bytes (used by extended formats such as ADPCM or
// WAVE_FORMAT_EXTENSIBLE).  Values are held in host order; the file is little-endian.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

struct WaveFormat {
    static constexpr std::uint16_t kTagPcm = 1;        // integer PCM
    static constexpr std::size_t kMaxExtraSize = 65535; // the extra size field is 16 bits

    std::uint16_t formatTag = 0;      // 1 = PCM
    std::uint16_t channels = 0;       // 1 = mono, 2 = stereo, ...
    std::uint32_t samplesPerSec = 0;  // Hz
    std::uint32_t avgBytesPerSec = 0; // bytes per second
    std::uint16_t blockAlign = 0;     // bytes per frame (all channels of one sample)
    std::uint16_t bitsPerSample = 0;  // 8, 16, ...
    std::vector<std::uint8_t> extra;  // extra bytes; at most kMaxExtraSize, none for PCM

    // A PCM format; blockAlign and avgBytesPerSec follow from the three values.
    static WaveFormat Pcm(std::uint16_t nChannels, std::uint32_t nSamplesPerSec,
                          std::uint16_t nBitsPerSample)
    {
        WaveFormat f;
        f.formatTag = kTagPcm;
        f.channels = nChannels;
        f.samplesPerSec = nSamplesPerSec;
        f.bitsPerSample = nBitsPerSample;
        f.blockAlign = static_cast<std::uint16_t>(nChannels * ((nBitsPerSample + 7) / 8));
        f.avgBytesPerSec = nSamplesPerSec * f.blockAlign;
        return f;
    }

    bool operator==(const WaveFormat&) const = default;
};
