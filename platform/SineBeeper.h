// Plays a sine tone of a given frequency and length on the default sound
// output through PortAudio, with short fades so it starts and ends without a
// click.  Used for the frequency beeps of the windows; GUI thread only.
#pragma once

class SineBeeper {
public:
    SineBeeper() = default;
    ~SineBeeper();
    SineBeeper(const SineBeeper&) = delete;
    SineBeeper& operator=(const SineBeeper&) = delete;

    // Plays frequencyHz (> 0) for durationMs (> 0) and returns when the tone has
    // had its time: the duration, or until the device has taken the whole tone
    // (at most 250 ms more), plus the output latency (at most 250 ms).  A
    // frequency at or above half the device's sample rate plays silence for the
    // duration.  Returns false at once when no output device can be opened.
    bool Play(int frequencyHz, int durationMs);

private:
    bool Initialise();

    bool m_bInitialised = false;   // Pa_Initialize succeeded; Pa_Terminate is owed
    bool m_bInitFailed = false;    // do not try again
};
