#include "common/EventLock.h"

#include <windows.h>

namespace qv {

// A slim reader/writer lock taken exclusively: like the auto-reset event it replaces, it is not re-entrant
// and lets one holder in at a time, but an uncontended enter and leave stay in user mode. The status
// window's refresh takes the queue's lock many times a second, and a kernel event made every one of those
// a kernel (under Wine, a server) round trip.
struct EventLock::State {
    SRWLOCK lock = SRWLOCK_INIT;
};

EventLock::EventLock() : state_(std::make_unique<State>()) {}
EventLock::~EventLock() = default;

void EventLock::enter() {
    AcquireSRWLockExclusive(&state_->lock);
}

void EventLock::leave() {
    ReleaseSRWLockExclusive(&state_->lock);
}

} // namespace qv
