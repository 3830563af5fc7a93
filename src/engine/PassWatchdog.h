#pragma once
// Decides when a detector pass is cut off: when its processor time has not grown for the limit, or has grown
// beyond it. Wall-clock time alone never cuts a pass off: detectors run at idle priority, and on a machine
// kept busy by other work a pass waiting for a processor still progresses (the system lends starved threads a
// quantum every few seconds), only slowly.
#include <cstdint>

namespace qv {

// How often a watchdog's readings are taken.
inline constexpr uint64_t kWatchdogTickMs = 500;

// A pass's processor time in milliseconds as the system reports it: its process's (0 where it cannot be read),
// and its main thread's. The process's includes every thread; the main thread's alone may grow while it is
// still unread.
struct ProcessorReading {
    uint64_t processMs = 0;
    uint64_t mainThreadMs = 0;
};

class PassWatchdog {
public:
    // limitMs 0 turns the watchdog off. The pass starts at wallMs.
    PassWatchdog(uint64_t limitMs, uint64_t wallMs, ProcessorReading start);

    // A fresh reading of the clock and of the pass's processor time; true when the pass is to be cut off.
    [[nodiscard]] bool expired(uint64_t wallMs, ProcessorReading reading);
    // Time spent suspended is no stall: the stall starts over from the resume.
    void resumed(uint64_t wallMs);

private:
    uint64_t limitMs_;
    ProcessorReading last_;
    uint64_t usedMs_ = 0; // since the start: each step counts the larger growth of the two readings
    uint64_t lastProgressWallMs_;
};

} // namespace qv
