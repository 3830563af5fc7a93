#include "engine/win/Worker.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <tlhelp32.h>

#include <chrono>
#include <condition_variable>
#include <deque>
#include <filesystem>
#include <mutex>
#include <set>
#include <tuple>

using namespace qv;

namespace {

// Path, passes, valid passes, average and timed, as the worker reports a finished entry.
using Finished = std::tuple<std::string, int32_t, int32_t, int32_t, bool>;
// Phase, pass and last pass.
using State = std::tuple<WorkerPhase, int32_t, int32_t>;

// Hands out entries from a list and records what the worker tells its host, for tests to wait on.
class RecordingHost : public WorkerHost {
public:
    void add(const std::string& path, const std::string& type) {
        record([&] { entries.push_back(QueueEntry{path, type, 1}); });
    }
    void removeLast() {
        record([&] { entries.pop_back(); });
    }
    bool nextEntry(QueueEntry& entry) override { return entryAt(0, entry); }
    bool entryAfterNext(QueueEntry& entry) override { return entryAt(1, entry); }
    void timingStarted(const QueueEntry&) override {}
    void entryFinished(const QueueEntry& entry, int32_t passes, int32_t valid, int32_t average, bool isTimed) override {
        record([&] {
            entries.pop_front();
            finished.emplace_back(entry.path, passes, valid, average, isTimed);
        });
    }
    void entryDropped(const QueueEntry&, bool) override {
        record([&] { entries.pop_front(); });
    }
    void stateChanged(WorkerState state) override {
        record([&] { states.emplace_back(state.phase, state.pass, state.lastPass); });
    }
    void queueDrained() override {
        record([&] { ++drained; });
    }

    bool lastStateIs(WorkerPhase phase, int32_t pass = 0, int32_t lastPass = 0) {
        return !states.empty() && states.back() == State{phase, pass, lastPass};
    }
    template <typename Predicate> bool waitFor(Predicate done, int seconds = 60) {
        std::unique_lock<std::mutex> lock(mutex);
        return changed.wait_for(lock, std::chrono::seconds(seconds), [&] { return done(); });
    }

    std::vector<Finished> finished;
    std::deque<QueueEntry> entries;
    std::vector<State> states;
    int drained = 0;

private:
    bool entryAt(std::size_t index, QueueEntry& entry) {
        std::lock_guard<std::mutex> guard(mutex);
        if (entries.size() <= index)
            return false;
        entry = entries[index];
        return true;
    }
    template <typename Change> void record(Change change) {
        {
            std::lock_guard<std::mutex> guard(mutex);
            change();
        }
        changed.notify_all();
    }

    std::mutex mutex;
    std::condition_variable changed;
};

std::string standinDirectory() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    return std::filesystem::path(path).parent_path().string() + "\\standin";
}

// The suspend count of the main thread of each of this process's children, read by suspending it once more.
std::vector<DWORD> childSuspendCounts() {
    std::set<DWORD> children;
    win::UniqueHandle processes(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    PROCESSENTRY32 process{};
    process.dwSize = sizeof process;
    for (BOOL more = Process32First(processes.get(), &process); more; more = Process32Next(processes.get(), &process)) {
        if (process.th32ParentProcessID == GetCurrentProcessId())
            children.insert(process.th32ProcessID);
    }
    std::vector<DWORD> counts;
    win::UniqueHandle threads(CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0));
    THREADENTRY32 thread{};
    thread.dwSize = sizeof thread;
    for (BOOL more = Thread32First(threads.get(), &thread); more; more = Thread32Next(threads.get(), &thread)) {
        if (children.erase(thread.th32OwnerProcessID) == 0)
            continue; // not a child's, or not the first thread listed: the main thread
        win::UniqueHandle handle(OpenThread(THREAD_SUSPEND_RESUME, FALSE, thread.th32ThreadID));
        counts.push_back(SuspendThread(handle.get()));
        ResumeThread(handle.get());
    }
    return counts;
}

