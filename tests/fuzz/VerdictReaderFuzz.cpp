// libFuzzer target: any detector output through the verdict reader, checked against a line-by-line reading.
#include "FuzzSupport.h"

#include "common/Text.h"
#include "engine/VerdictReader.h"

#include <cstring>
#include <limits>
#include <optional>
#include <sstream>

using qvfuzz::require;

namespace {

bool startsWith(const std::string& line, const char* prefix) {
    return line.rfind(prefix, 0) == 0;
}

// The first verdict line read through a stream, in 64 bits so that the MPEG complement cannot overflow.
std::optional<int64_t> expectedVerdict(const std::string& output) {
    std::istringstream in(output);
    std::string line;
    while (std::getline(in, line)) {
        if (startsWith(line, qv::kCddaPrefix))
            return qv::parseDecimal(line.substr(std::strlen(qv::kCddaPrefix)));
        if (startsWith(line, qv::kMpegPrefix))
            return 100 - int64_t{qv::parseDecimal(line.substr(std::strlen(qv::kMpegPrefix)))};
        if (startsWith(line, qv::kUnqualifiedPrefix))
            return std::nullopt;
    }
    return std::nullopt;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string output = qvfuzz::asText(data, size);
    const std::optional<int32_t> verdict = qv::readVerdict(output);
    const std::optional<int64_t> expected = expectedVerdict(output);
    require(verdict.has_value() == expected.has_value(), "a verdict is read exactly when a verdict line decides");
    if (!verdict)
        return 0;
    if (*expected >= std::numeric_limits<int32_t>::min() && *expected <= std::numeric_limits<int32_t>::max())
        require(*verdict == *expected, "the verdict is the first verdict line's number or its complement");
    else
        require(*verdict < 0 || *verdict > 100, "a complement beyond 32 bits stays outside 0..100");
    return 0;
}
