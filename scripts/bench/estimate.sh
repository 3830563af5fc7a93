# Learned estimates with passes side by side: a first run learns the pace of the stand-in detector on six files
# of 100-600 kB (each pass sleeps 10 ms a kB), a second run shows "Total" for five files of other sizes and is
# timed from that moment to its last result log. Prints, for "Detect Parallel Passes" 1 and 2, the estimate,
# the time taken and the estimate's error. Sourced by scripts/bench.sh.
source "$E2E_REPO/tests/e2e/scenarios/estimates.sh" # field_seconds

# bench_estimate_queue FOLDER KB...: files FOLDER/<kB>.wav whose passes sleep 10 ms a kB, queued with their sizes.
bench_estimate_queue() {
    local dir="$MUSIC/$1" kb files=()
    shift
    for kb in "$@"; do
        write_script "$dir/$kb.wav" "m* sleep=$((kb * 10)) verdict=cdda:90"
        files+=("$dir/$kb.wav")
    done
    QUEUE_KB="$*" write_queue_file "$PROG/Queue.log" "${files[@]}"
}

bench_estimate_run() { # parallel passes
    local parallel=$1 start end total
    E2E_DETECTOR="$E2E_BIN/standin/aucdtect.exe" new_program_dir "estimate-$parallel"
    place_window_away_from_pointer
    reg_set_dword "Detect Parallel Passes" "$parallel"
    reg_set_dword "Use Intelligent ETA" 1
    bench_estimate_queue learn 100 200 300 400 500 600
    start_quorvane
    wait_until 600 test -f "$MUSIC/learn/kelvra.090.log" || { echo "estimate: the first run did not finish"; return 1; }
    exit_and_wait yes
    bench_estimate_queue check 150 250 350 450 550
    start_quorvane
    wait_until 60 first_pass_shown || { echo "estimate: the second run did not start"; return 1; }
    start=$(date +%s.%N)
    total=$(field_seconds "$(probe text 1011)")
    wait_until 600 test -f "$MUSIC/check/kelvra.090.log" || { echo "estimate: the second run did not finish"; return 1; }
    end=$(date +%s.%N)
    exit_and_wait yes
    awk -v p="$parallel" -v shown="$total" -v taken="$(echo "$end - $start" | bc -l)" 'BEGIN {
        printf "estimate: %d side by side: Total shown %d s, taken %.1f s, error %+.0f %%\n", p, shown, taken,
            100 * (shown - taken) / taken }'
}

bench_estimate() {
    bench_estimate_run 1 && bench_estimate_run 2
}
