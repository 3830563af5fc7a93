#include "Fft.h"

#include <cmath>

namespace qvdet {

bool isPowerOfTwo(std::size_t value) {
    return value >= 2 && (value & (value - 1)) == 0;
}

Fft::Fft(std::size_t size) : size_(size), bitReversed_(size) {
    // Twiddles of every stage laid out one stage after the other, so each stage reads them in sequence.
    const double pi = std::acos(-1.0);
    for (std::size_t half = 1; half < size; half *= 2) {
        for (std::size_t k = 0; k < half; ++k) {
            const double angle = -pi * static_cast<double>(k) / static_cast<double>(half);
            twiddles_.emplace_back(std::cos(angle), std::sin(angle));
        }
    }
    std::size_t bits = 0;
    while ((std::size_t{1} << bits) < size) {
        ++bits;
    }
    for (std::size_t i = 0; i < size; ++i) {
        std::uint32_t reversed = 0;
        for (std::size_t b = 0; b < bits; ++b) {
            if (i & (std::size_t{1} << b)) {
                reversed |= std::uint32_t{1} << (bits - 1 - b);
            }
        }
        bitReversed_[i] = reversed;
    }
}

void Fft::transform(std::vector<std::complex<double>>& data) const {
    for (std::size_t i = 0; i < size_; ++i) {
        const std::size_t j = bitReversed_[i];
        if (i < j) {
            std::swap(data[i], data[j]);
        }
    }
    // Plain doubles: std::complex's operator* checks for infinities on every call.
    double* values = reinterpret_cast<double*>(data.data());
    const double* twiddle = reinterpret_cast<const double*>(twiddles_.data());
    for (std::size_t half = 1; half < size_; half *= 2) {
        for (std::size_t start = 0; start < size_; start += 2 * half) {
            double* a = values + 2 * start;
            double* b = values + 2 * (start + half);
            for (std::size_t k = 0; k < half; ++k) {
                const double wr = twiddle[2 * k];
                const double wi = twiddle[2 * k + 1];
                const double tr = wr * b[2 * k] - wi * b[2 * k + 1];
                const double ti = wr * b[2 * k + 1] + wi * b[2 * k];
                b[2 * k] = a[2 * k] - tr;
                b[2 * k + 1] = a[2 * k + 1] - ti;
                a[2 * k] += tr;
                a[2 * k + 1] += ti;
            }
        }
        twiddle += 2 * half;
    }
}

namespace {
std::size_t oddFactor(std::size_t size) {
    while (size % 2 == 0) {
        size /= 2;
    }
    return size;
}
} // namespace

AnySizeFft::AnySizeFft(std::size_t size)
    : size_(size), odd_(oddFactor(size)), fft_(size / odd_), twiddles_(size), oddDft_(odd_ * odd_),
      column_(size / odd_), work_(size) {
    const double pi = std::acos(-1.0);
    const std::size_t power = size / odd_;
    for (std::size_t m = 0; m < odd_; ++m) {
        for (std::size_t k = 0; k < power; ++k) {
            twiddles_[m * power + k] = std::polar(1.0, -2.0 * pi * static_cast<double>(m * k) / size);
        }
        for (std::size_t j = 0; j < odd_; ++j) {
            oddDft_[m * odd_ + j] = std::polar(1.0, -2.0 * pi * static_cast<double>(m * j % odd_) / odd_);
        }
    }
}

void AnySizeFft::transform(std::vector<std::complex<double>>& data) {
    // Cooley-Tukey with N = P x M: a P-point FFT of every M-th value from each start m, twiddled, then an M-point
    // sum across the starts for each of the P outputs: X[k + P j] = sum_m W_M^(m j) W_N^(m k) FFT_P(x[M n + m])[k].
    const std::size_t power = size_ / odd_;
    for (std::size_t m = 0; m < odd_; ++m) {
        for (std::size_t n = 0; n < power; ++n) {
            column_[n] = data[n * odd_ + m];
        }
        fft_.transform(column_);
        for (std::size_t k = 0; k < power; ++k) {
            work_[m * power + k] = column_[k] * twiddles_[m * power + k];
        }
    }
    // Plain doubles, as in Fft::transform.
    const double* values = reinterpret_cast<const double*>(work_.data());
    const double* roots = reinterpret_cast<const double*>(oddDft_.data());
    for (std::size_t k = 0; k < power; ++k) {
        for (std::size_t j = 0; j < odd_; ++j) {
            double real = 0.0;
            double imaginary = 0.0;
            for (std::size_t m = 0; m < odd_; ++m) {
                const double* v = values + 2 * (m * power + k);
                const double* w = roots + 2 * (m * odd_ + j);
                real += v[0] * w[0] - v[1] * w[1];
                imaginary += v[0] * w[1] + v[1] * w[0];
            }
            data[k + power * j] = {real, imaginary};
        }
    }
}

std::vector<double> blackmanHarris(std::size_t size) {
    std::vector<double> window(size);
    const double pi = std::acos(-1.0);
    for (std::size_t n = 0; n < size; ++n) {
        const double x = 2.0 * pi * static_cast<double>(n) / static_cast<double>(size);
        window[n] = 0.35875 - 0.48829 * std::cos(x) + 0.14128 * std::cos(2 * x) - 0.01168 * std::cos(3 * x);
    }
    return window;
}

} // namespace qvdet
