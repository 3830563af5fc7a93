# Getting files in: listing, second starts, exits and restarts, long paths.

scenario_a_directory_argument_is_listed_subdirectories_first_with_sizes() {
    new_program_dir listing
    add_decoder flac
    reg_set_dword "Paused" 1 # keep everything queued, so the saved queue shows what was listed
    local lib="$MUSIC/Lib"
    padded_script "$lib/zero.wav" 0
    padded_script "$lib/small.wav" 1535 "m* verdict=cdda:1"
    padded_script "$lib/two.flac" 1536 "m* verdict=cdda:2"
    write_script "$lib/skip.mp3" "m* verdict=cdda:3"
    write_script "$lib/No.ext.dir/noext" "m* verdict=cdda:4"
    write_script "$lib/Sub/inner.wav" "m* verdict=cdda:5"
    write_script "$lib/Sub/Dëep/東京の夜 - Fjörd.WAV" "m* verdict=cdda:6"
    start_quorvane "$lib"
    wait_until 20 probe wait-text 1010 "5 files" --timeout 1 || fail "queue field: $(probe text 1010)"
    exit_quorvane no
    wait_quorvane_exit 20
    local libw
    libw=$(winpath "$lib")
    # Subdirectories first, deepest first; a directory's own files in any order; no .mp3, no "noext".
    expect_eq "$(printf '%s\n' "1	WAV	$libw\\Sub\\Dëep\\東京の夜 - Fjörd.WAV" "1	wav	$libw\\Sub\\inner.wav" \
        "1	wav	$libw\\small.wav" "2	flac	$libw\\two.flac" "1	wav	$libw\\zero.wav")" \
        "$(queue_rows "$PROG/Queue.log" | sed -n 1,2p; queue_rows "$PROG/Queue.log" | sed -n '3,$p' | sort -t'	' -k3)" \
        "listed rows with their sizes"
    expect_file_has "$PROG/System.log" "File added: $libw\\Sub\\inner.wav" "File added line"
    if ls "$PROG"/Queue_* >/dev/null 2>&1; then fail "hand-off file left: $(ls "$PROG"/Queue_*)"; fi
}

scenario_a_second_start_hands_its_files_to_the_running_instance() {
    new_program_dir second-start
    local first="$PROG" firstw="$PROGW"
    reg_set_dword "Paused" 1
    start_quorvane
    local running_pid=$QV_PID
    wait_status_window || fail "first instance has no window"
    write_script "$MUSIC/A/one.wav" "m* verdict=cdda:81"
    write_script "$MUSIC/B/two.wav" "m* verdict=cdda:82"
    # A second copy in another program directory, started from yet another current directory,
    # one path given relative to it.
    local other="$E2E_SCRATCH/second-start/other"
    mkdir -p "$other/wav"
    cp "$E2E_BIN/Quorvane.exe" "$E2E_DETECTOR" "$other/"
    mv "$other/$(basename "$E2E_DETECTOR")" "$other/aucdtect.exe" 2>/dev/null
    # The instance lock decides, not the record: with a stale stamp and no process named, the second start
    # waits (the running instance is held still, so no heartbeat heals the record before the start reads it),
    # and hands its files over after the running instance's next heartbeat.
    kill -STOP "$running_pid"
    reg_set_dword "Process Timestamp" 1
    reg_set_dword "Process ID" 0
    (cd "$MUSIC" && exec timeout 60 wine "$other/Quorvane.exe" "A\\one.wav" "$(winpath "$MUSIC/B")" >/dev/null 2>&1) &
    local second=$!
    wait_until 30 file_has "$other/System.log" "Waiting for the running instance to start up" ||
        fail "no waiting start's line"
    kill -CONT "$running_pid"
    wait "$second" || fail "second start did not end"
    wait_until 15 probe wait-text 1010 "2 files" --timeout 1 || fail "files not handed over: $(probe text 1010)"
    # The second start logs into its own directory, and hands its files to the running instance's.
    expect_file_has "$other/System.log" "Program already running [$firstw]" "second start's line"
    expect_file_lacks "$first/System.log" "Program already running" "running instance's log"
    if ls "$first"/Queue_* "$other"/Queue_* >/dev/null 2>&1; then fail "hand-off file left"; fi
    probe click 1003 >/dev/null # resume
    wait_until 30 file_has "$first/Detect.log" "$(winpath "$MUSIC/B/two.wav")" || fail "handed files not checked"
    expect_file_has "$first/Detect.log" " -  81% [2/2] $(winpath "$MUSIC/A/one.wav")" "relative path made absolute"

    probe click 1000 >/dev/null # Hide
    wait_until 5 hidden || fail "Hide did not hide"
    (cd "$MUSIC" && timeout 20 wine "$first/Quorvane.exe" >/dev/null 2>&1) || fail "empty second start did not end"
    visible 10 || fail "an empty second start did not show the running instance's window"
    # The running instance may still be writing its own lines: look for the second start's lines only.
    wait_until 10 file_has "$first/System.log" "Program already running [$firstw]" || fail "empty second start's line"
    expect_eq 1 "$(grep -c "Done" "$first/System.log")" "the empty second start ended alone"
    if ls "$first"/Queue_* >/dev/null 2>&1; then fail "empty second start wrote a hand-off file"; fi
    kill -0 "$running_pid" 2>/dev/null || fail "first instance ended"
    QV_PID=$running_pid

    # A hand-off file is deleted only once the saved queue holds its rows: a kill as soon as it is gone
    # loses nothing.
    write_script "$MUSIC/C/slow.wav" "m* sleep=60000 verdict=cdda:83"
    (cd "$MUSIC" && timeout 20 wine "$first/Quorvane.exe" "C\\slow.wav" >/dev/null 2>&1) || fail "third start"
    wait_until 15 eval '! ls "$first"/Queue_*.log >/dev/null 2>&1' || fail "hand-off file not picked up"
    crash_quorvane
    expect_eq "1	wav	$(winpath "$MUSIC/C/slow.wav")" "$(queue_rows "$first/Queue.log")" "saved queue after the kill"
}

