#include "Spectrum.h"

#include <algorithm>
#include <cmath>

namespace qvdet {
namespace {

// Content is judged over half a kilohertz below an edge, and at least 600 Hz must lie above it.
constexpr double kBelowHz = 500.0;
constexpr double kMinAboveHz = 600.0;
// The main lobe of the analysis window spreads a brick wall over about four bins either side.
constexpr std::size_t kGuardBins = 4;
constexpr std::size_t kSmoothBins = 5;

double mean(const std::vector<double>& values, std::size_t begin, std::size_t end) {
    double sum = 0.0;
    for (std::size_t i = begin; i < end; ++i) {
        sum += values[i];
    }
    return end > begin ? sum / static_cast<double>(end - begin) : 0.0;
}

} // namespace

double levelOverFloorDb(double ratio) {
    constexpr double kLowestDb = -30.0;
    return ratio > 0.0 ? std::max(kLowestDb, 10.0 * std::log10(ratio)) : kLowestDb;
}

double median(const std::vector<double>& values, std::size_t begin, std::size_t end) {
    std::vector<double> part(values.begin() + static_cast<std::ptrdiff_t>(begin),
                             values.begin() + static_cast<std::ptrdiff_t>(end));
    const auto middle = part.begin() + static_cast<std::ptrdiff_t>(part.size() / 2);
    std::nth_element(part.begin(), middle, part.end());
    return *middle;
}

BinLayout binLayoutFor(unsigned sampleRate) {
    BinLayout layout;
    layout.frameSize = sampleRate <= 48000 ? 1024 : (sampleRate <= 96000 ? 2048 : 4096);
    while (layout.frameSize > 256 && sampleRate / layout.frameSize < 30) {
        layout.frameSize /= 2;
    }
    layout.hop = layout.frameSize / 2;
    layout.binHz = static_cast<double>(sampleRate) / static_cast<double>(layout.frameSize);
    const double topHz = std::min(static_cast<double>(sampleRate) / 2.0, 24000.0);
    layout.topBin = std::min(layout.frameSize / 2, static_cast<std::size_t>(topHz / layout.binHz));
    layout.edgeLowBin = static_cast<std::size_t>(std::ceil(8000.0 / layout.binHz));
    layout.holeBandBins = std::max<std::size_t>(1, static_cast<std::size_t>(std::lround(700.0 / layout.binHz)));
    layout.holeLowBin = layout.edgeLowBin;
    return layout;
}

Edge findEdge(const std::vector<double>& levelsDb, const BinLayout& layout) {
    Edge best;
    const std::size_t top = std::min(layout.topBin, levelsDb.size());
    const auto below = static_cast<std::size_t>(std::lround(kBelowHz / layout.binHz));
    const auto minAbove = static_cast<std::size_t>(std::lround(kMinAboveHz / layout.binHz));
    if (top < minAbove + kGuardBins + below + 1) {
        return best;
    }
    std::vector<double> smooth(top);
    for (std::size_t k = 0; k < top; ++k) {
        const std::size_t begin = k >= kSmoothBins / 2 ? k - kSmoothBins / 2 : 0;
        const std::size_t end = std::min(top, k + kSmoothBins / 2 + 1);
        smooth[k] = mean(levelsDb, begin, end);
    }
    std::vector<double> loudestAbove(top + 1, -1e9);
    for (std::size_t k = top; k-- > 0;) {
        loudestAbove[k] = std::max(loudestAbove[k + 1], smooth[k]);
    }
    const std::size_t first = std::max(layout.edgeLowBin, below);
    bool any = false;
    for (std::size_t k = first; k + minAbove <= top; ++k) {
        const double content = median(levelsDb, k - below, k);
        const double above = loudestAbove[std::min(top, k + kGuardBins)];
        const double depth = content - above;
        if (!any || depth > best.depthDb) {
            any = true;
            best.bin = k;
            best.depthDb = depth;
            best.aboveDb = above;
        }
    }
    if (any) {
        const std::size_t k = best.bin;
        best.slopeDb = mean(levelsDb, k - kGuardBins, k) - mean(levelsDb, k, std::min(top, k + kGuardBins));
    }
    return best;
}

} // namespace qvdet
