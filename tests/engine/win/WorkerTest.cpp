#include "engine/win/Worker.h"

#include "common/Text.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <tlhelp32.h>

#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>

using namespace qv;

namespace {

// Hands out entries from a list, records what the worker tells its host, and lets a test wait for it with
// a deadline.
class RecordingHost : public WorkerHost {
public:
    struct Finished {
        std::string path;
        int32_t passes;
        int32_t valid;
        int32_t average;
        bool timed;
    };

    void add(const std::string& path, const std::string& type = "wav") {
        record([&] { entries.push_back(QueueEntry{path, type, 1}); });
    }
    bool nextEntry(QueueEntry& entry) override {
        std::lock_guard<std::mutex> guard(mutex);
        if (entries.empty())
            return false;
        entry = entries.front();
        return true;
    }
    bool entryAfterNext(QueueEntry& entry) override {
        std::lock_guard<std::mutex> guard(mutex);
        if (entries.size() < 2)
            return false;
        entry = entries[1];
        return true;
    }
    void timingStarted(const QueueEntry& entry) override {
        record([&] { timed.push_back(entry.path); });
    }
    void entryFinished(const QueueEntry& entry, int32_t passes, int32_t valid, int32_t average, bool timed) override {
        record([&] {
            entries.pop_front();
            finished.push_back({entry.path, passes, valid, average, timed});
        });
    }
    void entryDropped(const QueueEntry& entry, bool) override {
        record([&] {
            entries.pop_front();
            dropped.push_back(entry.path);
        });
    }
    void stateChanged(WorkerState state) override {
        record([&] { states.push_back(state); });
    }
    bool lastStateIs(WorkerPhase phase, int32_t pass = 0, int32_t lastPass = 0) {
        return !states.empty() && states.back().phase == phase && states.back().pass == pass &&
               states.back().lastPass == lastPass;
    }
    void queueDrained() override {
        record([&] { ++drained; });
    }

    template <typename Predicate> bool waitFor(Predicate done, int seconds = 30) {
        std::unique_lock<std::mutex> lock(mutex);
        return changed.wait_for(lock, std::chrono::seconds(seconds), [&] { return done(); });
    }

    std::mutex mutex;
    std::condition_variable changed;
    std::vector<std::string> timed;
    std::vector<Finished> finished;
    std::vector<std::string> dropped;
    std::deque<QueueEntry> entries;
    std::vector<WorkerState> states;
    int drained = 0;

private:
    template <typename Change> void record(Change change) {
        {
            std::lock_guard<std::mutex> guard(mutex);
            change();
        }
        changed.notify_all();
    }
};

std::string executableDirectory() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string s(path);
    return s.substr(0, s.rfind('\\'));
}

std::string standinDetector() {
    return executableDirectory() + "\\standin\\aucdtect.exe";
}

// The suspend count of the main thread of each of this process's children, read by suspending it once more.
std::vector<DWORD> childSuspendCounts() {
    std::vector<DWORD> children;
    win::UniqueHandle processes(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    PROCESSENTRY32 process{};
    process.dwSize = sizeof process;
    for (BOOL more = Process32First(processes.get(), &process); more; more = Process32Next(processes.get(), &process)) {
        if (process.th32ParentProcessID == GetCurrentProcessId())
            children.push_back(process.th32ProcessID);
    }
    std::vector<DWORD> counts;
    win::UniqueHandle threads(CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0));
    THREADENTRY32 thread{};
    thread.dwSize = sizeof thread;
    for (DWORD child : children) {
        for (BOOL more = Thread32First(threads.get(), &thread); more; more = Thread32Next(threads.get(), &thread)) {
            if (thread.th32OwnerProcessID != child)
                continue;
            win::UniqueHandle handle(OpenThread(THREAD_SUSPEND_RESUME, FALSE, thread.th32ThreadID));
            counts.push_back(SuspendThread(handle.get()));
            ResumeThread(handle.get());
            break; // the first thread listed is the main thread
        }
    }
    return counts;
}

