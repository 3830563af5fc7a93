// libFuzzer target: "Estimate.log" content through the reader, and the records it yields through the estimates
// and the folding-in of new files, which take their figures as they come.
#include "FuzzSupport.h"

#include "common/StateFile.h"
#include "estimate/EstimateFile.h"
#include "estimate/TimeEstimate.h"
#include "estimate/TypeRecord.h"

#include <algorithm>
#include <cstdint>
#include <limits>

using qvfuzz::require;

namespace {

// Records past this many, and type names past this length, add only lookup time; the estimates and the folding
// work on the first records with their names cut short.
constexpr std::size_t kWorkingRecords = 6;
constexpr std::size_t kWorkingTypeLength = 8;

// A record's type with its seven numbers at their widest still fits one data line.
constexpr std::size_t kLongestNumbers = 7 * 12;

void checkRoundTrip(const std::vector<qv::TypeRecord>& records) {
    std::vector<qv::TypeRecord> fitting;
    for (const qv::TypeRecord& record : records) {
        if (record.type.size() + kLongestNumbers <= qv::kMaxDataLine)
            fitting.push_back(record);
    }
    require(qv::parseEstimateFile(qv::formatEstimateFile(fitting)) == fitting, "written records read back unchanged");
}

// Sizes around each figure of a record, where the estimates change their form, and the extremes.
std::vector<int64_t> probeSizes(const qv::TypeRecord& r) {
    std::vector<int64_t> sizes = {0, 1, std::numeric_limits<int32_t>::max(), std::numeric_limits<uint32_t>::max(),
                                  std::numeric_limits<int32_t>::min()};
    for (int64_t figure : {int64_t{r.minSize}, int64_t{r.maxSize}, int64_t{r.totalSize},
                           r.count != 0 ? int64_t{r.totalSize} / r.count : 0}) {
        sizes.push_back(figure - 1);
        sizes.push_back(figure);
        sizes.push_back(figure + 1);
    }
    return sizes;
}

void checkEstimates(const std::vector<qv::TypeRecord>& records) {
    const qv::RunTotals totals[] = {{0, 0}, {std::numeric_limits<int64_t>::max() / 2, 3}};
    for (const qv::TypeRecord& record : records) {
        for (int level : {-1, 4})
            require(qv::estimateFileSeconds(records, totals[1], level, record.minSize, record.type) == -2,
                    "a level outside 0..3 gives no estimate");
        for (int64_t size : probeSizes(record)) {
            for (int level = 0; level <= 3; ++level) {
                for (const qv::RunTotals& run : totals) {
                    const int32_t seconds = qv::estimateFileSeconds(records, run, level, size, record.type);
                    require(!qv::estimateText(seconds, false, level % 2 == 0).empty(), "every estimate has a text");
                }
                const uint32_t queued = static_cast<uint32_t>(size);
                for (uint32_t count : {2u, std::numeric_limits<uint32_t>::max()})
                    (void)qv::estimateQueuedType(records, totals[1], level, record.type, queued, count);
            }
        }
    }
}

// Folds files of every record's figures into every type, with the record's numbers as the scaling settings.
void checkRecording(std::vector<qv::TypeRecord> records) {
    const std::size_t types = records.size();
    for (std::size_t i = 0; i < types; ++i) {
        const qv::TypeRecord source = records[i];
        const qv::Division division{source.minTime, source.maxTime};
        for (std::size_t j = 0; j < types; ++j) {
            const std::string type = records[j].type;
            (void)qv::recordFile(records, type, source.minSize, source.minTime, division);
            (void)qv::recordFile(records, type, source.maxSize, source.maxTime, division);
        }
    }
    checkEstimates(records);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::vector<qv::TypeRecord> records = qv::parseEstimateFile(qvfuzz::asText(data, size));
    checkRoundTrip(records);
    std::vector<qv::TypeRecord> working;
    for (std::size_t i = 0; i < records.size() && i < kWorkingRecords; ++i) {
        working.push_back(records[i]);
        working.back().type.resize(std::min(records[i].type.size(), kWorkingTypeLength));
    }
    checkEstimates(working);
    checkRecording(working);
    return 0;
}
