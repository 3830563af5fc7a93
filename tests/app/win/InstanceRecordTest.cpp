#include "app/win/InstanceRecord.h"

#include "settings/win/RegistryKey.h"
#include "settings/win/ScratchKey.h"
#include "support/TempDir.h"
#include "win/Handles.h"

#include <gtest/gtest.h>

#include <optional>

using namespace qv;

namespace {

class InstanceRecordTest : public testing::Test {
protected:
    InstanceRecordTest() { log.setPaths(logDir.file("System.log"), logDir.file("Detect.log")); }

    InstanceRecord record(uint32_t processId) {
        return InstanceRecord(scratch.path(), processId, log, [this] { return clock; });
    }
    // What a later start with process id 200 finds, and the program directory it goes on with.
    std::pair<std::optional<HWND>, std::string> laterStart() {
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

const HWND kWindow = reinterpret_cast<HWND>(0x1234);
const std::optional<HWND> kNone;

} // namespace

TEST_F(InstanceRecordTest, ALaterStartFindsTheWindowAndAdoptsTheProgramDirectory) {
    InstanceRecord running = record(runningId);
    running.registerInstance("C:\\Program Files\\Quorvane");
    running.publishStatusWindow(kWindow);
    RegistryKey key(scratch.path());
    EXPECT_EQ(key.readNumber("Process ID", 0), static_cast<int32_t>(runningId));
    EXPECT_EQ(key.readString("Program Version"), "v0.33 *** BETA ***");

    EXPECT_EQ(laterStart(), std::make_pair(std::optional(kWindow), std::string("C:\\Program Files\\Quorvane")));
    EXPECT_NE(
        qvtest::readFile(logDir.file("System.log")).find(" - Program already running [C:\\Program Files\\Quorvane]"),
        std::string::npos);

    // The window is not up: an instance runs all the same, and the directory still goes over.
    running.publishStatusWindow(nullptr);
    EXPECT_EQ(laterStart(), std::make_pair(std::optional(HWND{}), std::string("C:\\Program Files\\Quorvane")));
}

TEST_F(InstanceRecordTest, RegistrationForgetsTheWindowOfTheRunBefore) {
    // A crash leaves the old window's handle behind; the new run must not be found with it.
    InstanceRecord crashed = record(runningId);
    crashed.registerInstance("C:\\Q");
    crashed.publishStatusWindow(kWindow);
    crashed.registerInstance("C:\\Q");
    EXPECT_EQ(laterStart().first, std::optional(HWND{}));
}

TEST_F(InstanceRecordTest, TheRecordOfALiveProcessNamesItWhateverItsStampUntilUnregistered) {
    InstanceRecord running = record(runningId);
    running.registerInstance("C:\\Q");
    running.publishStatusWindow(kWindow);
    std::string directory = "D:\\Own";
    EXPECT_EQ(running.findRunningInstance(directory), kNone);

    // Asked only while the instance lock is held elsewhere: a stopped heartbeat does not make a second instance.
    clock += 86400;
    EXPECT_EQ(laterStart(), std::make_pair(std::optional(kWindow), std::string("C:\\Q")));

    running.unregisterInstance();
    EXPECT_EQ(laterStart(), std::make_pair(kNone, std::string("D:\\Own")));
    RegistryKey key(scratch.path());
    EXPECT_EQ(key.readNumber("Process ID", -1), 0);
    EXPECT_EQ(key.readNumber("Process Timestamp", -1), 0);
    EXPECT_EQ(key.readString("Program Home Directory"), "C:\\Q");

    // A record cleared or overwritten while the instance runs is whole again after its next heartbeat.
    key.writeString("Program Home Directory", "E:\\Elsewhere");
    running.writeHeartbeat();
    EXPECT_EQ(laterStart(), std::make_pair(std::optional(kWindow), std::string("C:\\Q")));
}

TEST_F(InstanceRecordTest, TheRecordOfAProcessThatHasEndedIsNoRunningInstance) {
    // A crash leaves its record behind; the lock it held is let go, and a start that still reads the record
    // must not hand its files to nobody.
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    char command[] = "cmd.exe /c exit";
    ASSERT_TRUE(
        CreateProcessA(nullptr, command, nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr, &startup, &info));
    win::UniqueHandle process(info.hProcess);
    win::UniqueHandle thread(info.hThread);
    WaitForSingleObject(process.get(), 10000);
    InstanceRecord ended = record(info.dwProcessId);
    ended.registerInstance("C:\\Gone");
    ended.publishStatusWindow(kWindow);
    EXPECT_EQ(laterStart(), std::make_pair(kNone, std::string("D:\\Own")));
}
