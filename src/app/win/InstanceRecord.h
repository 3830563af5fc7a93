#pragma once
// The running instance's record in the registry, by which later starts find it and hand their files over.
#include "common/Clock.h"
#include "logs/DiagnosticLog.h"

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>

namespace qv {

class InstanceRecord {
public:
    // keyPath is the product's key in the program; tests give a scratch key.
    InstanceRecord(const std::string& keyPath, uint32_t processId, const DiagnosticLog& log,
                   NowFunction now = nowSeconds);

    // Empty when no other instance runs. Otherwise the status window of the live instance, which is null
    // while that instance is still starting: it runs all the same and picks hand-off files up on its own.
    // A fresh record also hands over its non-empty program directory, so that hand-off files land where
    // that instance looks.
    std::optional<HWND> findRunningInstance(std::string& programDirectory) const;

    // Clears the status window first: until this run's window is up, the record must not name the window
    // of an earlier run, whose handle may since belong to some other program.
    void registerInstance(const std::string& programDirectory);
    // Leaves version and directory in place.
    void unregisterInstance();
    // Keeps the record fresh; the status window calls it on its heartbeat timer.
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
};

} // namespace qv
