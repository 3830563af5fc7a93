#pragma once
// A non-re-entrant lock. On Windows it is an auto-reset event, created signalled, as the queue store has
// always used; natively a mutex stands in, so the store's logic is tested the same way on both.
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
