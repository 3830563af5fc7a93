# Start-up without a detector, detection passes and verdicts, large output, exit and pause during a pass.

scenario_missing_detector_ends_after_the_message() {
    new_program_dir missing-detector
    rm "$PROG/aucdtect.exe"
    start_quorvane
    local box
    box=$(probe box --caption Quorvane --timeout 20)
    expect_eq "$(printf 'Quorvane\tMissing file:\\n\\n%s\\aucdtect.exe' "$PROGW")" "$box" "missing-file box"
    probe answer ok --caption Quorvane >/dev/null
    wait_quorvane_exit 15 || return
    expect_eq "1" "$(grep -c . "$PROG/System.log")" "System.log lines"
    expect_eq "Quorvane v0.33" "$(log_bodies "$PROG/System.log" | head -1 | sed 's/^ - //')" "title line"
    expect_no_file "$PROG/Detect.log" "no detect log"
}

scenario_verdicts_of_three_files_in_two_directories() {
    new_program_dir three-files
    local one="$MUSIC/A/one.wav" two="$MUSIC/A/two.wav" three="$MUSIC/B/three.wav"
    write_script "$one" "m0 sleep=1500 verdict=cdda:97" "m1 verdict=mpeg:80"
    write_script "$two" "m* verdict=none"
    write_script "$three" "m0 verdict=unqualified" "m1 verdict=cdda:100" "m2 verdict=cdda:100"
    write_queue_file "$PROG/Queue.log" "$one" "$two" "$three"
    start_quorvane
    wait_until 20 probe wait-text 1009 "Checking (Pass 1)" --timeout 1 || fail "status never showed Checking (Pass 1)"
    wait_until 60 file_line_count_at_least "$PROG/Detect.log" "three.wav" 1 || fail "third file never finished"
    wait_until 10 probe wait-text 1009 "Idle" --timeout 1 || fail "status not Idle after the queue"
    local expected
    expected=$(printf ' -  59%% [2/2] %s\n -  -1%% [0/12] %s\n - 100%% [2/3] %s' \
        "$(winpath "$one")" "$(winpath "$two")" "$(winpath "$three")")
    expect_eq "$expected" "$(log_bodies "$PROG/Detect.log" | grep '%')" "Detect.log verdict lines"
    expect_file_has "$PROG/System.log" "Checking $(winpath "$one") pass 2" "pass line"
    expect_file_has "$PROG/System.log" "Checking $(winpath "$two") pass 12" "twelfth pass line"
    expect_file_lacks "$PROG/System.log" "Checking $(winpath "$two") pass 13" "no thirteenth pass"
    # The detector's exact command line and current directory, as the stand-in recorded them.
    expect_file_has "$PROG/standin-calls.txt" "\"$PROGW\\aucdtect.exe\" -m1 \"$(winpath "$one")\"	$PROGW" \
        "detector command line"
    expect_eq "Empty" "$(probe text 1010)" "queue field"
    exit_quorvane yes
    wait_quorvane_exit 20
    expect_no_file "$PROG/Queue.log" "queue erased on Yes"
}

scenario_megabytes_of_detector_output_before_the_verdict() {
    new_program_dir big-output
    local file="$MUSIC/A/big.wav"
    write_script "$file" "m* noise=3145728 verdict=cdda:88"
    write_queue_file "$PROG/Queue.log" "$file"
    start_quorvane
    wait_until 60 file_has "$PROG/Detect.log" "[2/2] $(winpath "$file")" || fail "verdict after 3 MiB not read"
    expect_file_has "$PROG/Detect.log" " -  88% [2/2] $(winpath "$file")" "verdict value"
    exit_quorvane yes
    wait_quorvane_exit 20
}

scenario_exit_during_a_pass_terminates_the_detector_and_keeps_the_entry() {
    new_program_dir exit-during-pass
    local file="$MUSIC/A/hang.wav"
    write_script "$file" "m* noise=4096 hang"
    write_queue_file "$PROG/Queue.log" "$file"
    start_quorvane
    wait_until 20 standin_running || fail "detector never started"
    wait_until 10 test -f "$PROG/KelvrA_"*.log || true
    exit_quorvane no
    wait_quorvane_exit 25 || return
    expect_file_has "$PROG/System.log" "Terminating process" "terminate line"
    expect_file_has "$PROG/System.log" "Worker thread finished normally" "worker finished"
    expect_file_has "$PROG/Queue.log" "$(winpath "$file")" "entry kept in the saved queue"
    if ls "$PROG"/KelvrA_* >/dev/null 2>&1; then fail "scratch files left: $(ls "$PROG"/KelvrA_*)"; fi
    if standin_running; then fail "detector still running after exit"; fi
}

scenario_pause_suspends_the_pass_and_resume_continues_it() {
    new_program_dir pause-resume
    local file="$MUSIC/A/slow.wav"
    write_script "$file" "m* sleep=2000 verdict=cdda:90"
    write_queue_file "$PROG/Queue.log" "$file"
    start_quorvane
    wait_until 20 probe wait-text 1009 "Checking (Pass 1)" --timeout 1 || fail "first pass never shown"
    probe click 1003 >/dev/null
    wait_until 10 file_has "$PROG/System.log" "Suspending worker thread" || fail "child not suspended"
    expect_eq "Paused" "$(probe wait-text 1009 Paused --timeout 5)" "status while paused"
    # Well past the pass's own 2 s, a suspended detector must not have finished.
    sleep 3
    expect_file_lacks "$PROG/Detect.log" "slow.wav" "pass finished while suspended"
    probe post WM_APP+6 95 0 >/dev/null
    wait_until 10 file_has "$PROG/System.log" "Unknown priority level" || fail "no unknown-priority line"
    probe click 1003 >/dev/null
    wait_until 10 file_has "$PROG/System.log" "Resuming worker thread" || fail "child not resumed"
    wait_until 30 file_has "$PROG/Detect.log" " -  90% [2/2] $(winpath "$file")" || fail "verdict after resume"
    exit_quorvane yes
    wait_quorvane_exit 20
}
