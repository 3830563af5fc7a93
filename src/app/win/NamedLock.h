#pragma once
// A lock shared by every process of the session under one name (a mutex), held by the thread that took it.
// Windows lets go of it when its holder ends in any way, crashes included; the next taker then finds it
// abandoned, which counts as taken.
#include "win/Handles.h"

#include <cstdint>

namespace qv {

class NamedLock {
public:
    // Waits up to timeoutMs; held() tells whether the lock was taken.
    NamedLock(const char* name, uint32_t timeoutMs);
    ~NamedLock();
    NamedLock(const NamedLock&) = delete;
    NamedLock& operator=(const NamedLock&) = delete;

    bool held() const { return held_; }
    // Lets the next taker in; the destructor does it otherwise. Only the taking thread may release.
    void release();

private:
    win::UniqueHandle mutex_;
    bool held_ = false;
};

} // namespace qv
