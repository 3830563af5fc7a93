#pragma once
// Decides when a detector pass is cut off: when its processor time has not grown for the limit, or has grown
// beyond it. Wall-clock time alone never cuts a pass off: detectors run at idle priority, and on a machine
// kept busy by other work a pass waiting for a processor still progresses (the system lends starved threads a
// quantum every few seconds), only slowly.
#include <cstdint>

namespace qv {

class PassWatchdog {
public:
    // limitMs 0 turns the watchdog off. The pass starts at wallMs, having used processorMs so far.
    PassWatchdog(uint64_t limitMs, uint64_t wallMs, uint64_t processorMs);

    // A fresh reading of the clock and of the pass's processor time; true when the pass is to be cut off.
    [[nodiscard]] bool expired(uint64_t wallMs, uint64_t processorMs);
    // Time spent suspended is no stall: the stall starts over from the resume.
    void resumed(uint64_t wallMs);

private:
    uint64_t limitMs_;
    uint64_t startProcessorMs_;
    uint64_t lastProcessorMs_;
    uint64_t lastProgressWallMs_;
};

} // namespace qv
