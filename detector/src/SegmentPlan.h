#pragma once
// Which stretches of a track one detector mode looks at.
#include <cstdint>
#include <vector>

namespace qvdet {

struct Segment {
    std::uint64_t firstFrame = 0;
    std::uint64_t frameCount = 0;
};

inline constexpr int kMaxMode = 40;

// Mode 0 covers the whole track in one-second segments. Higher modes take every step-th segment, with a step
// that grows with the mode (so they run faster), from an offset and a fractional shift of their own, so that
// repeated passes in different modes measure different frames. Modes above kMaxMode are as fast as kMaxMode
// but keep shifting. A track shorter than a segment is one segment.
std::vector<Segment> planSegments(std::uint64_t totalFrames, unsigned sampleRate, int mode);

} // namespace qvdet
