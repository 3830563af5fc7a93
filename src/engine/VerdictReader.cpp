#include "engine/VerdictReader.h"

#include "common/Text.h"

#include <cstring>

namespace qv {

namespace {

bool startsWith(const std::string& text, std::size_t at, const char* prefix) {
    return text.compare(at, std::strlen(prefix), prefix) == 0;
}

} // namespace

std::optional<int32_t> readVerdict(const std::string& output) {
    // Lines are split at LF on the raw bytes, so a stray control character in binary garbage (which a
    // text-mode reader would take for the end of the file) cannot hide a verdict printed after it.
    std::size_t lineStart = 0;
    while (lineStart < output.size()) {
        std::size_t lineEnd = output.find('\n', lineStart);
        if (lineEnd == std::string::npos)
            lineEnd = output.size();
        std::string number = output.substr(lineStart, lineEnd - lineStart);
        if (startsWith(output, lineStart, kCddaPrefix))
            return parseDecimal(number.c_str() + std::strlen(kCddaPrefix));
        if (startsWith(output, lineStart, kMpegPrefix))
            return 100 - parseDecimal(number.c_str() + std::strlen(kMpegPrefix));
        if (startsWith(output, lineStart, kUnqualifiedPrefix))
            return std::nullopt;
        lineStart = lineEnd + 1;
    }
    return std::nullopt;
}

} // namespace qv
