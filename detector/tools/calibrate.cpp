// Fits the logistic model of the open detector to measured features and prints src/Calibration.h.
// Usage: opendetector_calibrate FEATURES.tsv [CLEAN_WEIGHT] > Calibration.h
// FEATURES.tsv comes from opendetector_features on the calibration half. The classes are weighted to equal
// totals, the clean one then multiplied by CLEAN_WEIGHT (default 1); a small ridge keeps the weights finite
// when the classes separate completely. An encoder's mark never gets a negative weight: when the best fit would
// give one, that mark is held at zero and the rest fitted again.
#include "Model.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr std::size_t kParams = qvdet::kModelInputs + 1; // weights, then the bias
constexpr double kRidge = 1e-4;

struct Sample {
    qvdet::ModelInput input;
    bool lossy;
    double weight;
};

bool readSamples(const char* path, std::vector<Sample>& samples) {
    std::ifstream in(path);
    if (!in) {
        return false;
    }
    std::string line;
    while (std::getline(in, line)) {
        std::vector<std::string> cells;
        std::istringstream fields(line);
        for (std::string cell; std::getline(fields, cell, '\t');) {
            cells.push_back(cell);
        }
        if (cells.size() < 23 || cells[0] == "half" || cells[3] != "ok") {
            continue;
        }
        qvdet::Features f;
        f.edgeHz = std::atof(cells[4].c_str());
        f.depthDb = std::atof(cells[5].c_str());
        f.slopeDb = std::atof(cells[6].c_str());
        f.aboveDb = std::atof(cells[7].c_str());
        f.holeRatio = std::atof(cells[8].c_str());
        f.stability = std::atof(cells[9].c_str());
        f.sparseHigh = std::atof(cells[12].c_str());
        f.sparseMid = std::atof(cells[13].c_str());
        f.coupledHigh = std::atof(cells[16].c_str());
        f.coupledLow = std::atof(cells[17].c_str());
        f.bareShare = std::atof(cells[18].c_str());
        f.quietCells = std::atof(cells[19].c_str());
        f.cliffDropDb = std::atof(cells[20].c_str());
        f.cliffStepDb = std::atof(cells[21].c_str());
        f.celtGapExcess = std::atof(cells[22].c_str());
        samples.push_back({qvdet::modelInput(f), cells[1] == "lossy", 1.0});
    }
    return true;
}

// Solves a x = b in place by Gaussian elimination with partial pivoting.
bool solve(std::vector<std::vector<double>> a, std::vector<double> b, std::vector<double>& x) {
    const std::size_t n = b.size();
    for (std::size_t col = 0; col < n; ++col) {
        std::size_t pivot = col;
        for (std::size_t row = col + 1; row < n; ++row) {
            if (std::fabs(a[row][col]) > std::fabs(a[pivot][col])) {
                pivot = row;
            }
        }
        if (std::fabs(a[pivot][col]) < 1e-12) {
            return false;
        }
        std::swap(a[col], a[pivot]);
        std::swap(b[col], b[pivot]);
        for (std::size_t row = col + 1; row < n; ++row) {
            const double factor = a[row][col] / a[col][col];
            for (std::size_t k = col; k < n; ++k) {
                a[row][k] -= factor * a[col][k];
            }
            b[row] -= factor * b[col];
        }
    }
    x.assign(n, 0.0);
    for (std::size_t row = n; row-- > 0;) {
        double sum = b[row];
        for (std::size_t k = row + 1; k < n; ++k) {
            sum -= a[row][k] * x[k];
        }
        x[row] = sum / a[row][row];
    }
    return true;
}

double featureOf(const Sample& s, std::size_t i) {
    return i < qvdet::kModelInputs ? s.input[i] : 1.0;
}

