#include "DetectorRun.h"
#include "Picture.h"
#include "Signals.h"
#include "WavBuilder.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <cmath>
#include <map>
#include <numeric>

namespace qvdet {
namespace {

using namespace qvdet::test;

std::uint32_t be32(const std::uint8_t* p) {
    return std::uint32_t{p[0]} << 24 | std::uint32_t{p[1]} << 16 | std::uint32_t{p[2]} << 8 | p[3];
}

// The picture's RGB pixels as our own reading of the format finds them, written from the format's layout rather
// than from our writer; none when anything is off: the signature, a chunk's CRC, a header other than 8-bit RGB at
// the picture's size, the inflated size, or a row filter other than 0.
Bytes readPng(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    const Bytes bytes{std::istreambuf_iterator<char>(file), {}};
    const Bytes signature = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (bytes.size() < 8 || !std::equal(signature.begin(), signature.end(), bytes.begin())) {
        return {};
    }
    std::map<std::string, Bytes> chunks; // IDAT chunks joined
    std::size_t at = 8;
    for (std::uint32_t length = 0; bytes.size() - at >= 12; at += 12 + length) {
        length = be32(&bytes[at]);
        if (length > bytes.size() - at - 12 || crc32(0, &bytes[at + 4], length + 4) != be32(&bytes[at + 8 + length])) {
            return {};
        }
        Bytes& body = chunks[std::string(&bytes[at + 4], &bytes[at + 8])];
        body.insert(body.end(), &bytes[at + 8], &bytes[at + 8 + length]);
    }
    const Bytes header = {
        0, 0, kPictureWidth >> 8, kPictureWidth & 255, 0, 0, kPictureHeight >> 8, kPictureHeight & 255, 8, 2, 0, 0, 0};
    const std::size_t stride = kPictureWidth * 3 + 1;
    Bytes raw(stride * kPictureHeight + 1); // room for one byte too many
    uLongf size = static_cast<uLongf>(raw.size());
    const Bytes& idat = chunks["IDAT"];
    if (at != bytes.size() || chunks["IHDR"] != header || chunks.count("IEND") == 0 ||
        uncompress(raw.data(), &size, idat.data(), static_cast<uLong>(idat.size())) != Z_OK ||
        size != stride * kPictureHeight) {
        return {};
    }
    Bytes rgb;
    for (std::size_t row = 0; row < size; row += stride) {
        if (raw[row] != 0) {
            return {};
        }
        rgb.insert(rgb.end(), &raw[row + 1], &raw[row + stride]);
    }
    return rgb;
}

Rgb pixel(const Bytes& rgb, int x, int y) {
    const std::uint8_t* p = &rgb[(static_cast<std::size_t>(y) * kPictureWidth + x) * 3];
    return {p[0], p[1], p[2]};
}

// The plot's row of the most light, summed over its width.
int brightestRow(const Bytes& rgb) {
    std::pair<int, int> best{0, 0};
    for (int y = kPlotTop; y < kPlotTop + kPlotHeight; ++y) {
        const auto row = rgb.begin() + (static_cast<std::ptrdiff_t>(y) * kPictureWidth + kPlotLeft) * 3;
        best = std::max(best, {std::accumulate(row, row + kPlotWidth * 3, 0), y});
    }
    return best.second;
}

std::vector<int> edgeRows(const Bytes& rgb) {
    std::vector<int> rows;
    for (int y = kPlotTop; y < kPlotTop + kPlotHeight; ++y) {
        if (pixel(rgb, kPlotLeft + kPlotWidth / 3, y) == kEdgeColour) {
            rows.push_back(y);
        }
    }
    return rows;
}

std::vector<double> tone(double hz, double seconds) {
    std::vector<double> samples(static_cast<std::size_t>(seconds * 44100));
    for (std::size_t n = 0; n < samples.size(); ++n) {
        samples[n] = 0.5 * std::sin(2.0 * std::acos(-1.0) * hz * static_cast<double>(n) / 44100);
    }
    return samples;
}

// Interleaved noise cut at 15 kHz, or at the given frequency.
std::vector<double> noise(unsigned channels, unsigned rate, double cutoffHz = 15000.0) {
    std::vector<double> samples(std::size_t{channels} << 17);
    for (unsigned c = 0; c < channels; ++c) {
        const auto channel = shapedNoise(17, rate, brickWall(cutoffHz), c + 1);
        for (std::size_t n = 0; n < channel.size(); ++n) {
            samples[n * channels + c] = channel[n];
        }
    }
    return samples;
}

TEST(Picture, ShowsTonesAndTheEdgeWhereTheSignalHasThem) {
    const ScratchDir dir;
    struct Case {
        const char* name;
        Bytes wav;
        double brightestHz; // 0: not checked
        double edgeNearHz;  // the drawn edge may be at most 250 Hz from it (as the analysis finds it); 0: no line
    };
    const Case cases[] = {
        {"tone 1 kHz", wav({1, 1, 44100, 16}, tone(1000.0, 3.0)), 1000.0, 0.0},
        {"tone 16 kHz", wav({1, 1, 44100, 16}, tone(16000.0, 3.0)), 16000.0, 0.0},
        {"cut at 16 kHz", wav({1, 2, 44100, 16}, noise(2, 44100, 16000.0)), 0.0, 16000.0},
        {"full band", wav({1, 2, 44100, 16}, noise(2, 44100, 30000.0)), 0.0, 0.0},
    };
    for (const Case& c : cases) {
        const auto picture = dir.path() / (std::string(c.name) + ".png");
        const RunResult run = runOn(dir.write(std::string(c.name) + ".wav", c.wav), 0, picture);
        ASSERT_EQ(run.exitCode, 0) << c.name << ": " << run.err;
        const Bytes rgb = readPng(picture);
        ASSERT_FALSE(rgb.empty()) << c.name;
        if (c.brightestHz > 0.0) {
            EXPECT_NEAR(brightestRow(rgb), plotRowOf(c.brightestHz, 22050.0), 1) << c.name;
        }
        const std::size_t at = run.err.find("edge ");
        const double edgeHz = at == std::string::npos ? -1.0 : std::atof(run.err.c_str() + at + 5) * 1000.0;
        EXPECT_NEAR(c.edgeNearHz > 0.0 ? edgeHz : 0.0, c.edgeNearHz, 250.0) << c.name;
        EXPECT_EQ(edgeRows(rgb), c.edgeNearHz > 0.0 ? std::vector<int>{plotRowOf(edgeHz, 22050.0)} : std::vector<int>{})
            << c.name;
    }
}

TEST(Picture, DrawsEveryLayoutTheReaderTakesAndLeavesTheVerdictAsItWas) {
    const ScratchDir dir;
    const std::tuple<const char*, FmtFields, std::vector<double>, int> cases[] = {
        {"mono 8-bit", {1, 1, 44100, 8}, noise(1, 44100), 0},
        {"5.1 24-bit extensible", {1, 6, 48000, 24, true, 20}, noise(6, 48000), 1},
        {"float 96 kHz", {3, 2, 96000, 32}, noise(2, 96000), 7},
        {"22.05 kHz, not judged", {1, 2, 22050, 16}, noise(2, 22050), 0},
        {"too short", {1, 2, 44100, 16}, std::vector<double>(4000, 0.1), 3},
    };
    for (const auto& [name, format, samples, mode] : cases) {
        const auto wavFile = dir.write(std::string(name) + ".wav", wav(format, samples));
        const auto picture = dir.path() / (std::string(name) + ".png");
        const RunResult plain = runOn(wavFile, mode);
        const RunResult drawn = runOn(wavFile, mode, picture);
        EXPECT_EQ(drawn.exitCode, 0) << name << ": " << drawn.err;
        EXPECT_EQ(drawn.out + drawn.err, plain.out + plain.err) << name;
        EXPECT_FALSE(readPng(picture).empty()) << name;
    }
}

TEST(Picture, UnwritablePicturesAndUnreadableInputsGiveAnErrorAndNoPicture) {
    const ScratchDir dir;
    const auto good = dir.write("good.wav", wav({1, 2, 44100, 16}, noise(2, 44100, 16000.0)));
    std::filesystem::create_directories(dir.path() / "folder.png");
    std::filesystem::create_directories(dir.path() / "folder.wav");
    const std::tuple<std::filesystem::path, std::filesystem::path, std::string> cases[] = {
        {good, dir.path() / "no such folder" / "p.png", "error: cannot write the picture"},
        {good, dir.path() / "folder.png", "error: cannot write the picture"},
        {dir.write("text.wav", Bytes{'R', 'I', 'F', 'F', 1, 0, 0, 0}), dir.path() / "text.png", "error: cannot read"},
        {dir.path() / "missing.wav", dir.path() / "missing.png", "error: cannot read"},
        {dir.path() / "folder.wav", dir.path() / "f.png", "error: cannot read"},
        {dir.write("adpcm.wav", wav({2, 2, 44100, 4}, {})), dir.path() / "adpcm.png", "error: cannot read"},
    };
    for (const auto& [input, picture, error] : cases) {
        // Unreadable inputs fail the same way whether a picture is asked for or not.
        for (const auto& asked : {picture, error == "error: cannot read" ? std::filesystem::path() : picture}) {
            const RunResult run = runOn(input, 0, asked);
            EXPECT_EQ(run.exitCode, 1) << input << " " << asked;
            EXPECT_EQ(run.out, "") << input;
            EXPECT_NE(run.err.find(error), std::string::npos) << run.err;
        }
        EXPECT_FALSE(std::filesystem::is_regular_file(picture)) << picture;
    }
}

} // namespace
} // namespace qvdet
