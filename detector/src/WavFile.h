#pragma once
// RIFF WAVE reading: header parsing that never trusts a size field, and conversion of PCM or float samples.
#include "ByteSource.h"
#include "PcmSource.h"

#include <cstdint>
#include <string>
#include <vector>

namespace qvdet {

enum class SampleEncoding { UnsignedInt, SignedInt, Float };

struct WavFormat {
    SampleEncoding encoding = SampleEncoding::SignedInt;
    unsigned channels = 0;
    unsigned sampleRate = 0;
    unsigned containerBytes = 0; // bytes of one sample of one channel
    unsigned validBits = 0;      // significant bits, at most containerBytes * 8
    std::uint64_t dataOffset = 0;
    std::uint64_t frameCount = 0;
};

struct WavHeader {
    bool ok = false;
    std::string error; // why the file cannot be read, when !ok
    WavFormat format;
    std::vector<std::string> warnings; // readable but damaged, e.g. a data chunk cut short
};

inline constexpr unsigned kMaxChannels = 64;
inline constexpr unsigned kMinSampleRate = 1000;
inline constexpr unsigned kMaxSampleRate = 768000;

WavHeader parseWavHeader(ByteSource& source);

class WavPcmSource : public PcmSource {
public:
    // format must come from a successful parseWavHeader of the same source.
    WavPcmSource(ByteSource& source, const WavFormat& format) : source_(source), format_(format) {}

    unsigned sampleRate() const override { return format_.sampleRate; }
    unsigned channels() const override { return format_.channels; }
    std::uint64_t frameCount() const override { return format_.frameCount; }
    double quantizationStep() const override;
    bool readFrames(std::uint64_t first, std::size_t count, std::vector<float>& out) override;

private:
    ByteSource& source_;
    WavFormat format_;
    std::vector<std::uint8_t> raw_;
};

} // namespace qvdet
