#include "app/win/InstanceRecord.h"

#include "win/Handles.h"

#include "app/InstanceFreshness.h"
#include "common/Version.h"
#include "settings/win/RegistryKey.h"

#include <cstdint>

namespace qv {

namespace {

constexpr const char* kProcessId = "Process ID";
constexpr const char* kProcessTimestamp = "Process Timestamp";
constexpr const char* kStatusDialogId = "Status Dialog ID";
constexpr const char* kProgramVersion = "Program Version";
constexpr const char* kProgramHomeDirectory = "Program Home Directory";

// Window handles are 32-bit significant on 64-bit Windows: stored truncated, read back sign-extended.
int32_t windowToNumber(HWND window) {
    return static_cast<int32_t>(reinterpret_cast<intptr_t>(window));
}
HWND numberToWindow(int32_t number) {
    return reinterpret_cast<HWND>(static_cast<intptr_t>(number));
}

} // namespace

InstanceRecord::InstanceRecord(const std::string& keyPath, uint32_t processId, const DiagnosticLog& log,
                               NowFunction now)
    : keyPath_(keyPath), processId_(processId), log_(log), now_(std::move(now)) {}

int32_t InstanceRecord::nowStamp() const {
    return static_cast<int32_t>(recordStamp(now_()));
}

// A crashed or killed instance leaves its record behind; a start must not hand its files to nobody and exit.
bool InstanceRecord::hasEnded(uint32_t processId) {
    win::UniqueHandle process(OpenProcess(SYNCHRONIZE, FALSE, processId));
    if (!process)
        return GetLastError() == ERROR_INVALID_PARAMETER; // no such process; access denied means alive
    return WaitForSingleObject(process.get(), 0) == WAIT_OBJECT_0;
}

std::optional<HWND> InstanceRecord::findRunningInstance(std::string& programDirectory) const {
    RegistryKey key(keyPath_);
    uint32_t recordedProcessId = static_cast<uint32_t>(key.readNumber(kProcessId, 0));
    if (recordedProcessId == 0 || recordedProcessId == processId_ || hasEnded(recordedProcessId))
        return std::nullopt;
    HWND window = numberToWindow(key.readNumber(kStatusDialogId, 0));
    std::string home = key.readString(kProgramHomeDirectory);
    if (!home.empty())
        programDirectory = home;
    log_.writeSystemLog("Program already running [" + programDirectory + "]");
    return window;
}

void InstanceRecord::registerInstance(const std::string& programDirectory) {
    programDirectory_ = programDirectory;
    window_ = nullptr;
    writeHeartbeat();
}

void InstanceRecord::unregisterInstance() {
    RegistryKey key(keyPath_);
    key.writeNumber(kProcessId, 0);
    key.writeNumber(kProcessTimestamp, 0);
}

void InstanceRecord::writeHeartbeat() {
    // The process id last: a start that reads it finds the directory and window of this run already.
    RegistryKey key(keyPath_);
    key.writeNumber(kStatusDialogId, windowToNumber(window_.load()));
    key.writeString(kProgramVersion, kVersionBanner);
    key.writeString(kProgramHomeDirectory, programDirectory_.c_str());
    key.writeNumber(kProcessTimestamp, nowStamp());
    key.writeNumber(kProcessId, static_cast<int32_t>(processId_));
}

void InstanceRecord::publishStatusWindow(HWND window) {
    window_ = window;
    RegistryKey key(keyPath_);
    key.writeNumber(kStatusDialogId, windowToNumber(window));
}

} // namespace qv
