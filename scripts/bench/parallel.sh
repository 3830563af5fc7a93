# Passes side by side: Quorvane checking 3-minute tracks (two passes of the open detector each; FLAC decoded by
# the flac.exe built from Debian's sources) with "Detect Parallel Passes" 1 and with its default (one per
# processor), one after the other in the same run, and the same files with the stand-in detector, which answers
# at once, to show the program's own cost. Prints files per minute, seconds per track and the ratio.
# Sourced by scripts/bench.sh.

# bench_parallel_pair LABEL FILES...: one line per setting and their ratio.
bench_parallel_pair() {
    local label=$1
    shift
    local one all
    one=$(bench_timed_run "parallel: $label" 1 "$@")
    all=$(bench_timed_run "parallel: $label" default "$@")
    printf '%-44s %8.1f files/min %7.3f s/track\n' "parallel: $label, 1 pass at a time" \
        "$(echo "60 * $# / $one" | bc -l)" "$(echo "$one / $#" | bc -l)"
    printf '%-44s %8.1f files/min %7.3f s/track\n' "parallel: $label, default ($(nproc) side by side)" \
        "$(echo "60 * $# / $all" | bc -l)" "$(echo "$all / $#" | bc -l)"
    printf '%-44s %8.2f\n' "parallel: $label, speed-up" "$(echo "$one / $all" | bc -l)"
}

bench_parallel() {
    local tracks=${1:-10}
    local root="$BENCH_OUT/parallel" wavs=() flacs=()
    bench_album "$root" "$tracks" || return 1
    PROG="$root/prog"
    echo "parallel: $tracks tracks of 3 minutes"
    bench_parallel_pair "WAV, open detector" "${wavs[@]}"
    bench_parallel_pair "FLAC, open detector" "${flacs[@]}"
    cp "$E2E_BIN/standin/aucdtect.exe" "$PROG/aucdtect.exe"
    bench_parallel_pair "WAV, stand-in detector" "${wavs[@]}"
}
