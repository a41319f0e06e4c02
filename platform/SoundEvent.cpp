#include "SoundEvent.h"

#include <chrono>
#include <condition_variable>
#include <mutex>

namespace {

// All events share one lock and one condition: a waiter on several events then
// needs no registration, and events are few, so waking every waiter on a Set
// costs nothing worth saving.
std::mutex& SharedMutex()
{
    static std::mutex mutex;
    return mutex;
}

std::condition_variable& SharedCondition()
{
    static std::condition_variable condition;
    return condition;
}

} // namespace

SoundEvent::SoundEvent(bool bManualReset, bool bInitiallySet)
    : m_bManualReset(bManualReset), m_bSet(bInitiallySet)
{
}

void SoundEvent::Set()
{
    {
        std::lock_guard lock(SharedMutex());
        m_bSet = true;
    }
    SharedCondition().notify_all();
}

void SoundEvent::Reset()
{
    std::lock_guard lock(SharedMutex());
    m_bSet = false;
}

bool SoundEvent::IsSet() const
{
    std::lock_guard lock(SharedMutex());
    return m_bSet;
}

bool SoundEvent::Wait(int nTimeoutMs)
{
    return WaitForAny({this}, nTimeoutMs) == 0;
}

int SoundEvent::WaitForAny(const std::vector<SoundEvent*>& aEvents, int nTimeoutMs)
{
    // Called with the shared lock held.
    auto takeFirstSet = [&aEvents]() {
        for (std::size_t i = 0; i < aEvents.size(); ++i) {
            SoundEvent* event = aEvents[i];
            if (event && event->m_bSet) {
                if (!event->m_bManualReset)
                    event->m_bSet = false;
                return static_cast<int>(i);
            }
        }
        return kTimeout;
    };
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(nTimeoutMs < 0 ? 0 : nTimeoutMs);
    std::unique_lock lock(SharedMutex());
    for (;;) {
        const int index = takeFirstSet();
        if (index != kTimeout)
            return index;
        if (nTimeoutMs < 0)
            SharedCondition().wait(lock);
        else if (SharedCondition().wait_until(lock, deadline) == std::cv_status::timeout)
            return takeFirstSet(); // an event set just at the deadline still counts
    }
}
