#include "DetectorRun.h"
#include "Picture.h"
#include "Signals.h"
#include "Spectrogram.h"
#include "WavBuilder.h"

#include <gtest/gtest.h>
#include <zlib.h>

#ifdef _WIN32
#include <wincodec.h>
#include <windows.h>
#endif

#include <cmath>
#include <tuple>
#include <sstream>

namespace qvdet {
namespace {

using namespace qvdet::test;

// A PNG reader of our own for the checks, written from the format's layout rather than from our writer: every
// chunk's CRC is checked, IDAT chunks are joined and inflated, and only 8-bit RGB rows of filter type 0 are taken.
// Anything else gives an empty image.
struct DecodedPng {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgb;
    Rgb at(int x, int y) const {
        const std::uint8_t* p = rgb.data() + (static_cast<std::size_t>(y) * width + x) * 3;
        return {p[0], p[1], p[2]};
    }
    bool whole() const {
        return width == kPictureWidth && height == kPictureHeight && rgb.size() == 3u * width * height;
    }
};

std::uint32_t be32(const std::uint8_t* p) {
    return std::uint32_t{p[0]} << 24 | std::uint32_t{p[1]} << 16 | std::uint32_t{p[2]} << 8 | p[3];
}

DecodedPng readPng(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(file), {}};
    const std::uint8_t signature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (bytes.size() < 8 || !std::equal(signature, signature + 8, bytes.begin())) {
        return {};
    }
    DecodedPng png;
    std::vector<std::uint8_t> idat;
    for (std::size_t at = 8, length = 0;; at += 12 + length) {
        if (bytes.size() - at < 12 || be32(&bytes[at]) > bytes.size() - at - 12) {
            return {};
        }
        length = be32(&bytes[at]);
        const std::string type(bytes.begin() + at + 4, bytes.begin() + at + 8);
        const std::uint8_t* data = &bytes[at + 8];
        if (crc32(0, &bytes[at + 4], static_cast<uInt>(length + 4)) != be32(data + length) ||
            (type == "IHDR" && (length != 13 || data[8] != 8 || data[9] != 2 || data[12] != 0))) {
            return {};
        }
        if (type == "IHDR") {
            png.width = static_cast<int>(be32(data));
            png.height = static_cast<int>(be32(data + 4));
        }
        if (type == "IDAT") {
            idat.insert(idat.end(), data, data + length);
        }
        if (type == "IEND") {
            break;
        }
    }
    const std::size_t stride = static_cast<std::size_t>(png.width) * 3 + 1;
    std::vector<std::uint8_t> raw(stride * png.height);
    uLongf rawSize = static_cast<uLongf>(raw.size());
    if (uncompress(raw.data(), &rawSize, idat.data(), static_cast<uLong>(idat.size())) != Z_OK ||
        rawSize != raw.size()) {
        return {};
    }
    for (int y = 0; y < png.height; ++y) {
        if (raw[y * stride] != 0) {
            return {};
        }
        png.rgb.insert(png.rgb.end(), raw.begin() + y * stride + 1, raw.begin() + (y + 1) * stride);
    }
    return png;
}

std::vector<double> tone(double hz, unsigned rate, double seconds) {
    std::vector<double> samples(static_cast<std::size_t>(seconds * rate));
    for (std::size_t n = 0; n < samples.size(); ++n) {
        samples[n] = 0.5 * std::sin(2.0 * std::acos(-1.0) * hz * static_cast<double>(n) / rate);
    }
    return samples;
}

Bytes stereoNoise(double cutoffHz, unsigned rate = 44100) {
    return wav({1, 2, rate, 16},
               stereo(shapedNoise(18, rate, brickWall(cutoffHz), 3), shapedNoise(18, rate, brickWall(cutoffHz), 4)));
}

double rowLightness(const DecodedPng& png, int y) {
    double sum = 0.0;
    for (int x = kPlotLeft; x < kPlotLeft + kPlotWidth; ++x) {
        const Rgb c = png.at(x, y);
        sum += 0.2126 * c.r + 0.7152 * c.g + 0.0722 * c.b;
    }
    return sum / kPlotWidth;
}

int brightestRow(const DecodedPng& png) {
    int best = kPlotTop;
    for (int y = kPlotTop; y < kPlotTop + kPlotHeight; ++y) {
        best = rowLightness(png, y) > rowLightness(png, best) ? y : best;
    }
    return best;
}

std::vector<int> edgeRows(const DecodedPng& png) {
    std::vector<int> rows;
    for (int y = kPlotTop; y < kPlotTop + kPlotHeight; ++y) {
        if (png.at(kPlotLeft + kPlotWidth / 3, y) == kEdgeColour) {
            rows.push_back(y);
        }
    }
    return rows;
}

double reportedEdgeHz(const std::string& err) {
    const std::size_t at = err.find("edge ");
    return at == std::string::npos ? -1.0 : std::atof(err.c_str() + at + 5) * 1000.0;
}

TEST(Picture, ShowsTonesAndTheEdgeWhereTheSignalHasThem) {
    const ScratchDir dir;
    const int none = -1;
    struct Case {
        const char* name;
        Bytes wav;
        int brightest;   // expected row, within one; none: not checked
        double edgeNear; // Hz the drawn edge may be at most 250 Hz from (as the analysis finds it); 0: no line
    };
    const Case cases[] = {
        {"tone 1 kHz", wav({1, 1, 44100, 16}, tone(1000.0, 44100, 3.0)), plotRowOf(1000.0, 22050.0), 0.0},
        {"tone 16 kHz", wav({1, 1, 44100, 16}, tone(16000.0, 44100, 3.0)), plotRowOf(16000.0, 22050.0), 0.0},
        {"cut at 16 kHz", stereoNoise(16000.0), none, 16000.0},
        {"full band", stereoNoise(30000.0), none, 0.0},
    };
    for (const Case& c : cases) {
        const auto picture = dir.path() / (std::string(c.name) + ".png");
        const RunResult run = runOn(dir.write(std::string(c.name) + ".wav", c.wav), 0, picture);
        ASSERT_EQ(run.exitCode, 0) << c.name << ": " << run.err;
        const DecodedPng png = readPng(picture);
        ASSERT_TRUE(png.whole()) << c.name;
        if (c.brightest != none) {
            EXPECT_NEAR(brightestRow(png), c.brightest, 1) << c.name;
        }
        if (c.edgeNear > 0.0) {
            const double edgeHz = reportedEdgeHz(run.err);
            EXPECT_NEAR(edgeHz, c.edgeNear, 250.0) << c.name;
            EXPECT_EQ(edgeRows(png), std::vector<int>{plotRowOf(edgeHz, 22050.0)}) << c.name;
        } else {
            EXPECT_EQ(edgeRows(png), std::vector<int>{}) << c.name;
        }
    }
}

TEST(Picture, DrawsEveryLayoutTheReaderTakesAndLeavesTheVerdictAsItWas) {
    const ScratchDir dir;
    const auto noise = [](unsigned channels, unsigned rate) {
        std::vector<double> samples;
        for (unsigned c = 0; c < channels; ++c) {
            const auto channel = shapedNoise(17, rate, brickWall(15000.0), c + 1);
            samples.resize(channel.size() * channels);
            for (std::size_t n = 0; n < channel.size(); ++n) {
                samples[n * channels + c] = channel[n];
            }
        }
        return samples;
    };
    struct Case {
        const char* name;
        FmtFields format;
        std::vector<double> samples;
    };
    const Case cases[] = {
        {"mono 8-bit", {1, 1, 44100, 8}, noise(1, 44100)},
        {"5.1 24-bit extensible", {1, 6, 48000, 24, true, 20}, noise(6, 48000)},
        {"float 96 kHz", {3, 2, 96000, 32}, noise(2, 96000)},
        {"22.05 kHz, not judged", {1, 2, 22050, 16}, noise(2, 22050)},
        {"too short", {1, 2, 44100, 16}, std::vector<double>(4000, 0.1)},
    };
    for (const Case& c : cases) {
        const auto wavFile = dir.write(std::string(c.name) + ".wav", wav(c.format, c.samples));
        const auto picture = dir.path() / (std::string(c.name) + ".png");
        const RunResult plain = runOn(wavFile);
        const RunResult drawn = runOn(wavFile, 0, picture);
        EXPECT_EQ(drawn.exitCode, 0) << c.name << ": " << drawn.err;
        EXPECT_EQ(drawn.out, plain.out) << c.name;
        EXPECT_EQ(drawn.err, plain.err) << c.name;
        EXPECT_TRUE(readPng(picture).whole()) << c.name;
    }
}

TEST(Picture, WatchingAPassChangesNoneOfItsFigures) {
    SignalSource source(
        stereo(shapedNoise(17, 44100, brickWall(16000.0), 7), shapedNoise(17, 44100, brickWall(16000.0), 8)), 2, 44100);
    for (int mode : {0, 1, 7}) {
        Spectrogram spectrogram(kPlotWidth);
        const Features plain = analyseTrack(source, mode).features;
        const Features watched = analyseTrack(source, mode, &spectrogram).features;
        const auto figures = [](const Features& f) {
            return std::make_tuple(f.edgeHz, f.depthDb, f.slopeDb, f.aboveDb, f.holeRatio, f.stability, f.sparseHigh,
                                   f.sparseMid, f.activeSeconds, f.segments);
        };
        EXPECT_EQ(figures(plain), figures(watched)) << "mode " << mode;
        EXPECT_FALSE(spectrogram.empty());
    }
}

TEST(Picture, UnwritablePicturesAndUnreadableInputsGiveAnErrorAndNoPicture) {
    const ScratchDir dir;
    const auto good = dir.write("good.wav", stereoNoise(16000.0));
    std::filesystem::create_directories(dir.path() / "folder.png");
    std::filesystem::create_directories(dir.path() / "folder.wav");
    struct Case {
        std::filesystem::path wav;
        std::filesystem::path picture;
        const char* error;
    };
    const Case cases[] = {
        {good, dir.path() / "no such folder" / "p.png", "error: cannot write the picture"},
        {good, dir.path() / "folder.png", "error: cannot write the picture"},
        {dir.write("text.wav", Bytes{'R', 'I', 'F', 'F', 1, 0, 0, 0}), dir.path() / "text.png", "error: cannot read"},
        {dir.path() / "missing.wav", dir.path() / "missing.png", "error: cannot read"},
        {dir.path() / "folder.wav", dir.path() / "f.png", "error: cannot read"},
        {dir.write("adpcm.wav", wav({2, 2, 44100, 4}, {})), dir.path() / "adpcm.png", "error: cannot read"},
    };
    for (const Case& c : cases) {
        // Unreadable inputs fail the same way whether a picture is asked for or not.
        const bool unreadable = std::string(c.error) == "error: cannot read";
        for (const auto& picture : {c.picture, unreadable ? std::filesystem::path() : c.picture}) {
            const RunResult run = runOn(c.wav, 0, picture);
            EXPECT_EQ(run.exitCode, 1) << c.wav << " " << picture;
            EXPECT_EQ(run.out, "") << c.wav;
            EXPECT_NE(run.err.find(c.error), std::string::npos) << run.err;
        }
        EXPECT_FALSE(std::filesystem::is_regular_file(c.picture)) << c.picture;
    }
}

#ifdef _WIN32
// The system's own PNG decoder reads the picture with the size and pixels ours does: what a viewer on Windows, or
// a program loading it through the imaging component, will see.
TEST(Picture, WindowsImagingComponentReadsThePicture) {
    const ScratchDir dir;
    const auto picture = dir.path() / "p.png";
    ASSERT_EQ(runOn(dir.write("t.wav", wav({1, 1, 44100, 16}, tone(1000.0, 44100, 2.0))), 0, picture).exitCode, 0);
    const DecodedPng ours = readPng(picture);
    ASSERT_TRUE(ours.whole());

    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    IWICImagingFactory* factory = nullptr;
    IWICBitmapDecoder* decoder = nullptr;
    IWICBitmapFrameDecode* frame = nullptr;
    IWICFormatConverter* converter = nullptr;
    UINT width = 0;
    UINT height = 0;
    std::vector<BYTE> bgr(static_cast<std::size_t>(ours.width) * ours.height * 3);
    const bool read = SUCCEEDED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                                 IID_IWICImagingFactory, reinterpret_cast<void**>(&factory))) &&
                      SUCCEEDED(factory->CreateDecoderFromFilename(picture.wstring().c_str(), nullptr, GENERIC_READ,
                                                                   WICDecodeMetadataCacheOnDemand, &decoder)) &&
                      SUCCEEDED(decoder->GetFrame(0, &frame)) && SUCCEEDED(frame->GetSize(&width, &height)) &&
                      SUCCEEDED(factory->CreateFormatConverter(&converter)) &&
                      SUCCEEDED(converter->Initialize(frame, GUID_WICPixelFormat24bppBGR, WICBitmapDitherTypeNone,
                                                      nullptr, 0.0, WICBitmapPaletteTypeCustom)) &&
                      SUCCEEDED(converter->CopyPixels(nullptr, width * 3, static_cast<UINT>(bgr.size()), bgr.data()));
    for (IUnknown* object : std::initializer_list<IUnknown*>{converter, frame, decoder, factory}) {
        if (object) {
            object->Release();
        }
    }
    CoUninitialize();
    ASSERT_TRUE(read);
    EXPECT_EQ(static_cast<int>(width), kPictureWidth);
    EXPECT_EQ(static_cast<int>(height), kPictureHeight);
    for (std::size_t i = 0; i + 2 < bgr.size(); i += 3) {
        ASSERT_EQ(bgr[i] * 65536 + bgr[i + 1] * 256 + bgr[i + 2],
                  ours.rgb[i + 2] * 65536 + ours.rgb[i + 1] * 256 + ours.rgb[i])
            << "pixel " << i / 3;
    }
}
#endif

} // namespace
} // namespace qvdet
