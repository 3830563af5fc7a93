// libFuzzer target: "Estimate.log" content through the reader, and its records through the estimates and the
// folding-in of new files, which take the figures as they come.
#include "FuzzSupport.h"

#include "common/StateFile.h"
#include "estimate/EstimateFile.h"
#include "estimate/TimeEstimate.h"
#include "estimate/TypeRecord.h"

#include <limits>

using qvfuzz::require;

namespace {

// Sizes around each figure of a record, where the estimates change their form, and the extremes.
std::vector<int64_t> probeSizes(const qv::TypeRecord& r) {
    std::vector<int64_t> sizes = {0, std::numeric_limits<int32_t>::max(), std::numeric_limits<uint32_t>::max(),
                                  std::numeric_limits<int32_t>::min()};
    for (int64_t figure : {int64_t{r.minSize}, int64_t{r.maxSize}, r.count != 0 ? int64_t{r.totalSize} / r.count : 0})
        sizes.insert(sizes.end(), {figure - 1, figure, figure + 1});
    return sizes;
}

void checkEstimates(const std::vector<qv::TypeRecord>& records) {
    const qv::RunTotals totals[] = {{0, 0}, {std::numeric_limits<int64_t>::max() / 2, 3}};
    for (const qv::TypeRecord& record : records) {
        require(qv::estimateFileSeconds(records, totals[1], 4, record.minSize, record.type) == -2,
                "a level outside 0..3 gives no estimate");
        for (int64_t size : probeSizes(record)) {
            for (int level = 0; level <= 3; ++level) {
                for (const qv::RunTotals& run : totals) {
                    const int32_t seconds = qv::estimateFileSeconds(records, run, level, size, record.type);
                    require(!qv::estimateText(seconds, false, level % 2 == 0).empty(), "every estimate has a text");
                }
                for (uint32_t count : {2u, std::numeric_limits<uint32_t>::max()})
                    (void)qv::estimateQueuedType(records, totals[1], level, record.type, static_cast<uint32_t>(size),
                                                 count);
            }
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::vector<qv::TypeRecord> records = qv::parseEstimateFile(qvfuzz::asText(data, size));
    std::vector<qv::TypeRecord> fitting; // a type with seven numbers at their widest still fits one data line
    for (const qv::TypeRecord& record : records) {
        if (record.type.size() + 7 * 12 <= qv::kMaxDataLine)
            fitting.push_back(record);
    }
    require(qv::parseEstimateFile(qv::formatEstimateFile(fitting)) == fitting, "written records read back unchanged");

    // More records, or longer names, add only lookup time.
    std::vector<qv::TypeRecord> working(records.begin(), records.begin() + std::min<std::size_t>(records.size(), 6));
    for (qv::TypeRecord& record : working)
        record.type.resize(std::min<std::size_t>(record.type.size(), 8));
    checkEstimates(working);
    // Files of every record's figures folded into every type, with the record's times as the scaling settings.
    for (const qv::TypeRecord source : std::vector<qv::TypeRecord>(working)) {
        for (const qv::TypeRecord& target : std::vector<qv::TypeRecord>(working)) {
            const qv::Division division{source.minTime, source.maxTime};
            (void)qv::recordFile(working, target.type, source.minSize, source.minTime, division);
            (void)qv::recordFile(working, target.type, source.maxSize, source.maxTime, division);
        }
    }
    checkEstimates(working);
    return 0;
}
