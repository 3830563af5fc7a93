# Reliability: hostile detectors, an unwritable program directory, hard kills, starts at the same moment.

# Exits keeping a queue of one file that cannot be saved: the user is told so with a box.
exit_keeping_a_queue_that_cannot_be_saved() {
    exit_quorvane no
    expect_eq "$(printf 'Quorvane\tCannot write %s\\Queue.log\\n\\nThe queue (1 file) is not kept for the next start.' "$PROGW")" \
        "$(probe answer ok --caption Quorvane --timeout 20)" "the user is told that the queue is lost"
}

# Crashing, garbled and flooding detectors and an unwritable result log: each is logged and never fatal.
scenario_hostile_detectors_and_unwritable_logs() {
    new_program_dir hostile
    local d="$MUSIC/A" b="$MUSIC/B"
    write_script "$d/crash.wav" "m* crash"
    write_script "$d/garbage.wav" "m* text=This track looks like CDDA with probabilityxx%%%" "m1 verdict=none"
    write_script "$d/flood.wav" "m* noise=10485760 verdict=cdda:70"
    write_script "$b/after.wav" "m* verdict=cdda:80"
    mkdir -p "$d/kelvra.log" # where the result log would go
    write_queue_file "$PROG/Queue.log" "$d/crash.wav" "$d/garbage.wav" "$d/flood.wav" "$b/after.wav"
    # What the stand-in does, so that the checks below cannot pass on a stand-in that does less.
    [ "$(cd "$PROG" && wine aucdtect.exe -m0 "$(winpath "$d/flood.wav")" 2>/dev/null | wc -c)" -gt 10485760 ] ||
        fail "the stand-in wrote less than its 10 MiB"
    start_quorvane
    wait_until 150 test -f "$b/kelvra.080.log" || fail "queue did not get past hostile detectors"
    expect_file_has "$PROG/Detect.log" " -  -1% [0/12] $(winpath "$d/crash.wav")" "crashing detector"
    expect_file_has "$PROG/Detect.log" " -  70% [2/2] $(winpath "$d/flood.wav")" "10 MiB before the verdict"
    expect_file_has "$PROG/System.log" "Creating log file: $(winpath "$d")\\kelvra.log" "creating line"
    expect_eq "crash.wav flood.wav garbage.wav kelvra.log/" "$(cd "$d" && ls -p | xargs)" "files of A"
    exit_and_wait yes
}

# Starts Quorvane once per argument, all at the same moment; STARTED_PIDS holds the Wine processes.
start_together() { # arguments...
    local gate="$PROG/start-gate" argument
    rm -f "$gate"
    STARTED_PIDS=()
    for argument in "$@"; do
        (until [ -e "$gate" ]; do sleep 0.01; done && cd "$PROG" &&
            exec wine "$PROG/Quorvane.exe" "$argument" >>"$WINE_OUTPUT" 2>&1) &
        STARTED_PIDS+=($!)
    done
    touch "$gate"
}

