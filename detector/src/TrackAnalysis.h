#pragma once
// One detector pass over a track: reads the planned segments, measures the spectrum, returns the features.
#include "PcmSource.h"
#include "Spectrum.h"

#include <cstdint>
#include <string>
#include <vector>

namespace qvdet {

struct Features {
    double edgeHz = 0.0;
    double depthDb = 0.0;
    double slopeDb = 0.0;
    double aboveDb = 0.0;
    double holeRatio = 0.0;  // share of top-band cells left empty under louder content
    double stability = 0.0;  // share of segments whose own edge sits at the track's edge
    double sparseHigh = 0.0; // share of empty bins amid content at 16 to 19.5 kHz, where MP3 has no scale factors
    double sparseMid = 0.0;  // the same at 12.5 to 16 kHz, the reference for the music's own sparseness
    // Share of bands, among those where both channels sound, whose left and right power spectra are proportional,
    // at 8 to 14 kHz where joint stereo codes them so, and at 2 to 5 kHz, which shows how alike the channels are.
    double coupledHigh = 0.0;
    double coupledLow = 0.0;
    // Of the quiet cells from 16 kHz up (bands in sounding frames under 10 dB over the rounding floor), the share
    // at the undithered rounding floor itself, and how many quiet cells there were.
    double bareShare = 0.0;
    double quietCells = 0.0;
    // The level's drop across 20.0 kHz, where CELT's (Opus's) coded band ends, and how cleanly it steps there.
    double cliffDropDb = 0.0;
    double cliffStepDb = 0.0;
    // How much more of the 2 to 16 kHz band's spectrum is gaps on CELT's (Opus's) frame grid than beside it.
    double celtGapExcess = 0.0;
    double activeSeconds = 0.0;
    unsigned segments = 0;
};

enum class Outcome { Qualified, TooShort, Silent, RateTooLow, ReadFailed };

struct TrackAnalysis {
    Outcome outcome = Outcome::ReadFailed;
    Features features;
};

// A track needs this much sound in the analysed segments to be judged at all.
inline constexpr double kMinActiveSeconds = 1.0;
// Below this rate the band where encoders cut lies above the Nyquist frequency.
inline constexpr unsigned kMinAnalysedRate = 44100;

// Sees every frame a pass transforms, sounding or quiet, with its power up to half the sample rate.
class FrameObserver {
public:
    virtual ~FrameObserver() = default;
    // Once, before the first frame: the bin geometry, the frames the pass will transform at most, and the power
    // of the rounding floor that levels are measured against.
    virtual void begin(const BinLayout& layout, std::uint64_t plannedFrames, double floorPower) = 0;
    // power: layout.frameSize / 2 bins; trackFrame: where the frame starts in the track.
    virtual void frame(const std::vector<double>& power, std::uint64_t trackFrame) = 0;
};

// observer, when given, sees the frames; the analysis itself is the same with or without one.
TrackAnalysis analyseTrack(PcmSource& source, int mode, FrameObserver* observer = nullptr);

std::string describe(Outcome outcome);

// A value with the given number of decimals, as the reports print figures.
std::string fixedText(double value, int decimals);

// The encoders' and decoders' marks the verdict weighs besides the wall, in words, as the reports print them.
std::string describeMarks(const Features& features);

} // namespace qvdet
