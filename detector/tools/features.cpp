// Measures every clip of a corpus list and prints one TSV row per clip, for calibration and the benchmark.
// Usage: opendetector_features LABELS.tsv MODE [SPLIT]   (a split named in LABELS.tsv, or all; default all)
#include "ByteSource.h"
#include "Model.h"
#include "TrackAnalysis.h"
#include "WavFile.h"

#include <cstdio>
#include <ctime>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

int main(int argc, char** argv) {
    if (argc < 3) {
        std::cerr << "usage: opendetector_features LABELS.tsv MODE [SPLIT|all]\n";
        return 2;
    }
    std::ifstream labels(argv[1]);
    if (!labels) {
        std::cerr << "error: cannot read " << argv[1] << "\n";
        return 1;
    }
    const int mode = std::atoi(argv[2]);
    const std::string half = argc > 3 ? argv[3] : "all";
    std::cout << "half\tlabel\tgroup\toutcome\tedge_hz\tdepth_db\tslope_db\tabove_db\tholes\tstability\t"
                 "audio_s\tcpu_s\tsparse_high\tsparse_mid\tp_lossy\tpath\tcoupled_high\tcoupled_low\t"
                 "bare_share\tquiet_cells\tcliff_drop_db\tcliff_step_db\tcelt_gap_excess\n";
    std::string line;
    while (std::getline(labels, line)) {
        std::istringstream fields(line);
        std::string rowHalf, label, group, path;
        if (!std::getline(fields, rowHalf, '\t') || !std::getline(fields, label, '\t') ||
            !std::getline(fields, group, '\t') || !std::getline(fields, path) || rowHalf == "half") {
            continue;
        }
        if (half != "all" && half != rowHalf) {
            continue;
        }
        std::string error;
        auto source = qvdet::FileByteSource::open(path, error);
        const std::clock_t started = std::clock();
        qvdet::WavHeader header;
        if (source) {
            header = qvdet::parseWavHeader(*source);
        }
        if (!header.ok) {
            std::cerr << "error: " << path << ": " << (source ? header.error : error) << "\n";
            continue;
        }
        qvdet::WavPcmSource pcm(*source, header.format);
        const qvdet::TrackAnalysis analysis = qvdet::analyseTrack(pcm, mode);
        const double cpu = static_cast<double>(std::clock() - started) / CLOCKS_PER_SEC;
        const qvdet::Features& f = analysis.features;
        const double p = analysis.outcome == qvdet::Outcome::Qualified
                             ? qvdet::lossyProbability(qvdet::modelInput(f), qvdet::calibratedModel())
                             : -1.0;
        std::printf("%s\t%s\t%s\t%s\t%.1f\t%.2f\t%.2f\t%.2f\t%.5f\t%.3f\t%.3f\t%.4f\t%.5f\t%.5f\t%.4f\t%s",
                    rowHalf.c_str(), label.c_str(), group.c_str(),
                    analysis.outcome == qvdet::Outcome::Qualified ? "ok" : "unqualified", f.edgeHz, f.depthDb,
                    f.slopeDb, f.aboveDb, f.holeRatio, f.stability,
                    static_cast<double>(header.format.frameCount) / header.format.sampleRate, cpu, f.sparseHigh,
                    f.sparseMid, p, path.c_str());
        std::printf("\t%.4f\t%.4f\t%.4f\t%.0f\t%.2f\t%.2f\t%.3f\n", f.coupledHigh, f.coupledLow, f.bareShare,
                    f.quietCells, f.cliffDropDb, f.cliffStepDb, f.celtGapExcess);
    }
    return 0;
}
