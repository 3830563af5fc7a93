#include "engine/win/Worker.h"

#include "common/StateFile.h"
#include "common/Text.h"
#include "engine/VerdictReader.h"

#include <algorithm>

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

// One wait covers the worker's signals and every pass's main thread.
constexpr std::size_t kMostPassesSideBySide = 16;

// "Detect Parallel Passes": 0 or less is one pass per processor.
std::size_t passesSideBySide(int32_t setting) {
    if (setting <= 0) {
        SYSTEM_INFO system{};
        GetSystemInfo(&system);
        setting = static_cast<int32_t>(system.dwNumberOfProcessors);
    }
    return std::min<std::size_t>(std::max<int32_t>(setting, 1), kMostPassesSideBySide);
}

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

std::string Worker::tempFileName(std::size_t turn) const {
    if (turn == 0)
        return formatText("%s\\%s_%u.tmp", config_.scratchDirectory.c_str(), kScratchPrefix, config_.processId);
    return formatText("%s\\%s_%u_2.tmp", config_.scratchDirectory.c_str(), kScratchPrefix, config_.processId);
}

std::string Worker::detectorOutputFileName(std::size_t place) const {
    if (place == 0)
        return formatText("%s\\%s_%u.log", config_.scratchDirectory.c_str(), kScratchPrefix, config_.processId);
    return formatText("%s\\%s_%u_%u.log", config_.scratchDirectory.c_str(), kScratchPrefix, config_.processId,
                      static_cast<unsigned>(place + 1));
}

DWORD WINAPI Worker::threadProc(void* self) {
    static_cast<Worker*>(self)->run();
    return 0;
}