template <typename Predicate> bool pollFor(Predicate done) {
    for (const ULONGLONG deadline = GetTickCount64() + 20000; !done(); Sleep(20)) {
        if (GetTickCount64() >= deadline)
            return false;
    }
    return true;
}

// A worker over files whose content is the stand-in's script, with a recording host.
class WorkerTest : public ::testing::Test {
protected:
    WorkerTest() {
        log.setPaths(dir.file("System.log"), dir.file("Detect.log"));
        decoders.append(DecoderRow{false, "wav", "", ""});
        settings.parallelPasses = 1; // whatever the machine's processors
    }

    std::string queue(const std::string& name, const std::string& script, const std::string& type = "wav") {
        std::string path = dir.file(name);
        qvtest::writeFile(path, script);
        host.add(path, type);
        return path;
    }
    void addFlacDecoder() {
        decoders.append(
            DecoderRow{true, "flac", standinDirectory() + "\\decoders\\flac\\flac.exe", "-d -f -o {T} {F}"});
    }
    void start(const std::string& detector = standinDirectory() + "\\aucdtect.exe") {
        worker = std::make_unique<Worker>(host, decoders, settings, log,
                                          WorkerConfig{dir.str(), dir.str(), detector, GetCurrentProcessId()});
        ASSERT_TRUE(worker->start());
    }
    void finish() {
        worker->finish();
        EXPECT_TRUE(worker->waitFinished(20000));
    }
    std::size_t logCount(const std::string& line) const {
        const std::string text = qvtest::readFile(dir.file("System.log"));
        std::size_t count = 0;
        for (std::size_t at = text.find(line); at != std::string::npos; at = text.find(line, at + 1))
            ++count;
        return count;
    }

    qvtest::TempDir dir;
    DiagnosticLog log;
    DecoderTable decoders;
    SharedSettings settings;
    RecordingHost host;
    std::unique_ptr<Worker> worker;
};

} // namespace

TEST_F(WorkerTest, EachFilesPassesGiveItsVerdict) {
    struct Case {
        const char* script;
        int32_t minimumValid, maximumTotal, timeout, sideBySide;
        Finished expected;
        int32_t firstLastPass; // of the first state shown, with pass 1
    };
    const char* outOfRange =
        "m0 verdict=cdda:150\r\nm1 verdict=mpeg:150\r\nm2 verdict=cdda:0\r\nm3 verdict=cdda:100\r\n";
    // Side by side, pass 2 cannot qualify the track, and the first pass ends last.
    const char* sideBySide = "m0 sleep=600 verdict=cdda:90\r\nm1 verdict=unqualified\r\nm2 verdict=mpeg:40\r\n"
                             "m* verdict=cdda:10\r\n";
    const Case cases[] = {
        {outOfRange, 2, 12, 0, 1, {"", 4, 2, 50, true}, 0},
        // A pass that printed its verdict before it hung still counts without one.
        {"m0 verdict=cdda:90 hang\r\nm* hang\r\n", 2, 2, 1, 1, {"", 2, 0, -1, true}, 0},
        // Three and a half seconds of wall time with under one of processor time: progress all along.
        {"m* busy=3500 verdict=cdda:70\r\n", 1, 1, 2, 1, {"", 1, 1, 70, true}, 0},
        {sideBySide, 2, 12, 0, 1, {"", 3, 2, 75, true}, 0},
        {sideBySide, 2, 12, 0, 2, {"", 3, 2, 75, true}, 2},
    };
    start();
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        settings.minimumValidPasses = c.minimumValid;
        settings.maximumTotalPasses = c.maximumTotal;
        settings.detectPassTimeout = c.timeout;
        settings.parallelPasses = c.sideBySide;
        const std::size_t firstState = host.states.size();
        Finished expected = c.expected;
        std::get<0>(expected) = queue(std::to_string(i) + ".wav", c.script);
        ASSERT_TRUE(host.waitFor([&] { return host.drained == static_cast<int>(i) + 1; })) << i;
        EXPECT_EQ(host.finished.back(), expected) << c.script;
        EXPECT_EQ(host.states.at(firstState), (State{WorkerPhase::Detecting, 1, c.firstLastPass})) << c.script;
        EXPECT_TRUE(host.lastStateIs(WorkerPhase::Idle)) << c.script;
    }
    EXPECT_EQ(logCount("Ignoring a verdict outside 0..100: -50"), 1u);
    EXPECT_EQ(logCount("Pass timed out after 1 sec"), 2u);
    EXPECT_EQ(logCount("Pass timed out"), 2u) << "the slow pass outlives its timeout";
    // Idle is told once after work, not again while the queue stays empty.
    EXPECT_FALSE(host.waitFor([&] { return host.drained > static_cast<int>(std::size(cases)); }, 1));

    // Finish during passes side by side leaves none of their output behind.
    settings.detectPassTimeout = 0;
    queue("hang.wav", "m* hang\r\n");
    ASSERT_TRUE(host.waitFor([&] { return host.lastStateIs(WorkerPhase::Detecting, 1, 2); }));
    finish();
    for (std::size_t place = 0; place < 2; ++place)
        EXPECT_FALSE(qvtest::fileExists(worker->detectorOutputFileName(place))) << place;
}

