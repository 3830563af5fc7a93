# Crashes at random moments during a 200-file run: after each, nothing may be lost.
# Run by scripts/reliability.sh (minutes long, so not part of the test command).

# Every listed file has a verdict line or still stands in the saved queue.
none_lost() { # files...
    local f lost=0
    for f in "$@"; do
        if ! grep -qF "[2/2] $(winpath "$f")" "$PROG/Detect.log" 2>/dev/null &&
            ! grep -qF "$(winpath "$f")" "$PROG/Queue.log" 2>/dev/null; then
            lost=$((lost + 1))
        fi
    done
    [ "$lost" -eq 0 ]
}

reliability_hard_kills_at_random_moments_lose_no_file() {
    new_program_dir random-kills
    local i files=()
    for i in $(seq 1 200); do
        write_script "$MUSIC/D$((i / 25))/f$i.wav" "m* verdict=cdda:90"
        files+=("$MUSIC/D$((i / 25))/f$i.wav")
    done
    write_queue_file "$PROG/Queue.log" "${files[@]}"
    local round done_count=0
    for round in $(seq 1 20); do
        start_quorvane
        wait_status_window 20 || fail "round $round: no window"
        sleep "0.$((RANDOM % 9 + 1))$((RANDOM % 10))" # a random moment to crash at: the point of the test
        wineserver -k
        wait "$QV_PID" 2>/dev/null
        none_lost "${files[@]}" || fail "round $round: a file was lost"
        done_count=$(grep -c '\[2/2\]' "$PROG/Detect.log" 2>/dev/null)
        [ "$done_count" -ge 200 ] && break
    done
    echo "    $round rounds, $done_count verdict lines before the last start"
    start_quorvane
    wait_queue_done 180 || fail "the rest was not finished"
    for f in "${files[@]}"; do
        grep -qF "[2/2] $(winpath "$f")" "$PROG/Detect.log" || fail "never checked: $f"
    done
    exit_quorvane yes
    wait_quorvane_exit 20
}

