#pragma once
// The conventions shared by the program's state files ("Queue.log", hand-off files, "Recent.log",
// "Estimate.log"): a four-line comment header, CR LF line ends, and a tolerant line reader.
#include <cstdint>
#include <string>
#include <vector>

namespace qv {

// ";", "; Quorvane v0.33", "; <local time stamp>", ";" with CR LF after each.
std::string stateFileHeader();

// How a line end is taken when reading.
enum class LineEnds {
    // CR, LF or CR LF end a line; nothing is lost.
    Any,
    // Queue-file rule: after a data line ended by CR the next character is skipped unread (the LF of
    // the pair), so a file with CR-only line ends loses the first character of each later data line.
    CrSkipsNext,
};

// Maximum characters taken from one data line; the rest of a longer line is skipped.
inline constexpr std::size_t kMaxDataLine = 2047;

// Splits file content into data lines: empty lines and lines beginning with ';' or '#' are skipped,
// each data line is cut to kMaxDataLine characters. Embedded NUL bytes are data like any other.
// A line that is not valid UTF-8 is read in the system's ANSI code page.
std::vector<std::string> readDataLines(const std::string& content, LineEnds lineEnds);

// Reads a whole file in binary mode. False when it cannot be opened.
bool readWholeFile(const std::string& path, std::string& content);

// Writes content to path whole or not at all: a temporary file beside it is written, closed and then
// moved over path in one step. False (and path untouched) when any step fails.
bool writeFileAtomically(const std::string& path, const std::string& content);

// Moves from over to, replacing an existing file. False on failure.
bool replaceFile(const std::string& from, const std::string& to);

// Deletes a file; a missing file is not an error worth reporting, so this returns nothing.
void removeFile(const std::string& path);

} // namespace qv