void Worker::run() {
    log("Worker thread startup");
    bool waitFailureLogged = false;
    for (;;) {
        std::vector<HANDLE> handles;
        for (const auto& event : events_)
            handles.push_back(event.get());
        // While a child runs, its main thread stands in the place of its "ended" signal.
        if (decoder_.running())
            handles[kDecoderEnded] = decoder_.thread.get();
        if (next_.decoder.running())
            handles[kNextDecoderEnded] = next_.decoder.thread.get();
        std::vector<std::size_t> places;
        for (std::size_t place = 0; place < passes_.size(); ++place) {
            if (passes_[place]->child.running()) {
                handles.push_back(passes_[place]->child.thread.get());
                places.push_back(place);
            }
        }

        DWORD result = WaitForMultipleObjects(static_cast<DWORD>(handles.size()), handles.data(), FALSE,
                                              static_cast<DWORD>(kWatchdogTickMs));
        // Children that end often keep the wait from timing out: the watchdogs keep their own pace.
        if (GetTickCount64() >= nextWatchdogTick_) {
            nextWatchdogTick_ = GetTickCount64() + kWatchdogTickMs;
            checkPassWatchdogs();
        }
        if (result == WAIT_TIMEOUT) {
            takeNextEntry();
            continue;
        }
        if (result >= WAIT_OBJECT_0 + handles.size()) {
            if (!waitFailureLogged)
                log(formatText("Worker wait failed (error %lu)", GetLastError()));
            waitFailureLogged = true;
            WaitForSingleObject(events_[kFinish].get(), 500);
            continue;
        }
        const std::size_t index = result - WAIT_OBJECT_0;
        if (index >= kSignalCount) {
            onPassEnded(places[index - kSignalCount]);
            continue;
        }
        switch (static_cast<Signal>(index)) {
        case kFinish:
            log("Finishing worker thread");
            terminateChildren();
            removeTempFile(true);
            removeDetectorOutputs(true);
            log("Worker thread cleanup");
            return;
        case kDecoderEnded:
            onDecoderEnded();
            break;
        case kNextDecoderEnded:
            onNextDecoderEnded();
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
        dropNextFile(); // it left the queue
        if (busy_) {
            busy_ = false;
            reported_ = WorkerState{};
            host_.stateChanged(reported_);
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
    if (adoptNextFile(entry_))
        return;
    if (row_.needsDecoding)
        startDecoder();
    else
        beginPasses();
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
    const std::string commandLine = decoderCommandLine(row_, entry_.path, tempFileName(tempTurn_));
    DWORD error = 0;
    const StartResult started = startWithRetries(
        "decoder",
        [&](DWORD& failure) { return startChild(commandLine, config_.programDirectory, nullptr, decoder_, failure); },
        error);
    if (started == StartResult::Finishing)
        return;
    if (started == StartResult::Failed) {
        log(formatText("Cannot start decoder (error %lu): ", error) + commandLine);
        finishEntry(0, {}, Timing::NotCounted);
        return;
    }
    enterDecompressing();
    log("Decompressing " + entry_.path);
    settle(decoder_);
}

void Worker::onDecoderEnded() {
    const std::string failure = decoderFailure(decoder_, tempFileName(tempTurn_), row_, entry_);
    if (!failure.empty()) {
        log(failure);
        finishEntry(0, {}, Timing::NotCounted);
        return;
    }
    beginPasses();
}

std::string Worker::decoderFailure(ChildProcess& decoder, const std::string& output, const DecoderRow& row,
                                   const QueueEntry& entry) {
    // The main thread has ended; the process follows at once, and only then is its exit code final.
    WaitForSingleObject(decoder.process.get(), 1000);
    DWORD exitCode = 0;
    if (!GetExitCodeProcess(decoder.process.get(), &exitCode))
        exitCode = GetLastError();
    decoder.clear();
    // Judging a partial or missing WAV file as if it were the whole track would give a wrong verdict.
    const bool haveOutput = GetFileAttributesA(output.c_str()) != INVALID_FILE_ATTRIBUTES;
    if (exitCode == 0 && haveOutput)
        return {};
    return formatText("Decoder failed with exit code %lu%s: ", exitCode, haveOutput ? "" : " and no output") +
           row.decoderPath + " for " + entry.path;
}

void Worker::prepareNextFile() {
    takeUpNextFile();
    startPassesOfNextFile();
}

void Worker::takeUpNextFile() {
    // One pass at a time is one child at a time: a user who asks for it keeps the other processors free.
    if (next_.state != NextFile::State::None || paused_ || phase_ != WorkerPhase::Detecting || sideBySide_ < 2)
        return;
    QueueEntry next;
    if (!host_.entryAfterNext(next) || next.path.empty() || directoryPart(next.path).empty())
        return;
    const DecoderRow* row = decoders_.findRow(extensionOf(next.path));
    if (row == nullptr)
        return;
    next_.entry = next;
    next_.row = *row;
    if (!row->needsDecoding) {
        next_.state = NextFile::State::Ready;
        return;
    }
    const std::string commandLine = decoderCommandLine(*row, next.path, tempFileName(1 - tempTurn_));
    DWORD error = 0;
    if (!startChild(commandLine, config_.programDirectory, nullptr, next_.decoder, error)) {
        next_.state = NextFile::State::Skipped;
        return;
    }
    next_.state = NextFile::State::Decoding;
    log("Decompressing " + next.path);
    settle(next_.decoder);
}

void Worker::onNextDecoderEnded() {
    next_.failure = decoderFailure(next_.decoder, tempFileName(1 - tempTurn_), next_.row, next_.entry);
    next_.state = next_.failure.empty() ? NextFile::State::Ready : NextFile::State::Failed;
    startPassesOfNextFile();
}

void Worker::startPassesOfNextFile() {
    if (next_.state != NextFile::State::Ready || paused_ || phase_ != WorkerPhase::Detecting)
        return;
    if (!next_.plan)
        next_.plan.emplace(newPlan());
    startPlannedPasses(*next_.plan, true);
}

bool Worker::adoptNextFile(const QueueEntry& entry) {
    if (next_.state == NextFile::State::None)
        return false;
    if (next_.entry.path != entry.path) {
        dropNextFile();
        return false;
    }
    const NextFile::State state = next_.state;
    next_.state = NextFile::State::None;
    if (state == NextFile::State::Skipped)
        return false;
    if (next_.row.needsDecoding)
        tempTurn_ = 1 - tempTurn_;
    if (state == NextFile::State::Decoding) {
        decoder_ = std::move(next_.decoder);
        next_.decoder.clear();
        enterDecompressing();
    } else if (state == NextFile::State::Failed) {
        log(next_.failure);
        finishEntry(0, {}, Timing::NotCounted);
    } else if (next_.plan) {
        for (const auto& pass : passes_)
            pass->ofNextFile = false;
        plan_ = std::move(next_.plan);
        next_.plan.reset();
        phase_ = WorkerPhase::Detecting;
        continuePasses();
    } else {
        beginPasses();
    }
    return true;
}

void Worker::dropNextFile() {
    if (next_.state == NextFile::State::None)
        return;
    terminate(next_.decoder, nullptr);
    for (std::size_t place = 0; place < passes_.size(); ++place) {
        if (!passes_[place]->ofNextFile)
            continue;
        abandonPass(*passes_[place]);
        DeleteFileA(detectorOutputFileName(place).c_str());
    }
    next_.plan.reset();
    if (next_.row.needsDecoding)
        DeleteFileA(tempFileName(1 - tempTurn_).c_str());
    next_.state = NextFile::State::None;
}

void Worker::beginPasses() {
    phase_ = WorkerPhase::Detecting;
    sideBySide_ = passesSideBySide(settings_.parallelPasses.load());
    while (passes_.size() < sideBySide_)
        passes_.push_back(std::make_unique<DetectorPass>());
    plan_.emplace(newPlan());
    continuePasses();
}

PassPlan Worker::newPlan() const {
    return PassPlan(settings_.minimumValidPasses.load(), settings_.maximumTotalPasses.load(),
                    static_cast<int32_t>(sideBySide_));
}

Worker::StartResult Worker::startPlannedPasses(PassPlan& plan, bool ofNextFile) {
    // The plan is asked only with a place free, so that it never counts a pass as started in vain.
    for (std::optional<std::size_t> place = freePlace(); place; place = freePlace()) {
        const std::optional<int32_t> mode = plan.nextPass();
        if (!mode)
            break;
        const StartResult started = startDetectorPass(*place, *mode, ofNextFile);
        if (started == StartResult::Finishing)
            return started;
        if (started == StartResult::Failed)
            plan.startFailed(*mode);
    }
    return StartResult::Started;
}

void Worker::continuePasses() {
    if (startPlannedPasses(*plan_, false) == StartResult::Finishing)
        return;
    if (plan_->done()) {
        finishEntry(plan_->passes(), plan_->verdicts(), plan_->allStarted() ? Timing::Counted : Timing::NotCounted);
        return;
    }
    reportDetecting();
    prepareNextFile();
}

std::optional<std::size_t> Worker::freePlace() const {
    std::size_t running = 0;
    std::optional<std::size_t> free;
    for (std::size_t place = 0; place < passes_.size(); ++place) {
        if (passes_[place]->mode >= 0)
            ++running;
        else if (!free)
            free = place;
    }
    if (running >= sideBySide_)
        return std::nullopt;
    return free;
}

std::string Worker::detectorInput(bool ofNextFile) const {
    if (ofNextFile)
        return next_.row.needsDecoding ? tempFileName(1 - tempTurn_) : next_.entry.path;
    return row_.needsDecoding ? tempFileName(tempTurn_) : entry_.path;
}

Worker::StartResult Worker::startDetectorPass(std::size_t place, int32_t mode, bool ofNextFile) {
    const std::string file = detectorInput(ofNextFile);
    std::string commandLine = formatText("\"%s\" -m%d \"%s\"", config_.detectorPath.c_str(), mode, file.c_str());
    DetectorPass& pass = *passes_[place];
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
            // when it ends. Passes side by side start one at a time, so no other pass inherits it.
            return startChild(commandLine, config_.programDirectory, writeEnd.get(), pass.child, failure);
        },
        error);
    if (started == StartResult::Failed)
        log(formatText("Cannot start detector (error %lu): ", error) + commandLine);
    if (started != StartResult::Started)
        return started;
    pass.mode = mode;
    pass.ofNextFile = ofNextFile;
    pass.timedOut = false;
    const int32_t limit = std::max(settings_.detectPassTimeout.load(), 0);
    pass.watchdog.emplace(static_cast<uint64_t>(limit) * 1000, GetTickCount64(), readProcessorTime(pass.child));
    if (!pass.drain.start(std::move(readEnd), detectorOutputFileName(place)))
        log("Cannot read the detector's output");
    settle(pass.child);
    const std::string& path = ofNextFile ? next_.entry.path : entry_.path;
    log(formatText("Checking %s pass %d", path.c_str(), mode + 1));
    return started;
}

void Worker::enterDecompressing() {
    phase_ = WorkerPhase::Decompressing;
    reported_ = WorkerState{WorkerPhase::Decompressing, 0, 0};
    host_.stateChanged(reported_);
}

void Worker::reportDetecting() {
    WorkerState state{WorkerPhase::Detecting, 0, 0};
    for (const auto& pass : passes_) {
        if (pass->mode < 0 || pass->ofNextFile)
            continue;
        state.pass = state.pass == 0 ? pass->mode + 1 : std::min(state.pass, pass->mode + 1);
        state.lastPass = std::max(state.lastPass, pass->mode + 1);
    }
    if (state.lastPass == state.pass)
        state.lastPass = 0;
    if (state.phase != reported_.phase || state.pass != reported_.pass || state.lastPass != reported_.lastPass) {
        reported_ = state;
        host_.stateChanged(state);
    }
}

void Worker::checkPassWatchdogs() {
    const ULONGLONG now = GetTickCount64();
    for (const auto& pass : passes_) {
        if (!pass->child.running() || pass->child.suspended || pass->timedOut ||
            !pass->watchdog->expired(now, readProcessorTime(pass->child)))
            continue;
        // Detectors are known to hang on some tracks; the queue must go on. The main thread's end, which the
        // wait sees next, ends the pass as usual.
        log(formatText("Pass timed out after %d sec", settings_.detectPassTimeout.load()));
        pass->timedOut = true;
        TerminateProcess(pass->child.process.get(), 1);
    }
}

void Worker::onPassEnded(std::size_t place) {
    DetectorPass& pass = *passes_[place];
    pass.child.clear();
    const std::optional<int32_t> verdict = readDetectorOutput(pass, place);
    DeleteFileA(detectorOutputFileName(place).c_str());
    const int32_t mode = pass.mode;
    pass.mode = -1;
    if (!pass.ofNextFile) {
        plan_->passEnded(mode, verdict);
        continuePasses();
        return;
    }
    pass.ofNextFile = false;
    next_.plan->passEnded(mode, verdict);
    // Between two files the next one is taken at once; its passes go on when it is.
    if (plan_)
        continuePasses();
}

std::optional<int32_t> Worker::readDetectorOutput(DetectorPass& pass, std::size_t place) {
    if (!pass.drain.finish(kDrainTimeoutMs))
        log("Detector output still open after the detector ended; reading what arrived");
    std::string output;
    if (pass.timedOut || !readWholeFile(detectorOutputFileName(place), output))
        return std::nullopt;
    std::optional<int32_t> verdict = readVerdict(output);
    if (!verdict)
        return std::nullopt;
    // A percentage outside 0..100 would drag the file's and the directory's means outside it too.
    if (*verdict < 0 || *verdict > 100) {
        log(formatText("Ignoring a verdict outside 0..100: %d", *verdict));
        return std::nullopt;
    }
    return verdict;
}

void Worker::finishEntry(int32_t passes, const std::vector<int32_t>& verdicts, Timing timing) {
    int64_t sum = 0;
    for (int32_t v : verdicts)
        sum += v;
    const int32_t n = static_cast<int32_t>(verdicts.size());
    const int32_t average = n > 0 ? roundedMean(sum, n) : -1;
    host_.entryFinished(entry_, passes, n, average, timing == Timing::Counted);
    timing_ = false;
    plan_.reset();
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

void Worker::settle(ChildProcess& child) {
    applyPriority(child);
    // The pause may have come while this child was starting; its signal then finds it running already.
    if (paused_ && !child.suspended && SuspendThread(child.thread.get()) != static_cast<DWORD>(-1))
        child.suspended = true;
}

void Worker::onPause() {
    bool logged = false;
    auto suspend = [&](ChildProcess& child) {
        if (!child.running() || child.suspended)
            return;
        if (!logged)
            log("Suspending worker thread");
        logged = true;
        child.suspended = SuspendThread(child.thread.get()) != static_cast<DWORD>(-1);
    };
    suspend(decoder_);
    suspend(next_.decoder);
    for (const auto& pass : passes_)
        suspend(pass->child);
}

void Worker::onResume() {
    bool logged = false;
    const ULONGLONG now = GetTickCount64();
    auto resume = [&](ChildProcess& child) {
        if (!child.running() || !child.suspended)
            return false;
        if (!logged)
            log("Resuming worker thread");
        logged = true;
        ResumeThread(child.thread.get());
        child.suspended = false;
        return true;
    };
    resume(decoder_);
    resume(next_.decoder);
    for (const auto& pass : passes_) {
        if (resume(pass->child))
            pass->watchdog->resumed(now);
    }
    prepareNextFile();
}

void Worker::onPriority() {
    const PriorityLevel* level = findPriorityLevel(priority_);
    log(level != nullptr ? level->logLine : "Unknown priority level");
    applyPriority(decoder_);
    applyPriority(next_.decoder);
    for (const auto& pass : passes_)
        applyPriority(pass->child);
}

void Worker::applyPriority(const ChildProcess& child) {
    const PriorityLevel* level = findPriorityLevel(priority_);
    if (level != nullptr && child.running())
        SetThreadPriority(child.thread.get(), level->threadPriority);
}

void Worker::terminateChildren() {
    terminate(decoder_, nullptr);
    terminate(next_.decoder, nullptr);
    for (const auto& pass : passes_)
        abandonPass(*pass);
}

void Worker::abandonPass(DetectorPass& pass) {
    terminate(pass.child, &pass.drain);
    pass.mode = -1;
    pass.ofNextFile = false;
}

void Worker::terminate(ChildProcess& child, OutputDrain* drain) {
    if (child.running()) {
        log("Terminating process");
        TerminateProcess(child.process.get(), 0);
        if (WaitForSingleObject(child.process.get(), 1000) != WAIT_OBJECT_0) {
            log("Timeout on terminating!");
            log("File removal might fail!");
        }
    }
    if (drain != nullptr)
        drain->finish(kDrainTimeoutMs);
    child.clear();
}

void Worker::removeTempFile(bool logIt) {
    if (logIt) {
        log("Removing temp file");
        DeleteFileA(tempFileName(1 - tempTurn_).c_str()); // the next file's, decoded ahead
    }
    DeleteFileA(tempFileName(tempTurn_).c_str());
}

void Worker::removeDetectorOutputs(bool logIt) {
    if (logIt)
        log("Removing log file");
    for (std::size_t place = 0; place < passes_.size(); ++place)
        DeleteFileA(detectorOutputFileName(place).c_str());
}

} // namespace qv
