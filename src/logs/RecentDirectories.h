#pragma once
// The directories whose result logs were written in this run, oldest first, with their percentages.
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

namespace qv {

struct RecentDirectory {
    std::string directory;
    int32_t percent = -1;
};

// Written by the worker, read by the percent window: every operation holds the lock throughout.
class RecentDirectories {
public:
    void add(const std::string& directory, int32_t percent);
    // Drops the oldest entries until at most maximum remain; a maximum below 1 empties the list.
    void trimTo(int32_t maximum);

    std::vector<RecentDirectory> snapshot() const;
    std::vector<std::string> directories() const;
    std::vector<int32_t> percents() const;

private:
    mutable std::mutex mutex_;
    std::vector<RecentDirectory> entries_;
};

} // namespace qv
