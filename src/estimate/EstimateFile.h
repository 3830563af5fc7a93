#pragma once
// The text of "Estimate.log": one TAB-separated line per type record between the state-file header and
// a footer with the number of records.
#include "estimate/TypeRecord.h"

#include <string>
#include <vector>

namespace qv {

// Reads one data line as leniently as the file has always been read: each TAB ends a field; with more
// than seven TABs the text after the last one is the total time; a missing number takes the value read
// from the start of the line.
TypeRecord parseEstimateLine(const std::string& line);

// Every data line of a file's content, in order; duplicates are kept.
std::vector<TypeRecord> parseEstimateFile(const std::string& content);

// The whole file: header, one line per record, footer.
std::string formatEstimateFile(const std::vector<TypeRecord>& records);

} // namespace qv
