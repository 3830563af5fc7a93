#include "logs/RecentDirectories.h"

namespace qv {

void RecentDirectories::add(const std::string& directory, int32_t percent) {
    std::lock_guard<std::mutex> guard(mutex_);
    entries_.push_back({directory, percent});
}

void RecentDirectories::trimTo(int32_t maximum) {
    std::lock_guard<std::mutex> guard(mutex_);
    std::size_t keep = maximum > 0 ? static_cast<std::size_t>(maximum) : 0;
    if (entries_.size() > keep)
        entries_.erase(entries_.begin(), entries_.begin() + static_cast<std::ptrdiff_t>(entries_.size() - keep));
}

std::vector<RecentDirectory> RecentDirectories::snapshot() const {
    std::lock_guard<std::mutex> guard(mutex_);
    return entries_;
}

std::vector<std::string> RecentDirectories::directories() const {
    std::lock_guard<std::mutex> guard(mutex_);
    std::vector<std::string> directories;
    for (const RecentDirectory& entry : entries_)
        directories.push_back(entry.directory);
    return directories;
}

std::vector<int32_t> RecentDirectories::percents() const {
    std::lock_guard<std::mutex> guard(mutex_);
    std::vector<int32_t> percents;
    for (const RecentDirectory& entry : entries_)
        percents.push_back(entry.percent);
    return percents;
}

} // namespace qv
