#include "Spectrogram.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace qvdet {

void Spectrogram::begin(const BinLayout& layout, std::uint64_t plannedFrames, double floorPower) {
    planned_ = plannedFrames;
    columns_ = static_cast<std::size_t>(std::min<std::uint64_t>(plannedFrames, maxColumns_));
    bins_ = layout.frameSize / 2;
    binHz_ = layout.binHz;
    floorPower_ = floorPower > 0.0 ? floorPower : 1.0;
    frames_ = 0;
    power_.assign(columns_ * bins_, 0.0f);
    counts_.assign(columns_, 0);
    starts_.assign(columns_, 0);
}

void Spectrogram::frame(const std::vector<double>& power, std::uint64_t trackFrame) {
    if (columns_ == 0 || frames_ >= planned_ || power.size() < bins_) {
        return;
    }
    const auto column = static_cast<std::size_t>(frames_ * columns_ / planned_);
    ++frames_;
    if (counts_[column]++ == 0) {
        starts_[column] = trackFrame;
    }
    float* sums = power_.data() + column * bins_;
    for (std::size_t k = 0; k < bins_; ++k) {
        sums[k] += static_cast<float>(power[k]);
    }
}

double Spectrogram::levelDb(std::size_t column, std::size_t bin) const {
    const std::uint32_t count = counts_[column];
    const double power = count > 0 ? power_[column * bins_ + bin] / count : 0.0;
    return power > 0.0 ? 10.0 * std::log10(power / floorPower_) : -std::numeric_limits<double>::infinity();
}

} // namespace qvdet
