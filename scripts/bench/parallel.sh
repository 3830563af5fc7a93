# Passes side by side: Quorvane checking 3-minute tracks (two passes of the open detector each; FLAC decoded by
# the flac.exe built from Debian's sources) with "Detect Parallel Passes" 1 and with its default (one per
# processor), one after the other in the same run, and the same files with the stand-in detector, which answers
# at once, to show the program's own cost. Prints files per minute, seconds per track and the ratio.
# Sourced by scripts/bench.sh.

# bench_parallel_pair LABEL FILES...: per setting, the whole run and the pace after the first file's verdict, and
# their ratios.
bench_parallel_pair() {
    local label=$1
    shift
    local one one_after all all_after
    read -r one one_after < <(bench_timed_run "parallel: $label" 1 "$@")
    read -r all all_after < <(bench_timed_run "parallel: $label" default "$@")
    bench_parallel_line "$label, 1 pass at a time" "$#" "$one" "$one_after"
    bench_parallel_line "$label, default ($(nproc) side by side)" "$#" "$all" "$all_after"
    printf '%-48s %8.2f whole run %7.2f after the first\n' "parallel: $label, speed-up" "$(echo "$one / $all" | bc -l)" \
        "$(echo "$one_after / $all_after" | bc -l)"
}

# bench_parallel_line LABEL FILES WHOLE AFTER_FIRST
bench_parallel_line() {
    printf '%-48s %8.1f files/min %7.3f s/track; after the first: %7.3f s/track\n' "parallel: $1" \
        "$(echo "60 * $2 / $3" | bc -l)" "$(echo "$3 / $2" | bc -l)" "$(echo "$4 / ($2 - 1)" | bc -l)"
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
