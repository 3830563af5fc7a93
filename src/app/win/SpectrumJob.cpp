#include "app/win/SpectrumJob.h"

#include "common/Text.h"
#include "engine/PassWatchdog.h"
#include "engine/win/ChildProcess.h"
#include "win/Helpers.h"

#include <atomic>
#include <utility>

namespace qv {
namespace {

// Apart from the worker's KelvrA_<process>.tmp, and numbered, so that several windows never share a file.
std::string scratchName(const std::string& directory, const char* extension) {
    static std::atomic<unsigned> counter{0};
    return formatText("%s\\QvSpectrum_%lu_%u.%s", directory.c_str(), GetCurrentProcessId(), counter++, extension);
}

} // namespace

SpectrumJob::SpectrumJob(SpectrumTools tools, std::string file)
    : tools_(std::move(tools)), file_(std::move(file)), wavPath_(scratchName(tools_.scratchDirectory, "wav")),
      pngPath_(scratchName(tools_.scratchDirectory, "png")), cancel_(CreateEventA(nullptr, TRUE, FALSE, nullptr)) {}

SpectrumJob::~SpectrumJob() {
    if (cancel_)
        SetEvent(cancel_.get());
    if (thread_)
        WaitForSingleObject(thread_.get(), INFINITE);
    DeleteFileA(wavPath_.c_str());
    DeleteFileA(pngPath_.c_str());
}

bool SpectrumJob::start(HWND window, UINT message) {
    window_ = window;
    message_ = message;
    thread_.reset(CreateThread(nullptr, 0, &SpectrumJob::threadProc, this, 0, nullptr));
    return thread_.valid() && cancel_.valid();
}

DWORD WINAPI SpectrumJob::threadProc(void* self) {
    auto* job = static_cast<SpectrumJob*>(self);
    job->run();
    PostMessageA(job->window_, job->message_, 0, 0);
    return 0;
}

SpectrumJob::ChildEnd SpectrumJob::runChild(const std::string& commandLine, DWORD& exitCode) {
    ChildProcess child;
    DWORD error = 0;
    if (!startChild(commandLine, tools_.programDirectory, nullptr, child, error))
        return ChildEnd::Failed;
    // The same watchdog as the worker's passes: a child that hangs must not leave the window drawing forever.
    PassWatchdog watchdog(tools_.timeLimitMs, GetTickCount64(), readProcessorTime(child));
    HANDLE waits[] = {child.process.get(), cancel_.get()};
    for (;;) {
        const DWORD waited = WaitForMultipleObjects(2, waits, FALSE, static_cast<DWORD>(kWatchdogTickMs));
        if (waited == WAIT_OBJECT_0)
            break;
        if (waited == WAIT_TIMEOUT && !watchdog.expired(GetTickCount64(), readProcessorTime(child)))
            continue;
        TerminateProcess(child.process.get(), 1);
        WaitForSingleObject(child.process.get(), 5000);
        return waited == WAIT_TIMEOUT ? ChildEnd::TimedOut : ChildEnd::Failed;
    }
    if (!GetExitCodeProcess(child.process.get(), &exitCode))
        exitCode = 1;
    return ChildEnd::Exited;
}

void SpectrumJob::run() {
    if (!win::isExistingFile(file_)) {
        error_ = "The file is gone or cannot be read.";
        return;
    }
    std::string type;
    const DecoderRow* row = fileTypeOf(file_, type) ? tools_.decoders.findRow(type) : nullptr;
    if (row == nullptr) {
        error_ = "Quorvane has no decoder for this type of file.";
        return;
    }
    std::string wav = file_;
    if (row->needsDecoding) {
        DWORD exitCode = 0;
        const std::string decode = decoderCommandLine(*row, file_, wavPath_);
        const ChildEnd end = runChild(decode, exitCode);
        if (end != ChildEnd::Exited || exitCode != 0 || !win::isExistingFile(wavPath_)) {
            error_ = end == ChildEnd::TimedOut ? kDecoderTimedOutMessage : "The decoder could not decode this file.";
            return;
        }
        wav = wavPath_;
    }
    DWORD exitCode = 0;
    const std::string draw =
        formatText("\"%s\" -m0 --picture \"%s\" \"%s\"", tools_.detectorPath.c_str(), pngPath_.c_str(), wav.c_str());
    // A detector that does not know --picture ends with an error or writes no file.
    const ChildEnd end = runChild(draw, exitCode);
    if (end != ChildEnd::Exited || exitCode != 0 || !win::isExistingFile(pngPath_)) {
        error_ = end == ChildEnd::TimedOut ? kDetectorTimedOutMessage : kCannotDrawMessage;
        return;
    }
    picturePath_ = pngPath_;
}

} // namespace qv
