#include "app/win/NamedLock.h"

namespace qv {

NamedLock::NamedLock(const char* name, uint32_t timeoutMs) : mutex_(CreateMutexA(nullptr, FALSE, name)) {
    if (!mutex_)
        return;
    DWORD waited = WaitForSingleObject(mutex_.get(), timeoutMs);
    held_ = waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED;
}

NamedLock::~NamedLock() {
    release();
}

void NamedLock::release() {
    if (held_)
        ReleaseMutex(mutex_.get());
    held_ = false;
}

} // namespace qv
