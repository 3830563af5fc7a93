#include "app/win/InstanceRecord.h"

#include "settings/win/RegistryKey.h"
#include "settings/win/ScratchKey.h"
#include "support/TempDir.h"
#include "win/Handles.h"

#include <gtest/gtest.h>

#include <optional>
#include <tuple>

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

    clock += 5;
    EXPECT_EQ(laterStart(), std::make_pair(std::optional(kWindow), std::string("C:\\Program Files\\Quorvane")));
    EXPECT_NE(
        qvtest::readFile(logDir.file("System.log")).find(" - Program already running [C:\\Program Files\\Quorvane]"),
        std::string::npos);

    // Fresh, but the window is not up: an instance runs all the same, and the directory still goes over.
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

TEST_F(InstanceRecordTest, FreshnessHoldsThroughTheRegistryAcrossBothWraps) {
    const int64_t y2038 = int64_t{1} << 31;
    const int64_t y2106 = int64_t{1} << 32;
    // Stamps beyond 2^31 travel through the registry's signed 32-bit numbers.
    const std::tuple<int64_t, int64_t, bool> cases[] = {{y2038 - 2, y2038 + 3, true},
                                                        {y2038 + 100, y2038 + 106, false},
                                                        {y2106 - 2, y2106 + 3, true},
                                                        {y2106 - 2, y2106 + 4, false}};
    for (const auto& [registeredAt, startedAt, found] : cases) {
        clock = registeredAt;
        InstanceRecord running = record(runningId);
        running.registerInstance("C:\\Q");
        running.publishStatusWindow(kWindow);
        clock = startedAt;
        EXPECT_EQ(laterStart(), found ? std::make_pair(std::optional(kWindow), std::string("C:\\Q"))
                                      : std::make_pair(kNone, std::string("D:\\Own")))
            << registeredAt << " then " << startedAt;
    }
}

TEST_F(InstanceRecordTest, OwnStaleAndUnregisteredRecordsAreNoRunningInstance) {
    InstanceRecord running = record(runningId);
    running.registerInstance("C:\\Q");
    running.publishStatusWindow(kWindow);
    std::string directory = "D:\\Own";
    EXPECT_EQ(running.findRunningInstance(directory), kNone);

    clock += 10;
    EXPECT_EQ(laterStart().first, kNone);
    running.writeHeartbeat();
    EXPECT_EQ(laterStart().first, kWindow);

    running.unregisterInstance();
    EXPECT_EQ(laterStart(), std::make_pair(kNone, std::string("D:\\Own")));
    RegistryKey key(scratch.path());
    EXPECT_EQ(key.readNumber("Process ID", -1), 0);
    EXPECT_EQ(key.readNumber("Process Timestamp", -1), 0);
    EXPECT_EQ(key.readString("Program Home Directory"), "C:\\Q");
}

TEST_F(InstanceRecordTest, AFreshRecordOfAProcessThatHasEndedIsNoRunningInstance) {
    // A crash leaves a record that stays fresh for seconds; a start then must become the first instance.
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