template <typename Predicate> bool pollFor(Predicate done, ULONGLONG timeoutMs = 20000) {
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    while (!done()) {
        if (GetTickCount64() >= deadline)
            return false;
        Sleep(20);
    }
    return true;
}

class WorkerTest : public ::testing::Test {
protected:
    WorkerTest() {
        log.setPaths(dir.file("System.log"), dir.file("Detect.log"));
        decoders.append(DecoderRow{false, "wav", "", ""});
        // One pass at a time unless a test says otherwise, whatever the machine's processors.
        settings.parallelPasses = 1;
    }

    std::string script(const std::string& name, const std::string& text) {
        std::string path = dir.file(name);
        qvtest::writeFile(path, text);
        return path;
    }

    std::unique_ptr<Worker> startWorker(const std::string& detector) {
        auto worker = std::make_unique<Worker>(host, decoders, settings, log,
                                               WorkerConfig{dir.str(), dir.str(), detector, GetCurrentProcessId()});
        EXPECT_TRUE(worker->start());
        return worker;
    }

    std::string systemLog() { return qvtest::readFile(dir.file("System.log")); }

    qvtest::TempDir dir;
    RecordingHost host;
    DecoderTable decoders;
    SharedSettings settings;
    DiagnosticLog log;
};

} // namespace

TEST_F(WorkerTest, ADetectorThatCannotStartFinishesTheEntryAsUnknownAndGoesOn) {
    std::string a = script("a.wav", "m* verdict=cdda:90\r\n");
    std::string b = script("b.wav", "m* verdict=cdda:90\r\n");
    host.add(a);
    host.add(b);
    auto worker = startWorker(dir.file("no-such-detector.exe"));
    ASSERT_TRUE(host.waitFor([&] { return host.finished.size() == 2; }));
    EXPECT_EQ(host.finished[0].path, a);
    EXPECT_EQ(host.finished[0].average, -1);
    EXPECT_EQ(host.finished[0].passes, 0);
    EXPECT_FALSE(host.finished[0].timed) << "a detector that never ran says nothing of the file's checking time";
    EXPECT_TRUE(host.entries.empty());
    worker->finish();
    EXPECT_TRUE(worker->waitFinished(20000));
    EXPECT_NE(systemLog().find("Cannot start detector"), std::string::npos);
}

TEST_F(WorkerTest, ADetectorThatFailsToStartOnceIsTriedAgain) {
    // The detector appears only after the first try has failed, as after a passing start failure.
    std::string a = script("a.wav", "m* verdict=cdda:90\r\n");
    host.add(a);
    std::string late = dir.file("late-detector.exe");
    auto worker = startWorker(late);
    // The log is a file: polled, with a deadline.
    const ULONGLONG deadline = GetTickCount64() + 10000;
    while (systemLog().find("Cannot start detector (error") == std::string::npos && GetTickCount64() < deadline)
        Sleep(5);
    ASSERT_TRUE(CopyFileA(standinDetector().c_str(), late.c_str(), FALSE));
    ASSERT_TRUE(host.waitFor([&] { return host.finished.size() == 1; }));
    EXPECT_EQ(host.finished[0].average, 90);
    EXPECT_EQ(host.finished[0].valid, 2);
    EXPECT_TRUE(host.finished[0].timed);
    worker->finish();
    EXPECT_TRUE(worker->waitFinished(20000));
}

TEST_F(WorkerTest, FinishBetweenTriesToStartAChildKeepsTheEntryQueued) {
    std::string a = script("a.wav", "m* verdict=cdda:90\r\n");
    host.add(a);
    auto worker = startWorker(dir.file("no-such-detector.exe"));
    const ULONGLONG deadline = GetTickCount64() + 10000;
    while (systemLog().find("trying again") == std::string::npos && GetTickCount64() < deadline)
        Sleep(5);
    worker->finish();
    EXPECT_TRUE(worker->waitFinished(20000));
    EXPECT_TRUE(host.finished.empty()) << "an exit is no verdict";
    EXPECT_EQ(host.entries.size(), 1u);
}

