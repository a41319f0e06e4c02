// An event that threads wait on: automatic reset (a successful wait clears it,
// so one Set wakes one wait) or manual reset (stays set until Reset).  A thread
// can wait on several events at once.  Set may be called from an audio callback:
// it only takes a short lock that no waiter holds while it sleeps.
#pragma once

#include <vector>

class SoundEvent {
public:
    static constexpr int kTimeout = -1;   // WaitForAny: no event was set in time
    static constexpr int kInfinite = -1;  // timeout value: wait without limit

    explicit SoundEvent(bool bManualReset = false, bool bInitiallySet = false);
    SoundEvent(const SoundEvent&) = delete;
    SoundEvent& operator=(const SoundEvent&) = delete;

    void Set();
    void Reset();
    bool IsSet() const;

    // True when the event was set within nTimeoutMs (kInfinite = no limit, 0 = test only).
    bool Wait(int nTimeoutMs);

    // Index of the first set event of aEvents (earlier entries win when several
    // are set; an automatic-reset event that is returned is cleared), or
    // kTimeout.  Null entries are never set.
    static int WaitForAny(const std::vector<SoundEvent*>& aEvents, int nTimeoutMs);

private:
    const bool m_bManualReset;
    bool m_bSet; // guarded by the shared lock of all events
};
