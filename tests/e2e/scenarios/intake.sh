# Getting files in: second starts, exits and restarts, a large tree.

scenario_a_second_start_hands_its_files_to_the_running_instance() {
    new_program_dir second-start
    local first="$PROG" firstw="$PROGW" other="$E2E_SCRATCH/second-start/other"
    reg_set_dword "Paused" 1
    start_quorvane
    wait_status_window || fail "first instance has no window"
    write_script "$MUSIC/A/one.wav" "m* verdict=cdda:81"
    write_script "$MUSIC/B/two.wav" "m* verdict=cdda:82"
    # A second copy elsewhere, started from yet another current directory, one path relative to it.
    mkdir -p "$other/wav" && cp "$E2E_BIN/Quorvane.exe" "$other/" && cp "$E2E_DETECTOR" "$other/aucdtect.exe"
    # The instance lock decides, not the record: with a stale stamp and no process named (held still, the
    # running instance cannot heal it), the second start waits, and hands over after the next heartbeat.
    kill -STOP "$QV_PID" && reg_set_dword "Process Timestamp" 1 && reg_set_dword "Process ID" 0
    (cd "$MUSIC" && exec timeout 60 wine "$other/Quorvane.exe" "A\\one.wav" "$(winpath "$MUSIC/B")" >/dev/null 2>&1) &
    local second=$!
    wait_until 30 file_has "$other/System.log" "Waiting for the running instance to start up" ||
        fail "no waiting start's line"
    kill -CONT "$QV_PID" && wait "$second" || fail "second start did not end"
    wait_until 15 probe wait-text 1010 "2 files" --timeout 1 || fail "files not handed over: $(probe text 1010)"
    expect_file_has "$other/System.log" "Program already running [$firstw]" "second start's line"
    expect_file_lacks "$first/System.log" "Program already running" "running instance's log"
    expect_none "hand-off file left" "$first"/Queue_* "$other"/Queue_*
    probe click 1003 >/dev/null # resume
    wait_until 30 file_has "$first/Detect.log" "$(winpath "$MUSIC/B/two.wav")" || fail "handed files not checked"
    expect_file_has "$first/Detect.log" " -  81% [2/2] $(winpath "$MUSIC/A/one.wav")" "relative path made absolute"

    probe click 1000 >/dev/null && wait_until 5 hidden || fail "Hide did not hide"
    (cd "$MUSIC" && timeout 20 wine "$first/Quorvane.exe" >/dev/null 2>&1) || fail "empty second start did not end"
    visible 10 || fail "an empty second start did not show the running instance's window"
    # The running instance may still be writing its own lines: look for the second start's lines only.
    wait_until 10 file_has "$first/System.log" "Program already running [$firstw]" || fail "empty second start's line"
    expect_eq 1 "$(grep -c "Done" "$first/System.log")" "the empty second start ended alone"
    expect_none "empty second start wrote a hand-off file" "$first"/Queue_*

    # A hand-off file goes only once the saved queue holds its rows (a kill then loses none): while the queue
    # file cannot be written, it stays.
    write_script "$MUSIC/C/slow.wav" "m* sleep=60000 verdict=cdda:83"
    rm -f "$first/Queue.log" && mkdir "$first/Queue.log"
    (cd "$MUSIC" && timeout 20 wine "$first/Quorvane.exe" "C\\slow.wav" >/dev/null 2>&1) || fail "third start"
    wait_until 15 probe wait-text 1010 "1 file" --timeout 1 || fail "hand-off file not picked up"
    compgen -G "$first/Queue_*.log" >/dev/null || fail "a hand-off file deleted while the queue could not be saved"
}

