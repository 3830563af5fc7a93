#pragma once
// Calendar time in whole seconds, and the local time stamp used by every log and state file.
#include <cstdint>
#include <functional>
#include <string>

namespace qv {

// Seconds since 1970-01-01 00:00 UTC.
int64_t nowSeconds();

// Local time as "%Y-%m-%d %H:%M:%S".
std::string localTimestamp();
std::string localTimestamp(int64_t secondsSinceEpoch);

// A source of "now" that tests can replace.
using NowFunction = std::function<int64_t()>;

} // namespace qv
