#include "Model.h"

#include <gtest/gtest.h>

namespace qvdet {
namespace {

Features wallAt(double hz, double aboveDb) {
    Features f;
    f.edgeHz = hz;
    f.depthDb = 45.0;
    f.slopeDb = 25.0;
    f.aboveDb = aboveDb;
    f.stability = 1.0;
    f.sparseHigh = 0.005;
    f.sparseMid = 0.005;
    return f;
}

// The whole band kept: no wall to speak of, shaped dither above 20 kHz.
Features noWall() {
    Features f = wallAt(21800.0, 30.0);
    f.depthDb = 0.5;
    f.slopeDb = 0.3;
    return f;
}

Features withBareCells(Features f, double quietCells, double bareShare) {
    f.quietCells = quietCells;
    f.bareShare = bareShare;
    return f;
}

// Bare rounding noise above a wall leaves the quiet cells there bare as well.
Features bareAbove(const Features& f) {
    return withBareCells(f, 1000.0, 0.9);
}

Features withCliff(Features f, double dropDb, double stepDb) {
    f.cliffDropDb = dropDb;
    f.cliffStepDb = stepDb;
    return f;
}

TEST(Model, AWallInTheMasteringBandNeedsAnEncodersMarks) {
    struct Case {
        const char* name;
        Features features;
        bool lossy;
    };
    Features holey = wallAt(20500.0, 5.0);
    holey.holeRatio = 0.2;
    // A decoder's output: no wall (the encoder kept the whole band), its quiet cells at the undithered floor.
    const Features bare = withBareCells(noWall(), 2000.0, 0.6);
    const Features fewBare = withBareCells(noWall(), 20.0, 0.6);
    // A dithered master: its quiet cells lie over the rounding floor, a few reach down by chance.
    const Features dithered = withBareCells(noWall(), 2000.0, 0.02);
    // Opus: a shallow wall at 20 kHz under dither, the high band coded as joint stereo.
    Features wall = wallAt(20100.0, 25.0);
    wall.depthDb = 15.0;
    wall.slopeDb = 8.0;
    wall.coupledHigh = 0.8;
    wall.coupledLow = 0.3;
    // Seen finely, a shallow cut at exactly 20 kHz: the coded band held little more than the master's dither. A
    // few more gaps on CELT's frame grid than beside it, too few to weigh alone, tip the balance.
    Features celt = withCliff(wall, 9.0, 2.0);
    celt.celtGapExcess = 0.25;
    // The shallow cut alone, channels as alike low as high, is not enough.
    Features celtMono = celt;
    celtMono.coupledLow = 0.8;
    celtMono.celtGapExcess = 0.0;
    // A deep, clean cut at exactly 20 kHz weighs on its own.
    const Features celtCut = withCliff(celtMono, 15.0, 8.0);
    // Joint stereo over a filter or an instrument ending around 20 kHz: a drop across it, sloping on both sides.
    const Features filterSlope = withCliff(wall, 6.0, -2.0);
    // A quiet, sparse master under shaped dither: persistent holes, no wall.
    Features sparseQuiet = noWall();
    sparseQuiet.holeRatio = 0.35;
    // A band-limited master through Opus: no wall of the codec's, the music's own spectrum gapped on its frame grid.
    Features onGrid = wallAt(16000.0, 5.0);
    onGrid.celtGapExcess = 1.0;
    Features nearGrid = onGrid;
    nearGrid.celtGapExcess = 0.1;
    const Case cases[] = {
        {"steep anti-alias wall, dithered after it", wallAt(20500.0, 5.0), false},
        {"the same wall under shaped dither", wallAt(20500.0, 30.0), false},
        {"no wall at all", wallAt(21800.0, 5.0), false},
        {"wall with bare rounding noise above, as a decoder leaves it", bareAbove(wallAt(20500.0, 0.3)), true},
        {"persistent holes with no wall", sparseQuiet, false},
        {"band-limited master: a low wall, dithered, no marks", wallAt(16000.0, 5.0), false},
        {"the same wall with bare rounding noise above", bareAbove(wallAt(16000.0, 0.3)), true},
        {"wall where CELT ends, joint stereo above 8 kHz, a few gaps on its grid", celt, true},
        {"the same cut alone, channels as alike low as high", celtMono, false},
        {"a deep, clean cut at exactly 20 kHz, channels alike", celtCut, true},
        {"joint stereo over a filter sloping through 20 kHz", filterSlope, false},
        {"no wall, quiet cells at the undithered rounding floor", bare, true},
        {"the same share from a handful of quiet cells", fewBare, false},
        {"no wall, quiet cells over the floor by the master's dither", dithered, false},
        {"band-limited master, its spectrum gapped on CELT's frame grid", onGrid, true},
        {"the same with gaps on the grid as few as the ratio's noise", nearGrid, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(lossyProbability(modelInput(c.features), calibratedModel()) > 0.5, c.lossy) << c.name;
    }
    // Holes weigh only with bounds: a wall full of them is not more certain than the cap allows.
    EXPECT_EQ(modelInput(holey), [&] {
        Features more = holey;
        more.holeRatio = 0.9;
        return modelInput(more);
    }());
}

} // namespace
} // namespace qvdet
