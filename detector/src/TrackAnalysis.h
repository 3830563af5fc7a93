#pragma once
// One detector pass over a track: reads the planned segments, measures the spectrum, returns the features.
#include "PcmSource.h"

#include <string>

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

TrackAnalysis analyseTrack(PcmSource& source, int mode);

std::string describe(Outcome outcome);

} // namespace qvdet
