#pragma once
// Synthetic test signals: noise shaped in the frequency domain, quantised like a 16-bit file.
#include "Fft.h"
#include "PcmSource.h"

#include <cmath>
#include <complex>
#include <functional>
#include <random>
#include <vector>

namespace qvdet::test {

// Gain per frequency in Hz.
using Response = std::function<double(double)>;

// Noise of 2^log2Length samples with the given spectral response, rounded to 16-bit steps (scaled to peak 0.5).
inline std::vector<double> shapedNoise(unsigned log2Length, unsigned rate, const Response& response, unsigned seed) {
    const std::size_t n = std::size_t{1} << log2Length;
    std::mt19937 rng(seed);
    std::normal_distribution<double> normal;
    std::vector<std::complex<double>> x(n);
    for (auto& v : x) {
        v = normal(rng);
    }
    const Fft fft(n);
    fft.transform(x);
    for (std::size_t k = 0; k < n; ++k) {
        // Conjugated, so that the second forward transform acts as the inverse.
        x[k] = std::conj(x[k] * response(static_cast<double>(k <= n / 2 ? k : n - k) * rate / static_cast<double>(n)));
    }
    fft.transform(x);
    double peak = 0.0;
    for (const auto& v : x) {
        peak = std::max(peak, std::abs(v.real()));
    }
    std::vector<double> out(n);
    for (std::size_t i = 0; i < n; ++i) {
        out[i] = std::round(x[i].real() / peak * 0.5 * 32767.0) / 32768.0;
    }
    return out;
}

inline Response brickWall(double cutoffHz) {
    return [cutoffHz](double f) { return f < cutoffHz ? 1.0 : 0.0; };
}

// A PcmSource over interleaved samples held in memory.
class SignalSource : public PcmSource {
public:
    SignalSource(std::vector<double> interleaved, unsigned channels, unsigned rate, double step = 1.0 / 32768)
        : samples_(std::move(interleaved)), channels_(channels), rate_(rate), step_(step) {}
    unsigned sampleRate() const override { return rate_; }
    unsigned channels() const override { return channels_; }
    std::uint64_t frameCount() const override { return samples_.size() / channels_; }
    double quantizationStep() const override { return step_; }
    bool readFrames(std::uint64_t first, std::size_t count, std::vector<float>& out) override {
        if (first + count > frameCount()) {
            return false;
        }
        out.assign(samples_.begin() + static_cast<std::ptrdiff_t>(first * channels_),
                   samples_.begin() + static_cast<std::ptrdiff_t>((first + count) * channels_));
        return true;
    }

private:
    std::vector<double> samples_;
    unsigned channels_;
    unsigned rate_;
    double step_;
};

// Interleaves two equally long channels.
inline std::vector<double> stereo(const std::vector<double>& left, const std::vector<double>& right) {
    std::vector<double> out;
    for (std::size_t i = 0; i < left.size(); ++i) {
        out.insert(out.end(), {left[i], right[i]});
    }
    return out;
}

} // namespace qvdet::test
