#pragma once
// Cell texts of the percent window's rows.
#include <cstddef>
#include <cstdint>
#include <string>

namespace qv {

// The row's number counted from 1, two digits at least: 01, 02, ... 99, 100.
std::string rowNumberText(std::size_t row);

// "%3d%%" for a share above 0; zero and unknown (-1) read " N/A", four characters like "100%".
std::string percentCellText(int32_t percent);

} // namespace qv
