#pragma once
// What is learned about one file type: how many files were timed, the smallest and largest seen with
// their times, and the size and time totals; and how a newly timed file is folded in.
#include <cstdint>
#include <string>
#include <vector>

namespace qv {

struct TypeRecord {
    std::string type;
    int32_t count = 0;
    int32_t minSize = 0; // kB
    int32_t minTime = 0; // seconds
    int32_t maxSize = 0;
    int32_t maxTime = 0;
    int32_t totalSize = 0;
    int32_t totalTime = 0;

    bool operator==(const TypeRecord& other) const;
};

// How records are scaled down once their count grows past 2^exponent.
struct Division {
    int32_t exponent = 6;
    int32_t percent = 50;
};

// Index of the first record whose type equals type ignoring case, or -1.
int findType(const std::vector<TypeRecord>& records, const std::string& type);

// Adds one timed file to its type's record (appending a record for a new type), scaling a crowded record
// down first. Returns the System.log lines that tell what changed.
std::vector<std::string> recordFile(std::vector<TypeRecord>& records, const std::string& type, int32_t sizeKb,
                                    int32_t seconds, const Division& division);

} // namespace qv
