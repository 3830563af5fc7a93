#pragma once
// The program's two append-only diagnostic logs, "System.log" and "Detect.log".
// Every line is a complete open, append and close, so the files can be read or deleted while the program runs.
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

namespace qv {

class DiagnosticLog {
public:
    // Told the first time in a run that a log cannot be opened; the Windows layer shows a message box with the
    // given text. Later failures of the same log are not told again: a box for every line would stall the
    // worker behind a stack of modal boxes.
    using OpenFailureReporter = std::function<void(const std::string& text)>;

    void setPaths(const std::string& systemLogPath, const std::string& detectLogPath);
    void setOpenFailureReporter(OpenFailureReporter reporter);

    // "<time stamp>" or "<time stamp> - <message>".
    void writeSystemLog(const std::string& message) const;
    // Several System.log lines in one open, append and close, each with its own time stamp: listing a
    // large tree logs a line per file, and opening the log for every line made listing many times slower.
    void writeSystemLogLines(const std::vector<std::string>& messages) const;
    // "<time stamp> <message>".
    void writeDetectLog(const std::string& message) const;
    // "<time stamp> - %3d%% [%d/%d] <path>".
    void writeDetectResult(int32_t percent, int32_t validPasses, int32_t totalPasses, const std::string& path) const;

    const std::string& systemLogPath() const { return systemLogPath_; }
    const std::string& detectLogPath() const { return detectLogPath_; }

private:
    void appendLine(const std::string& path, const std::string& text, const char* failureText,
                    bool& failureReported) const;
    // Appends complete lines (time stamps and line ends included).
    void appendLines(const std::string& path, const std::string& lines, const char* failureText,
                     bool& failureReported) const;

    std::string systemLogPath_;
    std::string detectLogPath_;
    OpenFailureReporter reporter_;
    mutable std::mutex mutex_;
    mutable bool systemFailureReported_ = false;
    mutable bool detectFailureReported_ = false;
};

} // namespace qv
