# Hostile detectors and state files that cannot be written.

scenario_hostile_detectors_and_unwritable_state_files() {
    new_program_dir hostile
    local d="$MUSIC/A"
    write_script "$d/crash.wav" "m* crash"
    write_script "$d/garbage.wav" "m* text=This track looks like CDDA with probabilityxx%%%" "m1 verdict=none"
    write_script "$d/flood.wav" "m* noise=10485760 verdict=cdda:70"
    write_script "$d/after.wav" "m* verdict=cdda:80"
    write_queue_file "$PROG/Queue.log" "$d/crash.wav" "$d/garbage.wav" "$d/flood.wav" "$d/after.wav"
    start_quorvane
    wait_until 120 file_has "$PROG/Detect.log" "after.wav" || fail "queue did not get past hostile detectors"
    expect_file_has "$PROG/Detect.log" " -  -1% [0/12] $(winpath "$d/crash.wav")" "crashing detector"
    expect_file_has "$PROG/Detect.log" " -  70% [2/2] $(winpath "$d/flood.wav")" "10 MiB before the verdict"
    exit_quorvane yes
    wait_quorvane_exit 20

    # State files that cannot be written (directories stand in their places): logged, never fatal.
    mkdir -p "$PROG/Queue.log" "$PROG/Recent.log" "$PROG/Estimate.log"
    write_script "$d/slow.wav" "m* sleep=20000 verdict=cdda:50"
    start_quorvane "$(winpath "$d/slow.wav")"
    wait_until 20 probe wait-text 1009 "Checking (Pass 1)" --timeout 1 || fail "not checking"
    exit_quorvane no
    wait_quorvane_exit 25 || return
    expect_file_has "$PROG/System.log" "Cannot write $PROGW\\Queue.log" "queue write failure logged"
    expect_file_has "$PROG/System.log" "Worker thread finished normally" "orderly end"
}

# Starts Quorvane once per argument, all at the same moment; STARTED_PIDS holds the Wine processes.
start_together() { # arguments...
    local gate="$PROG/start-gate" argument
    rm -f "$gate"
    STARTED_PIDS=()
    for argument in "$@"; do
        (cd "$PROG" && while [ ! -e "$gate" ]; do sleep 0.01; done &&
            exec wine "$PROG/Quorvane.exe" "$argument" >>"$PROG/wine-output.txt" 2>&1) &
        STARTED_PIDS+=($!)
    done
    touch "$gate"
}

alive_count() { # pids...
    local pid count=0
    for pid in "$@"; do kill -0 "$pid" 2>/dev/null && count=$((count + 1)); done
    echo "$count"
}
fewer_than_all_alive() { [ "$(alive_count "$@")" -lt $# ]; }

scenario_two_starts_at_the_same_moment_make_one_instance() {
    new_program_dir two-starts
    local round a b pid survivor
    for round in $(seq 1 20); do
        a="$MUSIC/R$round/a.wav"
        b="$MUSIC/R$round/b.wav"
        write_script "$a" "m* verdict=cdda:61"
        write_script "$b" "m* verdict=cdda:62"
        start_together "$(winpath "$a")" "$(winpath "$b")"
        wait_until 30 fewer_than_all_alive "${STARTED_PIDS[@]}" || fail "round $round: no start handed over"
        wait_until 30 file_has "$PROG/Detect.log" "$(winpath "$a")" || fail "round $round: a.wav never checked"
        wait_until 30 file_has "$PROG/Detect.log" "$(winpath "$b")" || fail "round $round: b.wav never checked"
        expect_eq 1 "$(alive_count "${STARTED_PIDS[@]}")" "round $round: instances at work"
        for pid in "${STARTED_PIDS[@]}"; do kill -0 "$pid" 2>/dev/null && survivor=$pid; done
        QV_PID=$survivor
        exit_quorvane yes
        wait_quorvane_exit 20 || return
        [ "$E2E_FAILURES" -eq 0 ] || return
    done
    expect_eq 40 "$(grep -c ' -  6[12]% \[2/2\]' "$PROG/Detect.log")" "verdict lines, each file once"
    expect_eq 20 "$(grep -c 'Program already running' "$PROG/System.log")" "second starts"
}
