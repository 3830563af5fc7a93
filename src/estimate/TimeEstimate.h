#pragma once
// Estimates of detection time from the type records, in whole seconds, and their display texts.
// Levels: 0 the mean over this run's files, 1 the type's mean, 2 a line through the type's smallest and
// largest file, 3 two lines meeting at the type's average file.
// Results below 2 are special: -2 or less no estimate, -1 no data yet, 0 nothing left, 1 overdue.
#include "estimate/TypeRecord.h"

#include <cstdint>
#include <string>
#include <vector>

namespace qv {

// Files finished in this run and their summed time; not saved.
struct RunTotals {
    int64_t seconds = 0;
    int64_t files = 0;
};

int32_t estimateFileSeconds(const std::vector<TypeRecord>& records, const RunTotals& totals, int level, int64_t sizeKb,
                            const std::string& type);

// Seconds for count queued files of one type whose sizes add up to sizeKb.
int32_t estimateQueuedType(const std::vector<TypeRecord>& records, const RunTotals& totals, int level,
                           const std::string& type, uint32_t sizeKb, uint32_t count);

// "N/A", "Estimate", "Ready!", "Almost", "mm:ss", "N mins" or "N hours". The intelligent mode keeps
// the mm:ss form up to 90 minutes instead of 30.
std::string estimateText(int32_t seconds, bool paused, bool intelligent);

} // namespace qv
