#include "HoleCount.h"

#include <algorithm>

namespace qvdet {
namespace {
// A hole stays under ten times the rounding floor (10 dB); content lies 20 dB over the rounding floor and 10 dB
// over its own band's floor.
constexpr double kHoleRatio = 10.0;
constexpr double kContentRatio = 100.0;
constexpr double kContentOverOwnFloor = 10.0;
constexpr double kFloorQuantile = 0.1;
// Within 1.5 dB of the rounding floor. The bounds keep most of a bare band's spread (a 700 Hz band's level in one
// frame varies by about a third) and little of a TPDF-dithered one's, three times as loud.
constexpr double kBareLow = 0.7;
constexpr double kBareHigh = 1.4;
} // namespace

void BandHistory::add(const std::vector<double>& levels, bool follows) {
    for (std::size_t b = 0; b < bands_; ++b) {
        levels_.push_back(static_cast<float>(b < levels.size() ? levels[b] : 0.0));
    }
    follows_.push_back(follows && !follows_.empty());
}

std::vector<double> bandFloors(const BandHistory& history) {
    std::vector<double> floors(history.bands(), 1.0);
    if (history.frames() == 0) {
        return floors;
    }
    std::vector<double> column(history.frames());
    for (std::size_t b = 0; b < history.bands(); ++b) {
        for (std::size_t f = 0; f < history.frames(); ++f) {
            column[f] = history.level(f, b);
        }
        const auto at = column.begin() + static_cast<std::ptrdiff_t>(kFloorQuantile * (column.size() - 1));
        std::nth_element(column.begin(), at, column.end());
        floors[b] = std::max(1.0, *at);
    }
    return floors;
}

double persistentHoleShare(const BandHistory& history) {
    const std::vector<double> floors = bandFloors(history);
    const std::size_t bands = history.bands();
    std::vector<bool> previous(bands, false);
    std::vector<bool> current(bands, false);
    std::size_t holes = 0;
    std::size_t cells = 0;
    for (std::size_t f = 0; f < history.frames(); ++f) {
        bool contentAbove = false;
        for (std::size_t b = bands; b-- > 0;) {
            const double level = history.level(f, b);
            current[b] = contentAbove && level < kHoleRatio;
            if (contentAbove) {
                ++cells;
                holes += current[b] && history.follows(f) && previous[b];
            }
            contentAbove = contentAbove || (level > kContentRatio && level > kContentOverOwnFloor * floors[b]);
        }
        std::swap(previous, current);
    }
    return cells > 0 ? static_cast<double>(holes) / static_cast<double>(cells) : 0.0;
}

BareCells countBareCells(const BandHistory& history, std::size_t firstBand) {
    BareCells cells;
    for (std::size_t f = 0; f < history.frames(); ++f) {
        for (std::size_t b = firstBand; b < history.bands(); ++b) {
            const double level = history.level(f, b);
            if (level < kHoleRatio) {
                ++cells.quiet;
                cells.bare += level > kBareLow && level < kBareHigh;
            }
        }
    }
    return cells;
}

} // namespace qvdet
