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
    ResultLogWriter(RecentDirectories& recent, const SharedSettings& settings, const DiagnosticLog& log,
                    NowFunction now = nowSeconds);

    // Writes the log of rows into directory (given without a trailing backslash), names it with the percentage
    // when asked to, and records the directory in the recent directories.
    void writeResultLog(const std::string& directory, const ResultSet& rows);

    // Deletes the percentage-named logs of earlier runs; "kelvra.log" itself does not match.
    void removeObsoleteLogs(const std::string& directory);

    // Call for every entry that leaves the queue, finished or not, with the rows gathered so far (its own row
    // included, if any). When nothing follows it or the next entry lies in another directory, and rows have
    // been gathered, writes their log into its directory. True when it did: the caller then empties the rows.
    bool closeDirectoryIfEnded(const std::string& leavingPath, const std::optional<std::string>& nextPath,
                               const ResultSet& rows);

private:
    // False when the log could not be opened or written completely.
    bool writeLogFile(const std::string& path, const std::string& directory, const ResultSet& rows,
                      int32_t& summaryPercent);
    void renameWithPercent(const std::string& path, const std::string& directory, int32_t summaryPercent);

    RecentDirectories& recent_;
    const SharedSettings& settings_;
    const DiagnosticLog& log_;
    NowFunction now_;
};

} // namespace qv
