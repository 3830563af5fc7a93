#include "Fft.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <random>
#include <vector>

namespace qvdet {
namespace {

std::vector<std::complex<double>> randomValues(std::size_t n, unsigned seed) {
    std::mt19937 rng(seed);
    std::uniform_real_distribution<double> value(-1.0, 1.0);
    std::vector<std::complex<double>> x(n);
    for (auto& v : x) {
        v = {value(rng), value(rng)};
    }
    return x;
}

void expectNaiveDft(const std::vector<std::complex<double>>& input, const std::vector<std::complex<double>>& x) {
    const std::size_t n = input.size();
    for (std::size_t k = 0; k < n; ++k) {
        std::complex<double> expected;
        for (std::size_t j = 0; j < n; ++j) {
            expected += input[j] * std::polar(1.0, -2.0 * std::acos(-1.0) * static_cast<double>(k * j % n) / n);
        }
        EXPECT_NEAR(std::abs(x[k] - expected), 0.0, 1e-9 * n) << "size " << n << " bin " << k;
    }
}

TEST(Fft, MatchesNaiveDftForEverySize) {
    for (std::size_t n : {2u, 4u, 8u, 64u, 1024u}) {
        std::vector<std::complex<double>> x = randomValues(n, 7);
        const auto input = x;
        Fft(n).transform(x);
        expectNaiveDft(input, x);
    }
    // Sizes that are no power of two, the transform reused to show it keeps no state between calls.
    for (std::size_t n : {3u, 15u, 480u, 1000u}) {
        AnySizeFft fft(n);
        for (unsigned seed : {7u, 8u}) {
            std::vector<std::complex<double>> x = randomValues(n, seed);
            const auto input = x;
            fft.transform(x);
            expectNaiveDft(input, x);
        }
    }
}

TEST(Fft, PairedPowerSeparatesTwoRealChannels) {
    const std::size_t n = 512;
    std::vector<std::complex<double>> packed = randomValues(n, 11), left(n), right(n);
    for (std::size_t i = 0; i < n; ++i) {
        left[i] = packed[i].real();
        right[i] = packed[i].imag();
    }
    const Fft fft(n);
    for (auto* x : {&left, &right, &packed}) {
        fft.transform(*x);
    }
    for (std::size_t k = 0; k <= n / 2; ++k) {
        EXPECT_NEAR(pairedPower(packed, k), std::norm(left[k]) + std::norm(right[k]), 1e-7) << "bin " << k;
    }
}

TEST(Fft, PowerOfTwoCheck) {
    std::vector<bool> answers;
    for (std::size_t n : {0u, 1u, 2u, 768u, 4096u}) {
        answers.push_back(isPowerOfTwo(n));
    }
    EXPECT_EQ(answers, (std::vector<bool>{false, false, true, false, true}));
}

} // namespace
} // namespace qvdet