TEST_F(WorkerTest, AnEntryOfATypeWithoutDecoderRowIsDroppedWithALogLine) {
    std::string odd = script("x.ogg", "");
    std::string good = script("y.wav", "m* verdict=mpeg:30\r\n");
    host.add(odd, "ogg");
    host.add(good);
    auto worker = startWorker(standinDetector());
    ASSERT_TRUE(host.waitFor([&] { return host.finished.size() == 1; }));
    ASSERT_EQ(host.dropped.size(), 1u);
    EXPECT_EQ(host.dropped[0], odd);
    EXPECT_EQ(host.timed, std::vector<std::string>{good}); // the dropped entry was never timed
    EXPECT_EQ(host.finished[0].average, 70);
    EXPECT_EQ(host.finished[0].passes, 2);
    EXPECT_NE(systemLog().find("No decoder for the file type of " + odd), std::string::npos);
    worker->finish();
    EXPECT_TRUE(worker->waitFinished(20000));
}

TEST_F(WorkerTest, ReadsTheVerdictBehindMoreOutputThanAPipeHolds) {
    std::string big = script("big.wav", "m* noise=2097152 verdict=cdda:77\r\n");
    host.add(big);
    settings.maximumTotalPasses = 1;
    settings.minimumValidPasses = 1;
    auto worker = startWorker(standinDetector());
    ASSERT_TRUE(host.waitFor([&] { return host.finished.size() == 1; }, 60));
    EXPECT_EQ(host.finished[0].average, 77);
    EXPECT_EQ(host.finished[0].valid, 1);
    worker->finish();
    EXPECT_TRUE(worker->waitFinished(20000));
}

TEST_F(WorkerTest, FinishDuringAHangingPassEndsPromptlyAndKeepsTheEntryQueued) {
    std::string hang = script("hang.wav", "m* hang\r\n");
    host.add(hang);
    auto worker = startWorker(standinDetector());
    ASSERT_TRUE(host.waitFor([&] { return host.lastStateIs(WorkerPhase::Detecting, 1); }));
    auto started = std::chrono::steady_clock::now();
    worker->finish();
    EXPECT_TRUE(worker->waitFinished(20000));
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(10));
    ASSERT_EQ(host.entries.size(), 1u);
    EXPECT_EQ(host.entries.front().path, hang);
    EXPECT_FALSE(qvtest::fileExists(worker->detectorOutputFileName()));
    std::string text = systemLog();
    for (const char* line : {"Finishing worker thread", "Terminating process", "Removing temp file",
                             "Removing log file", "Worker thread cleanup"})
        EXPECT_NE(text.find(line), std::string::npos) << line;
}

TEST_F(WorkerTest, IdleIsReportedOnceAfterWorkAndNotBeforeAny) {
    auto worker = startWorker(standinDetector());
    std::string one = script("one.wav", "m* verdict=cdda:100\r\n");
    host.add(one);
    ASSERT_TRUE(host.waitFor([&] { return host.drained == 1; }));
    EXPECT_EQ(host.states.front().phase, WorkerPhase::Detecting);
    EXPECT_EQ(host.states.front().pass, 1);
    EXPECT_TRUE(host.lastStateIs(WorkerPhase::Idle));
    worker->finish();
    EXPECT_TRUE(worker->waitFinished(20000));
    EXPECT_EQ(host.drained, 1);
}

TEST_F(WorkerTest, AHangingPassIsEndedAfterTheTimeoutAndCountsWithoutVerdict) {
    std::string hang = script("hang.wav", "m0 verdict=cdda:90 hang\r\nm* hang\r\n");
    std::string next = script("next.wav", "m* verdict=cdda:80\r\n");
    host.add(hang);
    host.add(next);
    settings.detectPassTimeout = 1;
    settings.maximumTotalPasses = 2;
    auto worker = startWorker(standinDetector());
    ASSERT_TRUE(host.waitFor([&] { return host.finished.size() == 2; }, 60));
    // The first pass printed a verdict before it hung: a timed-out pass still counts without one.
    EXPECT_EQ(host.finished[0].path, hang);
    EXPECT_EQ(host.finished[0].passes, 2);
    EXPECT_EQ(host.finished[0].valid, 0);
    EXPECT_EQ(host.finished[0].average, -1);
    EXPECT_EQ(host.finished[1].average, 80);
    std::string text = systemLog();
    std::size_t first = text.find("Pass timed out after 1 sec");
    ASSERT_NE(first, std::string::npos);
    EXPECT_NE(text.find("Pass timed out after 1 sec", first + 1), std::string::npos);
    worker->finish();
    EXPECT_TRUE(worker->waitFinished(20000));
}

