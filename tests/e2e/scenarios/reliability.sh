# Reliability: hostile detectors, state files and a program directory that cannot be written, hard kills,
# and starts at the same moment.

# Exits keeping a queue of one file that cannot be saved: the user is told so with a box.
exit_keeping_a_queue_that_cannot_be_saved() {
    exit_quorvane no
    local box
    box=$(probe answer ok --caption Quorvane --timeout 20)
    expect_eq "$(printf 'Quorvane\tCannot write %s\\Queue.log\\n\\nThe queue (1 file) is not kept for the next start.' "$PROGW")" \
        "$box" "the user is told that the queue is lost"
}

# Crashing, garbled and flooding detectors and a result log that cannot be written; then never-ending detectors
# and state files that cannot be written (directories stand in their places): each is logged and never fatal.
scenario_hostile_detectors_and_unwritable_logs() {
    new_program_dir hostile
    local d="$MUSIC/A" b="$MUSIC/B"
    write_script "$d/crash.wav" "m* crash"
    write_script "$d/garbage.wav" "m* text=This track looks like CDDA with probabilityxx%%%" "m1 verdict=none"
    write_script "$d/flood.wav" "m* noise=10485760 verdict=cdda:70"
    write_script "$b/after.wav" "m* verdict=cdda:80"
    mkdir -p "$d/kelvra.log"
    write_queue_file "$PROG/Queue.log" "$d/crash.wav" "$d/garbage.wav" "$d/flood.wav" "$b/after.wav"
    # What the stand-in does, so that the checks below cannot pass on a stand-in that does less.
    local flood
    flood=$(cd "$PROG" && wine aucdtect.exe -m0 "$(winpath "$d/flood.wav")" 2>/dev/null | wc -c)
    [ "$flood" -gt 10485760 ] || fail "the stand-in wrote only $flood bytes"
    start_quorvane
    wait_until 150 test -f "$b/kelvra.080.log" || fail "queue did not get past hostile detectors"
    expect_file_has "$PROG/Detect.log" " -  -1% [0/12] $(winpath "$d/crash.wav")" "crashing detector"
    expect_file_has "$PROG/Detect.log" " -  70% [2/2] $(winpath "$d/flood.wav")" "10 MiB before the verdict"
    expect_file_has "$PROG/System.log" "Creating log file: $(winpath "$d")\\kelvra.log" "creating line"
    expect_eq "crash.wav flood.wav garbage.wav kelvra.log" "$(cd "$d" && echo *)" "files of A"
    test -d "$d/kelvra.log" || fail "the directory in the way was touched"
    exit_quorvane yes
    wait_quorvane_exit 20

    reg_set_dword "Detect Pass Timeout" 2
    rm -f "$PROG/Queue.log" "$PROG/Recent.log" "$PROG/Estimate.log"
    mkdir "$PROG/Queue.log" "$PROG/Recent.log" "$PROG/Estimate.log"
    write_script "$d/stuck.wav" "m* hang"
    write_script "$d/held.wav" "m* hang"
    start_quorvane "$(winpath "$d/stuck.wav")" "$(winpath "$d/held.wav")"
    wait_until 120 file_has "$PROG/System.log" "Checking $(winpath "$d/held.wav") pass 1" ||
        fail "queue stuck behind a hanging detector"
    expect_file_has "$PROG/Detect.log" " -  -1% [0/12] $(winpath "$d/stuck.wav")" "twelve timed-out passes"
    [ "$(grep -c "Pass timed out after 2 sec" "$PROG/System.log")" -ge 12 ] || fail "timeout lines"
    wait_until 5 eval '! standin_running stuck.wav' || fail "a timed-out detector still runs"
    exit_keeping_a_queue_that_cannot_be_saved
    wait_quorvane_exit 25 || return
    expect_file_has "$PROG/System.log" "Cannot write $PROGW\\Queue.log" "queue write failure logged"
    expect_file_has "$PROG/System.log" "Worker thread finished normally" "orderly end"
    expect_eq "0x2" "$(reg_get "Detect Pass Timeout")" "timeout kept in the registry"
}

