#pragma once
// The queue store's lock: one holder at a time, not re-entrant. On Windows a slim reader/writer lock taken
// exclusively, natively a mutex, so the store's logic is tested the same way on both.
#include <memory>

namespace qv {

class EventLock {
public:
    EventLock();
    ~EventLock();
    EventLock(const EventLock&) = delete;
    EventLock& operator=(const EventLock&) = delete;

    void enter();
    void leave();

private:
    struct State;
    std::unique_ptr<State> state_;
};

// Holds an EventLock for one scope.
class EventLockGuard {
public:
    explicit EventLockGuard(EventLock& lock) : lock_(lock) { lock_.enter(); }
    ~EventLockGuard() { lock_.leave(); }
    EventLockGuard(const EventLockGuard&) = delete;
    EventLockGuard& operator=(const EventLockGuard&) = delete;

private:
    EventLock& lock_;
};

} // namespace qv
