#pragma once
// What the status window may ask of the application: the little it shows and the commands it gives. Called
// on the user-interface thread.
#include "app/EstimateParts.h"
#include "app/win/SpectrumJob.h"
#include "engine/QueueEntry.h"
#include "settings/Settings.h"

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace qv {

// One row of the percent window: a file or a directory and its CDDA percentage.
struct PercentEntry {
    std::string name;
    int32_t percent;
};

class ApplicationControl {
public:
    virtual ~ApplicationControl() = default;

    // Loaded before the worker started; the window keeps them up to date, and the application stores them at
    // shut-down.
    virtual SharedSettings& settings() = 0;
    virtual bool diagnosticMode() const = 0;

    virtual void pauseWorker() = 0;
    virtual void resumeWorker() = 0;
    virtual void setWorkerPriority(int32_t level) = 0;
    // Asked at exit: whether the queue is erased instead of kept for the next start.
    virtual void setEraseQueue(bool erase) = 0;
    // The session ends, and the process may be ended at any moment: saves the settings, the queue and the
    // statistics as an exit does, and stops the worker (its detector ends, its scratch files go).
    virtual void endSession() = 0;

    // Lists one argument text (a dropped path) into the queue, off the user-interface thread.
    virtual void queueArguments(const std::string& argumentText) = 0;
    // Reads the hand-off files of later starts into the queue, off the user-interface thread.
    virtual void requestPickUp() = 0;

    // The window is up (it may now be found by later starts) or gone.
    virtual void statusWindowReady(HWND window) = 0;
    virtual void statusWindowGone() = 0;
    // Points the queue's change notifications at the window (null to stop). Posts coalesce: while one is
    // waiting, further changes post nothing; the window reads the count when it takes the message.
    virtual void attachQueueDisplay(HWND window, UINT message) = 0;
    virtual int32_t takeQueueCount() = 0;

    virtual bool queueHead(QueueEntry& entry) const = 0;
    virtual int32_t queueCount() const = 0;
    // True once after the worker moved to another directory.
    virtual bool newDirectory() const = 0;
    // The estimates in seconds at the given multi-linear level (0: simple); negative: not known yet.
    virtual EstimateParts estimates(int32_t level) const = 0;
    // The current directory's CDDA mean, -1 without one.
    virtual int32_t averagePercent() const = 0;
    virtual std::vector<PercentEntry> recentFiles() const = 0;
    virtual std::vector<PercentEntry> recentDirectories() const = 0;
    // The detector, decoders and scratch folder that spectrum windows draw with.
    virtual SpectrumTools spectrumTools() const = 0;
};

} // namespace qv
