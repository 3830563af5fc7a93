#include "engine/VerdictReader.h"

#include "common/Text.h"

#include <algorithm>
#include <cstring>
#include <limits>

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
        if (startsWith(output, lineStart, kMpegPrefix)) {
            // Taken in 64 bits: a number near the 32-bit minimum would overflow the complement. A result past
            // the 32-bit maximum stays far outside 0..100, so the caller still refuses it.
            const int64_t complement = 100 - int64_t{parseDecimal(number.c_str() + std::strlen(kMpegPrefix))};
            return static_cast<int32_t>(std::min<int64_t>(complement, std::numeric_limits<int32_t>::max()));
        }
        if (startsWith(output, lineStart, kUnqualifiedPrefix))
            return std::nullopt;
        lineStart = lineEnd + 1;
    }
    return std::nullopt;
}

} // namespace qv
