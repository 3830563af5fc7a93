#include "engine/PassWatchdog.h"

#include <algorithm>

namespace qv {

namespace {

uint64_t growth(uint64_t from, uint64_t to) {
    return to > from ? to - from : 0;
}

} // namespace

PassWatchdog::PassWatchdog(uint64_t limitMs, uint64_t wallMs, ProcessorReading start)
    : limitMs_(limitMs), last_(start), lastProgressWallMs_(wallMs) {}

bool PassWatchdog::expired(uint64_t wallMs, ProcessorReading reading) {
    if (limitMs_ == 0)
        return false;
    const uint64_t used =
        std::max(growth(last_.processMs, reading.processMs), growth(last_.mainThreadMs, reading.mainThreadMs));
    last_.processMs = std::max(last_.processMs, reading.processMs);
    last_.mainThreadMs = std::max(last_.mainThreadMs, reading.mainThreadMs);
    if (used > 0) {
        usedMs_ += used;
        lastProgressWallMs_ = wallMs;
    }
    const bool stalled = wallMs > lastProgressWallMs_ && wallMs - lastProgressWallMs_ >= limitMs_;
    return stalled || usedMs_ > limitMs_;
}

void PassWatchdog::resumed(uint64_t wallMs) {
    lastProgressWallMs_ = wallMs;
}

} // namespace qv
