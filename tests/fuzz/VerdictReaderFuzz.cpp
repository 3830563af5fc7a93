// libFuzzer target: any detector output through the verdict reader, against a line-by-line reading.
#include "FuzzSupport.h"

#include "common/Text.h"
#include "engine/VerdictReader.h"

#include <cstring>
#include <limits>
#include <optional>
#include <sstream>

using qvfuzz::require;

namespace {

// The first deciding line read through a stream, in 64 bits so that the MPEG complement cannot overflow.
std::optional<int64_t> expectedVerdict(const std::string& output) {
    std::istringstream in(output);
    for (std::string line; std::getline(in, line);) {
        if (line.rfind(qv::kCddaPrefix, 0) == 0)
            return qv::parseDecimal(line.substr(std::strlen(qv::kCddaPrefix)));
        if (line.rfind(qv::kMpegPrefix, 0) == 0)
            return 100 - int64_t{qv::parseDecimal(line.substr(std::strlen(qv::kMpegPrefix)))};
        if (line.rfind(qv::kUnqualifiedPrefix, 0) == 0)
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
    if (verdict && *expected >= std::numeric_limits<int32_t>::min() && *expected <= std::numeric_limits<int32_t>::max())
        require(*verdict == *expected, "the verdict is the first verdict line's number or its complement");
    else if (verdict)
        require(*verdict < 0 || *verdict > 100, "a complement beyond 32 bits stays outside 0..100");
    return 0;
}
