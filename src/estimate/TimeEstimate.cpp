#include "estimate/TimeEstimate.h"

#include "common/Text.h"
#include "estimate/WideMath.h"

namespace qv {

namespace {

int32_t globalEstimate(const RunTotals& totals) {
    if (totals.files > 1)
        return clampToInt32((totals.seconds + totals.files / 2) / totals.files);
    if (totals.files == 1)
        return clampToInt32(totals.seconds);
    return totals.files == 0 ? -1 : -2;
}

// (span / 2 + timeA * weightA + timeB * weightB) / span: the rounded point on a line between two sizes.
// Each product fits 64 bits since sizes are 32-bit; only the sum needs saturating.
int32_t interpolate(int64_t span, int64_t timeA, int64_t weightA, int64_t timeB, int64_t weightB) {
    int64_t numerator = addSaturated(addSaturated(span / 2, timeA * weightA), timeB * weightB);
    return clampToInt32(numerator / span);
}

bool twoSegment(const TypeRecord& r, int64_t size, int32_t& result) {
    if (r.count <= 2)
        return false;
    const int64_t avgSize = roundedMean(r.totalSize, r.count);
    const int64_t avgTime = roundedMean(r.totalTime, r.count);
    if (!(r.minSize < avgSize && avgSize < r.maxSize))
        return false;
    if (size < avgSize)
        result = interpolate(avgSize - r.minSize, r.minTime, avgSize - size, avgTime, size - r.minSize);
    else if (size == avgSize)
        result = clampToInt32(avgTime);
    else
        result = interpolate(r.maxSize - avgSize, r.maxTime, size - avgSize, avgTime, r.maxSize - size);
    return true;
}

bool straightLine(const TypeRecord& r, int64_t size, int32_t& result) {
    if (r.count <= 1 || r.minSize >= r.maxSize)
        return false;
    int64_t span = int64_t{r.maxSize} - r.minSize;
    result = interpolate(span, r.minTime, r.maxSize - size, r.maxTime, size - r.minSize);
    return true;
}

} // namespace

int32_t estimateFileSeconds(const std::vector<TypeRecord>& records, const RunTotals& totals, int level, int64_t sizeKb,
                            const std::string& type) {
    if (level < 0 || level > 3)
        return -2;
    int index = findType(records, type);
    if (index < 0 || level == 0)
        return globalEstimate(totals);
    const TypeRecord& r = records[static_cast<std::size_t>(index)];
    // Listed sizes stop at 2 GiB; keeping the size in 32 bits keeps every product inside 64 bits.
    const int64_t size = clampToInt32(sizeKb);
    int32_t result = 0;
    if (level == 3 && twoSegment(r, size, result))
        return result;
    if (level >= 2 && straightLine(r, size, result))
        return result;
    if (r.count > 1)
        return roundedMean(r.totalTime, r.count);
    if (r.count == 1)
        return r.totalTime;
    return globalEstimate(totals);
}

int32_t estimateQueuedType(const std::vector<TypeRecord>& records, const RunTotals& totals, int level,
                           const std::string& type, uint32_t sizeKb, uint32_t count) {
    if (sizeKb == 0 || count == 0)
        return 0;
    if (level > 0) {
        int index = findType(records, type);
        if (index < 0 || records[static_cast<std::size_t>(index)].count < 1)
            return -1;
    }
    if (count == 1)
        return estimateFileSeconds(records, totals, level, sizeKb, type);
    int64_t meanSize = (int64_t{sizeKb} + count / 2) / count;
    return clampToInt32(int64_t{estimateFileSeconds(records, totals, level, meanSize, type)} * count);
}

std::string estimateText(int32_t seconds, bool paused, bool intelligent) {
    if (paused || seconds <= -2)
        return "N/A";
    if (seconds == -1)
        return "Estimate";
    if (seconds == 0)
        return "Ready!";
    if (seconds == 1)
        return "Almost";
    const int32_t limit = intelligent ? 5400 : 1800;
    if (seconds < limit)
        return formatText("%02d:%02d", seconds / 60, seconds % 60);
    if (seconds < 54000) {
        int32_t minutes = (seconds + 30) / 60;
        return formatText("%d min%s", minutes, minutes == 1 ? "" : "s");
    }
    // Wide sum: the largest estimate plus half an hour would not fit 32 bits.
    int64_t hours = (int64_t{seconds} + 1800) / 3600;
    return formatText("%d hour%s", static_cast<int>(hours), hours == 1 ? "" : "s");
}

} // namespace qv
