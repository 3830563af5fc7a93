#include "Picture.h"

#include "BitmapFont.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <string>

namespace qvdet {
namespace {

constexpr Rgb kBackground{24, 24, 28};
constexpr Rgb kText{232, 232, 232};
constexpr Rgb kAxis{150, 150, 156};
constexpr int kTick = 4;
constexpr int kBarLeft = kPlotLeft + kPlotWidth + 12;
constexpr int kBarWidth = 12;
constexpr int kTimeTicks = 8;
// The level range shown starts at the rounding floor and reaches at least this far, so that a quiet track does
// not have its noise stretched over the whole ramp.
constexpr double kMinRangeDb = 60.0;

struct RampPoint {
    double at;
    Rgb colour;
};

// Our own control points: violet, blue, teal, green, yellow, each lighter than the one before.
constexpr std::array<RampPoint, 6> kRamp{{{0.0, {18, 8, 36}},
                                          {0.2, {62, 36, 120}},
                                          {0.4, {40, 96, 146}},
                                          {0.6, {34, 150, 130}},
                                          {0.8, {120, 200, 80}},
                                          {1.0, {250, 236, 80}}}};

// Minutes and seconds, with tenths when the whole pass is shorter than a minute.
std::string clockTime(double seconds, bool tenths) {
    const long tens = std::lround(std::max(0.0, seconds) * 10.0);
    const long whole = tenths ? tens / 10 : std::lround(std::max(0.0, seconds));
    char text[32];
    if (tenths) {
        std::snprintf(text, sizeof text, "%ld:%02ld.%ld", whole / 60, whole % 60, tens % 10);
    } else {
        std::snprintf(text, sizeof text, "%ld:%02ld", whole / 60, whole % 60);
    }
    return text;
}

// A step of 1, 2 or 5 times a power of ten kHz that puts at most twelve labels on the axis.
double kHzStep(double nyquistKHz) {
    for (double step = 1.0;; step *= 10.0) {
        for (double factor : {1.0, 2.0, 5.0}) {
            if (nyquistKHz / (step * factor) <= 12.0) {
                return step * factor;
            }
        }
    }
}

std::array<Rgb, 256> rampTable() {
    std::array<Rgb, 256> table{};
    for (std::size_t i = 0; i < table.size(); ++i) {
        table[i] = rampColour(static_cast<double>(i) / 255.0);
    }
    return table;
}

// The spectrogram's levels for every bin of every column, and the loudest of them.
struct Levels {
    std::vector<float> db;
    double loudest = 0.0;
};

Levels levelsOf(const Spectrogram& spectrogram) {
    Levels levels;
    levels.db.resize(spectrogram.columns() * spectrogram.bins());
    for (std::size_t c = 0; c < spectrogram.columns(); ++c) {
        for (std::size_t k = 0; k < spectrogram.bins(); ++k) {
            const double db = std::max(-1.0, spectrogram.levelDb(c, k));
            levels.db[c * spectrogram.bins() + k] = static_cast<float>(db);
            levels.loudest = std::max(levels.loudest, db);
        }
    }
    return levels;
}

void drawSpectrogram(Image& image, const Spectrogram& spectrogram, const Levels& levels, double topDb) {
    static const std::array<Rgb, 256> ramp = rampTable();
    const std::size_t bins = spectrogram.bins();
    for (int row = 0; row < kPlotHeight; ++row) {
        // The loudest bin a row covers, so that a narrow tone stays visible when rows hold several bins.
        const std::size_t first = static_cast<std::size_t>(row) * bins / kPlotHeight;
        const std::size_t last = std::max(first + 1, static_cast<std::size_t>(row + 1) * bins / kPlotHeight);
        const int y = kPlotTop + kPlotHeight - 1 - row;
        for (int x = 0; x < kPlotWidth; ++x) {
            const std::size_t column = static_cast<std::size_t>(x) * spectrogram.columns() / kPlotWidth;
            const float* cell = levels.db.data() + column * bins;
            const double db = *std::max_element(cell + first, cell + std::min(last, bins));
            const double share = std::min(1.0, std::max(0.0, db / topDb));
            image.set(kPlotLeft + x, y, ramp[static_cast<std::size_t>(share * 255.0)]);
        }
    }
}

void drawFrequencyAxis(Image& image, double nyquistHz) {
    const double step = kHzStep(nyquistHz / 1000.0);
    for (double kHz = 0.0; kHz * 1000.0 < nyquistHz; kHz += step) {
        const int y = plotRowOf(kHz * 1000.0, nyquistHz);
        image.fill(kPlotLeft - kTick, y, kTick, 1, kAxis);
        const std::string label = fixedText(kHz, step < 1.0 ? 1 : 0);
        drawText(image, kPlotLeft - kTick - 2 - textWidth(label), y - 3, label, kText);
    }
    drawText(image, kPlotLeft - kTick - 2 - textWidth("kHz"), 2, "kHz", kText);
}

void drawTimeAxis(Image& image, const Spectrogram& spectrogram, unsigned sampleRate) {
    const int y = kPlotTop + kPlotHeight;
    const bool tenths = spectrogram.columnStart(spectrogram.columns() - 1) < 60.0 * sampleRate;
    for (int tick = 0; tick < kTimeTicks; ++tick) {
        const int x = tick * kPlotWidth / kTimeTicks;
        const std::size_t column = static_cast<std::size_t>(x) * spectrogram.columns() / kPlotWidth;
        image.fill(kPlotLeft + x, y, 1, kTick, kAxis);
        const std::string label = clockTime(static_cast<double>(spectrogram.columnStart(column)) / sampleRate, tenths);
        drawText(image, kPlotLeft + x - (tick == 0 ? 0 : textWidth(label) / 2), y + kTick + 2, label, kText);
    }
}

void drawColourBar(Image& image, double topDb) {
    for (int row = 0; row < kPlotHeight; ++row) {
        image.fill(kBarLeft, kPlotTop + kPlotHeight - 1 - row, kBarWidth, 1,
                   rampColour(static_cast<double>(row) / (kPlotHeight - 1)));
    }
    const int labelLeft = kBarLeft + kBarWidth + 3;
    drawText(image, kBarLeft, 2, "dB", kText);
    drawText(image, labelLeft, kPlotTop, fixedText(topDb, 0), kText);
    drawText(image, labelLeft, kPlotTop + kPlotHeight - 7, "0", kText);
}

bool drawsWall(const TrackAnalysis& analysis) {
    return analysis.outcome == Outcome::Qualified && analysis.features.depthDb >= kDrawnWallDepthDb &&
           analysis.features.slopeDb >= kDrawnWallSlopeDb;
}

std::string figuresLine(const TrackAnalysis& analysis) {
    if (analysis.outcome != Outcome::Qualified) {
        return "not judged: " + describe(analysis.outcome);
    }
    const Features& f = analysis.features;
    return "edge " + fixedText(f.edgeHz / 1000.0, 2) + " kHz   depth " + fixedText(f.depthDb, 1) + " dB   stability " +
           fixedText(f.stability * 100.0, 0) + "%   holes " + fixedText(f.holeRatio * 100.0, 2) + "%";
}

void drawBand(Image& image, const PassFacts& facts) {
    const int top = kPlotTop + kPlotHeight + 24;
    drawText(image, kPlotLeft, top, facts.verdict, kText, 2);
    drawText(image, kPlotLeft, top + 26, figuresLine(facts.analysis), kText, 2);
    if (facts.analysis.outcome == Outcome::Qualified) {
        // The marks take a second line of small type, broken after a comma, when they do not fit in one.
        const std::string marks = describeMarks(facts.analysis.features);
        const std::size_t fits = static_cast<std::size_t>((kPictureWidth - kPlotLeft) / kGlyphAdvance);
        const std::size_t cut = marks.size() <= fits ? std::string::npos : marks.rfind(", ", fits);
        drawText(image, kPlotLeft, top + 50, marks.substr(0, cut), kText);
        if (cut != std::string::npos) {
            drawText(image, kPlotLeft, top + 63, marks.substr(cut + 2), kText);
        }
    }
    const std::string about = "mode " + std::to_string(facts.mode) + ", " + std::to_string(facts.sampleRate) + " Hz, " +
                              std::to_string(facts.channels) +
                              " ch; colours: level in dB over the rounding floor of the file";
    drawText(image, kPlotLeft, top + 76, about, kAxis);
}

} // namespace

int plotRowOf(double hz, double nyquistHz) {
    const double share = nyquistHz > 0.0 ? hz / nyquistHz : 0.0;
    const int row = static_cast<int>(std::floor(std::min(1.0, std::max(0.0, share)) * kPlotHeight));
    return kPlotTop + kPlotHeight - 1 - std::min(row, kPlotHeight - 1);
}

Rgb rampColour(double share) {
    share = std::min(1.0, std::max(0.0, share));
    std::size_t i = 1;
    while (i + 1 < kRamp.size() && kRamp[i].at < share) {
        ++i;
    }
    const RampPoint& low = kRamp[i - 1];
    const RampPoint& high = kRamp[i];
    const double t = (share - low.at) / (high.at - low.at);
    const auto mix = [t](std::uint8_t a, std::uint8_t b) {
        return static_cast<std::uint8_t>(std::lround(a + (static_cast<double>(b) - a) * t));
    };
    return {mix(low.colour.r, high.colour.r), mix(low.colour.g, high.colour.g), mix(low.colour.b, high.colour.b)};
}

Image drawPicture(const Spectrogram& spectrogram, const PassFacts& facts) {
    Image image(kPictureWidth, kPictureHeight, kBackground);
    const double nyquistHz = facts.sampleRate / 2.0;
    double topDb = kMinRangeDb;
    if (spectrogram.empty()) {
        image.fill(kPlotLeft, kPlotTop, kPlotWidth, kPlotHeight, rampColour(0.0));
        const std::string note = "no frames analysed";
        drawText(image, kPlotLeft + (kPlotWidth - textWidth(note, 2)) / 2, kPlotTop + kPlotHeight / 2, note, kText, 2);
    } else {
        const Levels levels = levelsOf(spectrogram);
        topDb = std::max(kMinRangeDb, std::ceil(levels.loudest / 10.0) * 10.0);
        drawSpectrogram(image, spectrogram, levels, topDb);
        drawTimeAxis(image, spectrogram, facts.sampleRate);
    }
    drawFrequencyAxis(image, nyquistHz);
    drawColourBar(image, topDb);
    if (drawsWall(facts.analysis)) {
        const int y = plotRowOf(facts.analysis.features.edgeHz, nyquistHz);
        image.fill(kPlotLeft, y, kPlotWidth, 1, kEdgeColour);
        const std::string label = fixedText(facts.analysis.features.edgeHz / 1000.0, 2) + " kHz";
        drawText(image, kPlotLeft + kPlotWidth - textWidth(label) - 4, y - 10, label, kEdgeColour);
    }
    drawBand(image, facts);
    return image;
}

} // namespace qvdet
