#include "PortAudioStreamSetup.h"

PaSampleFormat PortAudioSampleFormat(int nBitsPerSample)
{
    return nBitsPerSample == 8 ? paUInt8 : paInt16;
}

PaStreamParameters PortAudioStreamParameters(PaDeviceIndex nDevice, bool bInput, int nChannels,
                                             PaSampleFormat sampleFormat)
{
    PaStreamParameters parameters{};
    parameters.device = nDevice;
    parameters.channelCount = nChannels;
    parameters.sampleFormat = sampleFormat;
    const PaDeviceInfo* info = Pa_GetDeviceInfo(nDevice);
    if (info)
        parameters.suggestedLatency = bInput ? info->defaultLowInputLatency : info->defaultLowOutputLatency;
    parameters.hostApiSpecificStreamInfo = nullptr;
    return parameters;
}

bool PortAudioFormatSupported(PaDeviceIndex nDevice, bool bInput, int nChannels, PaSampleFormat sampleFormat,
                              double dRate)
{
    const PaDeviceInfo* info = Pa_GetDeviceInfo(nDevice);
    if (!info || nChannels > (bInput ? info->maxInputChannels : info->maxOutputChannels))
        return false;
    const PaStreamParameters parameters = PortAudioStreamParameters(nDevice, bInput, nChannels, sampleFormat);
    return Pa_IsFormatSupported(bInput ? &parameters : nullptr, bInput ? nullptr : &parameters, dRate)
        == paFormatIsSupported;
}
