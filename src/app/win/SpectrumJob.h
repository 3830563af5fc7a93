#pragma once
// Draws one file's spectrum off the user-interface thread: decodes the file when its type needs that, runs the
// detector with --picture, and posts the outcome to a window. Its scratch files are its own (never the worker's)
// and go with the job.
#include "engine/DecoderTable.h"
#include "win/Handles.h"

#include <windows.h>

#include <cstdint>
#include <string>

namespace qv {

// What drawing a spectrum needs from the running program.
struct SpectrumTools {
    std::string programDirectory;
    std::string detectorPath;
    std::string scratchDirectory;
    DecoderTable decoders;
    // The detector's pass time-out; a decoder or detector whose processor time stalls or outgrows it is ended.
    // 0: no limit.
    uint64_t timeLimitMs = 0;
};

inline constexpr const char* kCannotDrawMessage = "The detector in the program directory cannot draw spectra.";
inline constexpr const char* kDetectorTimedOutMessage = "The detector did not finish drawing.";
inline constexpr const char* kDecoderTimedOutMessage = "The decoder did not finish decoding this file.";

class SpectrumJob {
public:
    SpectrumJob(SpectrumTools tools, std::string file);
    // Ends a decoder or detector still running, waits for the thread and removes the scratch files.
    ~SpectrumJob();
    SpectrumJob(const SpectrumJob&) = delete;
    SpectrumJob& operator=(const SpectrumJob&) = delete;

    // Starts the work; message is posted to window when it ends (wParam 0). False when no thread could start.
    [[nodiscard]] bool start(HWND window, UINT message);

    // After the message: the picture's path, or empty with the reason in error().
    const std::string& picturePath() const { return picturePath_; }
    const std::string& error() const { return error_; }

private:
    static DWORD WINAPI threadProc(void* self);
    void run();
    enum class ChildEnd { Exited, Failed, TimedOut };
    // Runs one child to its end; Failed when it could not start or the job was cancelled.
    ChildEnd runChild(const std::string& commandLine, DWORD& exitCode);

    SpectrumTools tools_;
    std::string file_;
    std::string wavPath_;
    std::string pngPath_;
    std::string picturePath_;
    std::string error_;
    HWND window_ = nullptr;
    UINT message_ = 0;
    win::UniqueHandle cancel_;
    win::UniqueHandle thread_;
};

} // namespace qv
