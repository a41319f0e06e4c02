#include "PortAudioSession.h"

#include <portaudio.h>

namespace {

std::mutex& SessionMutex()
{
    static std::mutex mutex;
    return mutex;
}

std::weak_ptr<PortAudioSession>& CurrentSession()
{
    static std::weak_ptr<PortAudioSession> session;
    return session;
}

} // namespace

std::mutex& PortAudioSession::ApiMutex()
{
    static std::mutex mutex;
    return mutex;
}

std::shared_ptr<PortAudioSession> PortAudioSession::Acquire()
{
    std::lock_guard sessionLock(SessionMutex());
    if (auto session = CurrentSession().lock())
        return session;
    std::lock_guard apiLock(ApiMutex());
    if (Pa_Initialize() != paNoError)
        return nullptr; // nothing to terminate after a failed start
    std::shared_ptr<PortAudioSession> session(new PortAudioSession());
    CurrentSession() = session;
    return session;
}

PortAudioSession::~PortAudioSession()
{
    std::lock_guard apiLock(ApiMutex());
    Pa_Terminate();
}
