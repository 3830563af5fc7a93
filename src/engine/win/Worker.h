#pragma once
// The worker thread: takes queue entries one at a time, decodes compressed files, runs the detector's
// passes of a file side by side and hands each file's verdict to its host. While the file in work leaves a
// place free, the next file is decoded and its first passes start there, so no core idles while the file in
// work's longest pass ends; its verdict still comes after this file's. It never blocks on a child: it sleeps
// in one wait on its signals and its children and answers each with one step of the work.
#include "engine/DecoderTable.h"
#include "engine/PassPlan.h"
#include "engine/PassWatchdog.h"
#include "engine/QueueEntry.h"
#include "engine/WorkerPhase.h"
#include "engine/win/ChildProcess.h"
#include "logs/DiagnosticLog.h"
#include "settings/Settings.h"
#include "win/Handles.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace qv {

// What the worker tells the rest of the program. Called on the worker thread.
class WorkerHost {
public:
    virtual ~WorkerHost() = default;
    // The entry to work on next, false when there is none. It stays the host's (at the head of its queue)
    // until the worker reports it with entryFinished or entryDropped; until then the worker asks for no other.
    virtual bool nextEntry(QueueEntry& entry) = 0;
    // The entry behind that one, decoded ahead while the passes of the first run; false when there is none.
    // It stays queued where it is until the worker reports it.
    virtual bool entryAfterNext(QueueEntry& entry) = 0;
    // The entry's detection starts: time it from now.
    virtual void timingStarted(const QueueEntry& entry) = 0;
    // The entry's passes are done: the host removes it and records its verdict, as one step for anyone
    // saving the state meanwhile. average is -1 when no pass gave a verdict. timed is false when a decoder or
    // detector could not run: the time it took says nothing of how long such a file takes to check.
    virtual void entryFinished(const QueueEntry& entry, int32_t passes, int32_t validPasses, int32_t average,
                               bool timed) = 0;
    // The entry cannot be checked: the host removes it. timingWasStarted says whether timingStarted
    // preceded it.
    virtual void entryDropped(const QueueEntry& entry, bool timingWasStarted) = 0;
    virtual void stateChanged(WorkerState state) = 0;
    // The queue was found empty after work.
    virtual void queueDrained() = 0;
};

// Names the worker's scratch files, "<prefix>_<process id>.tmp" and ".log" (the next file decoded ahead, and
// more passes side by side: "<prefix>_<process id>_<n>.tmp" and ".log").
inline constexpr const char* kScratchPrefix = "KelvrA";

struct WorkerConfig {
    std::string programDirectory; // current directory of every child
    std::string scratchDirectory; // home of the decoded file and the detector's output
    std::string detectorPath;
    uint32_t processId = 0; // names the scratch files
};

class Worker {
public:
    Worker(WorkerHost& host, const DecoderTable& decoders, const SharedSettings& settings, const DiagnosticLog& log,
           WorkerConfig config);
    ~Worker();
    Worker(const Worker&) = delete;
    Worker& operator=(const Worker&) = delete;

    [[nodiscard]] bool start();
    bool started() const { return thread_.valid(); }

    // Commands from the user-interface thread; each is a one-shot signal that the worker lowers when
    // it takes it, so none is lost while the worker is busy.
    void pause();
    void resume();
    void setPriority(int32_t level);
    // Clears paused, raises resume and then finish.
    void finish();
    // Waits for the thread to end; true when it did within timeoutMs.
    bool waitFinished(DWORD timeoutMs);

    // The decoded file of the file in work, or of the next one decoded ahead: the two take turns.
    std::string tempFileName(std::size_t turn = 0) const;
    // The output file of the pass in the given place of those side by side.
    std::string detectorOutputFileName(std::size_t place = 0) const;

private:
    enum Signal { kFinish, kDecoderEnded, kNextDecoderEnded, kNextEntry, kPause, kResume, kPriority, kSignalCount };

    // The next file, decoded while the passes of the file in work run, and then checked in the places they
    // leave free. Ready: decoded, or a file the detector reads as it is.
    struct NextFile {
        // Skipped: its decoder could not start; it is decoded when its turn comes, as any other file.
        enum class State { None, Decoding, Ready, Failed, Skipped };
        State state = State::None;
        ChildProcess decoder;
        QueueEntry entry;
        DecoderRow row;
        std::string failure;          // the log line of a decoder that failed
        std::optional<PassPlan> plan; // once its first pass started
    };