scenario_each_exit_answer_and_the_next_start_finishing_the_directory() {
    new_program_dir restart
    local a="$MUSIC/A" b="$MUSIC/B"
    write_script "$a/1.wav" "m* verdict=cdda:90"
    write_script "$a/2.wav" "m* sleep=6000 verdict=cdda:70" # in work at the exit, even with passes side by side
    local f files=("$a/1.wav" "$a/2.wav")
    for f in 3 4 5 6; do
        write_script "$b/$f.wav" "m* verdict=cdda:50"
        files+=("$b/$f.wav")
    done
    write_queue_file "$PROG/Queue.log" "${files[@]}"
    start_quorvane
    wait_until 30 file_has "$PROG/Detect.log" "1.wav" || fail "first file not checked"
    probe click 1001 >/dev/null
    expect_eq "$(printf 'Confirm exit\tErase 5 entries from detector queue?')" \
        "$(probe answer cancel --caption "Confirm exit")" "exit question"
    probe screenshot-ready >/dev/null || fail "Cancel ended the program"
    exit_quorvane no
    wait_quorvane_exit 20 || return
    expect_eq "5" "$(queue_rows "$PROG/Queue.log" | wc -l)" "saved queue rows"
    expect_eq "$(winpath "$a/2.wav")" "$(queue_rows "$PROG/Queue.log" | head -1 | cut -f3)" "file in work saved first"
    expect_file_has "$PROG/Recent.log" "90	2	2	1.wav" "saved result row"

    start_quorvane
    wait_until 60 test -f "$b/kelvra.050.log" || fail "resumed queue not finished"
    expect_file_has "$a/kelvra.080.log" "01   1.wav    90%" "restored row in the interrupted directory's log"
    expect_file_has "$a/kelvra.080.log" "02   2.wav    70%" "resumed file in the same log"
    exit_quorvane yes
    wait_quorvane_exit 20
    expect_no_file "$PROG/Queue.log" "queue after Yes"
    expect_no_file "$PROG/Recent.log" "results after Yes"

    # Paused with a 0 kB head. Once a checkpoint has rewritten the queue file (with a time stamp of its own) and
    # nothing changes, only the exit can bring the file back.
    reg_set_dword "Paused" 1
    QUEUE_KB=0 write_queue_file "$PROG/Queue.log" "$a/1.wav"
    start_quorvane
    wait_until 10 probe wait-text 1010 "1 file" --timeout 1 || fail "queue field: $(probe text 1010)"
    expect_eq "Paused Resume N/A 1.wav" "$(echo $(probe text 1009) $(probe text 1003) $(probe text 1016) \
        $(probe text 1012))" "status, button, head size and head file"
    wait_until 10 eval '[ -f "$PROG/Queue.log" ] && ! file_has "$PROG/Queue.log" "; 2026-01-01 00:00:00"' ||
        fail "no checkpoint"
    rm -f "$PROG/Queue.log"
    probe click 1001 >/dev/null
    expect_eq "$(printf 'Confirm exit\tErase last entry from detector queue?')" \
        "$(probe answer no --caption "Confirm exit")" "one entry"
    wait_quorvane_exit 20
    expect_eq "0	wav	$(winpath "$a/1.wav")" "$(queue_rows "$PROG/Queue.log")" "the queue saved at exit"
}

