#include "estimate/TypeRecord.h"

#include "common/Text.h"
#include "estimate/WideMath.h"

#include <cmath>
#include <limits>

namespace qv {

namespace {

// One scaling step: moves value by dividePercent of itself, rounded to the nearest whole number, and says so.
// The floor keeps a scaled count above zero, since the averages that follow divide by it.
int32_t adjust(int32_t value, bool lower, const char* word1, const char* word2, const char* unit, int32_t percent,
               std::vector<std::string>& lines, int32_t floor = std::numeric_limits<int32_t>::min()) {
    double raw = static_cast<double>(percent) * static_cast<double>(value) * 0.01 + 0.5;
    const double limit = 4.0e18; // far beyond any 32-bit result, still inside int64
    int64_t delta = static_cast<int64_t>(raw > limit ? limit : (raw < -limit ? -limit : raw));
    int32_t result = clampToInt32(lower ? value - delta : value + delta);
    if (result < floor)
        result = floor;
    lines.push_back(formatText("%s %s %s from %d%s to %d%s", lower ? "Lowering" : "Raising", word1, word2, value, unit,
                               result, unit));
    return result;
}

void scaleDown(TypeRecord& r, int32_t percent, std::vector<std::string>& lines) {
    lines.push_back(formatText("Altering [%s] Min/Max/Total values by %d%%", r.type.c_str(), percent));
    lines.push_back(formatText("Old total size: %dkB, total time: %d sec", r.totalSize, r.totalTime));
    lines.push_back(formatText("Old average size: %dkB, average time: %d sec", roundedMean(r.totalSize, r.count),
                               roundedMean(r.totalTime, r.count)));
    r.count = adjust(r.count, true, "total", "file count", "", percent, lines, 1);
    r.maxSize = adjust(r.maxSize, true, "maximum", "size", "kB", percent, lines);
    r.maxTime = adjust(r.maxTime, true, "maximum", "time", " sec", percent, lines);
    r.minSize = adjust(r.minSize, false, "minimum", "size", "kB", percent, lines);
    r.minTime = adjust(r.minTime, false, "minimum", "time", " sec", percent, lines);
    r.totalSize = adjust(r.totalSize, true, "total", "size", "kB", percent, lines);
    r.totalTime = adjust(r.totalTime, true, "total", "time", " sec", percent, lines);
    lines.push_back(formatText("New total size: %dkB, total time: %d sec", r.totalSize, r.totalTime));
    lines.push_back(formatText("New average size: %dkB, average time: %d sec", roundedMean(r.totalSize, r.count),
                               roundedMean(r.totalTime, r.count)));
}

} // namespace

bool TypeRecord::operator==(const TypeRecord& o) const {
    return type == o.type && count == o.count && minSize == o.minSize && minTime == o.minTime && maxSize == o.maxSize &&
           maxTime == o.maxTime && totalSize == o.totalSize && totalTime == o.totalTime;
}

int findType(const std::vector<TypeRecord>& records, const std::string& type) {
    for (std::size_t i = 0; i < records.size(); ++i) {
        if (equalsIgnoreCase(records[i].type, type))
            return static_cast<int>(i);
    }
    return -1;
}

std::vector<std::string> recordFile(std::vector<TypeRecord>& records, const std::string& type, int32_t sizeKb,
                                    int32_t seconds, const Division& division) {
    std::vector<std::string> lines;
    int index = findType(records, type);
    if (index < 0) {
        records.push_back(TypeRecord{type, 1, sizeKb, seconds, sizeKb, seconds, sizeKb, seconds});
        return lines;
    }
    TypeRecord& r = records[static_cast<std::size_t>(index)];
    // 2^exponent as a double: any stored exponent, however large or negative, compares without overflow.
    if (r.count > std::ldexp(1.0, division.exponent))
        scaleDown(r, division.percent, lines);
    r.count = clampToInt32(int64_t{r.count} + 1);
    if (r.maxSize < sizeKb) {
        r.maxSize = sizeKb;
        r.maxTime = seconds;
        lines.push_back(formatText("New maximum size %d kB, time %d sec", sizeKb, seconds));
    }
    if (sizeKb < r.minSize) {
        r.minSize = sizeKb;
        r.minTime = seconds;
        lines.push_back(formatText("New minimum size %d kB, time %d sec", sizeKb, seconds));
    }
    r.totalSize = clampToInt32(int64_t{r.totalSize} + sizeKb);
    r.totalTime = clampToInt32(int64_t{r.totalTime} + seconds);
    return lines;
}

} // namespace qv
