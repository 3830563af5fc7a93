#include "Detector.h"

#include "ByteSource.h"
#include "Model.h"
#include "Picture.h"
#include "PngWriter.h"
#include "Spectrogram.h"
#include "TrackAnalysis.h"
#include "WavFile.h"

#include <string>

namespace qvdet {
namespace {

std::string encodingName(const WavFormat& format) {
    if (format.encoding == SampleEncoding::Float) {
        return std::to_string(format.containerBytes * 8) + "-bit float";
    }
    return std::to_string(format.validBits) + "-bit";
}

} // namespace

int runDetector(const std::filesystem::path& file, int mode, std::ostream& out, std::ostream& err,
                const std::filesystem::path& picture) {
    std::string openError;
    const auto source = FileByteSource::open(file, openError);
    if (!source) {
        err << "error: cannot read " << file.u8string() << ": " << openError << "\n";
        return 1;
    }
    const WavHeader header = parseWavHeader(*source);
    if (!header.ok) {
        err << "error: cannot read " << file.u8string() << ": " << header.error << "\n";
        return 1;
    }
    for (const std::string& warning : header.warnings) {
        err << "warning: " << warning << "\n";
    }
    const WavFormat& format = header.format;
    err << "input: " << format.sampleRate << " Hz, " << format.channels << " ch, " << encodingName(format) << ", "
        << fixedText(static_cast<double>(format.frameCount) / format.sampleRate, 1) << " s; mode " << mode << "\n";

    WavPcmSource pcm(*source, format);
    Spectrogram spectrogram(kPlotWidth);
    const TrackAnalysis analysis = analyseTrack(pcm, mode, picture.empty() ? nullptr : &spectrogram);
    if (analysis.outcome == Outcome::ReadFailed) {
        err << "error: cannot read " << file.u8string() << ": samples could not be read\n";
        return 1;
    }
    if (analysis.outcome == Outcome::Qualified) {
        const Features& f = analysis.features;
        err << "analysed " << f.segments << " segments, " << fixedText(f.activeSeconds, 1) << " s of sound; edge "
            << fixedText(f.edgeHz / 1000.0, 2) << " kHz, depth " << fixedText(f.depthDb, 1) << " dB, slope "
            << fixedText(f.slopeDb, 1) << " dB, above " << fixedText(f.aboveDb, 1) << " dB, holes "
            << fixedText(f.holeRatio * 100.0, 2) << "%, stability " << fixedText(f.stability * 100.0, 0) << "%, "
            << describeMarks(f) << "\n";
    } else {
        err << "not judged: " << describe(analysis.outcome) << "\n";
    }
    const std::string verdict = verdictLine(analysis);
    if (!picture.empty()) {
        const PassFacts facts{format.sampleRate, format.channels, mode, analysis, verdict};
        std::string writeError;
        if (!writePng(picture, drawPicture(spectrogram, facts), writeError)) {
            err << "error: cannot write the picture " << picture.u8string() << ": " << writeError << "\n";
            return 1;
        }
    }
    out << verdict << "\n";
    out.flush();
    return 0;
}

} // namespace qvdet
