#include "common/EventLock.h"

#include "win/Handles.h"

namespace qv {

struct EventLock::State {
    win::UniqueHandle event{CreateEventA(nullptr, FALSE, TRUE, nullptr)};
};

EventLock::EventLock() : state_(std::make_unique<State>()) {}
EventLock::~EventLock() = default;

void EventLock::enter() {
    if (state_->event)
        WaitForSingleObject(state_->event.get(), INFINITE);
}

void EventLock::leave() {
    if (state_->event)
        SetEvent(state_->event.get());
}

} // namespace qv