TEST_F(WorkerTest, VerdictsOutsideZeroToHundredAreNotValid) {
    std::string odd = script("odd.wav", "m0 verdict=cdda:150\r\nm1 verdict=mpeg:150\r\nm2 verdict=cdda:40\r\n"
                                        "m3 verdict=cdda:60\r\n");
    host.add(odd);
    auto worker = startWorker(standinDetector());
    ASSERT_TRUE(host.waitFor([&] { return host.finished.size() == 1; }));
    EXPECT_EQ(host.finished[0].passes, 4);
    EXPECT_EQ(host.finished[0].valid, 2);
    EXPECT_EQ(host.finished[0].average, 50);
    std::string text = systemLog();
    EXPECT_NE(text.find("Ignoring a verdict outside 0..100: 150"), std::string::npos);
    EXPECT_NE(text.find("Ignoring a verdict outside 0..100: -50"), std::string::npos);
    worker->finish();
    EXPECT_TRUE(worker->waitFinished(20000));
}

TEST_F(WorkerTest, ASlowPassThatKeepsProgressingOutlivesTheTimeout) {
    // Three and a half seconds of wall time with under one of processor time: progress all along.
    std::string slow = script("slow.wav", "m* busy=3500 verdict=cdda:70\r\n");
    host.add(slow);
    settings.detectPassTimeout = 2;
    settings.minimumValidPasses = 1;
    settings.maximumTotalPasses = 1;
    auto worker = startWorker(standinDetector());
    ASSERT_TRUE(host.waitFor([&] { return host.finished.size() == 1; }, 60));
    EXPECT_EQ(host.finished[0].average, 70);
    EXPECT_EQ(systemLog().find("Pass timed out"), std::string::npos);
    worker->finish();
    EXPECT_TRUE(worker->waitFinished(20000));
}

TEST_F(WorkerTest, PassesSideBySideGiveWhatPassesOneAtATimeGive) {
    // Pass 2 cannot qualify the track, and the first pass ends last.
    const char* text = "m0 sleep=600 verdict=cdda:90\r\nm1 verdict=unqualified\r\nm2 verdict=mpeg:40\r\n"
                       "m* verdict=cdda:10\r\n";
    struct Run {
        int32_t sideBySide;
        WorkerState shown;
    };
    const Run runs[] = {{1, {WorkerPhase::Detecting, 1, 0}}, {2, {WorkerPhase::Detecting, 1, 2}}};
    for (const Run& run : runs) {
        RecordingHost fresh;
        std::string file = script(formatText("x%d.wav", run.sideBySide), text);
        settings.parallelPasses = run.sideBySide;
        auto worker = std::make_unique<Worker>(fresh, decoders, settings, log,
                                               WorkerConfig{dir.str(), dir.str(), standinDetector(), 1});
        fresh.add(file);
        ASSERT_TRUE(worker->start());
        ASSERT_TRUE(fresh.waitFor([&] { return fresh.finished.size() == 1; }, 60)) << run.sideBySide;
        EXPECT_EQ(fresh.finished[0].passes, 3) << run.sideBySide;
        EXPECT_EQ(fresh.finished[0].valid, 2) << run.sideBySide;
        EXPECT_EQ(fresh.finished[0].average, 75) << run.sideBySide;
        EXPECT_TRUE(fresh.finished[0].timed);
        const WorkerState first = fresh.states.front();
        EXPECT_EQ(first.pass, run.shown.pass);
        EXPECT_EQ(first.lastPass, run.shown.lastPass) << run.sideBySide;
        worker->finish();
        EXPECT_TRUE(worker->waitFinished(20000));
    }
}

