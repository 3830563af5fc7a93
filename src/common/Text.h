#pragma once
// Small text helpers shared by every subsystem: argument splitting, path parts, numbers, formatting.
#include <cstdint>
#include <string>

namespace qv {

struct SplitResult {
    std::string first;
    std::string rest;
};

// Splits the first blank-separated argument off text, honouring double quotes.
// A malformed text (unclosed or empty quotes, a leading blank) yields the whole text as the first argument.
SplitResult splitArgument(const std::string& text);

// Text after the last backslash, or the whole path.
std::string fileNamePart(const std::string& path);

// Text before the last backslash, cut to capacity - 1 characters; empty without a backslash.
std::string directoryPart(const std::string& path, std::size_t capacity = 2048);

// Text after the last dot; empty without a dot.
std::string extensionOf(const std::string& path);

// File type of a listed path: the text after the last dot when that dot lies after the last backslash.
// Returns false when the file name has no extension of its own.
bool fileTypeOf(const std::string& path, std::string& type);

// Case-insensitive comparison of ANSI texts. With the UTF-8 code page only ASCII letters fold,
// as the C runtime's multibyte comparison does there.
bool equalsIgnoreCase(const std::string& a, const std::string& b);

// Reads a number the way atoi does: leading blanks, an optional sign, digits; no digits give 0.
// Values beyond 32 bits saturate instead of overflowing.
int32_t parseDecimal(const char* text);
inline int32_t parseDecimal(const std::string& text) {
    return parseDecimal(text.c_str());
}

// Rounded mean (sum + n / 2) / n in signed integer arithmetic; n must be positive.
int32_t roundedMean(int64_t sum, int64_t n);

// "1 file", "%d files".
std::string fileCountText(int32_t count);

// printf into a std::string.
#if defined(__GNUC__) || defined(__clang__)
__attribute__((format(printf, 1, 2)))
#endif
std::string
formatText(const char* format, ...);

} // namespace qv
