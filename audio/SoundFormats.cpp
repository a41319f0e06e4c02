#include "SoundFormats.h"

#include <array>

namespace {
constexpr std::array<std::uint32_t, 10> kRates = {8000, 11025, 22050, 32000, 44100,
                                                  48000, 64000, 88200, 96000, 192000};
}

void MakeFormat(int nIndex, WaveFormat& fmt)
{
    fmt.formatTag = WaveFormat::kTagPcm;
    fmt.channels = 1;
    if (nIndex >= 0 && nIndex < kSoundFormatCount)
        fmt.samplesPerSec = kRates[static_cast<std::size_t>(nIndex / 2)];
    fmt.bitsPerSample = (nIndex & 1) ? 16 : 8;
    fmt.blockAlign = static_cast<std::uint16_t>(fmt.bitsPerSample / 8);
    fmt.avgBytesPerSec = fmt.samplesPerSec * fmt.blockAlign;
    fmt.extra.clear();
}

SoundFormat ToSoundFormat(const WaveFormat& fmt)
{
    SoundFormat f;
    f.m_nChannels = fmt.channels;
    f.m_nSamplesPerSec = fmt.samplesPerSec;
    f.m_nBitsPerSample = fmt.bitsPerSample;
    f.m_nBlockAlign = fmt.blockAlign;
    f.m_nAvgBytesPerSec = fmt.avgBytesPerSec;
    return f;
}

QString FormatLine(const WaveFormat& fmt)
{
    return QStringLiteral("%1 Hz, %2-bit %3")
        .arg(fmt.samplesPerSec)
        .arg(fmt.bitsPerSample)
        .arg(fmt.channels == 1 ? QStringLiteral("Mono") : QStringLiteral("Stereo"));
}
