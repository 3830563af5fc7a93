# The picture's cost: the open detector on a 5-minute 44.1 kHz stereo track at -m0, CPU seconds (user + system,
# best of three) of a plain run and of a run with --picture, natively (release build) and as the Windows build
# under Wine. Sourced by scripts/bench.sh.

# bench_picture_cpu OUT_FILE COMMAND...: the least CPU time of three runs.
bench_picture_cpu() {
    local out=$1 best="" seconds i
    shift
    for i in 1 2 3; do
        /usr/bin/time -f '%U %S' -o "$out" "$@" >/dev/null 2>&1 || { echo "picture: $* failed" >&2; return 1; }
        seconds=$(awk '{print $1 + $2}' "$out")
        if [ -z "$best" ] || [ "$(echo "$seconds < $best" | bc -l)" -eq 1 ]; then best=$seconds; fi
    done
    echo "$best"
}

bench_picture() {
    local root="$BENCH_OUT/picture" native="$E2E_REPO/build/detector-bench"
    rm -rf "$root"
    mkdir -p "$root"
    cmake -S "$E2E_REPO" -B "$native" -G Ninja -DCMAKE_BUILD_TYPE=Release -DQV_TESTS=OFF >/dev/null &&
        cmake --build "$native" -j2 --target aucdtect >/dev/null || { echo "picture: native build failed"; return 1; }
    cmake --build "$QV_WIN64_BUILD" -j2 --target aucdtect >/dev/null || { echo "picture: win64 build failed"; return 1; }
    sox -n -r 44100 -b 16 -c 2 "$root/track.wav" synth 300 pinknoise vol 0.35 2>/dev/null ||
        { echo "picture: sox failed"; return 1; }
    local exe="$native/bin/opendetector/aucdtect" win="$E2E_BIN/opendetector/aucdtect.exe"
    local plain drawn wplain wdrawn
    plain=$(bench_picture_cpu "$root/time" "$exe" -m0 "$root/track.wav") || return 1
    drawn=$(bench_picture_cpu "$root/time" "$exe" -m0 --picture "$root/native.png" "$root/track.wav") || return 1
    wplain=$(bench_picture_cpu "$root/time" wine "$win" -m0 "$(winpath "$root/track.wav")") || return 1
    wdrawn=$(bench_picture_cpu "$root/time" wine "$win" -m0 --picture "$(winpath "$root/wine.png")" \
        "$(winpath "$root/track.wav")") || return 1
    printf '%-46s %10s\n' "picture: track" "5 min, 44.1 kHz stereo, -m0"
    printf '%-46s %10.2f s CPU\n' "picture: native, plain verdict" "$plain"
    printf '%-46s %10.2f s CPU\n' "picture: native, verdict and picture" "$drawn"
    printf '%-46s %10.2f s CPU\n' "picture: Wine, plain verdict" "$wplain"
    printf '%-46s %10.2f s CPU\n' "picture: Wine, verdict and picture" "$wdrawn"
}
