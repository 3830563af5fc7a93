#include "logs/DiagnosticLog.h"

#include "common/Clock.h"
#include "common/Text.h"

#include <cstdio>

namespace qv {

namespace {

// What follows the time stamp on a System.log line: nothing for an empty message.
std::string systemLogText(const std::string& message) {
    return message.empty() ? std::string() : " - " + message;
}

} // namespace

void DiagnosticLog::setPaths(const std::string& systemLogPath, const std::string& detectLogPath) {
    systemLogPath_ = systemLogPath;
    detectLogPath_ = detectLogPath;
}

void DiagnosticLog::setOpenFailureReporter(OpenFailureReporter reporter) {
    reporter_ = std::move(reporter);
}

void DiagnosticLog::writeSystemLog(const std::string& message) const {
    appendLine(systemLogPath_, systemLogText(message), "SYSLOG OPEN ERROR", systemFailureReported_);
}

void DiagnosticLog::writeSystemLogLines(const std::vector<std::string>& messages) const {
    std::string lines;
    for (const std::string& message : messages)
        lines += localTimestamp() + systemLogText(message) + "\r\n";
    if (!lines.empty())
        appendLines(systemLogPath_, lines, "SYSLOG OPEN ERROR", systemFailureReported_);
}

void DiagnosticLog::writeDetectLog(const std::string& message) const {
    appendLine(detectLogPath_, " " + message, "DETECT OPEN ERROR 2", detectFailureReported_);
}

void DiagnosticLog::writeDetectResult(int32_t percent, int32_t validPasses, int32_t totalPasses,
                                      const std::string& path) const {
    appendLine(detectLogPath_, formatText(" - %3d%% [%d/%d] ", percent, validPasses, totalPasses) + path,
               "DETECT OPEN ERROR 1", detectFailureReported_);
}

void DiagnosticLog::appendLine(const std::string& path, const std::string& text, const char* failureText,
                               bool& failureReported) const {
    appendLines(path, localTimestamp() + text + "\r\n", failureText, failureReported);
}

void DiagnosticLog::appendLines(const std::string& path, const std::string& lines, const char* failureText,
                                bool& failureReported) const {
    // Binary mode with explicit CR LF, so the bytes are the same on every platform.
    OpenFailureReporter reporter;
    {
        std::lock_guard<std::mutex> guard(mutex_);
        std::FILE* file = path.empty() ? nullptr : std::fopen(path.c_str(), "ab");
        if (file != nullptr) {
            std::fwrite(lines.data(), 1, lines.size(), file);
            std::fclose(file);
            return;
        }
        if (failureReported)
            return;
        failureReported = true;
        reporter = reporter_;
    }
    if (reporter)
        reporter(failureText);
}

} // namespace qv
