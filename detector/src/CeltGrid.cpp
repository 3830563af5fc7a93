#include "CeltGrid.h"

#include <algorithm>
#include <cmath>

namespace qvdet {
namespace {
constexpr unsigned kCodecRate = 48000;
// A 20 ms frame: 960 coefficients from a block of 1920 samples, of which only the middle 1080 are windowed in
// (120-sample overlaps), 420 zeros on either side.
constexpr std::int64_t kFrame = 960;
constexpr std::int64_t kBlock = 2 * kFrame;
constexpr std::int64_t kOverlap = 120;
constexpr std::int64_t kWindowFrom = (kFrame - kOverlap) / 2;
constexpr std::int64_t kWindowTo = kBlock - kWindowFrom;
// The encoder's window starts 312 samples (its pre-skip) before the track, so blocks start at 228 modulo 960.
constexpr std::int64_t kPreSkip = 312;
constexpr std::int64_t kGridPhase = ((-kPreSkip - kWindowFrom) % kFrame + kFrame) % kFrame;
// Off-grid blocks for comparison, near enough to see the same music, far enough that no coefficient lines up.
constexpr std::array<std::int64_t, 3> kOffGrid = {-47, -13, 29};
// The codec's pre-emphasis, undone before transforming so that the spectrum is the coded one.
constexpr double kEmphasis = 0.8500061035;
// Transforms per pass at most, on the grid; as many again beside it.
constexpr std::uint64_t kMaxGridBlocks = 300;
// Coefficient bands of 25 Hz bins, 2 to 16 kHz, where the codec spends few pulses per bin.
constexpr std::array<std::array<std::size_t, 2>, 4> kBands = {{{80, 160}, {160, 320}, {320, 480}, {480, 640}}};
// A band is judged when it stands this far over the rounding noise, so that its gaps are not filled by the
// noise, and a coefficient this far under the band's mean power is a gap.
constexpr double kLoudBandDb = 38.0;
constexpr double kGapDb = 30.0;
const double kGapPowerRatio = std::pow(10.0, -kGapDb / 10.0);
// Too few judged bins, or too few gaps beside the grid, make the ratio noise.
constexpr std::uint64_t kEnoughBins = 4000;
constexpr std::uint64_t kEnoughGaps = 40;

// 44.1 to 48 kHz is 147 input samples to 160 output samples.
constexpr std::int64_t kInputStep = 147;
constexpr std::int64_t kOutputStep = 160;
// Interpolation taps either side: the band read ends at 16 kHz, so the filter may roll off up to the images
// that would fold back into it.
constexpr std::int64_t kTapsBefore = 11;
constexpr std::int64_t kTaps = 24;

std::int64_t floorDivide(std::int64_t value, std::int64_t divisor) {
    const std::int64_t quotient = value / divisor;
    return quotient * divisor > value ? quotient - 1 : quotient;
}
} // namespace

CeltGrid::CeltGrid(unsigned sampleRate, unsigned channels, double floorPower, std::uint64_t plannedFrames)
    : measured_(sampleRate == kCodecRate || sampleRate == 44100), channels_(channels),
      resampled_(sampleRate != kCodecRate),
      bandFloor_(floorPower * (1.0 + kEmphasis * kEmphasis) * (kFrame / 2) * std::pow(10.0, kLoudBandDb / 10.0)),
      window_(kBlock, 0.0), fft_(kFrame / 2), block_(kBlock), folded_(kFrame), packed_(kFrame / 2),
      preTwiddle_(kFrame / 2), postTwiddle_(kFrame / 2) {
    const double pi = std::acos(-1.0);
    for (std::int64_t i = 0; i < kOverlap; ++i) {
        const double s = std::sin(0.5 * pi * (static_cast<double>(i) + 0.5) / kOverlap);
        const double rise = std::sin(0.5 * pi * s * s);
        window_[kWindowFrom + i] = rise;
        window_[kWindowTo - 1 - i] = rise;
    }
    std::fill(window_.begin() + kWindowFrom + kOverlap, window_.begin() + kWindowTo - kOverlap, 1.0);
    for (std::int64_t n = 0; n < kFrame / 2; ++n) {
        preTwiddle_[n] = std::polar(1.0, -pi * static_cast<double>(4 * n + 1) / (4.0 * kFrame));
        postTwiddle_[n] = std::polar(1.0, -pi * static_cast<double>(n) / kFrame);
    }
    if (resampled_) {
        // Blackman-windowed sinc at the input's Nyquist frequency, one set of taps per output phase.
        taps_.resize(kOutputStep);
        for (std::int64_t phase = 0; phase < kOutputStep; ++phase) {
            const double fraction = static_cast<double>(phase) / kOutputStep;
            double sum = 0.0;
            for (std::int64_t t = 0; t < kTaps; ++t) {
                const double x = static_cast<double>(t - kTapsBefore) - fraction;
                const double sinc = std::abs(x) < 1e-9 ? 1.0 : std::sin(pi * x) / (pi * x);
                const double w =
                    0.42 + 0.5 * std::cos(pi * x / (kTaps / 2)) + 0.08 * std::cos(2 * pi * x / (kTaps / 2));
                taps_[phase][t] = static_cast<float>(sinc * w);
                sum += sinc * w;
            }
            for (float& tap : taps_[phase]) {
                tap = static_cast<float>(tap / sum);
            }
        }
    }
    const std::uint64_t blocks = plannedFrames * kCodecRate / std::max(sampleRate, 1u) / kFrame;
    stride_ = std::max<std::uint64_t>(1, (blocks + kMaxGridBlocks - 1) / kMaxGridBlocks);
}

double CeltGrid::sampleAt48k(std::int64_t n, std::int64_t trackFrame) const {
    if (!resampled_) {
        return mono_[static_cast<std::size_t>(n - trackFrame)];
    }
    const std::int64_t position = n * kInputStep;
    const std::int64_t whole = floorDivide(position, kOutputStep);
    const auto& taps = taps_[static_cast<std::size_t>(position - whole * kOutputStep)];
    const float* input = mono_.data() + (whole - kTapsBefore - trackFrame);
    // Four running sums, so that the additions need not wait for one another.
    float sums[4] = {0.0f, 0.0f, 0.0f, 0.0f};
    for (std::int64_t t = 0; t < kTaps; t += 4) {
        for (std::int64_t lane = 0; lane < 4; ++lane) {
            sums[lane] += taps[t + lane] * input[t + lane];
        }
    }
    return (sums[0] + sums[1]) + (sums[2] + sums[3]);
}

// Whether the windowed part of the block at start (48 kHz), with the sample before it for the emphasis, can be
// made from the input frames [first, end).
bool CeltGrid::blockFits(std::int64_t start, std::int64_t first, std::int64_t end) const {
    const std::int64_t from = start + kWindowFrom - 1;
    const std::int64_t to = start + kWindowTo - 1;
    if (from < 0) {
        return false;
    }
    if (!resampled_) {
        return from >= first && to < end;
    }
    return floorDivide(from * kInputStep, kOutputStep) - kTapsBefore >= first &&
           floorDivide(to * kInputStep, kOutputStep) - kTapsBefore + kTaps <= end;
}

void CeltGrid::transformBlock(std::int64_t start, std::int64_t trackFrame, GapCount& count) {
    std::fill(block_.begin(), block_.end(), 0.0);
    double previous = sampleAt48k(start + kWindowFrom - 1, trackFrame);
    for (std::int64_t m = kWindowFrom; m < kWindowTo; ++m) {
        const double sample = sampleAt48k(start + m, trackFrame);
        block_[m] = window_[m] * (sample - kEmphasis * previous);
        previous = sample;
    }
    // The MDCT of (a, b, c, d) is the DCT-IV of (-c reversed - d, a - b reversed), done as a complex transform of
    // half the length.
    const std::int64_t half = kFrame / 2;
    for (std::int64_t m = 0; m < half; ++m) {
        folded_[m] = -block_[kFrame + half - 1 - m] - block_[kFrame + half + m];
        folded_[half + m] = block_[m] - block_[kFrame - 1 - m];
    }
    for (std::int64_t n = 0; n < half; ++n) {
        packed_[n] = std::complex<double>(folded_[2 * n], folded_[kFrame - 1 - 2 * n]) * preTwiddle_[n];
    }
    fft_.transform(packed_);
    std::vector<double>& coefficients = block_;
    for (std::int64_t k = 0; k < half; ++k) {
        const std::complex<double> y = packed_[k] * postTwiddle_[k];
        coefficients[2 * k] = y.real();
        coefficients[kFrame - 1 - 2 * k] = -y.imag();
    }
    for (const auto& [from, to] : kBands) {
        double sum = 0.0;
        for (std::size_t k = from; k < to; ++k) {
            sum += coefficients[k] * coefficients[k];
        }
        const double mean = sum / static_cast<double>(to - from);
        if (mean <= bandFloor_) {
            continue;
        }
        const double gapPower = mean * kGapPowerRatio;
        for (std::size_t k = from; k < to; ++k) {
            count.gaps += coefficients[k] * coefficients[k] < gapPower ? 1 : 0;
        }
        count.bins += to - from;
    }
}

void CeltGrid::add(const float* frames, std::size_t frameCount, std::uint64_t trackFrame) {
    if (!measured_ || frameCount == 0) {
        return;
    }
    const std::int64_t first = static_cast<std::int64_t>(trackFrame);
    const std::int64_t end = first + static_cast<std::int64_t>(frameCount);
    const std::int64_t firstOut = resampled_ ? first * kOutputStep / kInputStep : first;
    const std::int64_t endOut = resampled_ ? end * kOutputStep / kInputStep + 1 : end;
    mono_.resize(frameCount);
    for (std::size_t i = 0; i < frameCount; ++i) {
        float sum = 0.0f;
        for (unsigned c = 0; c < channels_; ++c) {
            sum += frames[i * channels_ + c];
        }
        mono_[i] = sum;
    }
    const std::int64_t stride = static_cast<std::int64_t>(stride_);
    for (std::int64_t j = floorDivide(firstOut - kBlock, kFrame * stride) * stride; j * kFrame < endOut; j += stride) {
        const std::int64_t start = j * kFrame + kGridPhase;
        const std::int64_t beside = start + kOffGrid[static_cast<std::size_t>(j / stride) % kOffGrid.size()];
        if (blockFits(start, first, end) && blockFits(beside, first, end)) {
            transformBlock(start, first, onGrid_);
            transformBlock(beside, first, offGrid_);
        }
    }
}

double CeltGrid::gapExcess() const {
    if (onGrid_.bins < kEnoughBins || offGrid_.bins < kEnoughBins || offGrid_.gaps < kEnoughGaps) {
        return 0.0;
    }
    const double on = static_cast<double>(onGrid_.gaps) / static_cast<double>(onGrid_.bins);
    const double off = static_cast<double>(offGrid_.gaps) / static_cast<double>(offGrid_.bins);
    return on / off - 1.0;
}

} // namespace qvdet
