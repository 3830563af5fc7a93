#include "engine/win/ChildProcess.h"

#include <vector>

namespace qv {
namespace {

// A job that ends every process in it when its last handle closes. This program holds the only handle, so when
// it ends in any way (an exit, a crash, a kill) its children end with it: a child suspended by the worker's pause
// would otherwise stay suspended for good, holding its file open. Null when the job cannot be made.
HANDLE childrenJob() {
    static const win::UniqueHandle job = [] {
        win::UniqueHandle handle(CreateJobObjectA(nullptr, nullptr));
        JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
        limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
        if (handle.valid() &&
            !SetInformationJobObject(handle.get(), JobObjectExtendedLimitInformation, &limits, sizeof limits))
            handle.reset();
        return handle;
    }();
    return job.get();
}

} // namespace

bool startChild(const std::string& commandLine, const std::string& workingDirectory, HANDLE stdOutput,
                ChildProcess& child, DWORD& error) {
    child.clear();
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
    if (stdOutput != nullptr) {
        startup.dwFlags |= STARTF_USESTDHANDLES;
        startup.hStdOutput = stdOutput;
    }
    std::vector<char> mutableCommand(commandLine.begin(), commandLine.end());
    mutableCommand.push_back('\0');
    PROCESS_INFORMATION info{};
    // No console at all: the children's output goes to a pipe or a file, and a console, even a hidden one, comes
    // with a console host process at every start (under Wine about a third of a short pass's processor time).
    if (!CreateProcessA(nullptr, mutableCommand.data(), nullptr, nullptr, TRUE, IDLE_PRIORITY_CLASS | DETACHED_PROCESS,
                        nullptr, workingDirectory.empty() ? nullptr : workingDirectory.c_str(), &startup, &info)) {
        error = GetLastError();
        return false;
    }
    child.process.reset(info.hProcess);
    child.thread.reset(info.hThread);
    // Where the job cannot take the child (this program itself in a job that forbids it, before Windows 8), the
    // child still runs; only its end with this program is not assured.
    if (HANDLE job = childrenJob())
        AssignProcessToJobObject(job, info.hProcess);
    child.processId = info.dwProcessId;
    child.threadId = info.dwThreadId;
    error = 0;
    return true;
}

namespace {

uint64_t milliseconds(const FILETIME& time) {
    return ((static_cast<uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime) / 10000;
}

// Wine answers GetProcessTimes for another process with the caller's own times; there only the child's main
// thread can be read.
bool processTimesAreTheChilds() {
    static const bool underWine = GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version") != nullptr;
    return !underWine;
}

} // namespace

ProcessorReading readProcessorTime(const ChildProcess& child) {
    FILETIME created{}, ended{}, kernel{}, user{};
    ProcessorReading reading;
    if (processTimesAreTheChilds() && GetProcessTimes(child.process.get(), &created, &ended, &kernel, &user))
        reading.processMs = milliseconds(kernel) + milliseconds(user);
    if (GetThreadTimes(child.thread.get(), &created, &ended, &kernel, &user))
        reading.mainThreadMs = milliseconds(kernel) + milliseconds(user);
    return reading;
}

OutputDrain::~OutputDrain() {
    finish(1000);
}

bool OutputDrain::start(win::UniqueHandle readEnd, const std::string& outputPath) {
    readEnd_ = std::move(readEnd);
    file_.reset(
        CreateFileA(outputPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    thread_.reset(CreateThread(nullptr, 0, &OutputDrain::copyLoop, this, 0, nullptr));
    return thread_.valid();
}

bool OutputDrain::finish(DWORD timeoutMs) {
    bool complete = true;
    if (thread_) {
        if (WaitForSingleObject(thread_.get(), timeoutMs) != WAIT_OBJECT_0) {
            // Something still holds the pipe's write end (a detector's own child, say): stop reading.
            complete = false;
            CancelSynchronousIo(thread_.get());
            if (WaitForSingleObject(thread_.get(), 2000) != WAIT_OBJECT_0)
                TerminateThread(thread_.get(), 0);
        }
        thread_.reset();
    }
    readEnd_.reset();
    file_.reset();
    return complete;
}

DWORD WINAPI OutputDrain::copyLoop(void* self) {
    auto* drain = static_cast<OutputDrain*>(self);
    char block[2048];
    DWORD got = 0;
    while (ReadFile(drain->readEnd_.get(), block, sizeof block, &got, nullptr) && got > 0) {
        const char* from = block;
        DWORD left = got;
        while (drain->file_ && left > 0) {
            DWORD written = 0;
            if (!WriteFile(drain->file_.get(), from, left, &written, nullptr) || written == 0) {
                drain->file_.reset(); // keep reading so the child never blocks on a full pipe
                break;
            }
            from += written;
            left -= written;
        }
    }
    return 0;
}

} // namespace qv
