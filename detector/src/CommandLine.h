#pragma once
// The detector's command line: [-mN] [--picture OUT.png] file, the options before or after the file.
#include <string>
#include <vector>

namespace qvdet {

struct CommandLine {
    bool ok = false;
    std::string error;
    int mode = 0;
    std::string file;
    std::string picture; // where to draw the pass's spectrogram; empty draws none
};

inline constexpr const char* kUsage =
    "usage: aucdtect [-mN] [--picture OUT.png] file   (N from 0, most thorough, to 40, fastest)";

// args excludes the program name.
CommandLine parseCommandLine(const std::vector<std::string>& args);

} // namespace qvdet