TEST_F(WorkerTest, AnUncheckableEntryIsDroppedOrFinishedUnknownAndAChildThatFailsToStartIsTriedAgainUntilAnExit) {
    std::string odd = queue("x.ogg", "", "ogg");
    std::string a = queue("a.wav", "m* verdict=cdda:90\r\n");
    std::string b = queue("b.wav", "m* verdict=cdda:90\r\n");
    std::string late = dir.file("late-detector.exe");
    start(late);
    // a's tries all fail; the detector appears after b's first.
    ASSERT_TRUE(pollFor([&] { return logCount("Cannot start detector (error") >= 4; }));
    ASSERT_TRUE(CopyFileA((standinDirectory() + "\\aucdtect.exe").c_str(), late.c_str(), FALSE));
    ASSERT_TRUE(host.waitFor([&] { return host.finished.size() == 2; }));
    EXPECT_EQ(logCount("No decoder for the file type of " + odd), 1u);
    // A detector that never ran says nothing of the file's checking time.
    EXPECT_EQ(host.finished[0], (Finished{a, 0, 0, -1, false}));
    EXPECT_EQ(host.finished[1], (Finished{b, 2, 2, 90, true}));

    // An exit between tries is no verdict: the entry stays queued.
    ASSERT_TRUE(pollFor([&] { return DeleteFileA(late.c_str()) != 0; }));
    queue("c.wav", "m* verdict=cdda:90\r\n");
    ASSERT_TRUE(pollFor([&] { return logCount("Cannot start detector (error") >= 5; }));
    finish();
    EXPECT_EQ(host.finished.size(), 2u);
    EXPECT_EQ(host.entries.size(), 1u);
}

