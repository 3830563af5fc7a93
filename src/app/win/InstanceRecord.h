#pragma once
// The running instance's record in the registry, by which later starts find it and hand their files over.
#include "common/Clock.h"
#include "logs/DiagnosticLog.h"

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <optional>
#include <string>

namespace qv {

class InstanceRecord {
public:
    // keyPath is the product's key in the program; tests give a scratch key.
    InstanceRecord(const std::string& keyPath, uint32_t processId, const DiagnosticLog& log,
                   NowFunction now = nowSeconds);

    // Asked while the instance lock is held elsewhere, so an instance runs: empty when the record does not
    // name a live process other than this one (yet), whatever the age of its heartbeat. Otherwise the status
    // window of that instance, which is null while it is still starting: it runs all the same and picks
    // hand-off files up on its own. The record also hands over its non-empty program directory, so that
    // hand-off files land where that instance looks.
    std::optional<HWND> findRunningInstance(std::string& programDirectory) const;

    // Clears the status window first: until this run's window is up, the record must not name the window
    // of an earlier run, whose handle may since belong to some other program.
    void registerInstance(const std::string& programDirectory);
    // Leaves version and directory in place.
    void unregisterInstance();
    // Writes the whole record again with a new stamp, so a record that was cleared or overwritten while
    // this instance runs names it again.
    void writeHeartbeat();
    // The status window's handle when it is up, null when it goes away.
    void publishStatusWindow(HWND window);

private:
    static bool hasEnded(uint32_t processId);
    int32_t nowStamp() const;

    std::string keyPath_;
    uint32_t processId_;
    const DiagnosticLog& log_;
    NowFunction now_;
    std::string programDirectory_;
    // Published on the window's thread, written again by the heartbeat on another.
    std::atomic<HWND> window_{nullptr};
};

} // namespace qv
