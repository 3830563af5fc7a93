# Passes side by side: Quorvane checking 3-minute tracks (two passes of the open detector each; FLAC decoded by
# the flac.exe built from Debian's sources) with "Detect Parallel Passes" 1 and with its default (one per
# processor), one after the other in the same run, and the same files with the stand-in detector, which answers
# at once, to show the program's own cost. Prints files per minute, seconds per track and the ratio. With
# BENCH_BASELINE_EXE set to an earlier build's Quorvane.exe, that program runs on the same files too.
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
    bench_parallel_ratio "$label, speed-up" "$one" "$one_after" "$all" "$all_after"
    [ -n "${BENCH_BASELINE_EXE:-}" ] || return 0
    local base base_after
    cp "$PROG/Quorvane.exe" "$PROG/Quorvane.exe.bench" && cp "$BENCH_BASELINE_EXE" "$PROG/Quorvane.exe" || return 1
    read -r base base_after < <(bench_timed_run "parallel: $label" default "$@")
    mv "$PROG/Quorvane.exe.bench" "$PROG/Quorvane.exe"
    bench_parallel_line "$label, the earlier program" "$#" "$base" "$base_after"
    bench_parallel_ratio "$label, default against the earlier program" "$base" "$base_after" "$all" "$all_after"
}

# bench_parallel_ratio LABEL SLOWER SLOWER_AFTER_FIRST FASTER FASTER_AFTER_FIRST
bench_parallel_ratio() {
    printf '%-48s %8.2f whole run %7.2f after the first\n' "parallel: $1" "$(echo "$2 / $4" | bc -l)" \
        "$(echo "$3 / $5" | bc -l)"
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
