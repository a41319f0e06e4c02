#include "SineBeeper.h"

#include <portaudio.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <numbers>

namespace {

constexpr double kAmplitude = 0.4;          // of full scale
constexpr double kFadeSeconds = 0.005;      // raised-cosine fade at each end
constexpr double kMaxLatencySeconds = 0.25; // longest output latency waited for after the tone
constexpr int kMaxStartDelayMs = 250;       // longest wait for a slow device to take the whole tone

struct ToneState {
    double m_dPhase = 0.0;  // radians
    double m_dStep = 0.0;   // radians per frame
    long m_nTotalFrames = 0;
    std::atomic<long> m_nDoneFrames{0}; // written by the audio thread, read by the caller
    long m_nFadeFrames = 1;
    int m_nChannels = 1;
};

int ToneCallback(const void*, void* output, unsigned long frames, const PaStreamCallbackTimeInfo*,
                 PaStreamCallbackFlags, void* user)
{
    auto* tone = static_cast<ToneState*>(user);
    auto* out = static_cast<float*>(output);
    for (unsigned long i = 0; i < frames; ++i) {
        float value = 0.0f;
        const long n = tone->m_nDoneFrames.load(std::memory_order_relaxed);
        if (n < tone->m_nTotalFrames) {
            const long edge = std::min(n, tone->m_nTotalFrames - 1 - n);
            double gain = 1.0;
            if (edge < tone->m_nFadeFrames)
                gain = 0.5 - 0.5 * std::cos(std::numbers::pi * edge / tone->m_nFadeFrames);
            value = static_cast<float>(kAmplitude * gain * std::sin(tone->m_dPhase));
            tone->m_dPhase = std::fmod(tone->m_dPhase + tone->m_dStep, 2.0 * std::numbers::pi);
            tone->m_nDoneFrames.store(n + 1, std::memory_order_release);
        }
        for (int c = 0; c < tone->m_nChannels; ++c)
            *out++ = value;
    }
    // Silence after the tone: the caller stops the stream when the tone has had
    // its time, which does not depend on how eagerly the device drains.
    return paContinue;
}

} // namespace

SineBeeper::~SineBeeper()
{
    if (m_bInitialised)
        Pa_Terminate();
}

bool SineBeeper::Initialise()
{
    if (m_bInitialised)
        return true;
    if (m_bInitFailed)
        return false;
    if (Pa_Initialize() != paNoError) {
        m_bInitFailed = true;
        return false;
    }
    m_bInitialised = true;
    return true;
}

bool SineBeeper::Play(int frequencyHz, int durationMs)
{
    if (frequencyHz <= 0 || durationMs <= 0 || !Initialise())
        return false;
    const PaDeviceIndex device = Pa_GetDefaultOutputDevice();
    const PaDeviceInfo* info = device == paNoDevice ? nullptr : Pa_GetDeviceInfo(device);
    if (!info)
        return false;
    const double rate = info->defaultSampleRate > 0 ? info->defaultSampleRate : 48000.0;

    ToneState tone;
    tone.m_nTotalFrames = std::max(1L, static_cast<long>(rate * durationMs / 1000.0));
    tone.m_nFadeFrames = std::clamp(static_cast<long>(rate * kFadeSeconds), 1L,
                                    std::max(1L, tone.m_nTotalFrames / 2));
    tone.m_dStep = frequencyHz * 2.0 < rate ? 2.0 * std::numbers::pi * frequencyHz / rate : 0.0;

    PaStream* stream = nullptr;
    for (int channels : {1, 2}) {
        if (channels > info->maxOutputChannels)
            break;
        PaStreamParameters out{};
        out.device = device;
        out.channelCount = channels;
        out.sampleFormat = paFloat32;
        out.suggestedLatency = info->defaultLowOutputLatency;
        tone.m_nChannels = channels;
        if (Pa_OpenStream(&stream, nullptr, &out, rate, paFramesPerBufferUnspecified, paNoFlag, ToneCallback,
                          &tone) == paNoError)
            break;
        stream = nullptr;
    }
    if (!stream)
        return false;
    if (Pa_StartStream(stream) != paNoError) {
        Pa_CloseStream(stream);
        return false;
    }
    // Wait until the tone has had its time and the device has taken all of it
    // (a device that is slow to start gets a little longer), then for the
    // output latency; whatever is still queued after that is the faded end or
    // silence and is dropped.
    using Clock = std::chrono::steady_clock;
    const auto start = Clock::now();
    const auto toneEnd = start + std::chrono::milliseconds(durationMs);
    const auto latest = toneEnd + std::chrono::milliseconds(kMaxStartDelayMs);
    while (Clock::now() < latest
           && (Clock::now() < toneEnd || tone.m_nDoneFrames.load(std::memory_order_acquire) < tone.m_nTotalFrames))
        Pa_Sleep(2);
    const PaStreamInfo* streamInfo = Pa_GetStreamInfo(stream);
    const double latency = streamInfo ? std::clamp(streamInfo->outputLatency, 0.0, kMaxLatencySeconds) : 0.0;
    Pa_Sleep(static_cast<long>(latency * 1000.0));
    Pa_AbortStream(stream);
    Pa_CloseStream(stream);
    return true;
}
