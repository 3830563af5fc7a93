#include "estimate/FileTiming.h"

#include "estimate/WideMath.h"

namespace qv {

bool FileTiming::start(const std::string& type, int32_t sizeKb, int64_t now) {
    if (active_ || paused_)
        return false;
    active_ = true;
    paused_ = false;
    type_ = type;
    sizeKb_ = sizeKb;
    pausedOutSeconds_ = 0;
    startTime_ = now;
    return true;
}

void FileTiming::pause(int64_t now) {
    if (!active_ || paused_)
        return;
    paused_ = true;
    pausedOutSeconds_ += now - startTime_;
}

void FileTiming::resume(int64_t now) {
    if (!active_ || !paused_)
        return;
    paused_ = false;
    startTime_ = now;
}

bool FileTiming::finish(int64_t now, int32_t& seconds) {
    if (!active_ || paused_)
        return false;
    active_ = false;
    seconds = elapsed(now);
    return true;
}

void FileTiming::abandon() {
    active_ = false;
    paused_ = false;
}

int32_t FileTiming::elapsed(int64_t now) const {
    int64_t seconds = paused_ ? pausedOutSeconds_ : (now - startTime_) + pausedOutSeconds_;
    return seconds < 0 ? 0 : clampToInt32(seconds);
}

} // namespace qv
