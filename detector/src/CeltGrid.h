#pragma once
// CELT (Opus) codes every 20 ms frame as one MDCT whose bands hold a few pulses each at the rates people use, and
// next to nothing between them. A decoded file transformed on the codec's own frame grid shows those gaps in the
// band's spectrum; the same file transformed a few dozen samples off the grid, and a clean file anywhere, does not.
// The grid's position is known: encoders start the first frame's window a fixed pre-skip before the track, and
// decoders drop exactly that.
#include "Fft.h"

#include <array>
#include <complex>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace qvdet {

class CeltGrid {
public:
    // Tracks at 48 kHz are read as they are and tracks at 44.1 kHz are brought to 48 kHz, where the codec runs;
    // other rates are not measured. floorPower: the rounding noise's power in the channels' sum, per sample;
    // plannedFrames: the frames the pass reads, which spreads a bounded number of transforms over them.
    CeltGrid(unsigned sampleRate, unsigned channels, double floorPower, std::uint64_t plannedFrames);

    // Interleaved frames of one stretch of the track, trackFrame being where it starts in the track.
    void add(const float* frames, std::size_t frameCount, std::uint64_t trackFrame);

    // How much larger the share of gaps is on the grid than beside it: 0.5 is half as many again. 0 when the
    // rate is not measured or too few loud bands were seen to tell.
    double gapExcess() const;

private:
    struct GapCount {
        std::uint64_t gaps = 0;
        std::uint64_t bins = 0;
    };

    bool blockFits(std::int64_t start, std::int64_t first, std::int64_t end) const;
    // The channels' sum at 48 kHz sample n, from the stretch in mono_ that starts at trackFrame.
    double sampleAt48k(std::int64_t n, std::int64_t trackFrame) const;
    void transformBlock(std::int64_t start, std::int64_t trackFrame, GapCount& count);

    bool measured_;
    unsigned channels_;
    bool resampled_;
    double bandFloor_;
    std::uint64_t stride_ = 1;
    std::vector<double> window_;
    std::vector<std::array<float, 24>> taps_; // one set per phase of the 44.1 to 48 kHz grid
    AnySizeFft fft_;
    std::vector<float> mono_;
    std::vector<double> block_;
    std::vector<double> folded_;
    std::vector<std::complex<double>> packed_;
    std::vector<std::complex<double>> preTwiddle_;
    std::vector<std::complex<double>> postTwiddle_;
    GapCount onGrid_;
    GapCount offGrid_;
};

} // namespace qvdet
