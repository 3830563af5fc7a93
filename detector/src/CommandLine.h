#pragma once
// The detector's command line: [-mN] file, the mode option before or after the file.
#include <string>
#include <vector>

namespace qvdet {

struct CommandLine {
    bool ok = false;
    std::string error;
    int mode = 0;
    std::string file;
};

inline constexpr const char* kUsage = "usage: aucdtect [-mN] file   (N from 0, most thorough, to 40, fastest)";

// args excludes the program name.
CommandLine parseCommandLine(const std::vector<std::string>& args);

} // namespace qvdet
