#pragma once
// The result log "kelvra.log" written into each examined directory, named afterwards with the directory's
// CDDA percentage, and the list of directories written in this run.
#include "common/Clock.h"
#include "logs/DiagnosticLog.h"
#include "logs/DirectoryResults.h"
#include "logs/RecentDirectories.h"
#include "settings/Settings.h"

#include <optional>
#include <string>

namespace qv {

inline constexpr const char* kResultLogName = "kelvra.log";
inline constexpr const char* kObsoleteLogPattern = "kelvra.*.log";

class ResultLogWriter {
public:
    // Settings are read when a log is written, so changes made meanwhile take effect at once.
    ResultLogWriter(DirectoryResults& results, RecentDirectories& recent, const SharedSettings& settings,
                    const DiagnosticLog& log, NowFunction now = nowSeconds);

    // Writes the log of the current rows into directory (given without a trailing backslash), names it with
    // the percentage when asked to, and records the directory in the recent directories.
    void writeResultLog(const std::string& directory);

    // Deletes the percentage-named logs of earlier runs; "kelvra.log" itself does not match.
    void removeObsoleteLogs(const std::string& directory);

    // Call after every entry that leaves the queue, finished or not, once its row (if any) has been added.
    // When the queue is now empty or its head lies in another directory, and rows have been gathered,
    // writes their log into the removed entry's directory and empties the rows. True when it did.
    bool closeDirectoryIfEnded(const std::string& removedPath, const std::optional<std::string>& nextHeadPath);

private:
    // False when the log could not be opened or written completely.
    bool writeLogFile(const std::string& path, const std::string& directory, int32_t& summaryPercent);
    void renameWithPercent(const std::string& path, const std::string& directory, int32_t summaryPercent);

    DirectoryResults& results_;
    RecentDirectories& recent_;
    const SharedSettings& settings_;
    const DiagnosticLog& log_;
    NowFunction now_;
};

} // namespace qv
