#!/bin/bash
# Builds a libFuzzer target for every reader of outside input and runs each for a bounded time.
# Exits non-zero when any target finds a crash, a sanitizer report or a broken property, and names it.
# Usage: run.sh SECONDS [BUILD_DIR]   (SECONDS per target; default build dir: <repo>/build/fuzz)
set -euo pipefail
seconds=${1:?usage: run.sh SECONDS [BUILD_DIR]}
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
build=${2:-$root/build/fuzz}
mkdir -p "$build"
build=$(cd "$build" && pwd)

# Target, longest input, and the product sources it reads through beyond src/common.
targets=(
    "QueueFile 4096 queue/QueueFile.cpp queue/QueueStore.cpp"
    "SavedResults 4096 logs/SavedResults.cpp logs/DirectoryResults.cpp"
    "EstimateFile 4096 estimate/EstimateFile.cpp estimate/TypeRecord.cpp estimate/TimeEstimate.cpp"
    "VerdictReader 4096 engine/VerdictReader.cpp"
    "SplitArgument 2048"
    "ExpandTemplate 1024 engine/DecoderTable.cpp"
    "DecoderValue 1024 engine/DecoderTable.cpp"
)

# The portable common code, native twins (*_posix.cpp) included, plus every target's own sources.
sources=()
for file in "$root"/src/common/*.cpp; do
    sources+=("${file#"$root"/src/}")
done
for entry in "${targets[@]}"; do
    read -r -a fields <<<"$entry"
    sources+=("${fields[@]:2}")
done

# A generated ninja file gives header dependencies and a two-job build for free.
flags="-std=c++17 -O1 -g -fno-omit-frame-pointer -fsanitize=address,undefined -fno-sanitize-recover=all -Wall -Wextra"
{
    echo "cflags = $flags -I$root/src"
    echo "rule cc"
    echo "  command = clang++ \$cflags \$extra -fsanitize=fuzzer-no-link -MD -MF \$out.d -c \$in -o \$out"
    echo "  depfile = \$out.d"
    echo "  deps = gcc"
    echo "rule archive"
    echo "  command = rm -f \$out && ar rcs \$out \$in"
    echo "rule link"
    echo "  command = clang++ \$cflags -fsanitize=fuzzer \$in -o \$out -pthread"
    objects=()
    for source in $(printf '%s\n' "${sources[@]}" | sort -u); do
        echo "build obj/${source%.cpp}.o: cc $root/src/$source"
        objects+=("obj/${source%.cpp}.o")
    done
    echo "build libqvfuzz.a: archive ${objects[*]}"
    for entry in "${targets[@]}"; do
        read -r name _ <<<"$entry"
        echo "build obj/fuzz/${name}Fuzz.o: cc $here/${name}Fuzz.cpp"
        echo "  extra = -Werror"
        echo "build ${name}Fuzz: link obj/fuzz/${name}Fuzz.o libqvfuzz.a"
    done
} >"$build/build.ninja.new"
mv "$build/build.ninja.new" "$build/build.ninja"
if ! nice -n 10 ninja -C "$build" -j2 >"$build/build.log" 2>&1; then
    cat "$build/build.log"
    echo "fuzz build failed"
    exit 1
fi

cd "$build"
mkdir -p findings logs
failed=()
for entry in "${targets[@]}"; do
    read -r name maxLength _ <<<"$entry"
    # The committed seeds stay as they are; new inputs collect in the build folder.
    mkdir -p "corpus/$name"
    for seed in "$here/seeds/$name"/*; do
        [ -e "corpus/$name/$(basename "$seed")" ] || cp "$seed" "corpus/$name/"
    done
    if nice -n 10 "./${name}Fuzz" -max_total_time="$seconds" -max_len="$maxLength" -timeout=10 -rss_limit_mb=2048 \
        -print_final_stats=1 -artifact_prefix="findings/$name-" "corpus/$name" >"logs/$name.log" 2>&1; then
        runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "logs/$name.log")
        echo "fuzz $name: ok, ${runs:-?} runs"
    else
        tail -n 40 "logs/$name.log"
        echo "fuzz $name: FAILED (log $build/logs/$name.log, input in $build/findings/)"
        failed+=("$name")
    fi
done
if [ ${#failed[@]} -gt 0 ]; then
    echo "fuzz findings in: ${failed[*]}"
    exit 1
fi
echo "fuzz: all ${#targets[@]} targets ran ${seconds}s without a finding"
