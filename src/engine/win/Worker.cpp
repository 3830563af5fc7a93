#include "engine/win/Worker.h"

#include "common/StateFile.h"
#include "common/Text.h"
#include "engine/VerdictReader.h"

namespace qv {

namespace {

struct PriorityLevel {
    int32_t level;
    const char* logLine;
    int threadPriority;
};

// Children always run in the idle priority class; the level moves the child within that class.
const PriorityLevel kPriorityLevels[] = {
    {kPriorityIdle, "Entering IDLE priority level", THREAD_PRIORITY_IDLE},
    {kPriorityBelow, "Entering BELOW NORMAL priority level", THREAD_PRIORITY_BELOW_NORMAL},
    {kPriorityNormal, "Entering NORMAL priority level", THREAD_PRIORITY_NORMAL},
    {kPriorityAbove, "Entering ABOVE NORMAL priority level", THREAD_PRIORITY_ABOVE_NORMAL},
    {kPriorityHigh, "Entering HIGHEST priority level", THREAD_PRIORITY_HIGHEST},
};

const PriorityLevel* findPriorityLevel(int32_t level) {
    for (const PriorityLevel& p : kPriorityLevels) {
        if (p.level == level)
            return &p;
    }
    return nullptr;
}

// How long the worker waits for a pass's output to be complete after the detector's main thread ended.
constexpr DWORD kDrainTimeoutMs = 5000;

constexpr int kStartAttempts = 3;
constexpr DWORD kStartRetryWaitMs = 500;

} // namespace

Worker::Worker(WorkerHost& host, const DecoderTable& decoders, const SharedSettings& settings, const DiagnosticLog& log,
               WorkerConfig config)
    : host_(host), decoders_(decoders), settings_(settings), log_(log), config_(std::move(config)) {
    // Created before the thread starts, so that commands raised right after start are never lost.
    for (auto& event : events_)
        event.reset(CreateEventA(nullptr, TRUE, FALSE, nullptr));
}

Worker::~Worker() {
    if (thread_ && WaitForSingleObject(thread_.get(), 0) == WAIT_TIMEOUT) {
        finish();
        waitFinished(20000);
    }
}

bool Worker::start() {
    for (const auto& event : events_) {
        if (!event)
            return false;
    }
    DWORD id = 0;
    thread_.reset(CreateThread(nullptr, 0, &Worker::threadProc, this, 0, &id));
    return thread_.valid();
}

void Worker::pause() {
    paused_ = true;
    SetEvent(events_[kPause].get());
}

void Worker::resume() {
    paused_ = false;
    SetEvent(events_[kResume].get());
}

void Worker::setPriority(int32_t level) {
    priority_ = level;
    SetEvent(events_[kPriority].get());
}

void Worker::finish() {
    paused_ = false;
    SetEvent(events_[kResume].get());
    SetEvent(events_[kFinish].get());
}

bool Worker::waitFinished(DWORD timeoutMs) {
    return !thread_ || WaitForSingleObject(thread_.get(), timeoutMs) == WAIT_OBJECT_0;
}

std::string Worker::tempFileName() const {
    return formatText("%s\\%s_%u.tmp", config_.scratchDirectory.c_str(), kScratchPrefix, config_.processId);
}

std::string Worker::detectorOutputFileName() const {
    return formatText("%s\\%s_%u.log", config_.scratchDirectory.c_str(), kScratchPrefix, config_.processId);
}

DWORD WINAPI Worker::threadProc(void* self) {
    static_cast<Worker*>(self)->run();
    return 0;
}

void Worker::run() {
    log("Worker thread startup");
    bool waitFailureLogged = false;
    for (;;) {
        HANDLE handles[kSignalCount];
        for (int i = 0; i < kSignalCount; ++i)
            handles[i] = events_[i].get();
        // While a child runs, its main thread stands in the place of its "ended" signal.
        if (child_.running() && phase_ == WorkerPhase::Decompressing)
            handles[kDecoderEnded] = child_.thread.get();
        if (child_.running() && phase_ == WorkerPhase::Detecting)
            handles[kDetectorEnded] = child_.thread.get();

        DWORD result = WaitForMultipleObjects(kSignalCount, handles, FALSE, 500);
        if (result == WAIT_TIMEOUT) {
            checkPassTimeout();
            takeNextEntry();
            continue;
        }
        if (result >= WAIT_OBJECT_0 + kSignalCount) {
            if (!waitFailureLogged)
                log(formatText("Worker wait failed (error %lu)", GetLastError()));
            waitFailureLogged = true;
            WaitForSingleObject(events_[kFinish].get(), 500);
            continue;
        }
        switch (static_cast<Signal>(result - WAIT_OBJECT_0)) {
        case kFinish:
            log("Finishing worker thread");
            terminateChild();
            removeTempFile(true);
            removeDetectorOutput(true);
            log("Worker thread cleanup");
            return;
        case kDecoderEnded:
            onDecoderEnded();
            break;
        case kDetectorEnded:
            onDetectorEnded();
            break;
        case kNextEntry:
            ResetEvent(events_[kNextEntry].get());
            takeNextEntry();
            break;
        case kPause:
            ResetEvent(events_[kPause].get());
            onPause();
            break;
        case kResume:
            ResetEvent(events_[kResume].get());
            onResume();
            break;
        case kPriority:
            ResetEvent(events_[kPriority].get());
            onPriority();
            break;
        case kSignalCount:
            break;
        }
    }
}

void Worker::takeNextEntry() {
    if (paused_ || phase_ != WorkerPhase::Idle)
        return;
    QueueEntry entry;
    if (!host_.nextEntry(entry)) {
        if (busy_) {
            busy_ = false;
            host_.stateChanged(WorkerState{});
            host_.queueDrained();
        }
        return;
    }
    busy_ = true;
    entry_ = entry;
    if (entry_.path.empty() || directoryPart(entry_.path).empty()) {
        dropEntry(nullptr);
        return;
    }
    const DecoderRow* row = decoders_.findRow(extensionOf(entry_.path));
    if (row == nullptr) {
        // Possible for a queue saved while another decoder set was installed: retrying would never end.
        dropEntry("No decoder for the file type of");
        return;
    }
    row_ = *row;
    host_.timingStarted(entry_);
    timing_ = true;
    passCount_ = 0;
    passIndex_ = 0;
    validVerdicts_.clear();
    if (row_.needsDecoding)
        startDecoder();
    else
        startDetectorPass(entry_.path, 0);
}

Worker::StartResult Worker::startWithRetries(const char* what, const std::function<bool(DWORD& error)>& attempt,
                                             DWORD& error) {
    for (int tries = 1;; ++tries) {
        if (attempt(error))
            return StartResult::Started;
        if (tries == kStartAttempts)
            return StartResult::Failed;
        log(formatText("Cannot start %s (error %lu), trying again", what, error));
        // The finish signal stays set: the wait loop sees it next and ends the worker with the entry queued.
        if (WaitForSingleObject(events_[kFinish].get(), kStartRetryWaitMs) == WAIT_OBJECT_0)
            return StartResult::Finishing;
    }
}

void Worker::startDecoder() {
    std::string commandLine = formatText("\"%s\" ", row_.decoderPath.c_str()) +
                              expandTemplate(row_.argumentTemplate, entry_.path, tempFileName());
    DWORD error = 0;
    const StartResult started = startWithRetries(
        "decoder",
        [&](DWORD& failure) { return startChild(commandLine, config_.programDirectory, nullptr, child_, failure); },
        error);
    if (started == StartResult::Finishing)
        return;
    if (started == StartResult::Failed) {
        log(formatText("Cannot start decoder (error %lu): ", error) + commandLine);
        finishEntry(Timing::NotCounted);
        return;
    }
    phase_ = WorkerPhase::Decompressing;
    host_.stateChanged(WorkerState{WorkerPhase::Decompressing, 0});
    log("Decompressing " + entry_.path);
    applyPriority();
}

void Worker::onDecoderEnded() {
    // The main thread has ended; the process follows at once, and only then is its exit code final.
    WaitForSingleObject(child_.process.get(), 1000);
    DWORD exitCode = 0;
    if (!GetExitCodeProcess(child_.process.get(), &exitCode))
        exitCode = GetLastError();
    child_.clear();
    phase_ = WorkerPhase::Detecting;
    passIndex_ = 0;
    passCount_ = 0;
    validVerdicts_.clear();
    // Judging a partial or missing WAV file as if it were the whole track would give a wrong verdict.
    bool haveOutput = GetFileAttributesA(tempFileName().c_str()) != INVALID_FILE_ATTRIBUTES;
    if (exitCode != 0 || !haveOutput) {
        log(formatText("Decoder failed with exit code %lu%s: ", exitCode, haveOutput ? "" : " and no output") +
            row_.decoderPath + " for " + entry_.path);
        finishEntry(Timing::NotCounted);
        return;
    }
    startDetectorPass(tempFileName(), 0);
}

void Worker::startDetectorPass(const std::string& file, int32_t passIndex) {
    std::string commandLine = formatText("\"%s\" -m%d \"%s\"", config_.detectorPath.c_str(), passIndex, file.c_str());
    SECURITY_ATTRIBUTES inheritable{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    win::UniqueHandle readEnd;
    DWORD error = 0;
    const StartResult started = startWithRetries(
        "detector",
        [&](DWORD& failure) {
            win::UniqueHandle writeEnd;
            if (!CreatePipe(readEnd.replaceAddress(), writeEnd.replaceAddress(), &inheritable, 0) ||
                !SetHandleInformation(readEnd.get(), HANDLE_FLAG_INHERIT, 0)) {
                failure = GetLastError();
                return false;
            }
            // Once started, only the detector holds the write end, so the drain sees the end of the output
            // when it ends.
            return startChild(commandLine, config_.programDirectory, writeEnd.get(), child_, failure);
        },
        error);
    if (started == StartResult::Finishing)
        return;
    if (started == StartResult::Failed) {
        log(formatText("Cannot start detector (error %lu): ", error) + commandLine);
        finishEntry(Timing::NotCounted);
        return;
    }
    passStartedTick_ = GetTickCount64();
    suspendedAtTick_ = 0;
    passTimedOut_ = false;
    if (!drain_.start(std::move(readEnd), detectorOutputFileName()))
        log("Cannot read the detector's output");
    phase_ = WorkerPhase::Detecting;
    applyPriority();
    host_.stateChanged(WorkerState{WorkerPhase::Detecting, passIndex + 1});
    log(formatText("Checking %s pass %d", entry_.path.c_str(), passIndex + 1));
}

void Worker::checkPassTimeout() {
    const int32_t limit = settings_.detectPassTimeout.load();
    if (limit <= 0 || phase_ != WorkerPhase::Detecting || !child_.running() || suspendedAtTick_ != 0 || passTimedOut_)
        return;
    if (GetTickCount64() - passStartedTick_ < static_cast<ULONGLONG>(limit) * 1000)
        return;
    // Detectors are known to hang on some tracks; the queue must go on. The main thread's end, which the
    // wait sees next, finishes the pass as usual.
    log(formatText("Pass timed out after %d sec", limit));
    passTimedOut_ = true;
    TerminateProcess(child_.process.get(), 1);
}

void Worker::onDetectorEnded() {
    ++passCount_;
    child_.clear();
    readDetectorOutput();
    removeDetectorOutput(false);
    if (passCount_ < settings_.maximumTotalPasses.load() &&
        static_cast<int32_t>(validVerdicts_.size()) < settings_.minimumValidPasses.load()) {
        ++passIndex_;
        startDetectorPass(row_.needsDecoding ? tempFileName() : entry_.path, passIndex_);
        return;
    }
    finishEntry(Timing::Counted);
}

void Worker::readDetectorOutput() {
    if (!drain_.finish(kDrainTimeoutMs))
        log("Detector output still open after the detector ended; reading what arrived");
    std::string output;
    if (passTimedOut_ || !readWholeFile(detectorOutputFileName(), output))
        return;
    std::optional<int32_t> verdict = readVerdict(output);
    if (!verdict)
        return;
    // A percentage outside 0..100 would drag the file's and the directory's means outside it too.
    if (*verdict < 0 || *verdict > 100) {
        log(formatText("Ignoring a verdict outside 0..100: %d", *verdict));
        return;
    }
    validVerdicts_.push_back(*verdict);
}

void Worker::finishEntry(Timing timing) {
    int64_t sum = 0;
    for (int32_t v : validVerdicts_)
        sum += v;
    const int32_t n = static_cast<int32_t>(validVerdicts_.size());
    const int32_t average = n > 0 ? roundedMean(sum, n) : -1;
    host_.entryFinished(entry_, passCount_, n, average, timing == Timing::Counted);
    timing_ = false;
    removeTempFile(false);
    phase_ = WorkerPhase::Idle;
    SetEvent(events_[kNextEntry].get());
}

void Worker::dropEntry(const char* reason) {
    if (reason != nullptr)
        log(std::string(reason) + " " + entry_.path + ", removed from the queue");
    host_.entryDropped(entry_, timing_);
    timing_ = false;
    phase_ = WorkerPhase::Idle;
    SetEvent(events_[kNextEntry].get());
}

void Worker::onPause() {
    if (!child_.running())
        return;
    log("Suspending worker thread");
    SuspendThread(child_.thread.get());
    if (suspendedAtTick_ == 0)
        suspendedAtTick_ = GetTickCount64();
}

void Worker::onResume() {
    if (!child_.running())
        return;
    log("Resuming worker thread");
    ResumeThread(child_.thread.get());
    if (suspendedAtTick_ != 0) {
        passStartedTick_ += GetTickCount64() - suspendedAtTick_;
        suspendedAtTick_ = 0;
    }
}

void Worker::onPriority() {
    const PriorityLevel* level = findPriorityLevel(priority_);
    log(level != nullptr ? level->logLine : "Unknown priority level");
    applyPriority();
}

void Worker::applyPriority() {
    const PriorityLevel* level = findPriorityLevel(priority_);
    if (level != nullptr && child_.running())
        SetThreadPriority(child_.thread.get(), level->threadPriority);
}

void Worker::terminateChild() {
    if (child_.running()) {
        log("Terminating process");
        TerminateProcess(child_.process.get(), 0);
        if (WaitForSingleObject(child_.process.get(), 1000) != WAIT_OBJECT_0) {
            log("Timeout on terminating!");
            log("File removal might fail!");
        }
    }
    drain_.finish(kDrainTimeoutMs);
    child_.clear();
}

void Worker::removeTempFile(bool logIt) {
    if (logIt)
        log("Removing temp file");
    DeleteFileA(tempFileName().c_str());
}

void Worker::removeDetectorOutput(bool logIt) {
    if (logIt)
        log("Removing log file");
    DeleteFileA(detectorOutputFileName().c_str());
}

} // namespace qv
