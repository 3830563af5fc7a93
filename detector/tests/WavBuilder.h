#pragma once
// Builds RIFF WAVE bytes in memory, well-formed or damaged on purpose.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace qvdet::test {

using Bytes = std::vector<std::uint8_t>;

inline void put16(Bytes& b, unsigned v) {
    b.push_back(static_cast<std::uint8_t>(v));
    b.push_back(static_cast<std::uint8_t>(v >> 8));
}
inline void put32(Bytes& b, std::uint32_t v) {
    put16(b, v & 0xFFFF);
    put16(b, v >> 16);
}
inline void putId(Bytes& b, const char* id) {
    for (int i = 0; i < 4; ++i) {
        b.push_back(static_cast<std::uint8_t>(id[i]));
    }
}

inline void putChunk(Bytes& b, const char* id, const Bytes& body) {
    putId(b, id);
    put32(b, static_cast<std::uint32_t>(body.size()));
    b.insert(b.end(), body.begin(), body.end());
    if (body.size() % 2) {
        b.push_back(0);
    }
}

struct FmtFields {
    unsigned tag = 1;
    unsigned channels = 2;
    unsigned rate = 44100;
    unsigned bits = 16;
    bool extensible = false;
    unsigned validBits = 0;
};

inline Bytes fmtBody(const FmtFields& f) {
    Bytes b;
    const unsigned container = (f.bits + 7) / 8;
    put16(b, f.extensible ? 0xFFFE : f.tag);
    put16(b, f.channels);
    put32(b, f.rate);
    put32(b, f.rate * f.channels * container);
    put16(b, f.channels * container);
    put16(b, f.bits);
    if (f.extensible) {
        put16(b, 22);
        put16(b, f.validBits ? f.validBits : f.bits);
        put32(b, 3);
        put32(b, f.tag);
        const std::uint8_t tail[12] = {0x00, 0x00, 0x10, 0x00, 0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};
        b.insert(b.end(), tail, tail + 12);
    }
    return b;
}

// Encodes interleaved samples in [-1, 1] the way the fmt fields say.
inline Bytes sampleBytes(const FmtFields& f, const std::vector<double>& samples) {
    Bytes b;
    const unsigned container = (f.bits + 7) / 8;
    for (double v : samples) {
        if (f.tag == 3 && f.bits == 32) {
            const float f = static_cast<float>(v);
            std::uint32_t u;
            std::memcpy(&u, &f, 4);
            put32(b, u);
        } else if (f.tag == 3) {
            std::uint64_t u;
            std::memcpy(&u, &v, 8);
            put32(b, static_cast<std::uint32_t>(u));
            put32(b, static_cast<std::uint32_t>(u >> 32));
        } else {
            const double scale = std::ldexp(1.0, static_cast<int>(container * 8 - 1));
            const double clamped = std::max(-scale, std::min(scale - 1.0, std::round(v * scale)));
            const auto q = static_cast<std::int64_t>(clamped);
            const auto stored = static_cast<std::uint64_t>(container == 1 ? q + 128 : q);
            for (unsigned i = 0; i < container; ++i) {
                b.push_back(static_cast<std::uint8_t>(stored >> (8 * i)));
            }
        }
    }
    return b;
}

// RIFF header around the given chunks; riffSize overrides the size field when not ~0u.
inline Bytes riff(const Bytes& chunks, std::uint32_t riffSize = ~0u) {
    Bytes b;
    putId(b, "RIFF");
    put32(b, riffSize != ~0u ? riffSize : static_cast<std::uint32_t>(chunks.size() + 4));
    putId(b, "WAVE");
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
