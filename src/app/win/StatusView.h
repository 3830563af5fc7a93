#pragma once
// What the application tells its status window. Called from any thread: implementations hand the news over
// to their own thread.
#include "engine/WorkerPhase.h"

namespace qv {

class StatusView {
public:
    virtual ~StatusView() = default;
    virtual void workerStateChanged(WorkerState state) = 0;
    // A file's verdict was recorded, or the queue ran empty.
    virtual void resultsChanged() = 0;
};

} // namespace qv
