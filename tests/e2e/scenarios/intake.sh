# Getting files in: listing, second starts, restarts, crashes, big hand-offs, non-ASCII names.

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
    write_script "$lib/Sub/Deep/deepest.WAV" "m* verdict=cdda:6"
    start_quorvane "$lib"
    wait_until 20 probe wait-text 1010 "5 files" --timeout 1 || fail "queue field: $(probe text 1010)"
    exit_quorvane no
    wait_quorvane_exit 20
    local libw
    libw=$(winpath "$lib")
    local rows
    rows=$(queue_rows "$PROG/Queue.log")
    expect_eq "1	WAV	$libw\\Sub\\Deep\\deepest.WAV" "$(echo "$rows" | sed -n 1p)" "deepest first"
    expect_eq "1	wav	$libw\\Sub\\inner.wav" "$(echo "$rows" | sed -n 2p)" "then the subdirectory"
    expect_eq "1	wav	$libw\\small.wav
2	flac	$libw\\two.flac
1	wav	$libw\\zero.wav" "$(echo "$rows" | sed -n '3,5p' | sort -t'	' -k3)" "own files with sizes"
    expect_file_lacks "$PROG/Queue.log" "skip.mp3" "refused type"
    expect_file_lacks "$PROG/Queue.log" "noext" "dot in a directory name"
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
    (cd "$MUSIC" && wine "$other/Quorvane.exe" "A\\one.wav" "$(winpath "$MUSIC/B")" >/dev/null 2>&1)
    wait_until 15 probe wait-text 1010 "2 files" --timeout 1 || fail "files not handed over: $(probe text 1010)"
    # The second start logs into its own directory, and hands its files to the running instance's.
    expect_file_has "$other/System.log" "Program already running [$firstw]" "second start's line"
    expect_file_lacks "$first/System.log" "Program already running" "running instance's log"
    if ls "$first"/Queue_* "$other"/Queue_* >/dev/null 2>&1; then fail "hand-off file left"; fi
    probe click 1003 >/dev/null # resume
    wait_until 30 file_has "$first/Detect.log" "$(winpath "$MUSIC/B/two.wav")" || fail "handed files not checked"
    expect_file_has "$first/Detect.log" " -  81% [2/2] $(winpath "$MUSIC/A/one.wav")" "relative path made absolute"

    (cd "$MUSIC" && timeout 20 wine "$first/Quorvane.exe" >/dev/null 2>&1) || fail "empty second start did not end"
    # The running instance may still be writing its own lines: look for the second start's lines only.
    wait_until 10 file_has "$first/System.log" "Program already running [$firstw]" || fail "empty second start's line"
    expect_eq 1 "$(grep -c "Done" "$first/System.log")" "the empty second start ended alone"
    if ls "$first"/Queue_* >/dev/null 2>&1; then fail "empty second start wrote a hand-off file"; fi
    kill -0 "$running_pid" 2>/dev/null || fail "first instance ended"
    QV_PID=$running_pid
    exit_quorvane yes
    wait_quorvane_exit 20
}

scenario_an_exit_keeps_the_queue_and_the_next_start_finishes_the_directory() {
    new_program_dir restart
    local a="$MUSIC/A" b="$MUSIC/B"
    write_script "$a/1.wav" "m* verdict=cdda:90"
    write_script "$a/2.wav" "m* sleep=3000 verdict=cdda:70"
    local f files=("$a/1.wav" "$a/2.wav")
    for f in 3 4 5 6; do
        write_script "$b/$f.wav" "m* verdict=cdda:50"
        files+=("$b/$f.wav")
    done
    write_queue_file "$PROG/Queue.log" "${files[@]}"
    start_quorvane
    wait_until 30 file_has "$PROG/Detect.log" "1.wav" || fail "first file not checked"
    probe click 1001 >/dev/null
    local box
    box=$(probe answer no --caption "Confirm exit")
    expect_eq "$(printf 'Confirm exit\tErase 5 entries from detector queue?')" "$box" "exit question"
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

    write_queue_file "$PROG/Queue.log" "$a/2.wav" "$b/3.wav"
    start_quorvane
    wait_until 30 probe wait-text 1009 "Checking (Pass 1)" --timeout 1 || fail "not checking"
    probe click 1001 >/dev/null
    probe answer yes --caption "Confirm exit" >/dev/null
    wait_quorvane_exit 20
    expect_no_file "$PROG/Queue.log" "queue after Yes"
    expect_no_file "$PROG/Recent.log" "results after Yes"
}

scenario_a_hard_kill_loses_no_queued_file() {
    new_program_dir hard-kill
    queue_generated_files 50 10 "m* sleep=150 verdict=cdda:77"
    start_quorvane
    wait_until 60 file_line_count_at_least "$PROG/Detect.log" "[2/2]" 8 || fail "work did not start"
    sleep 1.5 # let one checkpoint pass after the last verdict seen; the kill must not wait for a clean moment
    crash_quorvane
    local done_before
    done_before=$(grep -c '\[2/2\]' "$PROG/Detect.log")
    [ "$done_before" -lt 50 ] || fail "everything finished before the kill"
    for f in "${FILES[@]}"; do
        if ! grep -qF "$(winpath "$f")" "$PROG/Queue.log" "$PROG/Detect.log"; then
            fail "lost by the kill: $f"
        fi
    done
    finish_queue_and_expect_every_file_checked 120
}

scenario_a_hundred_thousand_row_hand_off_is_picked_up_without_freezing() {
    new_program_dir big-hand-off
    reg_set_dword "Paused" 1
    start_quorvane
    wait_status_window || fail "no window"
    local dirw
    dirw=$(winpath "$MUSIC")
    awk -v d="$dirw" 'BEGIN { printf ";\r\n; Quorvane v0.33\r\n; 2026-01-01 00:00:00\r\n;\r\n";
        for (i = 1; i <= 100000; i++) printf "%d\twav\t%s\\%d\\f%d.wav\r\n", i % 5000 + 1, d, i / 1000, i;
        printf ";\r\n; 100000 files listed\r\n;\r\n" }' >"$PROG/Queue_1_1.log.part"
    mv "$PROG/Queue_1_1.log.part" "$PROG/Queue_1_1.log"
    local started=$SECONDS
    probe post WM_APP+23 0 0 >/dev/null
    wait_until 60 probe wait-text 1010 "100000 files" --timeout 1 || fail "queue field: $(probe text 1010)"
    echo "    picked up 100000 rows in about $((SECONDS - started)) s"
    expect_eq "Paused" "$(probe text 1009)" "window answers"
    expect_no_file "$PROG/Queue_1_1.log" "hand-off file left"
    exit_quorvane yes
    wait_quorvane_exit 30
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

scenario_non_ascii_names_are_listed_checked_and_logged_intact() {
    new_program_dir unicode
    add_decoder flac
    local d="$MUSIC/Ünïcödé"
    write_script "$d/東京の夜 - Fjörd.wav" "m* verdict=cdda:88"
    write_script "$d/Ωmega.flac" "m* verdict=cdda:86"
    start_quorvane "$d"
    wait_until 60 test -f "$d/kelvra.087.log" || fail "no result log: $(ls "$d")"
    expect_file_has "$d/kelvra.087.log" "東京の夜 - Fjörd.wav" "UTF-8 name in the log"
    expect_file_has "$d/kelvra.087.log" "Ωmega.flac" "UTF-8 name of the decoded file"
    expect_file_has "$PROG/Detect.log" "[2/2] $(winpath "$d")\\Ωmega.flac" "detect line"
    exit_quorvane yes
    wait_quorvane_exit 20
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
