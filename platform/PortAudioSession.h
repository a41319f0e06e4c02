// Keeps PortAudio initialised while any object of the PortAudio sound back-end
// lives: the first Acquire initialises it, the last holder's release ends it.
// PortAudio calls outside the audio callbacks are made under ApiMutex, as the
// user-interface and capture threads both open and close streams.
#pragma once

#include <memory>
#include <mutex>

class PortAudioSession {
public:
    // Null when PortAudio cannot be initialised.
    static std::shared_ptr<PortAudioSession> Acquire();
    static std::mutex& ApiMutex();

    ~PortAudioSession();
    PortAudioSession(const PortAudioSession&) = delete;
    PortAudioSession& operator=(const PortAudioSession&) = delete;

private:
    PortAudioSession() = default;
};