    // One detector pass in work: its process, the copy of its output and its watchdog.
    struct DetectorPass {
        ChildProcess child;
        OutputDrain drain;
        int32_t mode = -1; // -1 while the place is free
        bool ofNextFile = false;
        std::optional<PassWatchdog> watchdog;
        bool timedOut = false;
    };

    static DWORD WINAPI threadProc(void* self);
    void run();
    void takeNextEntry();
    // A child that cannot start is often a passing condition (a busy machine, a scanner holding the file;
    // Wine fails a process start now and then): a few tries, a moment apart, before the entry gives up.
    // Finishing when the worker is told to finish meanwhile: the entry then stays queued, as during a pass.
    enum class StartResult { Started, Failed, Finishing };
    StartResult startWithRetries(const char* what, const std::function<bool(DWORD& error)>& attempt, DWORD& error);
    void startDecoder();
    void onDecoderEnded();
    // The decoder's outcome: empty when its output is whole, else the log line that says why not.
    std::string decoderFailure(ChildProcess& decoder, const std::string& output, const DecoderRow& row,
                               const QueueEntry& entry);
    // Decodes the next file, or starts its passes in the places the file in work leaves free.
    void prepareNextFile();
    // The entry after the one in work: ready at once when the detector reads it as it is, else decoded.
    void takeUpNextFile();
    void onNextDecoderEnded();
    void startPassesOfNextFile();
    // Takes the next file, decoded or checked in part, as the one in work; false when entry is another one.
    bool adoptNextFile(const QueueEntry& entry);
    void dropNextFile();
    void beginPasses();
    PassPlan newPlan() const;
    // Starts every pass the plan allows in the places free now; Finishing when the worker is told to finish.
    StartResult startPlannedPasses(PassPlan& plan, bool ofNextFile);
    // Starts every pass the plan allows now, then finishes the entry when its outcome is known.
    void continuePasses();
    // A place no pass of either file holds, within the passes allowed side by side.
    std::optional<std::size_t> freePlace() const;
    // The file the detector reads for the file in work, or for the next file.
    std::string detectorInput(bool ofNextFile) const;
    StartResult startDetectorPass(std::size_t place, int32_t mode, bool ofNextFile);
    void onPassEnded(std::size_t place);
    // Ends each pass that its watchdog gives up on; it then counts as a pass without a verdict.
    void checkPassWatchdogs();
    std::optional<int32_t> readDetectorOutput(DetectorPass& pass, std::size_t place);
    // The decoder of the entry in work runs: the phase, and the state the host shows.
    void enterDecompressing();
    void reportDetecting();
    // Counted: the entry's time goes into the statistics; NotCounted when a child could not run.
    enum class Timing { Counted, NotCounted };
    void finishEntry(int32_t passes, const std::vector<int32_t>& verdicts, Timing timing);
    void dropEntry(const char* reason);
    // A child just started: at the user's priority, and suspended while the user has paused.
    void settle(ChildProcess& child);
    void onPause();
    void onResume();
    void onPriority();
    void applyPriority(const ChildProcess& child);
    void terminateChildren();
    // Ends a pass no longer wanted, whichever file it was for; its place is free again.
    void abandonPass(DetectorPass& pass);
    void terminate(ChildProcess& child, OutputDrain* drain);
    void removeTempFile(bool logIt);
    void removeDetectorOutputs(bool logIt);
    void log(const std::string& message) const { log_.writeSystemLog(message); }

    WorkerHost& host_;
    const DecoderTable& decoders_;
    const SharedSettings& settings_;
    const DiagnosticLog& log_;
    const WorkerConfig config_;

    win::UniqueHandle thread_;
    win::UniqueHandle events_[kSignalCount];
    std::atomic<bool> paused_{false};
    std::atomic<int32_t> priority_{kPriorityIdle};

    // Worker-thread state.
    WorkerPhase phase_ = WorkerPhase::Idle;
    bool busy_ = false;
    ChildProcess decoder_;
    std::size_t tempTurn_ = 0; // which of the two decoded files is the one in work
    NextFile next_;
    std::vector<std::unique_ptr<DetectorPass>> passes_;
    std::size_t sideBySide_ = 1; // passes of both files together, as "Detect Parallel Passes" was at the file's start
    std::optional<PassPlan> plan_;
    WorkerState reported_;
    QueueEntry entry_;
    DecoderRow row_;
    bool timing_ = false;
    ULONGLONG nextWatchdogTick_ = 0;
};

} // namespace qv
