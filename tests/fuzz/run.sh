#!/bin/bash
# Builds the libFuzzer target for every reader of outside input and runs it for a bounded time; exits non-zero
# when it finds a crash, a sanitizer report or a broken property.
# Usage: run.sh SECONDS [BUILD_DIR]   (SECONDS per reader; default build dir: <repo>/build/fuzz)
set -euo pipefail
seconds=${1:?usage: run.sh SECONDS [BUILD_DIR]}
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
build=${2:-$root/build/fuzz}
mkdir -p "$build/corpus" "$build/findings"
cd "$build"

# The readers in the order of the input's first byte, which picks one; the portable common code and their sources.
readers=(QueueFile SavedResults EstimateFile VerdictReader SplitArgument DecoderValue)
sources="$(ls "$root"/src/common/*.cpp) $here/ReadersFuzz.cpp $(cd "$root/src" && realpath queue/QueueFile.cpp \
    queue/QueueStore.cpp logs/SavedResults.cpp logs/DirectoryResults.cpp estimate/EstimateFile.cpp \
    estimate/TypeRecord.cpp estimate/TimeEstimate.cpp engine/VerdictReader.cpp engine/DecoderTable.cpp)"
# A generated ninja file gives header dependencies and a two-job build.
{
    echo "cflags = -std=c++17 -O1 -g -fno-omit-frame-pointer -fsanitize=address,undefined -fno-sanitize-recover=all"
    echo "rule cc"
    echo "  command = clang++ \$cflags -Wall -Wextra -I$root/src -fsanitize=fuzzer-no-link -MD -MF \$out.d -c \$in -o \$out"
    echo "  depfile = \$out.d"
    echo "  deps = gcc"
    echo "rule link"
    echo "  command = clang++ \$cflags -fsanitize=fuzzer \$in -o \$out -pthread"
    for source in $sources; do echo "build obj/$(realpath --relative-to="$root" "${source%.cpp}").o: cc $source"; done
    echo "build ReadersFuzz: link $(for s in $sources; do printf 'obj/%s.o ' "$(realpath --relative-to="$root" "${s%.cpp}")"; done)"
} >build.ninja
nice -n 10 ninja -j2 >build.log 2>&1 || { cat build.log; echo "fuzz build failed"; exit 1; }

# The committed seeds, each led by its reader's byte; new inputs collect beside them.
for i in "${!readers[@]}"; do
    for seed in "$here/seeds/${readers[$i]}"/*; do
        printf "\\x0$i" | cat - "$seed" >"corpus/${readers[$i]}-$(basename "$seed")"
    done
done
total=$((seconds * ${#readers[@]}))
if nice -n 10 ./ReadersFuzz -max_total_time="$total" -max_len=4097 -timeout=10 -rss_limit_mb=2048 \
    -print_final_stats=1 -artifact_prefix=findings/ corpus >fuzz.log 2>&1; then
    echo "fuzz: ${#readers[@]} readers ran ${total}s without a finding, $(sed -n 's/^stat::number_of_executed_units: *//p' fuzz.log) runs"
else
    tail -n 40 fuzz.log
    echo "fuzz: FAILED (log $build/fuzz.log, input in $build/findings/; its first byte picks one of: ${readers[*]})"
    exit 1
fi
