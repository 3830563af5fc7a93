#include "app/win/InstanceRecord.h"

#include "settings/win/RegistryKey.h"
#include "settings/win/ScratchKey.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <optional>

using namespace qv;

namespace {

using Found = std::pair<std::optional<HWND>, std::string>; // the window, and the program directory to go on with
const HWND kWindow = reinterpret_cast<HWND>(0x1234);
const Found kNothing{std::nullopt, "D:\\Own"};

class InstanceRecordTest : public testing::Test {
protected:
    InstanceRecordTest() { log.setPaths(logDir.file("System.log"), logDir.file("Detect.log")); }

    InstanceRecord record(uint32_t processId) {
        return InstanceRecord(scratch.path(), processId, log, [this] { return clock; });
    }
    // What a later start with process id 200 and its own directory finds.
    Found laterStart() {
        std::string directory = "D:\\Own";
        std::optional<HWND> window = record(200).findRunningInstance(directory);
        return {window, directory};
    }

    qvtest::ScratchKey scratch;
    qvtest::TempDir logDir;
    DiagnosticLog log;
    int64_t clock = 1700000000;
    // The running instance must be a live process: this test program stands in for it.
    const uint32_t runningId = GetCurrentProcessId();
};

} // namespace

TEST_F(InstanceRecordTest, ALiveInstanceIsFoundWithItsWindowAndDirectoryWhateverItsStampUntilUnregistered) {
    InstanceRecord running = record(runningId);
    running.registerInstance("C:\\Program Files\\Quorvane");
    running.publishStatusWindow(kWindow);
    std::string own = "D:\\Own";
    EXPECT_EQ(running.findRunningInstance(own), std::nullopt) << "an instance does not find itself";
    EXPECT_EQ(laterStart(), Found(kWindow, "C:\\Program Files\\Quorvane"));

    // Asked only while the instance lock is held elsewhere: a stopped heartbeat does not make a second instance.
    clock += 86400;
    EXPECT_EQ(laterStart(), Found(kWindow, "C:\\Program Files\\Quorvane"));
    running.unregisterInstance();
    EXPECT_EQ(laterStart(), kNothing);
    RegistryKey key(scratch.path());
    EXPECT_EQ(key.readNumber("Process Timestamp", -1), 0);

    // A record cleared or overwritten while the instance runs is whole again after its next heartbeat.
    key.writeString("Program Home Directory", "E:\\Elsewhere");
    running.writeHeartbeat();
    EXPECT_EQ(laterStart(), Found(kWindow, "C:\\Program Files\\Quorvane"));
    // A crash leaves the old window's handle behind; the next run, its window not yet up, is found without it.
    running.registerInstance("C:\\Q");
    EXPECT_EQ(laterStart(), Found(HWND{}, "C:\\Q"));
}

TEST_F(InstanceRecordTest, TheRecordOfAProcessThatHasEndedIsNoRunningInstance) {
    // A crash leaves its record behind and lets go of the lock; its files must not go to nobody.
    InstanceRecord ended = record(0x7FFFFFF0); // no such process
    ended.registerInstance("C:\\Gone");
    ended.publishStatusWindow(kWindow);
    EXPECT_EQ(laterStart(), kNothing);
}
