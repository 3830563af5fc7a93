#pragma once
// The picture of one pass: its spectrogram with a kHz axis and a time axis, the edge drawn where it is a wall,
// a colour bar, and the verdict with the measured figures and marks in a band under it.
#include "Image.h"
#include "Spectrogram.h"
#include "TrackAnalysis.h"

#include <string>

namespace qvdet {

inline constexpr int kPlotLeft = 44;
inline constexpr int kPlotTop = 16;
inline constexpr int kPlotWidth = 800;
inline constexpr int kPlotHeight = 512;
inline constexpr int kPictureWidth = 900;
inline constexpr int kPictureHeight = kPlotTop + kPlotHeight + 121;
inline constexpr Rgb kEdgeColour{255, 48, 48};

// An edge is drawn only when it is deep and steep, as an encoder's low-pass or a mastering filter leaves it.
inline constexpr double kDrawnWallDepthDb = 20.0;
inline constexpr double kDrawnWallSlopeDb = 10.0;

struct PassFacts {
    unsigned sampleRate = 0;
    unsigned channels = 0;
    int mode = 0;
    TrackAnalysis analysis;
    std::string verdict;
};

// Image row of a frequency inside the plot: 0 Hz at the bottom row, half the sample rate above the top one.
int plotRowOf(double hz, double nyquistHz);

// Colour of a share of the level range on our ramp, from dark violet (0) to light yellow (1); its lightness rises
// evenly, so that equal steps in dB look like equal steps.
Rgb rampColour(double share);

Image drawPicture(const Spectrogram& spectrogram, const PassFacts& facts);

} // namespace qvdet
