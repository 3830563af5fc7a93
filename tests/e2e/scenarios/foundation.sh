# Start-up without a detector; passes, verdicts and result logs; pause, the tray menu and exit during a pass.

scenario_missing_detector_ends_after_the_message() {
    new_program_dir missing-detector
    rm "$PROG/aucdtect.exe"
    start_quorvane
    expect_eq "$(printf 'Quorvane\tMissing file:\\n\\n%s\\aucdtect.exe' "$PROGW")" \
        "$(probe box --caption Quorvane --timeout 20)" "missing-file box"
    probe answer ok --caption Quorvane >/dev/null
    wait_quorvane_exit 15 || return
    expect_eq " - Quorvane v0.33" "$(log_bodies "$PROG/System.log")" "System.log: the title line alone"
    expect_none "a detect log" "$PROG/Detect.log"
}

# Passes side by side give the lines and logs of passes one at a time; menu commands are posted as the menu does.
scenario_verdicts_result_logs_pause_from_the_menu_and_exit_during_passes() {
    new_program_dir verdicts
    local a="$MUSIC/A" slow="$MUSIC/S/slow.wav" one="$MUSIC/A/one.wav" two="$MUSIC/A/two.wav"
    local three="$MUSIC/B/three.wav" hang="$MUSIC/H/hang.wav"
    write_script "$slow" "m* sleep=10000 verdict=cdda:90" # long enough for the probe's clicks on a busy machine
    write_script "$one" "m0 sleep=1500 verdict=cdda:97" "m1 verdict=mpeg:80"
    write_script "$two" "m* verdict=none"
    write_script "$three" "m0 verdict=unqualified" "m1 verdict=cdda:100" "m2 verdict=cdda:100"
    write_script "$hang" "m* noise=4096 hang"
    echo old >"$a/kelvra.050.log" # an earlier run's log, which goes
    write_queue_file "$PROG/Queue.log" "$slow" "$one" "$two" "$three" "$hang"
    reg_set_dword "Detect Parallel Passes" 2
    start_quorvane
    wait_until 20 probe wait-text 1009 "Checking (Pass 1-2)" --timeout 1 || fail "passes side by side never shown"
    local shown=$SECONDS
    probe click 1000 >/dev/null # Hide
    probe post WM_COMMAND 88 0 >/dev/null # Pause
    wait_until 10 file_has "$PROG/System.log" "Suspending worker thread" || fail "child not suspended"
    probe post WM_COMMAND 87 0 >/dev/null # Show
    visible 5 || fail "Show did not show"
    expect_eq "Paused Resume" "$(probe text 1009) $(probe text 1003)" "status and button follow the menu"
    # The point of the test: past the passes' own 10 s, a suspended detector must not have finished.
    local left=$((shown + 12 - SECONDS))
    [ "$left" -le 0 ] || sleep "$left"
    expect_file_lacks "$PROG/Detect.log" "slow.wav" "pass finished while suspended"
    probe post WM_COMMAND 91 0 >/dev/null # Normal priority
    wait_until 10 file_has "$PROG/System.log" "Entering NORMAL priority level" || fail "Normal not applied"
    probe post WM_APP+6 95 0 >/dev/null # refused, or it is saved at exit in place of Normal
    probe post WM_COMMAND 86 0 >/dev/null # About
    visible 10 --window "About Quorvane" || fail "About from the menu"
    probe click 1006 --window "About Quorvane" >/dev/null
    probe click 1003 >/dev/null # Resume
    wait_until 90 standin_running hang.wav || fail "the last file never started"
    wait_until 10 test -f "$PROG/KelvrA_"*.log || true
    expect_eq "$(printf ' - %3s%% [%s] %s\n' 90 2/2 "$(winpath "$slow")" 59 2/2 "$(winpath "$one")" \
        -1 0/12 "$(winpath "$two")" 100 2/3 "$(winpath "$three")")" "$(log_bodies "$PROG/Detect.log" | grep '%')" \
        "Detect.log verdict lines"
    expect_eq 12 "$(grep -cF "Checking $(winpath "$two") pass" "$PROG/System.log")" "pass lines of a file without verdict"
    # The detector's exact command line and current directory, as the stand-in recorded them.
    expect_file_has "$PROG/standin-calls.txt" "\"$PROGW\\aucdtect.exe\" -m1 \"$(winpath "$one")\"	$PROGW" \
        "detector command line"
    expect_eq "$(printf '%s\r\n' "Quorvane by the Quorvane developers v0.33 *** BETA ***" "" "Directory: A" "" \
        "01   one.wav    59%" "02   two.wav    N/A  (0/12 pass)" "" "Total file(s): 2" "Unknown file(s): 1" "" \
        "Summary: 59% CDDA")" "$(sed 2d "$a/kelvra.059.log")" "result log"
    expect_eq "kelvra.059.log one.wav two.wav" "$(cd "$a" && echo *)" "files of A"
    expect_file_has "$MUSIC/B/kelvra.100.log" "01   three.wav   100%  (2/3 pass)" "result row with its passes"
    probe post WM_COMMAND 85 0 >/dev/null # Exit
    probe answer no --caption "Confirm exit" >/dev/null || fail "no exit question from the menu"
    wait_quorvane_exit 25 || return
    expect_eq 2 "$(grep -c "Terminating process" "$PROG/System.log")" "both passes terminated"
    expect_eq "$(winpath "$hang")" "$(queue_rows "$PROG/Queue.log" | cut -f3)" "the entry in work is kept"
    expect_none "scratch files left" "$PROG"/KelvrA_*
    wait_until 5 eval '! standin_running' || fail "detector still running after exit"
    expect_eq "0x5b" "$(reg_get Priority)" "priority saved"
    expect_file_lacks "$PROG/System.log" "Unknown priority level" "an unknown level reached the worker"
}
