#pragma once
// A pass's frames gathered into a fixed number of columns for drawing: mean power per bin, and where each column
// starts in the track.
#include "TrackAnalysis.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace qvdet {

class Spectrogram : public FrameObserver {
public:
    // At most maxColumns columns; a pass with fewer frames gets one column per frame.
    explicit Spectrogram(std::size_t maxColumns) : maxColumns_(maxColumns) {}

    void begin(const BinLayout& layout, std::uint64_t plannedFrames, double floorPower) override;
    void frame(const std::vector<double>& power, std::uint64_t trackFrame) override;

    // False until a pass has transformed a frame: too short a track or too low a rate draws no spectrum.
    bool empty() const { return columns_ == 0 || frames_ == 0; }
    std::size_t columns() const { return columns_; }
    std::size_t bins() const { return bins_; }
    double binHz() const { return binHz_; }
    // Mean level of one bin in one column, in dB over the rounding floor; a column without frames is -inf.
    double levelDb(std::size_t column, std::size_t bin) const;
    // Track position of a column's first frame, in sample frames.
    std::uint64_t columnStart(std::size_t column) const { return starts_[column]; }

private:
    std::size_t maxColumns_;
    std::size_t columns_ = 0;
    std::size_t bins_ = 0;
    double binHz_ = 0.0;
    double floorPower_ = 1.0;
    std::uint64_t planned_ = 0;
    std::uint64_t frames_ = 0;
    std::vector<float> power_; // columns_ x bins_, summed
    std::vector<std::uint32_t> counts_;
    std::vector<std::uint64_t> starts_;
};

} // namespace qvdet