scenario_each_exit_answer_and_the_next_start_finishing_the_directory() {
    new_program_dir restart
    local a="$MUSIC/A" b="$MUSIC/B" f
    write_script "$a/1.wav" "m* verdict=cdda:90"
    write_script "$a/2.wav" "m* sleep=20000 verdict=cdda:70" # in work at the exit, however slow the clicks
    for f in 3 4 5 6; do write_script "$b/$f.wav" "m* verdict=cdda:50"; done
    write_queue_file "$PROG/Queue.log" "$a/1.wav" "$a/2.wav" "$b"/{3,4,5,6}.wav
    start_quorvane
    wait_until 60 file_has "$PROG/Detect.log" "1.wav" || fail "first file not checked"
    probe click 1001 >/dev/null
    expect_eq "$(printf 'Confirm exit\tErase 5 entries from detector queue?')" \
        "$(probe answer cancel --caption "Confirm exit")" "exit question"
    probe screenshot-ready >/dev/null || fail "Cancel ended the program"
    exit_and_wait no || return
    expect_eq "5 $(winpath "$a/2.wav")" "$(queue_rows "$PROG/Queue.log" | wc -l) $(queue_rows "$PROG/Queue.log" |
        head -1 | cut -f3)" "saved queue: five rows, the file in work first"
    expect_file_has "$PROG/Recent.log" "90	2	2	1.wav" "saved result row"
    start_quorvane
    wait_until 90 test -f "$b/kelvra.050.log" || fail "resumed queue not finished"
    expect_eq "01   1.wav    90%|02   2.wav    70%" "$(grep '^0' "$a/kelvra.080.log" | tr -d '\r' | paste -sd '|')" \
        "the interrupted directory's log: the restored row and the resumed file"
    exit_and_wait yes
    expect_none "queue or results kept after Yes" "$PROG/Queue.log" "$PROG/Recent.log"

    # Paused as stored, before the worker takes the saved queue's head (0 kB); once a checkpoint has rewritten
    # the queue file, only the exit brings it back.
    reg_set_dword "Paused" 1
    write_script "$b/7.wav" "m* verdict=cdda:50"
    QUEUE_KB=0 write_queue_file "$PROG/Queue.log" "$b/7.wav"
    start_quorvane
    wait_until 30 probe wait-text 1010 "1 file" --timeout 1 || fail "queue field: $(probe text 1010)"
    expect_eq "Paused Resume N/A 7.wav" "$(echo $(probe text 1009) $(probe text 1003) $(probe text 1016) \
        $(probe text 1012))" "status, button, head size and head file"
    expect_file_lacks "$PROG/System.log" "Checking $(winpath "$b/7.wav")" "a file started before the stored pause"
    wait_until 30 eval '[ -f "$PROG/Queue.log" ] && ! file_has "$PROG/Queue.log" "; 2026-01-01 00:00:00"' ||
        fail "no checkpoint"
    rm -f "$PROG/Queue.log" && probe click 1001 >/dev/null
    expect_eq "$(printf 'Confirm exit\tErase last entry from detector queue?')" \
        "$(probe answer no --caption "Confirm exit")" "one entry"
    wait_quorvane_exit 20
    expect_eq "0	wav	$(winpath "$b/7.wav")" "$(queue_rows "$PROG/Queue.log")" "the queue saved at exit"
}

# A dropped tree and a tree on the command line are listed by the same intake thread; the window must answer
# throughout (it once stalled for the whole listing, and the heartbeat with it).
scenario_a_hundred_thousand_file_tree_is_listed_while_the_window_answers() {
    new_program_dir big-tree
    reg_set_dword "Paused" 1
    local tree="$MUSIC/Tree" d answers longest
    for d in $(seq 0 1999); do mkdir -p "$tree/d$d" && (cd "$tree/d$d" && touch f{00..49}.wav); done
    touch "$tree/not-audio.mp3" "$tree/d7/no-extension"
    start_quorvane "$tree"
    wait_status_window || fail "no window while the tree is listed"
    answers=$(probe answer-times 4 --timeout 5)
    echo "    window while listing 100000 files: $answers"
    longest=$(echo "$answers" | awk '{ print $2 }')
    [ "${longest:-99999}" -lt 500 ] || fail "the window stalled while listing: $answers"
    wait_until 90 probe wait-text 1010 "100000 files" --timeout 1 || fail "queue field: $(probe text 1010)"
    echo "    the same window at rest: $(probe answer-times 2 --timeout 5)"
    expect_eq "100000 files" "$(probe text 1010)" "queue field after the listing, other types left out"
    exit_and_wait yes 30
}
