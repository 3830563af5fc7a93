#pragma once
// The average power spectrum of a narrow band at a few hertz' resolution, for walls too steep for the frame
// analysis to resolve.
#include "Fft.h"

#include <complex>
#include <cstddef>
#include <vector>

namespace qvdet {

class FineBand {
public:
    // The band [lowHz, highHz] at sampleRate; channels are summed before the transform.
    FineBand(unsigned sampleRate, unsigned channels, double lowHz, double highHz);

    // Interleaved frames of one stretch of the track; a stretch shorter than one transform adds nothing.
    void add(const float* frames, std::size_t frameCount);

    // Median level of the bins in [fromHz, toHz], in dB over floorPower, the rounding noise of the channels' sum:
    // the median ignores the odd tone standing in the band.
    double medianLevelDb(double fromHz, double toHz, double floorPower) const;

private:
    unsigned channels_;
    double binHz_;
    std::size_t lowBin_;
    Fft fft_;
    std::vector<double> window_;
    std::vector<std::complex<double>> buffer_;
    std::vector<double> power_;
    double windowEnergy_ = 1.0;
    unsigned transforms_ = 0;
};

// The level across 20.0 kHz. CELT (Opus) codes nothing above 20 kHz, and its cut is a brick wall a few tens of
// hertz wide between flat floors; anti-alias filters and instruments that end there slope over hundreds of hertz.
struct Cliff {
    double dropDb = 0.0; // from the 125 Hz just below to the 110 Hz just above, leaving out the window's main lobe
    double stepDb = 0.0; // the drop within 35 Hz either side, less any slope on either side further out
};

Cliff cliffAt20kHz(const FineBand& band, double floorPower);

// The band cliffAt20kHz reads.
inline constexpr double kCliffBandLowHz = 19750.0;
inline constexpr double kCliffBandHighHz = 20200.0;

} // namespace qvdet
