#pragma once
// One run of the detector program: read the file, analyse it in the given mode, print the verdict.
#include <filesystem>
#include <ostream>

namespace qvdet {

// Writes exactly one verdict line to out and returns 0, or writes "error: ..." to err and returns 1.
// Diagnostics go to err only. A picture path, when not empty, also gets the pass's picture as PNG; when it cannot
// be written, that is an error and no verdict is printed.
int runDetector(const std::filesystem::path& file, int mode, std::ostream& out, std::ostream& err,
                const std::filesystem::path& picture = {});

} // namespace qvdet
