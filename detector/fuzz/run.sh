#!/bin/bash
# Builds the WAV reader fuzzer (reader, analysis and picture) with clang and runs it for a bounded time; non-zero exit on a finding.
# Usage: run.sh SECONDS [BUILD_DIR]   (default build dir: <repo>/build/detector-fuzz)
set -euo pipefail
seconds=${1:?usage: run.sh SECONDS [BUILD_DIR]}
here=$(cd "$(dirname "$0")" && pwd)
build=${2:-$here/../../build/detector-fuzz}
mkdir -p "$build/corpus"
src=$here/../src
# The tests' in-memory sample source stands in for the few frames an input holds, repeated.
nice -n 10 clang++ -std=c++17 -O1 -g -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all \
    -I"$src" -I"$here/../tests" "$here/WavReaderFuzz.cpp" "$src/ByteSource.cpp" "$src/WavFile.cpp" "$src/TrackAnalysis.cpp" \
    "$src/HoleCount.cpp" "$src/FineBand.cpp" "$src/CeltGrid.cpp" "$src/Spectrum.cpp" "$src/SegmentPlan.cpp" "$src/Fft.cpp" "$src/Model.cpp" \
    "$src/Spectrogram.cpp" "$src/Picture.cpp" "$src/BitmapFont.cpp" "$src/PngWriter.cpp" -lz -o "$build/wav_reader_fuzz"
# The committed seeds stay as they are; new inputs collect in the build folder.
cp -n "$here"/seeds/* "$build/corpus/"
cd "$build"
nice -n 10 ./wav_reader_fuzz -max_total_time="$seconds" -max_len=8192 -timeout=10 -rss_limit_mb=2048 \
    -print_final_stats=1 corpus
