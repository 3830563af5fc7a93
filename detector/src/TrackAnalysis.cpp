#include "TrackAnalysis.h"

#include "Fft.h"
#include "CeltGrid.h"
#include "FineBand.h"
#include "HoleCount.h"
#include "SegmentPlan.h"
#include "Spectrum.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <cstdio>

namespace qvdet {
namespace {

// Levels over the floor, in power ratios: a frame counts as sound above kActiveRatio on average.
constexpr double kActiveRatio = 1000.0;
// Sparseness is judged in bands at least 30 dB over the floor; a gap is a bin 20 dB under its band.
constexpr double kSparseBandRatio = 1000.0;
constexpr double kSparseGap = 0.01;
// Joint stereo is judged in bands of eight bins (about 350 Hz) where each channel lies 30 dB over its floor; a band
// counts as coupled when its left and right powers correlate, squared, above kCoupledCorrelation.
constexpr std::size_t kCoupleBins = 8;
constexpr double kCoupleBandRatio = 1000.0;
constexpr double kCoupledCorrelation = 0.999;
// Where encoders couple the channels, and a band below that shows how alike the channels are anyway.
constexpr double kCoupledHighFromHz = 8000.0;
constexpr double kCoupledHighToHz = 14000.0;
constexpr double kCoupledLowFromHz = 2000.0;
constexpr double kCoupledLowToHz = 5000.0;
// A segment's own edge needs this many sounding frames, and counts as the track's within kNearBins.
constexpr unsigned kMinSegmentFrames = 8;
constexpr std::size_t kNearBins = 4;
// Bare cells are counted from here up: above 16 kHz noise-shaped dither lies well over the rounding floor and TPDF
// dither 4.8 dB over it, while below, shaped dither crosses the floor in a band or two.
constexpr double kBareCellsFromHz = 16000.0;

std::vector<double> levelsOver(const std::vector<double>& power, double frames, double floorPower) {
    std::vector<double> levels(power.size());
    for (std::size_t k = 0; k < power.size(); ++k) {
        levels[k] = levelOverFloorDb(power[k] / (frames * floorPower));
    }
    return levels;
}

class FrameAnalyzer {
public:
    // spectrumBins: how many bins of power each frame gets, at least layout.topBin.
    FrameAnalyzer(const BinLayout& layout, unsigned channels, double floorPower, std::size_t spectrumBins)
        : layout_(layout), channels_(channels), floorPower_(floorPower), fft_(layout.frameSize),
          window_(blackmanHarris(layout.frameSize)), buffer_(layout.frameSize), power_(spectrumBins) {
        double sum = 0.0;
        for (double w : window_) {
            sum += w * w;
        }
        windowEnergy_ = sum;
        activeLowBin_ = static_cast<std::size_t>(1000.0 / layout.binHz);
        // The channels are told apart only where the coupling is counted.
        separateLowBin_ = static_cast<std::size_t>(kCoupledLowFromHz / layout.binHz);
        separateHighBin_ = std::min(static_cast<std::size_t>(kCoupledHighToHz / layout.binHz), layout.topBin);
    }

    // Power spectrum of one frame summed over channels, two channels per transform; false when the frame is quiet.
    bool analyse(const float* frames) {
        std::fill(power_.begin(), power_.end(), 0.0);
        for (unsigned c = 0; c < channels_; c += 2) {
            const bool pair = c + 1 < channels_;
            for (std::size_t n = 0; n < layout_.frameSize; ++n) {
                const float* sample = frames + n * channels_ + c;
                buffer_[n] = {window_[n] * sample[0], pair ? window_[n] * sample[1] : 0.0};
            }
            fft_.transform(buffer_);
            for (std::size_t k = 0; k < power_.size(); ++k) {
                power_[k] += pairedPower(buffer_, k) / windowEnergy_;
            }
            if (c == 0 && pair) {
                separateFirstPair();
            }
        }
        double sum = 0.0;
        for (std::size_t k = activeLowBin_; k < layout_.topBin; ++k) {
            sum += power_[k];
        }
        const double bins = static_cast<double>(layout_.topBin - activeLowBin_);
        return sum / bins > kActiveRatio * floorPower_;
    }

