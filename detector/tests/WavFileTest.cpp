#include "WavBuilder.h"
#include "WavFile.h"

#include <gtest/gtest.h>

#include <limits>

namespace qvdet {
namespace {

using namespace qvdet::test;

struct Decoded {
    WavHeader header;
    std::vector<float> samples;
};

Decoded decode(const Bytes& bytes) {
    MemoryByteSource source(bytes.data(), bytes.size());
    Decoded d{parseWavHeader(source), {}};
    if (d.header.ok) {
        WavPcmSource pcm(source, d.header.format);
        EXPECT_TRUE(pcm.readFrames(0, static_cast<std::size_t>(pcm.frameCount()), d.samples));
    }
    return d;
}

TEST(WavFile, DecodesEverySupportedEncodingToTheSameValues) {
    const std::vector<double> samples = {0.0, 0.5, -0.5, 0.25, -1.0, 0.9};
    struct Case {
        const char* name;
        FmtFields fields;
        double tolerance;
    };
    const Case cases[] = {
        {"8-bit unsigned", {1, 2, 44100, 8}, 1.0 / 256},
        {"16-bit", {1, 2, 44100, 16}, 1.0 / 65536},
        {"24-bit", {1, 3, 48000, 24}, 1e-6},
        {"32-bit", {1, 1, 96000, 32}, 1e-7},
        {"32-bit float", {3, 2, 88200, 32}, 1e-7},
        {"64-bit float", {3, 2, 44100, 64}, 1e-7},
        {"extensible 24-bit", {1, 6, 44100, 24, true}, 1e-6},
        {"extensible 20 valid bits in 24", {1, 2, 44100, 24, true, 20}, 1e-6},
        {"extensible float", {3, 2, 44100, 32, true}, 1e-7},
    };
    for (const Case& c : cases) {
        const Decoded d = decode(wav(c.fields, samples));
        ASSERT_TRUE(d.header.ok) << c.name << ": " << d.header.error;
        EXPECT_EQ(d.header.format.channels, c.fields.channels) << c.name;
        EXPECT_EQ(d.header.format.sampleRate, c.fields.rate) << c.name;
        EXPECT_EQ(d.header.format.frameCount, samples.size() / c.fields.channels) << c.name;
        ASSERT_EQ(d.samples.size(), d.header.format.frameCount * c.fields.channels) << c.name;
        for (std::size_t i = 0; i < d.samples.size(); ++i) {
            EXPECT_NEAR(d.samples[i], samples[i], c.tolerance) << c.name << " sample " << i;
        }
    }
}

TEST(WavFile, QuantizationStepFollowsValidBits) {
    const std::vector<double> one = {0.0, 0.0};
    struct Case {
        FmtFields fields;
        double step;
    };
    const Case cases[] = {
        {{1, 2, 44100, 16}, 1.0 / 32768},
        {{1, 2, 44100, 8}, 1.0 / 128},
        {{1, 2, 44100, 24, true, 20}, 1.0 / 524288},
        {{3, 2, 44100, 32}, 1.0 / 8388608},
    };
    for (const Case& c : cases) {
        const Bytes bytes = wav(c.fields, one);
        MemoryByteSource source(bytes.data(), bytes.size());
        const WavHeader header = parseWavHeader(source);
        ASSERT_TRUE(header.ok) << header.error;
        EXPECT_DOUBLE_EQ(WavPcmSource(source, header.format).quantizationStep(), c.step);
    }
}

TEST(WavFile, SkipsUnknownAndOddSizedChunksAndFindsFmtAfterData) {
    const FmtFields fields{1, 1, 44100, 16};
    const Bytes data = sampleBytes(fields, {0.5, -0.5, 0.25});
    Bytes chunks;
    putChunk(chunks, "LIST", Bytes{1, 2, 3}); // odd size: one pad byte follows
    putChunk(chunks, "data", data);
    putChunk(chunks, "junk", Bytes(7, 0xEE));
    putChunk(chunks, "fmt ", fmtBody(fields));
    const Decoded d = decode(riff(chunks));
    ASSERT_TRUE(d.header.ok) << d.header.error;
    ASSERT_EQ(d.samples.size(), 3u);
    EXPECT_NEAR(d.samples[0], 0.5, 1e-4);
    EXPECT_NEAR(d.samples[2], 0.25, 1e-4);
}

TEST(WavFile, DataSizesThatOvershootTheFileReadWhatIsThere) {
    const FmtFields fields{1, 2, 44100, 16};
    struct Case {
        const char* name;
        std::uint32_t declared;
        bool warns;
    };
    const Case cases[] = {
        {"cut short", 4000, true},
        {"unknown size of a stream", 0xFFFFFFFFu, false},
        {"zero size of a stream", 0, false},
    };
    for (const Case& c : cases) {
        Bytes chunks;
        putChunk(chunks, "fmt ", fmtBody(fields));
        putId(chunks, "data");
        put32(chunks, c.declared);
        const Bytes body = sampleBytes(fields, std::vector<double>(10, 0.1));
        chunks.insert(chunks.end(), body.begin(), body.end());
        chunks.push_back(0x55); // a stray byte that is not a whole frame
        const Decoded d = decode(riff(chunks, 0));
        ASSERT_TRUE(d.header.ok) << c.name << ": " << d.header.error;
        EXPECT_EQ(d.header.format.frameCount, 5u) << c.name;
        EXPECT_EQ(!d.header.warnings.empty(), c.warns) << c.name;
    }
}

TEST(WavFile, RejectsBrokenHeadersWithAReason) {
    const FmtFields good{1, 2, 44100, 16};
    const Bytes someData = sampleBytes(good, {0.1, 0.1});
    auto withFmt = [&](Bytes fmt) {
        Bytes chunks;
        putChunk(chunks, "fmt ", fmt);
        putChunk(chunks, "data", someData);
        return riff(chunks);
    };
    auto patched = [&](std::size_t offset, unsigned value) {
        Bytes fmt = fmtBody(good);
        fmt[offset] = static_cast<std::uint8_t>(value);
        fmt[offset + 1] = static_cast<std::uint8_t>(value >> 8);
        return withFmt(fmt);
    };
    Bytes truncatedFmt = riff(Bytes{'f', 'm', 't', ' ', 16, 0, 0, 0, 1, 0});
    Bytes onlyFmt;
    putChunk(onlyFmt, "fmt ", fmtBody(good));
    Bytes onlyData;
    putChunk(onlyData, "data", someData);
    Bytes twoFmt;
    putChunk(twoFmt, "fmt ", fmtBody(good));
    putChunk(twoFmt, "fmt ", fmtBody(good));
    Bytes rifx = withFmt(fmtBody(good));
    rifx[3] = 'X';
    Bytes shortExtensible = fmtBody({1, 2, 44100, 16, true});
    shortExtensible.resize(24);

    struct Case {
        const char* name;
        Bytes bytes;
        const char* reason;
    };
    const Case cases[] = {
        {"empty file", {}, "shorter than a RIFF header"},
        {"not RIFF", Bytes(64, 'x'), "not a RIFF WAVE"},
        {"big-endian", rifx, "RIFX"},
        {"fmt cut off", truncatedFmt, "fmt chunk is truncated"},
        {"fmt too short", withFmt(Bytes(14, 0)), "fmt chunk is too short"},
        {"extensible too short", withFmt(shortExtensible), "extensible fmt chunk is too short"},
        {"no fmt", riff(onlyData), "no fmt chunk"},
        {"no data", riff(onlyFmt), "no data chunk"},
        {"two fmt", riff(twoFmt), "more than one fmt"},
        {"ADPCM", patched(0, 2), "format tag 0x0002"},
        {"no channels", patched(2, 0), "no channels"},
        {"too many channels", patched(2, 65), "too many channels"},
        {"rate zero", patched(4, 0), "sample rate"},
        {"zero bits", patched(14, 0), "0 bits"},
        {"40-bit integers", patched(14, 40), "integer sample size"},
        {"block align off", patched(12, 3), "block align"},
        {"16-bit float", withFmt(fmtBody({3, 2, 44100, 16})), "float sample size"},
    };
    for (const Case& c : cases) {
        const Decoded d = decode(c.bytes);
        EXPECT_FALSE(d.header.ok) << c.name;
        EXPECT_NE(d.header.error.find(c.reason), std::string::npos) << c.name << ": " << d.header.error;
    }
}

TEST(WavFile, ReadsOnlyWithinTheDataAndTamesHostileFloats) {
    const FmtFields fields{3, 1, 44100, 32};
    const std::vector<double> samples = {std::numeric_limits<double>::infinity(), 1e30, -1e30, 0.5};
    Bytes bytes = wav(fields, samples);
    // A NaN as the last sample.
    const std::uint32_t nan = 0x7FC00000u;
    std::memcpy(bytes.data() + bytes.size() - 4, &nan, 4);
    MemoryByteSource source(bytes.data(), bytes.size());
    const WavHeader header = parseWavHeader(source);
    ASSERT_TRUE(header.ok);
    WavPcmSource pcm(source, header.format);
    std::vector<float> out;
    ASSERT_TRUE(pcm.readFrames(0, 4, out));
    EXPECT_EQ(out[0], 0.0f);
    EXPECT_EQ(out[1], 16.0f);
    EXPECT_EQ(out[2], -16.0f);
    EXPECT_EQ(out[3], 0.0f);
    EXPECT_FALSE(pcm.readFrames(3, 2, out));
    EXPECT_FALSE(pcm.readFrames(5, 0, out));
}

} // namespace
} // namespace qvdet
