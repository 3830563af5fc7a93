#include "estimate/FileTypeStats.h"

#include "common/StateFile.h"
#include "estimate/EstimateFile.h"
#include "estimate/WideMath.h"
#include "logs/DiagnosticLog.h"

#include <utility>

namespace qv {

FileTypeStats::FileTypeStats(const DiagnosticLog* log, NowFunction now) : log_(log), now_(std::move(now)) {}

void FileTypeStats::setDivision(int32_t divideExponent, int32_t dividePercent) {
    std::lock_guard<std::mutex> guard(mutex_);
    division_ = Division{divideExponent, dividePercent};
}

void FileTypeStats::load(const std::string& path) {
    std::lock_guard<std::mutex> guard(mutex_);
    path_ = path;
    // Whatever happens next, nothing of ours is on disk until the next write.
    unsaved_ = true;
    std::string content;
    if (!readWholeFile(path, content))
        return;
    for (TypeRecord& record : parseEstimateFile(content))
        records_.push_back(std::move(record));
    removeFile(path);
}

bool FileTypeStats::save() {
    std::lock_guard<std::mutex> guard(mutex_);
    return writeFile();
}

bool FileTypeStats::checkpoint() {
    std::lock_guard<std::mutex> guard(mutex_);
    return unsaved_ ? writeFile() : true;
}

bool FileTypeStats::writeFile() {
    if (path_.empty() || !writeFileAtomically(path_, formatEstimateFile(records_)))
        return false;
    unsaved_ = false;
    return true;
}

void FileTypeStats::start(const std::string& type, uint32_t sizeKb) {
    std::lock_guard<std::mutex> guard(mutex_);
    if (timing_.start(type, clampToInt32(sizeKb), now_()))
        computeSamples();
}

void FileTypeStats::computeSamples() {
    for (int level = 0; level < 4; ++level)
        samples_[static_cast<std::size_t>(level)] =
            qv::estimateFileSeconds(records_, totals_, level, timing_.sizeKb(), timing_.type());
}

void FileTypeStats::pause() {
    std::lock_guard<std::mutex> guard(mutex_);
    timing_.pause(now_());
}

void FileTypeStats::resume() {
    std::lock_guard<std::mutex> guard(mutex_);
    timing_.resume(now_());
}

void FileTypeStats::finish() {
    std::vector<std::string> lines;
    {
        std::lock_guard<std::mutex> guard(mutex_);
        int32_t seconds = 0;
        if (!timing_.finish(now_(), seconds))
            return;
        totals_.files += 1;
        totals_.seconds += seconds;
        lines = recordFile(records_, timing_.type(), timing_.sizeKb(), seconds, division_);
        unsaved_ = true;
    }
    // Logged after the lock is left, so the status window's refresh never waits on file writes.
    if (log_ != nullptr) {
        for (const std::string& line : lines)
            log_->writeSystemLog(line);
    }
}

void FileTypeStats::abandon() {
    std::lock_guard<std::mutex> guard(mutex_);
    timing_.abandon();
}

std::vector<TypeRecord> FileTypeStats::records() const {
    std::lock_guard<std::mutex> guard(mutex_);
    return records_;
}

RunTotals FileTypeStats::runTotals() const {
    std::lock_guard<std::mutex> guard(mutex_);
    return totals_;
}

bool FileTypeStats::isTiming() const {
    std::lock_guard<std::mutex> guard(mutex_);
    return timing_.active();
}

bool FileTypeStats::isPaused() const {
    std::lock_guard<std::mutex> guard(mutex_);
    return timing_.paused();
}

int32_t FileTypeStats::estimateCurrent(int level) const {
    std::lock_guard<std::mutex> guard(mutex_);
    if (!timing_.active())
        return totals_.files != 0 ? 0 : -2;
    if (timing_.paused())
        return -2;
    level = level < 0 ? 0 : (level > 3 ? 3 : level);
    int32_t estimate = samples_[static_cast<std::size_t>(level)];
    while (estimate < 0 && level > 0)
        estimate = samples_[static_cast<std::size_t>(--level)];
    if (estimate < 0)
        return estimate;
    int32_t elapsed = timing_.elapsed(now_());
    return elapsed < estimate ? estimate - elapsed : 1;
}

int32_t FileTypeStats::estimateQueuedType(int level, const std::string& type, uint32_t sizeKb, uint32_t count) const {
    std::lock_guard<std::mutex> guard(mutex_);
    return qv::estimateQueuedType(records_, totals_, level, type, sizeKb, count);
}

} // namespace qv
