#include "engine/PassWatchdog.h"

namespace qv {

PassWatchdog::PassWatchdog(uint64_t limitMs, uint64_t wallMs, uint64_t processorMs)
    : limitMs_(limitMs), startProcessorMs_(processorMs), lastProcessorMs_(processorMs), lastProgressWallMs_(wallMs) {}

bool PassWatchdog::expired(uint64_t wallMs, uint64_t processorMs) {
    if (limitMs_ == 0)
        return false;
    if (processorMs > lastProcessorMs_) {
        lastProcessorMs_ = processorMs;
        lastProgressWallMs_ = wallMs;
    }
    const bool stalled = wallMs > lastProgressWallMs_ && wallMs - lastProgressWallMs_ >= limitMs_;
    return stalled || lastProcessorMs_ - startProcessorMs_ > limitMs_;
}

void PassWatchdog::resumed(uint64_t wallMs) {
    lastProgressWallMs_ = wallMs;
}

} // namespace qv