    // Levels of the 700 Hz bands from the top of the analysed band down to the hole bands' lowest bin, over the
    // rounding floor, written low to high.
    void bandLevels(std::vector<double>& levels) const {
        const std::size_t width = layout_.holeBandBins;
        levels.clear();
        for (std::size_t end = layout_.topBin; end >= layout_.holeLowBin + width; end -= width) {
            double sum = 0.0;
            for (std::size_t k = end - width; k < end; ++k) {
                sum += power_[k];
            }
            levels.push_back(sum / (static_cast<double>(width) * floorPower_));
        }
        std::reverse(levels.begin(), levels.end());
    }

    // Bins far under their own band's level, in bands well above the floor, over bins [low, high): coarse
    // quantisation leaves such gaps, while noise-like content seldom does and quiet bands are not judged.
    void countSparseBins(std::size_t low, std::size_t high, std::uint64_t& empty, std::uint64_t& bins) const {
        const std::size_t width = layout_.holeBandBins;
        for (std::size_t begin = low; begin + width <= std::min(high, layout_.topBin); begin += width) {
            double sum = 0.0;
            for (std::size_t k = begin; k < begin + width; ++k) {
                sum += power_[k];
            }
            const double mean = sum / static_cast<double>(width);
            if (mean < kSparseBandRatio * floorPower_) {
                continue;
            }
            for (std::size_t k = begin; k < begin + width; ++k) {
                empty += power_[k] < kSparseGap * mean;
            }
            bins += width;
        }
    }

    // Bands of kCoupleBins bins over [low, high) where both channels carry content and the left channel's power
    // is proportional to the right's, bin by bin: joint-stereo coding (intensity or point stereo) leaves one
    // shape scaled per band; independent stereo content does not.
    void countCoupledBands(std::size_t low, std::size_t high, std::uint64_t& coupled, std::uint64_t& bands) const {
        if (channels_ < 2) {
            return;
        }
        const double content = kCoupleBandRatio * floorPower_ / channels_;
        for (std::size_t begin = low; begin + kCoupleBins <= std::min(high, layout_.topBin); begin += kCoupleBins) {
            double l = 0.0, r = 0.0, lr = 0.0, ll = 0.0, rr = 0.0;
            for (std::size_t k = begin; k < begin + kCoupleBins; ++k) {
                const double a = left_[k], b = right_[k];
                l += a;
                r += b;
                lr += a * b;
                ll += a * a;
                rr += b * b;
            }
            if (l < content * kCoupleBins || r < content * kCoupleBins) {
                continue;
            }
            ++bands;
            coupled += lr * lr > kCoupledCorrelation * ll * rr;
        }
    }

    const std::vector<double>& power() const { return power_; }

private:
    void separateFirstPair() {
        const std::size_t n = buffer_.size();
        for (std::size_t k = separateLowBin_; k < separateHighBin_; ++k) {
            const std::complex<double> a = buffer_[k];
            const std::complex<double> b = std::conj(buffer_[n - k]);
            left_[k] = std::norm(a + b) / (4.0 * windowEnergy_);
            right_[k] = std::norm(a - b) / (4.0 * windowEnergy_);
        }
    }

