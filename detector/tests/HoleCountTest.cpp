#include "HoleCount.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace qvdet {
namespace {

// Frames of four bands, low to high, in power over the rounding floor.
struct Case {
    const char* name;
    std::vector<std::vector<double>> frames;
    bool consecutive;
    double expectedShare;
};

TEST(HoleCount, PersistentGapsUnderContentOverTheBandsOwnFloor) {
    const std::vector<double> gap = {500, 1, 1, 5000};      // two empty bands under content
    const std::vector<double> full = {500, 400, 300, 5000}; // no gap
    const std::vector<double> quiet = {200, 1, 1, 50};      // a quiet frame sets the bands' own floors
    const std::vector<double> shapedQuiet = {1, 1, 1, 300}; // quiet passage: shaped dither fills the top band
    const Case cases[] = {
        // Three cells per gap frame (under the top band); the first gap frame follows none: 6 of 12 are holes.
        {"steady gap", {quiet, gap, gap, gap, gap}, true, 6.0 / 12.0},
        {"gap in single frames only", {quiet, gap, full, gap, full}, true, 0.0},
        {"gap in frames that are not neighbours", {quiet, gap, gap, gap, gap}, false, 0.0},
        // The top band's floor is its dither noise, so it is no content over the bands below.
        {"shaped dither in quiet frames", {shapedQuiet, shapedQuiet, shapedQuiet, shapedQuiet, full, full}, true, 0.0},
        {"no content anywhere", {{1, 1, 1, 1}, {1, 1, 1, 1}}, true, 0.0},
    };
    for (const Case& c : cases) {
        BandHistory history(4);
        for (const auto& frame : c.frames) {
            history.add(frame, c.consecutive);
        }
        EXPECT_NEAR(persistentHoleShare(history), c.expectedShare, 1e-9) << c.name;
    }
}

TEST(HoleCount, BareCellsAreQuietCellsAtTheUnditheredRoundingFloor) {
    BandHistory history(5);
    // Bare floor twice, TPDF dither, near silence, content.
    history.add({1.0, 1.2, 3.0, 0.2, 500.0}, true);
    history.add({0.9, 1.3, 2.8, 0.1, 50.0}, true);
    const BareCells cells = countBareCells(history, 0);
    EXPECT_EQ(cells.quiet, 8u);
    EXPECT_EQ(cells.bare, 4u);
    EXPECT_DOUBLE_EQ(cells.share(), 0.5);
    const BareCells upper = countBareCells(history, 1);
    EXPECT_EQ(upper.quiet, 6u);
    EXPECT_EQ(upper.bare, 2u);
    EXPECT_DOUBLE_EQ(BareCells{}.share(), 0.0);
}

TEST(HoleCount, FloorIsTheQuietTenthAndNeverUnderTheRoundingFloor) {
    BandHistory history(2);
    for (int f = 0; f < 100; ++f) {
        history.add({f < 20 ? 0.01 : 1000.0, f < 20 ? 50.0 : 5000.0}, true);
    }
    const std::vector<double> floors = bandFloors(history);
    EXPECT_DOUBLE_EQ(floors[0], 1.0);
    EXPECT_DOUBLE_EQ(floors[1], 50.0);
}

} // namespace
} // namespace qvdet
