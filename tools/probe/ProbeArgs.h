#pragma once
// Command-line grammar of the GUI probe: per-command operands and options, message numbers as scripts write them,
// and the plain-text forms of what the probe prints.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace qvprobe {

enum Option : unsigned { kTimeoutOption = 1, kCaptionOption = 2, kWindowOption = 4 };

struct CommandSyntax {
    const char* name;
    std::size_t operands;
    unsigned options; // Option bits
    const char* usage;
};

struct Invocation {
    std::vector<std::string> operands;
    double timeoutSeconds = 10;
    std::optional<std::string> caption;
    // "--window C": the top-level window with caption C instead of the status window.
    std::optional<std::string> window;
};

// Splits the words after the command name into operands and options ("--timeout S", "--caption C",
// "--window C", anywhere).
// False with a reason on a wrong operand count, an option the command does not take, or a bad timeout.
bool parseInvocation(const std::vector<std::string>& words, const CommandSyntax& syntax, Invocation& invocation,
                     std::string& error);

// A number as scripts write it: decimal (negative allowed, kept as two's complement), 0x-hex, or a message name
// such as WM_APP or WM_CLOSE with an optional "+N".
bool parseNumber(const std::string& text, uint64_t& value);

// A dialog control identifier: a number from 0 to 65535.
bool parseControlId(const std::string& text, int& id);

// A message box button: ok, cancel, abort, retry, ignore, yes, no, or its number.
bool parseButton(const std::string& text, int& id);

// Line breaks (CR LF, LF or CR) written as the two characters \n, so a text fits on one output line.
std::string escapeLineBreaks(const std::string& text);

// Whether a message box caption is one the probe looks for: the requested one, or else one of the program's.
bool isWantedBoxCaption(const std::string& caption, const std::optional<std::string>& requested);

} // namespace qvprobe
