// Stream parameters of the PortAudio sound back-end: one place that turns a
// device, a channel count and a sample width into PortAudio's terms.  Callers
// hold PortAudioSession::ApiMutex.
#pragma once

#include <portaudio.h>

// paUInt8 for 8-bit sound, paInt16 for 16-bit sound.
PaSampleFormat PortAudioSampleFormat(int nBitsPerSample);

// Parameters for one direction of a stream on nDevice with the device's low latency.
PaStreamParameters PortAudioStreamParameters(PaDeviceIndex nDevice, bool bInput, int nChannels,
                                             PaSampleFormat sampleFormat);

// Whether nDevice opens a stream in this direction, channel count, sample format and rate.
bool PortAudioFormatSupported(PaDeviceIndex nDevice, bool bInput, int nChannels, PaSampleFormat sampleFormat,
                              double dRate);
