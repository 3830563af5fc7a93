#pragma once
// Spectral measurements of a track: the highest edge of real content, and holes below it.
#include <cstddef>
#include <vector>

namespace qvdet {

// Bin geometry for one sample rate: bins of about 43 to 47 Hz up to 24 kHz, whatever the rate.
struct BinLayout {
    std::size_t frameSize = 0;
    std::size_t hop = 0;
    double binHz = 0.0;
    std::size_t topBin = 0;     // bins [0, topBin) are analysed
    std::size_t edgeLowBin = 0; // lowest bin where an edge is looked for
    std::size_t holeLowBin = 0; // lowest bin of the hole bands
    std::size_t holeBandBins = 0;
};

BinLayout binLayoutFor(unsigned sampleRate);

// A power ratio over the floor in dB; digital silence and anything under -30 dB are written as -30 dB, so that
// levels stay finite.
double levelOverFloorDb(double ratio);

// Median of values [begin, end), which must not be empty: a few loud tonal bins do not pass for a band of content.
double median(const std::vector<double>& values, std::size_t begin, std::size_t end);

struct Edge {
    std::size_t bin = 0;  // first bin above the content
    double depthDb = 0.0; // content just below the edge against the loudest level anywhere above it
    double slopeDb = 0.0; // fall across the edge within a few bins: large for a brick wall
    double aboveDb = 0.0; // loudest level above the edge, over the floor
};

// levelsDb: level per bin in dB over the floor. Looks for the bin that best separates content below from
// nothing above, between layout.edgeLowBin and a little under layout.topBin.
Edge findEdge(const std::vector<double>& levelsDb, const BinLayout& layout);

} // namespace qvdet
