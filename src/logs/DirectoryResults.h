#pragma once
// The finished files of the directory in work: what its result log and "Recent.log" are written from.
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

namespace qv {

inline constexpr int32_t kUnknownPercent = -1;

struct ResultRow {
    std::string path;
    int32_t totalPasses = 0;
    int32_t validPasses = 0;
    int32_t percent = kUnknownPercent;
};

// Rows with their running counts. DirectoryResults guards one; readers on other threads get copies.
struct ResultSet {
    std::string directory;
    std::vector<ResultRow> rows;
    int32_t unknownCount = 0;
    // Widest file-name part among the rows, in display columns; the percentage column is padded to it.
    int32_t nameWidth = 0;

    void add(const std::string& path, int32_t totalPasses, int32_t validPasses, int32_t percent);
    int32_t fileCount() const { return static_cast<int32_t>(rows.size()); }
    // Rounded mean of the known percentages; kUnknownPercent when none is known.
    int32_t average() const;
    // Appends one CR LF ended line per row; rows whose passes differ from the minimum carry a pass suffix.
    void writeRows(std::string& out, int32_t minimumValidPasses) const;
};

// Written by the worker, read by the user-interface thread: every operation holds the lock throughout.
class DirectoryResults {
public:
    void add(const std::string& path, int32_t totalPasses, int32_t validPasses, int32_t percent);
    void reset();
    void setDirectory(const std::string& directory);

    std::string directory() const;
    int32_t fileCount() const;
    int32_t unknownCount() const;
    int32_t nameWidth() const;
    int32_t average() const;
    std::vector<std::string> paths() const;
    std::vector<int32_t> percents() const;
    ResultSet snapshot() const;
    void writeRows(std::string& out, int32_t minimumValidPasses) const;

    // Remembers path for saveResults, restores its directory and rows, then deletes it.
    // False when the file cannot be read.
    // With keepFile the file stays where it is (its next save replaces it), so that a crash before that save
    // still finds it.
    bool loadResults(const std::string& path, bool keepFile = false);
    // Writes the rows to the path remembered by loadResults, whole or not at all.
    // False without a remembered path or when the file cannot be written.
    bool saveResults() const;

private:
    mutable std::mutex mutex_;
    ResultSet set_;
    std::string savePath_;
};

} // namespace qv
