#pragma once
// A machine-wide lock that makes "is another instance running?" and "register this one" a single step.
// Without it two starts in the same moment both find no record and both run as the first instance.
#include "win/Handles.h"

#include <cstdint>

namespace qv {

class StartUpLock {
public:
    // Waits up to timeoutMs for the named lock. A holder that died leaves it abandoned, which counts as
    // taken; a holder that hangs must not stop this start for good, so after the timeout it goes on
    // unlocked (held() is false).
    StartUpLock(const char* name, uint32_t timeoutMs);
    ~StartUpLock();
    StartUpLock(const StartUpLock&) = delete;
    StartUpLock& operator=(const StartUpLock&) = delete;

    bool held() const { return held_; }
    // Lets the next start in; the destructor does it otherwise. Only the taking thread may release.
    void release();

private:
    win::UniqueHandle mutex_;
    bool held_ = false;
};

} // namespace qv
