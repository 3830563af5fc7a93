#pragma once
// Holes: bands an encoder left empty under louder content, judged after the whole pass against each band's own
// floor, so that the steady noise of shaped dither in a quiet passage does not pass for content over a gap.
// Bare cells: quiet bands holding only the rounding noise of an undithered conversion.
#include <cstddef>
#include <vector>

namespace qvdet {

// Band levels of the sounding frames, in power over the rounding floor, bands from low to high.
class BandHistory {
public:
    explicit BandHistory(std::size_t bands) : bands_(bands) {}

    // follows: the frame comes straight after the previous one recorded (same segment, no quiet frame between).
    void add(const std::vector<double>& levels, bool follows);

    std::size_t bands() const { return bands_; }
    std::size_t frames() const { return follows_.size(); }
    double level(std::size_t frame, std::size_t band) const { return levels_[frame * bands_ + band]; }
    bool follows(std::size_t frame) const { return follows_[frame]; }

private:
    std::size_t bands_;
    std::vector<float> levels_;
    std::vector<bool> follows_;
};

// Each band's floor: the level its quietest tenth of frames stays under, never below the rounding floor.
std::vector<double> bandFloors(const BandHistory& history);

// Share of the cells (a band in a frame with content above it) that are holes in this frame and the one before:
// an empty band counts only when it persists, and content means a band over the rounding floor and its own.
double persistentHoleShare(const BandHistory& history);

// Quiet cells (a band in a frame under 10 dB over the rounding floor) in the bands from firstBand up, and those of
// them that lie within 1.5 dB of the rounding floor itself: the noise of a 16-bit conversion without dither, which
// a decoder leaves wherever the encoder coded nothing. A master's dither lifts its quiet cells above that.
struct BareCells {
    std::size_t quiet = 0;
    std::size_t bare = 0;
    double share() const { return quiet > 0 ? static_cast<double>(bare) / static_cast<double>(quiet) : 0.0; }
};
BareCells countBareCells(const BandHistory& history, std::size_t firstBand);

} // namespace qvdet
