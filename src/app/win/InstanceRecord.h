#pragma once
// The running instance's record in the registry, by which later starts find it and hand their files over.
#include "common/Clock.h"
#include "logs/DiagnosticLog.h"

#include <windows.h>

#include <cstdint>
#include <string>

namespace qv {

class InstanceRecord {
public:
    // keyPath is the product's key in the program; tests give a scratch key.
    InstanceRecord(const std::string& keyPath, uint32_t processId, const DiagnosticLog& log,
                   NowFunction now = nowSeconds);

    // The status window of another live instance, or null. A fresh record also hands over its non-empty
    // program directory, so that hand-off files land where that instance looks; the window may still be
    // null when the record is fresh but the window is not up yet.
    HWND findRunningInstance(std::string& programDirectory) const;

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
