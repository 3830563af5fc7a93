#include "CeltGrid.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

namespace qvdet {
namespace {

constexpr std::int64_t kFrame = 960;
constexpr double kStep = 1.0 / 32768;

// What a CELT decoder writes at 48 kHz: each 20 ms block one coefficient in eight between 2 and 16 kHz, the rest
// zero, windowed and overlapped on blocks starting at blockPhase modulo 960, then de-emphasised.
std::vector<double> codedAt48k(std::size_t length, std::int64_t blockPhase) {
    const double pi = std::acos(-1.0);
    std::vector<double> window(2 * kFrame, 0.0);
    for (std::int64_t i = 0; i < 120; ++i) {
        const double s = std::sin(0.5 * pi * (i + 0.5) / 120.0);
        window[420 + i] = window[1499 - i] = std::sin(0.5 * pi * s * s);
    }
    std::fill(window.begin() + 540, window.begin() + 1380, 1.0);
    std::mt19937 rng(5);
    std::uniform_int_distribution<int> slot(0, 7);
    std::vector<double> out(length, 0.0);
    for (std::int64_t start = blockPhase - 2 * kFrame; start < static_cast<std::int64_t>(length); start += kFrame) {
        for (std::int64_t k = 80; k < 640; k += 8) {
            const std::int64_t bin = k + slot(rng);
            const double amplitude = (slot(rng) < 4 ? 1.0 : -1.0) * 0.004;
            for (std::int64_t n = 420; n < 1500; ++n) {
                const std::int64_t at = start + n;
                if (at >= 0 && at < static_cast<std::int64_t>(length)) {
                    out[at] += amplitude * window[n] * std::cos(pi / kFrame * (n + 480.5) * (bin + 0.5));
                }
            }
        }
    }
    for (std::size_t n = 1; n < length; ++n) {
        out[n] += 0.8500061035 * out[n - 1];
    }
    return out;
}

// The same signal at 44.1 kHz, by windowed-sinc interpolation of the 48 kHz samples (content ends at 16 kHz).
std::vector<double> at44k(const std::vector<double>& x48) {
    const double pi = std::acos(-1.0);
    std::vector<double> out(x48.size() * 147 / 160 - 64, 0.0);
    for (std::size_t m = 0; m < out.size(); ++m) {
        const double t = static_cast<double>(m) * 160.0 / 147.0;
        const std::int64_t centre = static_cast<std::int64_t>(t);
        for (std::int64_t n = centre - 31; n <= centre + 32; ++n) {
            if (n < 0 || n >= static_cast<std::int64_t>(x48.size())) {
                continue;
            }
            const double x = t - static_cast<double>(n);
            const double sinc = std::abs(x) < 1e-12 ? 1.0 : std::sin(pi * x) / (pi * x);
            out[m] += x48[n] * sinc * (0.42 + 0.5 * std::cos(pi * x / 32.0) + 0.08 * std::cos(2.0 * pi * x / 32.0));
        }
    }
    return out;
}

// Two equal channels rounded to 16 bits, fed in one-second stretches with a quarter second skipped between them,
// as the analysis reads a track.
double gapExcess(const std::vector<double>& mono, unsigned rate) {
    std::vector<float> frames;
    for (double v : mono) {
        const float rounded = static_cast<float>(std::round(v / kStep) * kStep);
        frames.insert(frames.end(), {rounded, rounded});
    }
    CeltGrid grid(rate, 2, 2 * kStep * kStep / 12.0, mono.size());
    for (std::size_t first = 0; first + rate <= mono.size(); first += rate + rate / 4) {
        grid.add(frames.data() + 2 * first, rate, first);
    }
    return grid.gapExcess();
}

TEST(CeltGrid, GapsShowOnTheCodecsGridOnlyAt48And44kHz) {
    const std::size_t length = 48000 * 5;
    // Encoders start the first window 312 samples before the track: blocks at 228 modulo 960.
    const std::vector<double> coded = codedAt48k(length, 228);
    EXPECT_GT(gapExcess(coded, 48000), 1.0);
    EXPECT_GT(gapExcess(at44k(coded), 44100), 1.0);
    // The same blocks 300 samples later, as no decoder leaves them, and any other rate.
    const std::vector<double> shifted = codedAt48k(length, 228 + 300);
    EXPECT_NEAR(gapExcess(shifted, 48000), 0.0, 0.1);
    EXPECT_NEAR(gapExcess(at44k(shifted), 44100), 0.0, 0.1);
    EXPECT_EQ(gapExcess(coded, 96000), 0.0);
    // Nothing loud enough to judge: no figure rather than noise.
    EXPECT_EQ(gapExcess(std::vector<double>(length, 0.0), 48000), 0.0);
}

} // namespace
} // namespace qvdet