# Starts Quorvane once per argument, all at the same moment; STARTED_PIDS holds the Wine processes.
start_together() { # arguments...
    local gate="$PROG/start-gate" argument
    rm -f "$gate"
    STARTED_PIDS=()
    for argument in "$@"; do
        (cd "$PROG" && while [ ! -e "$gate" ]; do sleep 0.01; done &&
            exec wine "$PROG/Quorvane.exe" "$argument" >>"$WINE_OUTPUT" 2>&1) &
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

# Files of the list that have no verdict line in Detect.log and do not stand in the saved queue.
lost_files() { # files...
    local f
    for f in "$@"; do winpath "$f"; echo; done |
        awk -v detect="$PROG/Detect.log" -v queue="$PROG/Queue.log" '
            BEGIN {
                while ((getline line < detect) > 0) { sub(/\r$/, "", line); if (match(line, /\[2\/2\] /)) seen[substr(line, RSTART + RLENGTH)] = 1 }
                while ((getline line < queue) > 0) { sub(/\r$/, "", line); n = split(line, field, "\t"); if (n >= 3) seen[field[3]] = 1 }
            }
            !($0 in seen) { print }'
}

# A hard kill (the whole Wine session, as a power cut would) at a random moment of each of 20 starts of an
# 80-file run: after every kill, each file has its verdict or is in the saved queue.
scenario_hard_kills_at_random_moments_lose_no_file() {
    new_program_dir random-kills
    local i files=() round lost
    for i in $(seq 1 80); do
        files+=("$MUSIC/D$((i / 10))/f$i.wav")
        write_script "${files[-1]}" "m* verdict=cdda:90"
    done
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
    echo "    $(grep -c '\[2/2\]' "$PROG/Detect.log" 2>/dev/null) of 80 files checked before the last start"
    start_quorvane
    wait_queue_done 300 || fail "the rest of the queue was not finished"
    exit_quorvane yes
    wait_quorvane_exit 20
    lost=$(lost_files "${files[@]}")
    [ -z "$lost" ] || fail "never checked: $(echo "$lost" | wc -l) files, first $(echo "$lost" | head -1)"
}

heartbeat_since() { [ "$(reg_get "Process Timestamp")" != "$1" ]; } # stamp

# Installed where its user may not write, the program still checks files: one box per log it cannot
# open, while which the window, the checkpoints and the heartbeat go on; scratch files in the temporary
# directory, its own files listed in memory, result logs written beside the music, and a box when the kept
# queue cannot be saved.
scenario_a_program_directory_that_cannot_be_written() {
    new_program_dir read-only
    add_decoder flac
    write_script "$MUSIC/A/one.wav" "m* verdict=cdda:71"
    write_script "$MUSIC/A/two.flac" "m* verdict=cdda:73"
    write_script "$MUSIC/B/slow.wav" "m* sleep=60000 verdict=cdda:50"
    local mount="$E2E_SCRATCH/read-only/mount"
    mkdir -p "$mount"
    if ! mount -t tmpfs -o size=16m tmpfs "$mount" 2>/dev/null; then
        echo "    skipped: this machine does not allow mounting a read-only file system"
        return
    fi
    cp -r "$PROG"/. "$mount"/
    mount -o remount,ro "$mount" || fail "cannot make the program directory read-only"
    PROG=$mount
    PROGW=$(winpath "$mount")
    start_quorvane "$(winpath "$MUSIC/A")" "$(winpath "$MUSIC/B")"
    expect_eq "$(printf 'Quorvane\tSYSLOG OPEN ERROR')" "$(probe answer ok --timeout 30)" "System.log box"
    expect_eq "$(printf 'Quorvane\tDETECT OPEN ERROR 1')" "$(probe box --timeout 60)" "Detect.log box"
    probe send WM_NULL 0 0 >/dev/null || fail "the window does not answer while the box is open"
    local stamp
    stamp=$(reg_get "Process Timestamp")
    wait_until 15 heartbeat_since "$stamp" || fail "the heartbeat stopped while the box is open"
    probe answer ok >/dev/null
    wait_until 60 test -f "$MUSIC/A/kelvra.072.log" || fail "no result log"
    ! probe box --timeout 1 >/dev/null 2>&1 || fail "a second box for the same log"
    expect_file_has "$MUSIC/A/kelvra.072.log" "two.flac" "the decoded file's row"
    wait_until 20 first_pass_shown || fail "slow file not in work"
    exit_keeping_a_queue_that_cannot_be_saved
    wait_quorvane_exit 25
    umount "$mount" || fail "cannot unmount $mount"
}
