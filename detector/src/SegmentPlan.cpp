#include "SegmentPlan.h"

#include <algorithm>
#include <cmath>

namespace qvdet {

namespace {
// A mode still sees at least this many segments when the track has them.
constexpr std::uint64_t kMinSegments = 4;
} // namespace

std::vector<Segment> planSegments(std::uint64_t totalFrames, unsigned sampleRate, int mode) {
    std::vector<Segment> segments;
    const std::uint64_t length = sampleRate;
    if (totalFrames == 0 || length == 0) {
        return segments;
    }
    if (totalFrames < length) {
        segments.push_back({0, totalFrames});
        return segments;
    }
    if (mode <= 0) {
        for (std::uint64_t start = 0; start + length <= totalFrames; start += length) {
            segments.push_back({start, length});
        }
        return segments;
    }
    const int effective = std::min(mode, kMaxMode);
    std::uint64_t step = 2 + static_cast<std::uint64_t>((effective - 1) / 6);
    // The golden ratio spreads the shifts of successive modes evenly over a segment.
    const double fraction = std::fmod(static_cast<double>(mode) * 0.6180339887498949, 1.0);
    auto shift = static_cast<std::uint64_t>(fraction * static_cast<double>(length));
    if (totalFrames - shift < length) {
        shift = 0;
    }
    const std::uint64_t whole = (totalFrames - shift) / length;
    if (whole < kMinSegments * step) {
        step = std::max<std::uint64_t>(1, whole / kMinSegments);
    }
    const std::uint64_t offset = static_cast<std::uint64_t>(mode) % step;
    for (std::uint64_t index = offset; index < whole; index += step) {
        segments.push_back({shift + index * length, length});
    }
    return segments;
}

} // namespace qvdet