// Newton's method on the weighted, ridge-penalised log-likelihood; parameters held at zero stay there.
bool fitLogistic(const std::vector<Sample>& samples, const std::vector<bool>& heldAtZero, std::vector<double>& theta) {
    theta.assign(kParams, 0.0);
    for (int iteration = 0; iteration < 100; ++iteration) {
        std::vector<std::vector<double>> hessian(kParams, std::vector<double>(kParams, 0.0));
        std::vector<double> gradient(kParams, 0.0);
        for (std::size_t i = 0; i + 1 < kParams; ++i) {
            hessian[i][i] += kRidge;
            gradient[i] -= kRidge * theta[i];
        }
        for (const Sample& s : samples) {
            double z = 0.0;
            for (std::size_t i = 0; i < kParams; ++i) {
                z += theta[i] * featureOf(s, i);
            }
            const double p = 1.0 / (1.0 + std::exp(-z));
            const double residual = (s.lossy ? 1.0 : 0.0) - p;
            for (std::size_t i = 0; i < kParams; ++i) {
                gradient[i] += s.weight * residual * featureOf(s, i);
                for (std::size_t j = 0; j < kParams; ++j) {
                    hessian[i][j] += s.weight * p * (1.0 - p) * featureOf(s, i) * featureOf(s, j);
                }
            }
        }
        for (std::size_t i = 0; i < kParams; ++i) {
            if (heldAtZero[i]) {
                for (std::size_t j = 0; j < kParams; ++j) {
                    hessian[i][j] = hessian[j][i] = i == j ? 1.0 : 0.0;
                }
                gradient[i] = 0.0;
            }
        }
        std::vector<double> step;
        if (!solve(hessian, gradient, step)) {
            return false;
        }
        double size = 0.0;
        for (std::size_t i = 0; i < kParams; ++i) {
            theta[i] += step[i];
            size += std::fabs(step[i]);
        }
        if (size < 1e-9) {
            break;
        }
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::cerr << "usage: opendetector_calibrate FEATURES.tsv [CLEAN_WEIGHT] > Calibration.h\n";
        return 2;
    }
    const double cleanWeight = argc > 2 ? std::atof(argv[2]) : 1.0;
    std::vector<Sample> samples;
    if (!readSamples(argv[1], samples)) {
        std::cerr << "error: cannot read " << argv[1] << "\n";
        return 1;
    }
    double lossyCount = 0.0;
    double cleanCount = 0.0;
    for (const Sample& s : samples) {
        (s.lossy ? lossyCount : cleanCount) += 1.0;
    }
    if (lossyCount == 0.0 || cleanCount == 0.0) {
        std::cerr << "error: both classes are needed\n";
        return 1;
    }
    for (Sample& s : samples) {
        s.weight = s.lossy ? 0.5 / lossyCount : 0.5 * cleanWeight / cleanCount;
    }

    std::vector<bool> heldAtZero(kParams, false);
    std::vector<double> theta;
    for (;;) {
        if (!fitLogistic(samples, heldAtZero, theta)) {
            std::cerr << "error: singular system\n";
            return 1;
        }
        std::size_t mostNegative = kParams;
        for (std::size_t i = 0; i < qvdet::kModelInputs; ++i) {
            if (qvdet::kInputIsMark[i] && theta[i] < 0.0 &&
                (mostNegative == kParams || theta[i] < theta[mostNegative])) {
                mostNegative = i;
            }
        }
        if (mostNegative == kParams) {
            break;
        }
        heldAtZero[mostNegative] = true;
    }

    qvdet::ModelWeights model;
    for (std::size_t i = 0; i < qvdet::kModelInputs; ++i) {
        model.weights[i] = theta[i];
    }
    model.bias = theta[kParams - 1];
    int falseAlarms = 0;
    int hits = 0;
    for (const Sample& s : samples) {
        const bool saysLossy = qvdet::lossyProbability(s.input, model) > 0.5;
        falseAlarms += !s.lossy && saysLossy;
        hits += s.lossy && saysLossy;
    }
    std::fprintf(stderr, "fitted on %d clean and %d lossy measurements: %d false alarms, %d of %d lossy found\n",
                 static_cast<int>(cleanCount), static_cast<int>(lossyCount), falseAlarms, hits,
                 static_cast<int>(lossyCount));

    std::printf("#pragma once\n");
    std::printf("// Weights of the lossy-source model, written by opendetector_calibrate; do not edit by hand.\n");
    std::printf("// Fitted on %d measurements (%d clean, %d lossy),\n"
                "// clean weight %g, ridge %g.\n",
                static_cast<int>(samples.size()), static_cast<int>(cleanCount), static_cast<int>(lossyCount),
                cleanWeight, kRidge);
    std::printf("// Reproduce with detector/bench/calibrate.sh (corpus, seed and version are named there).\n");
    std::printf("namespace qvdet {\ninline constexpr double kCalibratedWeights[] = {");
    // Six to a line keeps the header within the source format's width however many inputs there are.
    for (std::size_t i = 0; i < qvdet::kModelInputs; ++i) {
        std::printf("%s %.6f,", i % 6 == 0 ? "\n   " : "", theta[i]);
    }
    std::printf("\n};\ninline constexpr double kCalibratedBias = %.6f;\n} // namespace qvdet\n", theta[kParams - 1]);
    return 0;
}
