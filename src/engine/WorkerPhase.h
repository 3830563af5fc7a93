#pragma once
// What the worker is doing, as it reports it; the window turns it into text.
#include <cstdint>

namespace qv {

enum class WorkerPhase { Idle, Decompressing, Detecting };

struct WorkerState {
    WorkerPhase phase = WorkerPhase::Idle;
    int32_t pass = 0; // from 1, while detecting
};

} // namespace qv
