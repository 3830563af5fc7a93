// libFuzzer target: any bytes through the WAV reader and, when they parse, through the analysis and the picture.
#include "ByteSource.h"
#include "Model.h"
#include "Picture.h"
#include "PngWriter.h"
#include "Signals.h"
#include "Spectrogram.h"
#include "TrackAnalysis.h"
#include "WavFile.h"

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
    // Now and then a few frames, repeated until they pass the length checks, go through a whole pass; only small
    // ones, so that the reader still gets most runs.
    const unsigned rate = pcm.sampleRate();
    if (frames == 0 || frames > 4096 || rate > 48000 || pcm.channels() > 2 || data[size / 2] % 64 != 0 ||
        !pcm.readFrames(0, static_cast<std::size_t>(frames), samples)) {
        return 0;
    }
    std::vector<double> looped((rate + rate / 4) * pcm.channels());
    for (std::size_t i = 0; i < looped.size(); ++i) {
        looped[i] = samples[i % samples.size()];
    }
    qvdet::test::SignalSource repeated(std::move(looped), pcm.channels(), rate, pcm.quantizationStep());
    qvdet::Spectrogram repeatedSpectrogram(qvdet::kPlotWidth);
    const qvdet::TrackAnalysis repeatedAnalysis = qvdet::analyseTrack(repeated, mode, &repeatedSpectrogram);
    const qvdet::PassFacts facts{rate, pcm.channels(), mode, repeatedAnalysis, qvdet::verdictLine(repeatedAnalysis)};
    if (qvdet::encodePng(qvdet::drawPicture(repeatedSpectrogram, facts)).empty()) {
        __builtin_trap();
    }
    return 0;
}
