#include "WavBuilder.h"
#include "WavFile.h"

#include <gtest/gtest.h>

#include <limits>
#include <tuple>

namespace qvdet {
namespace {

using namespace qvdet::test;

struct Decoded {
    WavHeader header;
    std::vector<float> samples;
    double step = 0.0;
};

Decoded decode(const Bytes& bytes) {
    MemoryByteSource source(bytes.data(), bytes.size());
    Decoded d{parseWavHeader(source), {}};
    if (d.header.ok) {
        WavPcmSource pcm(source, d.header.format);
        EXPECT_TRUE(pcm.readFrames(0, static_cast<std::size_t>(pcm.frameCount()), d.samples));
        d.step = pcm.quantizationStep();
    }
    return d;
}

TEST(WavFile, DecodesEverySupportedEncodingToTheSameValues) {
    std::vector<double> samples; // whole frames for 1, 2, 3, 6 and 64 channels
    for (int i = 0; i < 32; ++i) {
        samples.insert(samples.end(), {0.0, 0.5, -0.5, 0.25, -1.0, 0.9});
    }
    struct Case {
        const char* name;
        FmtFields fields;
        double tolerance;
        double step; // follows the valid bits; float data takes a 24-bit step
    };
    const Case cases[] = {
        {"8-bit unsigned", {1, 2, 44100, 8}, 1.0 / 256, 1.0 / 128},
        {"16-bit", {1, 2, 44100, 16}, 1.0 / 65536, 1.0 / 32768},
        {"24-bit", {1, 3, 48000, 24}, 1e-6, 1.0 / 8388608},
        {"32-bit", {1, 1, 96000, 32}, 1e-7, 1.0 / 2147483648.0},
        {"32-bit float", {3, 2, 88200, 32}, 1e-7, 1.0 / 8388608},
        {"64-bit float", {3, 2, 44100, 64}, 1e-7, 1.0 / 8388608},
        {"extensible 24-bit, 64 channels", {1, 64, 44100, 24, true}, 1e-6, 1.0 / 8388608},
        {"extensible 20 valid bits in 24", {1, 2, 44100, 24, true, 20}, 1e-6, 1.0 / 524288},
        {"extensible float", {3, 2, 44100, 32, true}, 1e-7, 1.0 / 8388608},
    };
    for (const Case& c : cases) {
        const Decoded d = decode(wav(c.fields, samples));
        ASSERT_TRUE(d.header.ok) << c.name << ": " << d.header.error;
        const WavFormat& f = d.header.format;
        EXPECT_EQ(std::make_tuple(f.channels, f.sampleRate, f.frameCount),
                  std::make_tuple(c.fields.channels, c.fields.rate, std::uint64_t{samples.size() / c.fields.channels}))
            << c.name;
        EXPECT_DOUBLE_EQ(d.step, c.step) << c.name;
        ASSERT_EQ(d.samples.size(), samples.size()) << c.name;
        for (std::size_t i = 0; i < d.samples.size(); ++i) {
            EXPECT_NEAR(d.samples[i], samples[i], c.tolerance) << c.name << " sample " << i;
        }
    }
}

TEST(WavFile, SkipsUnknownAndOddSizedChunksAndFindsFmtAfterData) {
    const FmtFields fields{1, 1, 44100, 16};
    Bytes chunks;
    putChunk(chunks, "LIST", Bytes{1, 2, 3}); // odd size: one pad byte follows
    putChunk(chunks, "data", sampleBytes(fields, {0.5, -0.5, 0.25}));
    putChunk(chunks, "junk", Bytes(7, 0xEE));
    putChunk(chunks, "fmt ", fmtBody(fields));
    const Decoded d = decode(riff(chunks));
    ASSERT_TRUE(d.header.ok) << d.header.error;
    EXPECT_EQ(d.samples, (std::vector<float>{0.5f, -0.5f, 0.25f}));
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
        Bytes body = sampleBytes(fields, std::vector<double>(10, 0.1));
        body.push_back(0x55); // with its pad byte, not a whole frame
        putChunk(chunks, "data", body, c.declared);
        const Decoded d = decode(riff(chunks, 0));
        ASSERT_TRUE(d.header.ok) << c.name << ": " << d.header.error;
        EXPECT_EQ(d.header.format.frameCount, 5u) << c.name;
        EXPECT_EQ(!d.header.warnings.empty(), c.warns) << c.name;
    }
}

TEST(WavFile, RejectsBrokenHeadersWithAReason) {
    // A good file: "RIFF" size "WAVE", "fmt " 16 at 12, tag 20, channels 22, rate 24, block align 32, bits 34,
    // "data" at 36; each case overwrites bytes from an offset.
    const Bytes good = wav({1, 2, 44100, 16}, std::vector<double>(16, 0.1));
    const auto patched = [&](std::size_t at, Bytes bytes) {
        Bytes file = good;
        std::copy(bytes.begin(), bytes.end(), file.begin() + static_cast<std::ptrdiff_t>(at));
        return file;
    };
    const std::pair<Bytes, const char*> cases[] = {
        {{}, "shorter than a RIFF header"},
        {Bytes(64, 'x'), "not a RIFF WAVE"},
        {patched(3, {'X'}), "RIFX"},
        {patched(16, {100}), "fmt chunk is truncated"},
        {patched(16, {14}), "fmt chunk is too short"},
        {patched(16, {38, 0, 0, 0, 0xFE, 0xFF}), "extensible fmt chunk is too short"},
        {patched(12, {'f', 'm', 'x'}), "no fmt chunk"},
        {patched(36, {'d', 'a', 'x'}), "no data chunk"},
        {patched(36, {'f', 'm', 't', ' '}), "more than one fmt"},
        {patched(20, {2}), "format tag 0x0002"},
        {patched(22, {0}), "no channels"},
        {patched(22, {65}), "too many channels: 65"},
        {patched(24, {0, 0}), "sample rate"},
        {patched(34, {0}), "0 bits"},
        {patched(34, {40}), "integer sample size"},
        {patched(32, {3}), "block align"},
        {patched(32, {8}), "block align"},
        {patched(20, {3}), "float sample size"},
    };
    for (const auto& [bytes, reason] : cases) {
        const Decoded d = decode(bytes);
        EXPECT_FALSE(d.header.ok) << reason;
        EXPECT_NE(d.header.error.find(reason), std::string::npos) << reason << ": " << d.header.error;
    }
}

TEST(WavFile, ReadsOnlyWithinTheDataAndTamesHostileFloats) {
    Bytes bytes = wav({3, 1, 44100, 32}, {std::numeric_limits<double>::infinity(), 1e30, -1e30, 0.5});
    const std::uint32_t nan = 0x7FC00000u;
    std::memcpy(bytes.data() + bytes.size() - 4, &nan, 4);
    MemoryByteSource source(bytes.data(), bytes.size());
    WavPcmSource pcm(source, parseWavHeader(source).format);
    std::vector<float> out;
    ASSERT_TRUE(pcm.readFrames(0, 4, out));
    EXPECT_EQ(out, (std::vector<float>{0.0f, 16.0f, -16.0f, 0.0f}));
    EXPECT_FALSE(pcm.readFrames(3, 2, out));
    EXPECT_FALSE(pcm.readFrames(5, 0, out));
}

} // namespace
} // namespace qvdet