    BinLayout layout_;
    unsigned channels_;
    double floorPower_;
    Fft fft_;
    std::vector<double> window_;
    std::vector<std::complex<double>> buffer_;
    std::vector<double> power_;
    std::vector<double> left_ = std::vector<double>(layout_.topBin, 0.0);
    std::vector<double> right_ = std::vector<double>(layout_.topBin, 0.0);
    double windowEnergy_ = 1.0;
    std::size_t activeLowBin_ = 0;
    std::size_t separateLowBin_ = 0;
    std::size_t separateHighBin_ = 0;
};

// How many of the counted bins or bands showed a mark.
struct MarkCount {
    std::uint64_t marked = 0;
    std::uint64_t counted = 0;
    double share() const { return counted > 0 ? static_cast<double>(marked) / static_cast<double>(counted) : 0.0; }
};

struct SegmentSpectrum {
    std::vector<double> power;
    unsigned frames = 0;
};

} // namespace

TrackAnalysis analyseTrack(PcmSource& source, int mode, FrameObserver* observer) {
    TrackAnalysis result;
    const unsigned rate = source.sampleRate();
    const unsigned channels = source.channels();
    if (rate < kMinAnalysedRate) {
        result.outcome = Outcome::RateTooLow;
        return result;
    }
    const BinLayout layout = binLayoutFor(rate);
    if (source.frameCount() < layout.frameSize || static_cast<double>(source.frameCount()) < kMinActiveSeconds * rate) {
        result.outcome = Outcome::TooShort;
        return result;
    }
    // Rounding to the nearest step leaves white noise of step^2 / 12 in every channel.
    const double step = source.quantizationStep();
    const double floorPower = channels * step * step / 12.0;
    FrameAnalyzer frameAnalyzer(layout, channels, floorPower, observer ? layout.frameSize / 2 : layout.topBin);
    const std::vector<Segment> plan = planSegments(source.frameCount(), rate, mode);
    // The frames the pass reads, and the frames it transforms.
    std::uint64_t plannedFrames = 0;
    std::uint64_t plannedTransforms = 0;
    for (const Segment& segment : plan) {
        plannedFrames += segment.frameCount;
        plannedTransforms +=
            segment.frameCount < layout.frameSize ? 0 : (segment.frameCount - layout.frameSize) / layout.hop + 1;
    }
    if (observer) {
        observer->begin(layout, plannedTransforms, floorPower);
    }

    std::vector<SegmentSpectrum> segments;
    std::vector<double> total(layout.topBin, 0.0);
    std::uint64_t activeFrames = 0;
    std::vector<double> bands;
    frameAnalyzer.bandLevels(bands);
    BandHistory history(bands.size());
    MarkCount high;
    MarkCount mid;
    MarkCount coupledHigh;
    MarkCount coupledLow;
    const auto binAt = [&layout](double hz) { return static_cast<std::size_t>(hz / layout.binHz); };
    FineBand cliffBand(rate, channels, kCliffBandLowHz, kCliffBandHighHz);
    CeltGrid celtGrid(rate, channels, floorPower, plannedFrames);
    std::vector<float> samples;
    for (const Segment& segment : plan) {
        if (segment.frameCount < layout.frameSize) {
            continue;
        }
        if (!source.readFrames(segment.firstFrame, static_cast<std::size_t>(segment.frameCount), samples)) {
            result.outcome = Outcome::ReadFailed;
            return result;
        }
        cliffBand.add(samples.data(), static_cast<std::size_t>(segment.frameCount));
        celtGrid.add(samples.data(), static_cast<std::size_t>(segment.frameCount), segment.firstFrame);
        SegmentSpectrum spectrum{std::vector<double>(layout.topBin, 0.0), 0};
        bool follows = false;
        for (std::size_t start = 0; start + layout.frameSize <= segment.frameCount; start += layout.hop) {
            const bool sounding = frameAnalyzer.analyse(samples.data() + start * channels);
            if (observer) {
                observer->frame(frameAnalyzer.power(), segment.firstFrame + start);
            }
            if (!sounding) {
                follows = false;
                continue;
            }
            const std::vector<double>& power = frameAnalyzer.power();
            for (std::size_t k = 0; k < layout.topBin; ++k) {
                spectrum.power[k] += power[k];
            }
            frameAnalyzer.bandLevels(bands);
            history.add(bands, follows);
            follows = true;
            frameAnalyzer.countSparseBins(binAt(16000.0), binAt(19500.0), high.marked, high.counted);
            frameAnalyzer.countSparseBins(binAt(12500.0), binAt(16000.0), mid.marked, mid.counted);
            frameAnalyzer.countCoupledBands(binAt(kCoupledHighFromHz), binAt(kCoupledHighToHz), coupledHigh.marked,
                                            coupledHigh.counted);
            frameAnalyzer.countCoupledBands(binAt(kCoupledLowFromHz), binAt(kCoupledLowToHz), coupledLow.marked,
                                            coupledLow.counted);
            ++spectrum.frames;
        }
        for (std::size_t k = 0; k < layout.topBin; ++k) {
            total[k] += spectrum.power[k];
        }
        activeFrames += spectrum.frames;
        segments.push_back(std::move(spectrum));
    }

    Features& features = result.features;
    features.segments = static_cast<unsigned>(segments.size());
    features.activeSeconds = static_cast<double>(activeFrames * layout.hop) / rate;
    if (features.activeSeconds < kMinActiveSeconds) {
        result.outcome = Outcome::Silent;
        return result;
    }
    const Edge edge = findEdge(levelsOver(total, static_cast<double>(activeFrames), floorPower), layout);
    features.edgeHz = static_cast<double>(edge.bin) * layout.binHz;
    features.depthDb = edge.depthDb;
    features.slopeDb = edge.slopeDb;
    features.aboveDb = edge.aboveDb;
    features.sparseHigh = high.share();
    features.sparseMid = mid.share();
    features.holeRatio = persistentHoleShare(history);
    // The hole bands run down from the top of the analysed band, holeBandBins wide.
    const std::size_t bareBands =
        (layout.topBin - std::min(layout.topBin, binAt(kBareCellsFromHz))) / layout.holeBandBins;
    const BareCells bare = countBareCells(history, history.bands() - std::min(bareBands, history.bands()));
    features.bareShare = bare.share();
    features.quietCells = static_cast<double>(bare.quiet);
    features.coupledHigh = coupledHigh.share();
    features.coupledLow = coupledLow.share();
    const Cliff cliff = cliffAt20kHz(cliffBand, floorPower);
    features.cliffDropDb = cliff.dropDb;
    features.cliffStepDb = cliff.stepDb;
    features.celtGapExcess = celtGrid.gapExcess();

    unsigned judged = 0;
    unsigned near = 0;
    for (const SegmentSpectrum& segment : segments) {
        if (segment.frames < kMinSegmentFrames) {
            continue;
        }
        ++judged;
        const Edge own = findEdge(levelsOver(segment.power, segment.frames, floorPower), layout);
        const std::size_t distance = own.bin > edge.bin ? own.bin - edge.bin : edge.bin - own.bin;
        if (distance <= kNearBins) {
            ++near;
        }
    }
    features.stability = judged > 0 ? static_cast<double>(near) / judged : 0.0;
    result.outcome = Outcome::Qualified;
    return result;
}

std::string describe(Outcome outcome) {
    switch (outcome) {
    case Outcome::Qualified:
        return "qualified";
    case Outcome::TooShort:
        return "too short";
    case Outcome::Silent:
        return "too little sound";
    case Outcome::RateTooLow:
        return "sample rate below 44.1 kHz";
    case Outcome::ReadFailed:
        return "read failed";
    }
    return "unknown";
}

std::string fixedText(double value, int decimals) {
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

std::string describeMarks(const Features& f) {
    return "channels alike " + fixedText(f.coupledHigh * 100.0, 0) + "% at 8-14 kHz, " +
           fixedText(f.coupledLow * 100.0, 0) + "% at 2-5 kHz, bare floor in " + fixedText(f.bareShare * 100.0, 0) +
           "% of " + fixedText(f.quietCells, 0) + " quiet cells, cliff at 20 kHz " + fixedText(f.cliffDropDb, 1) +
           " dB (step " + fixedText(f.cliffStepDb, 1) + " dB), gaps on the Opus frame grid " +
           fixedText(1.0 + f.celtGapExcess, 2) + " times those beside it";
}

} // namespace qvdet