TEST_F(WorkerTest, TheNextFileIsDecodedWhileThePassesRunAndEveryChildFollowsPauseAndFinish) {
    addFlacDecoder();
    queue("a.flac", "m* sleep=4000 verdict=cdda:90\r\n", "flac");
    std::string b = queue("b.flac", "decoder sleep=2500\r\nm* verdict=cdda:80\r\n", "flac");
    std::string c = queue("c.flac", "decoder hang\r\nm* verdict=cdda:70\r\n", "flac");
    settings.parallelPasses = 2;
    start();
    ASSERT_TRUE(host.waitFor([&] { return host.lastStateIs(WorkerPhase::Detecting, 1, 2); }));
    ASSERT_TRUE(pollFor([&] { return logCount("Decompressing " + b) == 1; }));
    EXPECT_TRUE(host.finished.empty()) << "b is decoded while the passes of a run";

    worker->pause();
    EXPECT_TRUE(pollFor([] {
        return childSuspendCounts() == std::vector<DWORD>{1, 1, 1};
    })) << "two passes and the decoder suspended";
    worker->resume();
    ASSERT_TRUE(host.waitFor([&] { return host.finished.size() == 2; }));
    EXPECT_EQ(std::make_pair(std::get<3>(host.finished[0]), std::get<3>(host.finished[1])), std::make_pair(90, 80));

    // c's decoder, started ahead during b's passes, hangs: c is in work, decoding, when the worker finishes.
    ASSERT_TRUE(host.waitFor([&] { return host.lastStateIs(WorkerPhase::Decompressing); }));
    finish();
    EXPECT_TRUE(pollFor([] { return childSuspendCounts().empty(); })) << "no child left running";
    ASSERT_EQ(host.entries.size(), 1u);
    EXPECT_EQ(host.entries.front().path, c);
    for (std::size_t turn = 0; turn < 2; ++turn)
        EXPECT_FALSE(qvtest::fileExists(worker->tempFileName(turn))) << turn;
}

TEST_F(WorkerTest, OnePassAtATimeIsOneChildAtATime) {
    addFlacDecoder();
    std::string a = queue("a.flac", "m* verdict=cdda:90\r\n", "flac");
    std::string b = queue("b.flac", "m* verdict=cdda:80\r\n", "flac");
    start();
    ASSERT_TRUE(host.waitFor([&] { return host.finished.size() == 2; }));
    const std::string text = qvtest::readFile(dir.file("System.log"));
    EXPECT_LT(text.find("Checking " + a + " pass 2"), text.find("Decompressing " + b)) << "b decoded ahead";
}

TEST_F(WorkerTest, TheNextFilesPassesTakeThePlacesTheFileInWorkLeavesFreeAndGoWhenItDoes) {
    settings.parallelPasses = 2;
    std::string a = queue("a.wav", "m0 sleep=4000 verdict=cdda:90\r\nm1 verdict=mpeg:20\r\n");
    std::string b = queue("b.wav", "m0 sleep=1000 verdict=cdda:70\r\nm* verdict=cdda:50\r\n");
    start();
    ASSERT_TRUE(pollFor([&] { return logCount("Checking " + b + " pass 1") == 1; }));
    EXPECT_TRUE(host.finished.empty()) << "b's first pass runs beside a's longer one";
    EXPECT_TRUE(host.lastStateIs(WorkerPhase::Detecting, 1)) << "the status shows the file in work's passes alone";
    worker->pause();
    EXPECT_TRUE(pollFor([] { return childSuspendCounts() == std::vector<DWORD>{1, 1}; }));
    worker->resume();
    ASSERT_TRUE(host.waitFor([&] { return host.drained == 1; }));
    EXPECT_EQ(host.finished, (std::vector<Finished>{{a, 2, 2, 85, true}, {b, 2, 2, 60, true}}));

    // The next file leaves the queue, or the worker finishes, while its pass runs: no child, no output left.
    for (bool finishing : {false, true}) {
        queue("c.wav", "m0 sleep=3000 verdict=cdda:90\r\nm1 verdict=cdda:90\r\n");
        std::string d = queue("d.wav", "m* hang\r\n");
        ASSERT_TRUE(
            pollFor([&] { return logCount("Checking " + d + " pass 1") == static_cast<std::size_t>(finishing) + 1; }));
        if (finishing) {
            finish();
            EXPECT_EQ(host.entries.size(), 2u) << "both files stay queued";
        } else {
            host.removeLast();
            ASSERT_TRUE(host.waitFor([&] { return host.drained == 2; }));
        }
        EXPECT_TRUE(pollFor([] { return childSuspendCounts().empty(); })) << finishing;
        for (std::size_t place = 0; place < 2; ++place)
            EXPECT_FALSE(qvtest::fileExists(worker->detectorOutputFileName(place))) << place;
    }
    EXPECT_EQ(host.finished.size(), 3u);
}
