#include "logs/ResultLog.h"

#include "common/HostFileSystem.h"
#include "common/Text.h"
#include "common/Version.h"

#include <cstdio>
#include <utility>

namespace qv {

namespace {

constexpr const char* kAttribution = " by the Quorvane developers ";

class OutputFile {
public:
    explicit OutputFile(const std::string& path) : file_(std::fopen(toHostPath(path).c_str(), "wb")) {}
    ~OutputFile() {
        if (file_ != nullptr)
            std::fclose(file_);
    }
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    bool isOpen() const { return file_ != nullptr; }
    // Writes everything and closes; false when any byte may be missing.
    bool writeAndClose(const std::string& content) {
        bool written = std::fwrite(content.data(), 1, content.size(), file_) == content.size();
        written = std::fclose(file_) == 0 && written;
        file_ = nullptr;
        return written;
    }

private:
    std::FILE* file_;
};

} // namespace

ResultLogWriter::ResultLogWriter(RecentDirectories& recent, const SharedSettings& settings, const DiagnosticLog& log,
                                 NowFunction now)
    : recent_(recent), settings_(settings), log_(log), now_(std::move(now)) {}

void ResultLogWriter::writeResultLog(const std::string& directory, const ResultSet& rows) {
    int32_t summaryPercent = kUnknownPercent;
    if (settings_.saveLogToDirectory.load() != 0) {
        std::string path = directory + "\\" + kResultLogName;
        log_.writeSystemLog("Creating log file: " + path);
        log_.writeDetectLog("Creating log file: " + path);
        bool written = writeLogFile(path, directory, rows, summaryPercent);
        if (!written)
            summaryPercent = kUnknownPercent; // no log in the directory says so
        if (summaryPercent != kUnknownPercent && settings_.savePercentToLogName.load() != 0)
            renameWithPercent(path, directory, summaryPercent);
    }
    recent_.add(directory, summaryPercent);
    if (settings_.limitHistory.load() != 0)
        recent_.trimTo(settings_.historySize.load());
}

bool ResultLogWriter::writeLogFile(const std::string& path, const std::string& directory, const ResultSet& rows,
                                   int32_t& summaryPercent) {
    OutputFile file(path);
    if (!file.isOpen())
        return false;
    int32_t total = rows.fileCount();
    int32_t unknown = rows.unknownCount;
    int32_t known = total - unknown;
    bool fullDirectory = settings_.saveFullDirectoryToLog.load() != 0;

    std::string text = std::string(kProductName) + kAttribution + kVersionBanner + "\r\n";
    text += localTimestamp(now_()) + "\r\n\r\n";
    text += "Directory: " + (fullDirectory ? directory : fileNamePart(directory)) + "\r\n\r\n";
    rows.writeRows(text, settings_.minimumValidPasses.load());
    text += "\r\n";
    if (total > 0)
        text += formatText("Total file(s): %d\r\n", total);
    if (unknown > 0)
        text += formatText("Unknown file(s): %d\r\n", unknown);
    if (known > 0) {
        summaryPercent = rows.average();
        text += formatText("\r\nSummary: %d%% CDDA\r\n", summaryPercent);
    }
    return file.writeAndClose(text);
}

void ResultLogWriter::renameWithPercent(const std::string& path, const std::string& directory, int32_t summaryPercent) {
    removeObsoleteLogs(directory);
    std::string newPath = directory + formatText("\\kelvra.%03d.log", summaryPercent);
    log_.writeSystemLog("Renaming log file to: " + newPath);
    log_.writeDetectLog("Renaming log file to: " + newPath);
    std::rename(toHostPath(path).c_str(), toHostPath(newPath).c_str());
}

void ResultLogWriter::removeObsoleteLogs(const std::string& directory) {
    std::string pattern = directory + "\\" + kObsoleteLogPattern;
    log_.writeSystemLog("Removing obsolete files: " + pattern);
    std::vector<DirectoryEntry> entries;
    if (!listDirectory(pattern, entries))
        return;
    for (const DirectoryEntry& entry : entries) {
        if (!entry.isDirectory)
            std::remove(toHostPath(directory + "\\" + entry.name).c_str());
    }
}

bool ResultLogWriter::closeDirectoryIfEnded(const std::string& leavingPath, const std::optional<std::string>& nextPath,
                                            const ResultSet& rows) {
    std::string directory = directoryPart(leavingPath);
    if (nextPath && directoryPart(*nextPath) == directory)
        return false;
    if (rows.fileCount() == 0)
        return false;
    writeResultLog(directory, rows);
    return true;
}

} // namespace qv
