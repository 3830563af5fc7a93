#pragma once
// One run of the detector program: read the file, analyse it in the given mode, print the verdict.
#include <filesystem>
#include <ostream>

namespace qvdet {

// Writes exactly one verdict line to out and returns 0, or writes "error: ..." to err and returns 1.
// Diagnostics go to err only.
int runDetector(const std::filesystem::path& file, int mode, std::ostream& out, std::ostream& err);

} // namespace qvdet
