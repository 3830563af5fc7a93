#include "logs/DirectoryResults.h"

#include "common/HostFileSystem.h"
#include "common/StateFile.h"
#include "common/Text.h"
#include "common/Utf8.h"
#include "logs/SavedResults.h"

namespace qv {

void ResultSet::add(const std::string& path, int32_t totalPasses, int32_t validPasses, int32_t percent) {
    rows.push_back({path, totalPasses, validPasses, percent});
    if (percent == kUnknownPercent)
        ++unknownCount;
    int32_t length = displayColumns(fileNamePart(path));
    if (length > nameWidth)
        nameWidth = length;
}

int32_t ResultSet::average() const {
    int64_t sum = 0;
    int64_t known = 0;
    for (const ResultRow& row : rows) {
        if (row.percent != kUnknownPercent) {
            sum += row.percent;
            ++known;
        }
    }
    return known == 0 ? kUnknownPercent : roundedMean(sum, known);
}

void ResultSet::writeRows(std::string& out, int32_t minimumValidPasses) const {
    int32_t number = 0;
    for (const ResultRow& row : rows) {
        std::string name = fileNamePart(row.path);
        out += formatText("%02d   ", ++number);
        out += name;
        out += "   ";
        // Padded by display columns, so the percentages line up in a monospaced viewer whatever the script.
        const int32_t columns = displayColumns(name);
        if (columns < nameWidth)
            out.append(static_cast<std::size_t>(nameWidth - columns), ' ');
        out += row.percent == kUnknownPercent ? std::string(" N/A") : formatText("%3d%%", row.percent);
        if (row.totalPasses != minimumValidPasses || row.validPasses != minimumValidPasses)
            out += formatText("  (%d/%d pass)", row.validPasses, row.totalPasses);
        out += "\r\n";
    }
}

void DirectoryResults::add(const std::string& path, int32_t totalPasses, int32_t validPasses, int32_t percent) {
    std::lock_guard<std::mutex> guard(mutex_);
    set_.add(path, totalPasses, validPasses, percent);
}

void DirectoryResults::reset() {
    std::lock_guard<std::mutex> guard(mutex_);
    set_ = ResultSet();
}

void DirectoryResults::setDirectory(const std::string& directory) {
    std::lock_guard<std::mutex> guard(mutex_);
    set_.directory = directory;
}

std::string DirectoryResults::directory() const {
    std::lock_guard<std::mutex> guard(mutex_);
    return set_.directory;
}

int32_t DirectoryResults::fileCount() const {
    std::lock_guard<std::mutex> guard(mutex_);
    return set_.fileCount();
}

int32_t DirectoryResults::unknownCount() const {
    std::lock_guard<std::mutex> guard(mutex_);
    return set_.unknownCount;
}

int32_t DirectoryResults::nameWidth() const {
    std::lock_guard<std::mutex> guard(mutex_);
    return set_.nameWidth;
}

int32_t DirectoryResults::average() const {
    std::lock_guard<std::mutex> guard(mutex_);
    return set_.average();
}

std::vector<std::string> DirectoryResults::paths() const {
    std::lock_guard<std::mutex> guard(mutex_);
    std::vector<std::string> paths;
    for (const ResultRow& row : set_.rows)
        paths.push_back(row.path);
    return paths;
}

std::vector<int32_t> DirectoryResults::percents() const {
    std::lock_guard<std::mutex> guard(mutex_);
    std::vector<int32_t> percents;
    for (const ResultRow& row : set_.rows)
        percents.push_back(row.percent);
    return percents;
}

ResultSet DirectoryResults::snapshot() const {
    std::lock_guard<std::mutex> guard(mutex_);
    return set_;
}

void DirectoryResults::writeRows(std::string& out, int32_t minimumValidPasses) const {
    std::lock_guard<std::mutex> guard(mutex_);
    set_.writeRows(out, minimumValidPasses);
}

bool DirectoryResults::loadResults(const std::string& path, bool keepFile) {
    std::string content;
    {
        std::lock_guard<std::mutex> guard(mutex_);
        savePath_ = path;
    }
    if (!readWholeFile(toHostPath(path), content))
        return false;
    ResultSet saved = parseSavedResults(content);
    {
        std::lock_guard<std::mutex> guard(mutex_);
        if (!saved.directory.empty())
            set_.directory = saved.directory;
        for (const ResultRow& row : saved.rows)
            set_.add(row.path, row.totalPasses, row.validPasses, row.percent);
    }
    if (!keepFile)
        removeFile(toHostPath(path));
    return true;
}

bool DirectoryResults::saveResults() const {
    std::string path;
    std::string content;
    {
        std::lock_guard<std::mutex> guard(mutex_);
        if (savePath_.empty())
            return false;
        path = savePath_;
        content = formatSavedResults(set_);
    }
    return writeFileAtomically(toHostPath(path), content);
}

} // namespace qv
