#pragma once
// What the worker is doing, as it reports it; the window turns it into text.
#include <cstdint>

namespace qv {

enum class WorkerPhase { Idle, Decompressing, Detecting };

struct WorkerState {
    WorkerPhase phase = WorkerPhase::Idle;
    int32_t pass = 0;     // from 1, while detecting: the first pass running
    int32_t lastPass = 0; // the last pass running side by side; 0 or pass when one runs
};

} // namespace qv