# A file in DIR whose Windows path is exactly LENGTH bytes long; prints its Unix path.
file_with_path_length() { # dir length
    local stem="$1/n$2_" base
    base=$(winpath "${stem}.wav")
    local pad=$(($2 - ${#base}))
    printf '%s%s.wav' "$stem" "$(printf '%*s' "$pad" '' | tr ' ' x)"
}

scenario_paths_of_259_bytes_are_checked_and_longer_ones_skipped_with_a_line() {
    new_program_dir long-paths
    # Deep enough that a short name brings the path to 259 bytes, while the directory's result log
    # (backslash and a 14-byte name) still fits.
    local dir="$MUSIC" part
    for part in aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa bbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbb \
        cccccccccccccccccccccccccccccccccccccccccccccccccc; do
        dir="$dir/$part"
    done
    local pad=$((225 - $(winpath "$dir" | wc -c)))
    [ "$pad" -gt 0 ] || { fail "scratch root too deep for 259-byte paths: $dir"; return; }
    dir="$dir/$(printf '%*s' "$pad" '' | tr ' ' d)"
    local n f259 f260 f261
    for n in 259 260 261; do
        write_script "$(file_with_path_length "$dir" "$n")" "m* verdict=cdda:59"
    done
    f259=$(file_with_path_length "$dir" 259)
    f260=$(file_with_path_length "$dir" 260)
    f261=$(file_with_path_length "$dir" 261)
    expect_eq 259 "$(winpath "$f259" | wc -c)" "the test's own path length"
    start_quorvane "$(winpath "$dir")" "$(winpath "$f261")"
    expect_eq "$(printf 'Quorvane\tPath too long, skipped:\\n\\n%s' "$(winpath "$f261")")" \
        "$(probe answer ok --caption Quorvane --timeout 30)" "the argument too long to queue"
    wait_until 30 file_has "$PROG/Detect.log" "$(winpath "$f259")" || fail "259-byte path not checked"
    wait_queue_done 30 || fail "queue not done"
    expect_file_has "$PROG/Detect.log" " -  59% [2/2] $(winpath "$f259")" "259-byte path's verdict"
    expect_eq 1 "$(grep -c '\[2/2\]' "$PROG/Detect.log")" "only the 259-byte path was checked"
    expect_file_has "$PROG/System.log" "Path too long, skipped: $(winpath "$f260")" "260 bytes in a scan"
    expect_eq 2 "$(grep -cF "Path too long, skipped: $(winpath "$f261")" "$PROG/System.log")" \
        "261 bytes in the scan and as an argument"
    expect_file_has "$dir/kelvra.059.log" "59%" "the directory's result log"
    exit_quorvane yes
    wait_quorvane_exit 20
}

# A dropped tree and a tree on the command line are listed by the same intake thread; the window must answer
# throughout (it once stalled for the whole listing, and the heartbeat with it).
scenario_a_hundred_thousand_file_tree_is_listed_while_the_window_answers() {
    new_program_dir big-tree
    reg_set_dword "Paused" 1
    local tree="$MUSIC/Tree" d
    for d in $(seq 0 1999); do
        mkdir -p "$tree/d$d"
        (cd "$tree/d$d" && touch f{00..49}.wav)
    done
    start_quorvane "$tree"
    wait_status_window || fail "no window while the tree is listed"
    local answers longest
    answers=$(probe answer-times 4 --timeout 5)
    echo "    window while listing 100000 files: $answers"
    longest=$(echo "$answers" | awk '{ print $2 }')
    [ "${longest:-99999}" -lt 500 ] || fail "the window stalled while listing: $answers"
    wait_until 90 probe wait-text 1010 "100000 files" --timeout 1 || fail "queue field: $(probe text 1010)"
    echo "    the same window at rest: $(probe answer-times 2 --timeout 5)"
    exit_quorvane yes
    wait_quorvane_exit 30
}
