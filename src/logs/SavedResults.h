#pragma once
// The "Recent.log" text that carries the directory in work across a restart.
#include "logs/DirectoryResults.h"

#include <string>

namespace qv {

// Header, the directory line, one "percent TAB valid TAB total TAB file name" row per result, and the footer.
std::string formatSavedResults(const ResultSet& results);

// The directory and rows held by saved-results text. Rows are joined to the directory with a backslash;
// fields that are missing read as the line's first field, numbers without digits as 0.
ResultSet parseSavedResults(const std::string& content);

} // namespace qv
