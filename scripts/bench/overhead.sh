# Orchestration overhead: Quorvane checking N files x 2 passes with a stand-in detector that answers at
# once, against a bare loop that starts the same detector 2N times the same way. Sourced by scripts/bench.sh.

verdict_lines_at_least() { [ -f "$1" ] && [ "$(grep -cF '[2/2]' "$1")" -ge "$2" ]; } # file count

bench_overhead() {
    local n=${1:-100}
    local root="$BENCH_OUT/overhead"
    rm -rf "$root"
    mkdir -p "$root/prog/wav" "$root/music"
    cp "$E2E_BIN/Quorvane.exe" "$root/prog/"
    cp "$E2E_BIN/standin/aucdtect.exe" "$root/prog/aucdtect.exe"
    local files=() i
    for i in $(seq 1 "$n"); do
        printf 'm* verdict=cdda:100\r\n' >"$root/music/f$i.wav"
        files+=("$root/music/f$i.wav")
    done
    PROG="$root/prog"
    clear_registry
    place_window_away_from_pointer
    write_queue_file "$PROG/Queue.log" "${files[@]}"

    local start end quorvane_seconds loop_seconds
    start=$(date +%s.%N)
    start_quorvane
    wait_until 3600 verdict_lines_at_least "$PROG/Detect.log" "$n" || echo "overhead: not all files finished"
    end=$(date +%s.%N)
    quorvane_seconds=$(echo "$end - $start" | bc -l)
    wineserver -k # a benchmark needs no orderly exit
    wait "$QV_PID" 2>/dev/null

    start=$(date +%s.%N)
    (cd "$PROG" && wine "$E2E_BIN/qvlaunchloop.exe" "$PROG\\aucdtect.exe" "$(winpath "${files[0]}")" $((2 * n))) >/dev/null
    end=$(date +%s.%N)
    loop_seconds=$(echo "$end - $start" | bc -l)

    printf '%-34s %10s\n' "overhead: files x passes" "$n x 2"
    printf '%-34s %10.2f s\n' "overhead: Quorvane (start to last verdict)" "$quorvane_seconds"
    printf '%-34s %10.2f s\n' "overhead: bare launch loop" "$loop_seconds"
    printf '%-34s %10.3f\n' "overhead: ratio Quorvane / loop" "$(echo "$quorvane_seconds / $loop_seconds" | bc -l)"
}
