#include "common/EventLock.h"

#include <mutex>

namespace qv {

struct EventLock::State {
    std::mutex mutex;
};

EventLock::EventLock() : state_(std::make_unique<State>()) {}
EventLock::~EventLock() = default;
void EventLock::enter() {
    state_->mutex.lock();
}
void EventLock::leave() {
    state_->mutex.unlock();
}

} // namespace qv