alive() { local pid; for pid in "$@"; do kill -0 "$pid" 2>/dev/null && echo "$pid"; done; } # pids...
fewer_than_all_alive() { [ "$(alive "$@" | wc -l)" -lt $# ]; }

scenario_two_starts_at_the_same_moment_make_one_instance() {
    new_program_dir two-starts
    local round a b
    for round in $(seq 1 20); do
        a="$MUSIC/R$round/a.wav" b="$MUSIC/R$round/b.wav"
        write_script "$a" "m* verdict=cdda:61"
        write_script "$b" "m* verdict=cdda:62"
        start_together "$(winpath "$a")" "$(winpath "$b")"
        wait_until 30 fewer_than_all_alive "${STARTED_PIDS[@]}" || fail "round $round: no start handed over"
        wait_until 30 file_has "$PROG/Detect.log" "$(winpath "$a")" || fail "round $round: a.wav never checked"
        wait_until 30 file_has "$PROG/Detect.log" "$(winpath "$b")" || fail "round $round: b.wav never checked"
        QV_PID=$(alive "${STARTED_PIDS[@]}")
        expect_eq 1 "$(echo "$QV_PID" | wc -w)" "round $round: instances at work"
        exit_and_wait yes || return
        [ "$E2E_FAILURES" -eq 0 ] || return
    done
    expect_eq 40 "$(grep -c ' -  6[12]% \[2/2\]' "$PROG/Detect.log")" "verdict lines, each file once"
    expect_eq 20 "$(grep -c 'Program already running' "$PROG/System.log")" "second starts"
}

# Files of the list that have no verdict line in Detect.log and do not stand in the saved queue.
lost_files() { # files...
    local f w
    for f in "$@"; do
        w=$(winpath "$f")
        file_has "$PROG/Detect.log" "[2/2] $w"$'\r' || file_has "$PROG/Queue.log" "	$w"$'\r' || echo "$w"
    done
}

# A hard kill (the whole Wine session, as a power cut would) at a random moment of each of 20 starts of an
# 80-file run: after every kill, each file has its verdict or is in the saved queue.
scenario_hard_kills_at_random_moments_lose_no_file() {
    new_program_dir random-kills
    local i files=() round lost
    for i in $(seq 1 80); do files+=("$MUSIC/D$((i / 10))/f$i.wav"); done
    for i in "${files[@]}"; do write_script "$i" "m* verdict=cdda:90"; done
    write_queue_file "$PROG/Queue.log" "${files[@]}"
    for round in $(seq 1 20); do
        start_quorvane
        # Every other round from the window's appearance, so that kills fall into work even when start-up is slow.
        [ $((round % 2)) -eq 1 ] || wait_status_window 30 || fail "round $round: no window"
        # A random moment from start-up to the middle of work: the point of the test, not a wait.
        sleep "$((RANDOM % 4)).$((RANDOM % 10))"
        crash_quorvane
        lost=$(lost_files "${files[@]}")
        [ -z "$lost" ] || fail "round $round: lost $(echo "$lost" | wc -l) files, first $(echo "$lost" | head -1)"
        # The killed run's record is fresh; it must not make the next start hand its work to nobody.
        expect_file_lacks "$PROG/System.log" "Program already running" "round $round"
        [ "$E2E_FAILURES" -eq 0 ] || return
    done
    start_quorvane
    wait_queue_done 300 || fail "the rest of the queue was not finished"
    exit_and_wait yes
    lost=$(lost_files "${files[@]}")
    [ -z "$lost" ] || fail "never checked: $(echo "$lost" | wc -l) files, first $(echo "$lost" | head -1)"
}

# Killed while paused (the Task Manager, a crash), the program takes its suspended detectors with it: left alone
# they would stay suspended for good, holding their files open. Only the program is killed, not the Wine session.
scenario_a_kill_while_paused_ends_the_suspended_detectors() {
    new_program_dir kill-paused
    local slow="$MUSIC/K/slow.wav"
    write_script "$slow" "m* sleep=60000 verdict=cdda:90"
    write_queue_file "$PROG/Queue.log" "$slow"
    reg_set_dword "Detect Parallel Passes" 2
    start_quorvane
    wait_until 30 standin_running || fail "no detector started" || return
    wait_status_window 30 || fail "no window" || return
    probe post WM_COMMAND 88 0 >/dev/null # Pause
    wait_until 10 file_has "$PROG/System.log" "Suspending worker thread" || fail "detectors not suspended" || return
    kill -9 "$QV_PID"
    wait "$QV_PID" 2>/dev/null
    wait_until 20 eval '! standin_running' || fail "a suspended detector outlived the program"
}

stuck_row_written() { grep -qsF "stuck.wav    N/A  (0/12 pass)" "$MUSIC"/B/kelvra*.log; }

# Installed where its user may not write, the program still checks files (scratch files in the temporary
# directory, its own files listed in memory): one box per log it cannot open, while which the window and the
# heartbeat go on, passes of a never-ending detector timed out, and a box when the queue cannot be kept.
scenario_a_program_directory_that_cannot_be_written() {
    new_program_dir read-only
    add_decoder flac
    write_script "$MUSIC/A/one.wav" "m* verdict=cdda:71"
    write_script "$MUSIC/A/two.flac" "m* verdict=cdda:73"
    write_script "$MUSIC/B/stuck.wav" "m* hang"
    write_script "$MUSIC/C/held.wav" "m* hang"
    reg_set_dword "Detect Pass Timeout" 2
    local mount="$E2E_SCRATCH/read-only/mount" stamp
    mkdir -p "$mount"
    mount -t tmpfs -o size=16m tmpfs "$mount" 2>/dev/null ||
        { echo "    skipped: this machine does not allow mounting a read-only file system"; return; }
    cp -r "$PROG"/. "$mount"/ && mount -o remount,ro "$mount" || fail "cannot make the program directory read-only"
    PROG=$mount PROGW=$(winpath "$mount")
    start_quorvane "$(winpath "$MUSIC/A")" "$(winpath "$MUSIC/B")" "$(winpath "$MUSIC/C")"
    expect_eq "$(printf 'Quorvane\tSYSLOG OPEN ERROR')" "$(probe answer ok --timeout 30)" "System.log box"
    expect_eq "$(printf 'Quorvane\tDETECT OPEN ERROR 1')" "$(probe box --timeout 60)" "Detect.log box"
    probe send WM_NULL 0 0 >/dev/null || fail "the window does not answer while the box is open"
    stamp=$(reg_get "Process Timestamp")
    wait_until 15 eval '[ "$(reg_get "Process Timestamp")" != "$stamp" ]' || fail "no heartbeat while the box is open"
    probe answer ok >/dev/null
    wait_until 60 test -f "$MUSIC/A/kelvra.072.log" || fail "no result log"
    ! probe box --timeout 1 >/dev/null 2>&1 || fail "a second box for the same log"
    expect_file_has "$MUSIC/A/kelvra.072.log" "two.flac" "the decoded file's row"
    wait_until 120 stuck_row_written || fail "twelve timed-out passes: no row for stuck.wav"
    wait_until 30 standin_running held.wav || fail "the queue stuck behind a never-ending detector"
    wait_until 5 eval '! standin_running stuck.wav' || fail "a timed-out detector still runs"
    exit_keeping_a_queue_that_cannot_be_saved
    wait_quorvane_exit 25
    umount "$mount" || fail "cannot unmount $mount"
}
