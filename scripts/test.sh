#!/usr/bin/env bash
# The test command: installs what is missing, builds everything, and runs every suite:
#   native unit tests (AddressSanitizer + UndefinedBehaviorSanitizer), Windows unit tests under Wine,
#   end-to-end scenarios under Wine and Xvfb, and the 32-bit release build and decoders as a compile check.
# Ends with one line "N passed, N failed". Usage: scripts/test.sh [--quick] (quick: no e2e).
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
quick=0
[ "${1:-}" = "--quick" ] && quick=1

"$root/scripts/setup.sh" || { echo "setup failed"; echo "0 passed, 1 failed"; exit 1; }
source "$root/scripts/wine-env.sh"

total_passed=0
total_failed=0
summary=()
record() { # name passed failed
    total_passed=$((total_passed + $2))
    total_failed=$((total_failed + $3))
    summary+=("$(printf '%-28s %5d passed, %d failed' "$1" "$2" "$3")")
}

# Counts from a GoogleTest log; a run that crashed or printed nothing counts as one failure.
record_gtest() { # name log exit-code
    local passed failed
    passed=$(grep -Eo '^\[  PASSED  \] [0-9]+' "$2" | grep -Eo '[0-9]+$' | tail -1)
    failed=$(grep -Eo '^\[  FAILED  \] [0-9]+ test' "$2" | grep -Eo '[0-9]+' | tail -1)
    passed=${passed:-0}
    failed=${failed:-0}
    if [ "$3" -ne 0 ] && [ "$failed" -eq 0 ]; then failed=1; fi
    record "$1" "$passed" "$failed"
}

build() { # dir cmake-args...
    local dir=$1
    shift
    cmake -S "$root" -B "$dir" -G Ninja "$@" >"$dir.configure.log" 2>&1 &&
        cmake --build "$dir" -j2 >"$dir.build.log" 2>&1
}

mkdir -p build
echo "== layers (includes run downward only; the builds' link checks see the calls)"
if python3 scripts/check-layers.py >build/layers.log 2>&1; then
    record "layer includes" 1 0
else
    cat build/layers.log
    record "layer includes" 0 1
fi

echo "== format (the tree's .clang-format)"
if git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run --Werror >build/format.log 2>&1; then
    record "clang-format" 1 0
else
    grep -E 'error:' build/format.log | head -20
    record "clang-format" 0 1
fi

echo "== native build (sanitizers)"
if build build/native -DQV_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug; then
    for exe in build/native/bin/*_tests; do
        [ -x "$exe" ] || continue
        name=$(basename "$exe")
        echo "== native $name"
        "$exe" --gtest_brief=1 >"build/native-$name.log" 2>&1
        rc=$?
        tail -3 "build/native-$name.log"
        record_gtest "native $name" "build/native-$name.log" $rc
    done
    echo "== open detector on a small rendered corpus"
    if detector/bench/smoke.sh build/native >build/detector-smoke.log 2>&1; then
        record "detector smoke corpus" 1 0
    else
        tail -30 build/detector-smoke.log
        record "detector smoke corpus" 0 1
    fi
else
    tail -30 build/native.build.log build/native.configure.log 2>/dev/null
    record "native build" 0 1
fi

echo "== win64 build"
if build build/win64 -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-x86_64.cmake" -DCMAKE_BUILD_TYPE=Release; then
    ensure_wine_prefix
    start_xvfb # the dialog tests open real windows
    for exe in build/win64/bin/*_tests.exe; do
        [ -f "$exe" ] || continue
        name=$(basename "$exe" .exe)
        echo "== wine $name"
        (cd build/win64/bin && wine "./$(basename "$exe")" --gtest_brief=1) >"build/wine-$name.log" 2>&1
        rc=$?
        # Let the Wine server finish exiting: a program that reaches it on its way out fails to start
        # ("recvmsg: Connection reset by peer"). A console host left behind by a child a test killed can keep
        # it up for good under Wine: after a minute whatever is left is ended.
        if ! timeout 60 wineserver -w; then
            echo "note: Wine processes outlived $name; ending them"
            wineserver -k
            wineserver -w
        fi
        tail -3 "build/wine-$name.log"
        record_gtest "wine $name" "build/wine-$name.log" $rc
    done
    if [ $quick -eq 0 ]; then
        echo "== decoders from Debian's sources (built once per build folder)"
        if scripts/decoders.sh x86_64 >build/decoders-x86_64.log 2>&1; then
            record "x86_64 decoders" 1 0
        else
            tail -20 build/decoders-x86_64.log
            record "x86_64 decoders" 0 1
        fi
        echo "== end-to-end scenarios"
        tests/e2e/run.sh build/win64 2>&1 | tee build/e2e.log
        e2e_line=$(grep -E '^e2e: [0-9]+ passed, [0-9]+ failed' build/e2e.log | tail -1)
        if [ -n "$e2e_line" ]; then
            record "e2e scenarios" "$(echo "$e2e_line" | awk '{print $2}')" "$(echo "$e2e_line" | awk '{print $4}')"
        else
            record "e2e scenarios" 0 1
        fi
    fi
else
    tail -30 build/win64.build.log build/win64.configure.log 2>/dev/null
    record "win64 build" 0 1
fi

echo "== fuzzing (short, bounded runs; scripts/fuzz.sh runs longer)"
if detector/fuzz/run.sh 20 >build/fuzz-detector.log 2>&1; then
    record "fuzz: WAV reader" 1 0
else
    tail -20 build/fuzz-detector.log
    record "fuzz: WAV reader" 0 1
fi
if tests/fuzz/run.sh 10 >build/fuzz-readers.log 2>&1; then
    record "fuzz: program's readers" 6 0
else
    grep -E 'FAILED|findings' build/fuzz-readers.log | tail -10
    record "fuzz: program's readers" 0 1
fi

echo "== win32 (i686) compile check"
# The release build's programs; its tests are the 64-bit build's, so they are not built again here.
if build build/win32 -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" -DCMAKE_BUILD_TYPE=Release -DQV_TESTS=OFF; then
    record "i686 build" 1 0
else
    tail -30 build/win32.build.log 2>/dev/null
    record "i686 build" 0 1
fi
if scripts/decoders.sh i686 >build/decoders-i686.log 2>&1; then
    record "i686 decoders" 1 0
else
    tail -20 build/decoders-i686.log
    record "i686 decoders" 0 1
fi

echo
echo "== summary"
printf '%s\n' "${summary[@]}"
echo "$total_passed passed, $total_failed failed"
[ "$total_failed" -eq 0 ]
