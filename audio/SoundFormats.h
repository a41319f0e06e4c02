// The table of the 20 capture and output formats the program offers (PCM mono,
// ten rates, 8 and 16 bit) and conversions between the file's format block and
// the device layer's format.
#pragma once

#include "SoundDevice.h"
#include "WaveFormat.h"

#include <QString>

inline constexpr int kSoundFormatCount = 20;
inline constexpr int kSchoolCaptureFormat = 9;   // 44100 Hz, 16 bit, mono

// Fills fmt with format nIndex (0 .. 19): rate = table[nIndex / 2], 8 bit for
// even and 16 bit for odd indices.  Outside 0 .. 19 the rate stays as it was.
void MakeFormat(int nIndex, WaveFormat& fmt);

// The device layer's form of a PCM format block.
SoundFormat ToSoundFormat(const WaveFormat& fmt);

// The line of the wave format dialog: "44100 Hz, 16-bit Mono".
QString FormatLine(const WaveFormat& fmt);
