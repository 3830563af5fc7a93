#pragma once
// Radix-2 complex FFT of one power-of-two size, its tables computed once and shared by every call.
#include <complex>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace qvdet {

bool isPowerOfTwo(std::size_t value);

class Fft {
public:
    // size must be a power of two of at least 2; callers check with isPowerOfTwo.
    explicit Fft(std::size_t size);

    std::size_t size() const { return size_; }

    // Forward transform in place: X[k] = sum x[n] e^(-2 pi i k n / N). data must hold size() values.
    void transform(std::vector<std::complex<double>>& data) const;

private:
    std::size_t size_;
    std::vector<std::complex<double>> twiddles_;
    std::vector<std::uint32_t> bitReversed_;
};

// Complex DFT of any size: the size's power-of-two factor by the FFT, its odd factor by plain sums, so it is
// fast when the odd factor is small (480 = 32 x 15).
class AnySizeFft {
public:
    explicit AnySizeFft(std::size_t size);

    std::size_t size() const { return size_; }

    // Forward transform in place, as Fft::transform. data must hold size() values.
    void transform(std::vector<std::complex<double>>& data);

private:
    std::size_t size_;
    std::size_t odd_;
    Fft fft_;
    std::vector<std::complex<double>> twiddles_; // e^(-2 pi i m k / N) for odd index m and power-of-two index k
    std::vector<std::complex<double>> oddDft_;   // e^(-2 pi i m j / odd)
    std::vector<std::complex<double>> column_;
    std::vector<std::complex<double>> work_;
};

// Four-term Blackman-Harris window: sidelobes below -92 dB keep loud bands out of quiet ones nearby.
std::vector<double> blackmanHarris(std::size_t size);

// Power of two real signals packed as one complex transform Z of x0 + i x1: |X0[k]|^2 + |X1[k]|^2.
// Lets two channels share one transform; with x1 = 0 it is |X0[k]|^2.
inline double pairedPower(const std::vector<std::complex<double>>& z, std::size_t k) {
    const std::size_t n = z.size();
    const std::complex<double>& a = z[k];
    const std::complex<double>& b = z[(n - k) % n];
    return 0.5 * (std::norm(a) + std::norm(b));
}

} // namespace qvdet
