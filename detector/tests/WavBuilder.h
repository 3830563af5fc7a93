#pragma once
// Builds RIFF WAVE bytes in memory, well-formed or damaged on purpose.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

namespace qvdet::test {

using Bytes = std::vector<std::uint8_t>;

// Little-endian, as RIFF stores every number.
inline void putLe(Bytes& b, std::uint64_t value, unsigned bytes) {
    for (unsigned i = 0; i < bytes; ++i) {
        b.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    }
}

// Id, the given size (the body's by default) and the body, padded to an even length.
inline void putChunk(Bytes& b, const char* id, const Bytes& body, std::uint64_t size = ~0ull) {
    b.insert(b.end(), id, id + 4);
    putLe(b, size != ~0ull ? size : body.size(), 4);
    b.insert(b.end(), body.begin(), body.end());
    b.resize(b.size() + body.size() % 2);
}

struct FmtFields {
    unsigned tag = 1, channels = 2, rate = 44100, bits = 16;
    bool extensible = false;
    unsigned validBits = 0;
};

inline Bytes fmtBody(const FmtFields& f) {
    Bytes b;
    const unsigned container = (f.bits + 7) / 8;
    putLe(b, f.extensible ? 0xFFFE : f.tag, 2);
    putLe(b, f.channels, 2);
    putLe(b, f.rate, 4);
    putLe(b, f.rate * f.channels * container, 4);
    putLe(b, f.channels * container, 2);
    putLe(b, f.bits, 2);
    if (f.extensible) {
        // Extension size, valid bits, speaker mask, and the sub-format GUID that begins with the plain tag.
        putLe(b, 22, 2);
        putLe(b, f.validBits ? f.validBits : f.bits, 2);
        putLe(b, 3, 4);
        putLe(b, f.tag, 4);
        b.insert(b.end(), {0x00, 0x00, 0x10, 0x00, 0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71});
    }
    return b;
}

// Encodes interleaved samples in [-1, 1] the way the fmt fields say.
inline Bytes sampleBytes(const FmtFields& f, const std::vector<double>& samples) {
    Bytes b;
    const unsigned container = (f.bits + 7) / 8;
    for (double v : samples) {
        std::uint64_t stored = 0;
        const float single = static_cast<float>(v);
        if (f.tag == 3) {
            std::memcpy(&stored, container == 4 ? static_cast<const void*>(&single) : &v, container);
        } else {
            const double scale = std::ldexp(1.0, static_cast<int>(container * 8 - 1));
            const auto q = static_cast<std::int64_t>(std::clamp(std::round(v * scale), -scale, scale - 1.0));
            stored = static_cast<std::uint64_t>(container == 1 ? q + 128 : q);
        }
        putLe(b, stored, container);
    }
    return b;
}

// A RIFF header around the given chunks; riffSize overrides the size field.
inline Bytes riff(const Bytes& chunks, std::uint64_t riffSize = ~0ull) {
    Bytes b = {'R', 'I', 'F', 'F'};
    putLe(b, riffSize != ~0ull ? riffSize : chunks.size() + 4, 4);
    b.insert(b.end(), {'W', 'A', 'V', 'E'});
    b.insert(b.end(), chunks.begin(), chunks.end());
    return b;
}

inline Bytes wav(const FmtFields& f, const std::vector<double>& samples) {
    Bytes chunks;
    putChunk(chunks, "fmt ", fmtBody(f));
    putChunk(chunks, "data", sampleBytes(f, samples));
    return riff(chunks);
}

} // namespace qvdet::test
