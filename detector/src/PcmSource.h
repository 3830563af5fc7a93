#pragma once
// Sample frames as the analysis sees them: floats in [-1, 1], interleaved by channel.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace qvdet {

class PcmSource {
public:
    virtual ~PcmSource() = default;
    virtual unsigned sampleRate() const = 0;
    virtual unsigned channels() const = 0;
    virtual std::uint64_t frameCount() const = 0;
    // Step between neighbouring sample values (full scale is 1.0); sets the level of "nothing" in a spectrum.
    virtual double quantizationStep() const = 0;
    // Reads count frames from first into out (resized to count * channels()); false on a read failure.
    [[nodiscard]] virtual bool readFrames(std::uint64_t first, std::size_t count, std::vector<float>& out) = 0;
};

} // namespace qvdet
