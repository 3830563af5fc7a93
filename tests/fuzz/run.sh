#!/bin/bash
# Builds a libFuzzer target for every reader of outside input and runs each for a bounded time; exits non-zero
# and names the target when one finds a crash, a sanitizer report or a broken property.
# Usage: run.sh SECONDS [BUILD_DIR]   (SECONDS per target; default build dir: <repo>/build/fuzz)
set -euo pipefail
seconds=${1:?usage: run.sh SECONDS [BUILD_DIR]}
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
build=${2:-$root/build/fuzz}
mkdir -p "$build/findings" "$build/logs"
cd "$build"

# Target and longest input, in the order of ReadersFuzz.cpp's list; the portable common code and their sources.
targets=("QueueFile 4096" "SavedResults 4096" "EstimateFile 4096" "VerdictReader 4096" "SplitArgument 2048"
    "DecoderValue 1024")
sources=$(cd "$root/src" && ls common/*.cpp queue/QueueFile.cpp queue/QueueStore.cpp logs/SavedResults.cpp \
    logs/DirectoryResults.cpp estimate/EstimateFile.cpp estimate/TypeRecord.cpp estimate/TimeEstimate.cpp \
    engine/VerdictReader.cpp engine/DecoderTable.cpp)
# A generated ninja file gives header dependencies and a two-job build.
{
    echo "cflags = -std=c++17 -O1 -g -fno-omit-frame-pointer -fsanitize=address,undefined -fno-sanitize-recover=all"
    echo "rule cc"
    echo "  command = clang++ \$cflags -Wall -Wextra -I$root/src \$defines -fsanitize=fuzzer-no-link -MD -MF \$out.d -c \$in -o \$out"
    echo "  depfile = \$out.d"
    echo "  deps = gcc"
    echo "rule link"
    echo "  command = clang++ \$cflags -fsanitize=fuzzer \$in -o \$out -pthread"
    for source in $sources; do echo "build obj/${source%.cpp}.o: cc $root/src/$source"; done
    for i in "${!targets[@]}"; do
        echo "build obj/fuzz/Reader$i.o: cc $here/ReadersFuzz.cpp"
        echo "  defines = -DQV_FUZZ_READER=$i"
        echo "build ${targets[$i]%% *}Fuzz: link obj/fuzz/Reader$i.o $(for s in $sources; do printf 'obj/%s.o ' "${s%.cpp}"; done)"
    done
} >build.ninja
nice -n 10 ninja -j2 >build.log 2>&1 || { cat build.log; echo "fuzz build failed"; exit 1; }

failed=()
for entry in "${targets[@]}"; do
    read -r name maxLength <<<"$entry"
    mkdir -p "corpus/$name" # new inputs collect here; the committed seeds stay as they are
    cp -n "$here/seeds/$name"/* "corpus/$name/"
    if nice -n 10 "./${name}Fuzz" -max_total_time="$seconds" -max_len="$maxLength" -timeout=10 -rss_limit_mb=2048 \
        -print_final_stats=1 -artifact_prefix="findings/$name-" "corpus/$name" >"logs/$name.log" 2>&1; then
        echo "fuzz $name: ok, $(sed -n 's/^stat::number_of_executed_units: *//p' "logs/$name.log") runs"
    else
        tail -n 40 "logs/$name.log"
        echo "fuzz $name: FAILED (log $build/logs/$name.log, input in $build/findings/)"
        failed+=("$name")
    fi
done
[ ${#failed[@]} -eq 0 ] || { echo "fuzz findings in: ${failed[*]}"; exit 1; }
echo "fuzz: all ${#targets[@]} targets ran ${seconds}s without a finding"
