// libFuzzer target: any bytes through the WAV reader and, when they parse, through the analysis and the picture.
#include "ByteSource.h"
#include "Model.h"
#include "Picture.h"
#include "PngWriter.h"
#include "Spectrogram.h"
#include "TrackAnalysis.h"
#include "WavFile.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace {

// Repeats the few frames a fuzz input holds until they are long enough to be analysed.
class LoopedSource : public qvdet::PcmSource {
public:
    LoopedSource(qvdet::PcmSource& inner, std::uint64_t frames) : inner_(inner), frames_(frames) {
        ok_ = inner.readFrames(0, static_cast<std::size_t>(inner.frameCount()), period_);
    }
    unsigned sampleRate() const override { return inner_.sampleRate(); }
    unsigned channels() const override { return inner_.channels(); }
    std::uint64_t frameCount() const override { return frames_; }
    double quantizationStep() const override { return inner_.quantizationStep(); }
    bool readFrames(std::uint64_t first, std::size_t count, std::vector<float>& out) override {
        const std::size_t channels = inner_.channels();
        const std::size_t period = period_.size() / channels;
        out.resize(count * channels);
        for (std::size_t i = 0; i < count; ++i) {
            const std::size_t from = static_cast<std::size_t>((first + i) % period) * channels;
            for (std::size_t c = 0; c < channels; ++c) {
                out[i * channels + c] = period_[from + c];
            }
        }
        return ok_;
    }

private:
    qvdet::PcmSource& inner_;
    std::uint64_t frames_;
    std::vector<float> period_;
    bool ok_ = false;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    qvdet::MemoryByteSource source(data, size);
    const qvdet::WavHeader header = qvdet::parseWavHeader(source);
    if (!header.ok) {
        return 0;
    }
    qvdet::WavPcmSource pcm(source, header.format);
    std::vector<float> samples;
    const std::uint64_t frames = pcm.frameCount();
    (void)pcm.readFrames(0, frames < 64 ? static_cast<std::size_t>(frames) : 64, samples);
    (void)pcm.readFrames(frames, 1, samples);
    const int mode = data[size - 1] % 42;
    // One input in sixteen is watched and drawn as --picture draws it; drawing costs more than most analyses.
    qvdet::Spectrogram spectrogram(qvdet::kPlotWidth);
    const bool draw = data[size / 3] % 16 == 0;
    const qvdet::TrackAnalysis analysis = qvdet::analyseTrack(pcm, mode, draw ? &spectrogram : nullptr);
    if (draw) {
        (void)qvdet::drawPicture(spectrogram, {pcm.sampleRate(), pcm.channels(), mode, analysis, ""});
    }
    // Long enough to pass the length checks; only now and then, and small, so the reader still gets most runs.
    const bool small = pcm.sampleRate() <= 48000 && pcm.channels() <= 2;
    if (frames > 0 && frames <= 4096 && small && data[size / 2] % 64 == 0) {
        LoopedSource looped(pcm, pcm.sampleRate() + pcm.sampleRate() / 4);
        qvdet::Spectrogram loopedSpectrogram(qvdet::kPlotWidth);
        const qvdet::TrackAnalysis loopedAnalysis = qvdet::analyseTrack(looped, mode, &loopedSpectrogram);
        const qvdet::PassFacts loopedFacts{looped.sampleRate(), looped.channels(), mode, loopedAnalysis,
                                           qvdet::verdictLine(loopedAnalysis)};
        if (qvdet::encodePng(qvdet::drawPicture(loopedSpectrogram, loopedFacts)).empty()) {
            __builtin_trap();
        }
    }
    return 0;
}
