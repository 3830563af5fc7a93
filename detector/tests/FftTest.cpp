#include "Fft.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <random>
#include <vector>

namespace qvdet {
namespace {

std::vector<std::complex<double>> naiveDft(const std::vector<std::complex<double>>& x) {
    const std::size_t n = x.size();
    const double pi = std::acos(-1.0);
    std::vector<std::complex<double>> out(n);
    for (std::size_t k = 0; k < n; ++k) {
        std::complex<double> sum;
        for (std::size_t j = 0; j < n; ++j) {
            sum += x[j] * std::polar(1.0, -2.0 * pi * static_cast<double>(k * j % n) / static_cast<double>(n));
        }
        out[k] = sum;
    }
    return out;
}

TEST(Fft, MatchesNaiveDftForEverySize) {
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> value(-1.0, 1.0);
    for (std::size_t n : {2u, 4u, 8u, 64u, 256u, 1024u}) {
        std::vector<std::complex<double>> x(n);
        for (auto& v : x) {
            v = {value(rng), value(rng)};
        }
        const auto expected = naiveDft(x);
        Fft(n).transform(x);
        for (std::size_t k = 0; k < n; ++k) {
            EXPECT_NEAR(x[k].real(), expected[k].real(), 1e-9 * n) << "size " << n << " bin " << k;
            EXPECT_NEAR(x[k].imag(), expected[k].imag(), 1e-9 * n) << "size " << n << " bin " << k;
        }
    }
}

TEST(Fft, PairedPowerSeparatesTwoRealChannels) {
    const std::size_t n = 512;
    std::mt19937 rng(11);
    std::normal_distribution<double> noise;
    std::vector<std::complex<double>> left(n), right(n), packed(n);
    for (std::size_t i = 0; i < n; ++i) {
        left[i] = noise(rng);
        right[i] = noise(rng);
        packed[i] = {left[i].real(), right[i].real()};
    }
    const Fft fft(n);
    fft.transform(left);
    fft.transform(right);
    fft.transform(packed);
    for (std::size_t k = 0; k <= n / 2; ++k) {
        EXPECT_NEAR(pairedPower(packed, k), std::norm(left[k]) + std::norm(right[k]), 1e-7) << "bin " << k;
    }
}

TEST(Fft, PowerOfTwoCheck) {
    EXPECT_TRUE(isPowerOfTwo(2));
    EXPECT_TRUE(isPowerOfTwo(4096));
    EXPECT_FALSE(isPowerOfTwo(0));
    EXPECT_FALSE(isPowerOfTwo(1));
    EXPECT_FALSE(isPowerOfTwo(768));
}

} // namespace
} // namespace qvdet
