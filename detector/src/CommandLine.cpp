#include "CommandLine.h"

namespace qvdet {
namespace {

// Digits only, capped so that no value overflows; a large mode acts as the fastest one.
bool parseMode(const std::string& digits, int& mode) {
    if (digits.empty()) {
        return false;
    }
    long value = 0;
    for (char c : digits) {
        if (c < '0' || c > '9') {
            return false;
        }
        value = value * 10 + (c - '0');
        if (value > 1000000) {
            value = 1000000;
        }
    }
    mode = static_cast<int>(value);
    return true;
}

} // namespace

CommandLine parseCommandLine(const std::vector<std::string>& args) {
    CommandLine line;
    bool haveFile = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--picture") {
            if (i + 1 == args.size() || args[i + 1].empty()) {
                line.error = "'--picture' needs a file name";
                return line;
            }
            line.picture = args[++i];
        } else if (arg.size() >= 2 && arg[0] == '-' && arg[1] == 'm') {
            if (!parseMode(arg.substr(2), line.mode)) {
                line.error = "bad mode option '" + arg + "'";
                return line;
            }
        } else if (arg.size() >= 2 && arg[0] == '-') {
            line.error = "unknown option '" + arg + "'";
            return line;
        } else if (haveFile) {
            line.error = "more than one file given";
            return line;
        } else {
            line.file = arg;
            haveFile = true;
        }
    }
    if (!haveFile || line.file.empty()) {
        line.error = "no file given";
        return line;
    }
    line.ok = true;
    return line;
}

} // namespace qvdet
