#include "FineBand.h"

#include "Spectrum.h"

#include <algorithm>
#include <cmath>

namespace qvdet {
namespace {
// Transforms about this many hertz per bin: fine enough to tell a cut a few bins wide from a filter's slope.
constexpr double kTargetBinHz = 5.0;

std::size_t transformSize(unsigned sampleRate) {
    std::size_t size = 2;
    while (static_cast<double>(size * 2) <= sampleRate / kTargetBinHz) {
        size *= 2;
    }
    return size;
}
} // namespace

FineBand::FineBand(unsigned sampleRate, unsigned channels, double lowHz, double highHz)
    : channels_(channels), binHz_(static_cast<double>(sampleRate) / static_cast<double>(transformSize(sampleRate))),
      lowBin_(static_cast<std::size_t>(lowHz / binHz_)), fft_(transformSize(sampleRate)),
      window_(blackmanHarris(fft_.size())), buffer_(fft_.size()) {
    const std::size_t highBin = std::min(fft_.size() / 2, static_cast<std::size_t>(std::ceil(highHz / binHz_)));
    power_.assign(highBin >= lowBin_ ? highBin - lowBin_ + 1 : 0, 0.0);
    double sum = 0.0;
    for (double w : window_) {
        sum += w * w;
    }
    windowEnergy_ = sum;
}

void FineBand::add(const float* frames, std::size_t frameCount) {
    const std::size_t size = fft_.size();
    const std::size_t windows = frameCount / size;
    // Two windows of the channels' sum share one transform, one as the real part and one as the imaginary.
    for (std::size_t first = 0; first < windows; first += 2) {
        const bool pair = first + 1 < windows;
        const float* real = frames + first * size * channels_;
        const float* imaginary = pair ? real + size * channels_ : nullptr;
        for (std::size_t n = 0; n < size; ++n) {
            double a = 0.0;
            double b = 0.0;
            for (unsigned c = 0; c < channels_; ++c) {
                a += real[n * channels_ + c];
            }
            if (imaginary) {
                for (unsigned c = 0; c < channels_; ++c) {
                    b += imaginary[n * channels_ + c];
                }
            }
            buffer_[n] = {window_[n] * a, window_[n] * b};
        }
        fft_.transform(buffer_);
        for (std::size_t k = 0; k < power_.size(); ++k) {
            power_[k] += pairedPower(buffer_, lowBin_ + k) / windowEnergy_;
        }
        transforms_ += pair ? 2 : 1;
    }
}

double FineBand::medianLevelDb(double fromHz, double toHz, double floorPower) const {
    std::vector<double> levels;
    for (std::size_t k = 0; k < power_.size(); ++k) {
        const double hz = static_cast<double>(lowBin_ + k) * binHz_;
        if (hz < fromHz || hz > toHz) {
            continue;
        }
        levels.push_back(levelOverFloorDb(transforms_ > 0 ? power_[k] / (transforms_ * floorPower) : 0.0));
    }
    return levels.empty() ? levelOverFloorDb(0.0) : median(levels, 0, levels.size());
}

Cliff cliffAt20kHz(const FineBand& band, double floorPower) {
    const auto level = [&](double fromHz, double toHz) { return band.medianLevelDb(fromHz, toHz, floorPower); };
    // The window's main lobe reaches 20 Hz to either side of the cut, and CELT's cut itself leaks a little above
    // it: the drop is read from 25 Hz below to 40 Hz above.
    const double drop = level(19850.0, 19975.0) - level(20040.0, 20150.0);
    const double narrowDrop = level(19945.0, 19980.0) - level(20030.0, 20065.0);
    const double slopeBelow = level(19780.0, 19850.0) - level(19880.0, 19950.0);
    const double slopeAbove = level(20070.0, 20120.0) - level(20140.0, 20200.0);
    return {drop, std::min(drop, narrowDrop) - std::abs(slopeBelow) - std::abs(slopeAbove)};
}

} // namespace qvdet
