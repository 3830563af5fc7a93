#pragma once
// One child process (a decoder or a detector pass): its handles, and the pipe drain for its output.
#include "engine/PassWatchdog.h"
#include "win/Handles.h"

#include <cstdint>
#include <string>

namespace qv {

struct ChildProcess {
    win::UniqueHandle process;
    win::UniqueHandle thread; // the main thread: its end is what the worker waits for
    DWORD processId = 0;
    DWORD threadId = 0;
    bool suspended = false; // by the worker's pause

    bool running() const { return process.valid() && thread.valid(); }
    void clear() {
        process.reset();
        thread.reset();
        processId = 0;
        threadId = 0;
        suspended = false;
    }
};

// The processor time a child has used so far.
ProcessorReading readProcessorTime(const ChildProcess& child);

// Starts commandLine hidden, in the idle priority class, in workingDirectory, with handles inherited.
// stdOutput, when not null, becomes the child's standard output. Returns false and leaves child empty
// when the process cannot be created; error then holds GetLastError().
bool startChild(const std::string& commandLine, const std::string& workingDirectory, HANDLE stdOutput,
                ChildProcess& child, DWORD& error);

// Copies everything a child writes into a pipe to a file while the child runs, so that no amount of
// output can fill the pipe and stall the child. The copy ends when every write end is closed.
class OutputDrain {
public:
    OutputDrain() = default;
    ~OutputDrain();
    OutputDrain(const OutputDrain&) = delete;
    OutputDrain& operator=(const OutputDrain&) = delete;

    // Takes the pipe's read end. When outputPath cannot be created the output is read and dropped.
    bool start(win::UniqueHandle readEnd, const std::string& outputPath);
    // Waits for the copy to end and closes the file; after the time-out the pending read is cancelled.
    // Returns false when the copy had to be cut short.
    bool finish(DWORD timeoutMs);

private:
    static DWORD WINAPI copyLoop(void* self);

    win::UniqueHandle readEnd_;
    win::UniqueHandle file_;
    win::UniqueHandle thread_;
};

} // namespace qv