TEST_F(WorkerTest, PauseHoldsEveryPassSideBySideAndFinishEndsThemAll) {
    std::string slow = script("slow.wav", "m0 sleep=1500 verdict=cdda:90\r\nm* sleep=1500 verdict=cdda:80\r\n");
    std::string hang = script("hang.wav", "m* hang\r\n");
    host.add(slow);
    host.add(hang);
    settings.parallelPasses = 2;
    auto worker = startWorker(standinDetector());
    ASSERT_TRUE(host.waitFor([&] { return host.lastStateIs(WorkerPhase::Detecting, 1, 2); }));
    worker->pause();
    EXPECT_TRUE(pollFor([] {
        std::vector<DWORD> counts = childSuspendCounts();
        return counts.size() == 2 && counts[0] == 1 && counts[1] == 1;
    })) << "both passes suspended";
    worker->resume();
    ASSERT_TRUE(host.waitFor([&] { return host.finished.size() == 1; }));
    EXPECT_EQ(host.finished[0].average, 85);
    ASSERT_TRUE(host.waitFor([&] { return host.lastStateIs(WorkerPhase::Detecting, 1, 2); }));
    worker->finish();
    EXPECT_TRUE(worker->waitFinished(20000));
    EXPECT_TRUE(pollFor([] { return childSuspendCounts().empty(); })) << "no pass left running";
    ASSERT_EQ(host.entries.size(), 1u);
    EXPECT_EQ(host.entries.front().path, hang);
    for (std::size_t place = 0; place < 2; ++place)
        EXPECT_FALSE(qvtest::fileExists(worker->detectorOutputFileName(place))) << place;
}

TEST_F(WorkerTest, TheNextFileIsDecodedWhileThePassesRunAndEveryChildFollowsPauseAndFinish) {
    decoders.append(
        DecoderRow{true, "flac", executableDirectory() + "\\standin\\decoders\\flac\\flac.exe", "-d -f -o {T} {F}"});
    std::string a = script("a.flac", "m* sleep=4000 verdict=cdda:90\r\n");
    std::string b = script("b.flac", "decoder sleep=2500\r\nm* verdict=cdda:80\r\n");
    std::string c = script("c.flac", "decoder hang\r\nm* verdict=cdda:70\r\n");
    for (const std::string& file : {a, b, c})
        host.add(file, "flac");
    settings.parallelPasses = 2;
    auto worker = startWorker(standinDetector());
    ASSERT_TRUE(host.waitFor([&] { return host.lastStateIs(WorkerPhase::Detecting, 1, 2); }));
    ASSERT_TRUE(pollFor([&] { return systemLog().find("Decompressing " + b) != std::string::npos; }));
    EXPECT_TRUE(host.finished.empty()) << "b is decoded while the passes of a run";

    worker->pause();
    EXPECT_TRUE(pollFor([] {
        std::vector<DWORD> counts = childSuspendCounts();
        return counts == std::vector<DWORD>{1, 1, 1};
    })) << "two passes and the decoder suspended";
    worker->resume();
    ASSERT_TRUE(host.waitFor([&] { return host.finished.size() == 2; }, 60));
    EXPECT_EQ(host.finished[0].average, 90);
    EXPECT_EQ(host.finished[1].average, 80);
    const std::string text = systemLog();
    EXPECT_EQ(text.find("Decompressing " + b, text.find("Decompressing " + b) + 1), std::string::npos)
        << "b decoded once";

    // c's decoder, started ahead during b's passes, hangs: c is in work, decoding, when the worker finishes.
    ASSERT_TRUE(host.waitFor([&] { return host.lastStateIs(WorkerPhase::Decompressing); }));
    worker->finish();
    EXPECT_TRUE(worker->waitFinished(20000));
    EXPECT_TRUE(pollFor([] { return childSuspendCounts().empty(); })) << "no child left running";
    ASSERT_EQ(host.entries.size(), 1u);
    EXPECT_EQ(host.entries.front().path, c);
    for (std::size_t turn = 0; turn < 2; ++turn)
        EXPECT_FALSE(qvtest::fileExists(worker->tempFileName(turn))) << turn;
}
