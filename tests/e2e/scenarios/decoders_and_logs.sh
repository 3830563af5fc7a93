# Result logs, decoders and the registry settings.

scenario_result_log_reads_exactly_and_carries_the_percentage() {
    new_program_dir result-log
    local d="$MUSIC/Album"
    write_script "$d/one.wav" "m* verdict=cdda:91"
    write_script "$d/two.wav" "m* verdict=none"
    write_script "$d/three.wav" "m* verdict=cdda:100"
    write_queue_file "$PROG/Queue.log" "$d/one.wav" "$d/two.wav" "$d/three.wav"
    start_quorvane
    wait_until 60 test -f "$d/kelvra.096.log" || fail "no kelvra.096.log"
    local expected
    expected=$(printf '%s\r\n' "Quorvane by the Quorvane developers v0.33 *** BETA ***" "" "Directory: Album" "" \
        "01   one.wav      91%" "02   two.wav      N/A  (0/12 pass)" "03   three.wav   100%" "" \
        "Total file(s): 3" "Unknown file(s): 1" "" "Summary: 96% CDDA")
    expect_eq "$expected" "$(result_log_without_stamp "$d/kelvra.096.log")" "result log"
    expect_no_file "$d/kelvra.log" "unrenamed log"
    expect_file_has "$PROG/Detect.log" "Renaming log file to: $(winpath "$d")\\kelvra.096.log" "rename line"
    exit_quorvane yes
    wait_quorvane_exit 20
}

scenario_obsolete_percentage_logs_go_unless_the_name_keeps_no_percentage() {
    new_program_dir obsolete-logs
    local a="$MUSIC/A" b="$MUSIC/B"
    write_script "$a/x.wav" "m* verdict=cdda:80"
    write_script "$b/y.wav" "m* verdict=cdda:80"
    echo old >"$a/kelvra.050.log"
    echo old >"$b/kelvra.050.log"
    write_queue_file "$PROG/Queue.log" "$a/x.wav"
    start_quorvane
    wait_until 60 test -f "$a/kelvra.080.log" || fail "no kelvra.080.log"
    expect_eq "kelvra.080.log x.wav" "$(cd "$a" && echo *)" "files of A"
    exit_quorvane yes
    wait_quorvane_exit 20

    reg_set_dword "Save Percent To Logfile Name" 0
    write_queue_file "$PROG/Queue.log" "$b/y.wav"
    start_quorvane
    wait_until 60 test -f "$b/kelvra.log" || fail "no kelvra.log"
    wait_queue_done 20
    expect_eq "kelvra.050.log kelvra.log y.wav" "$(cd "$b" && echo *)" "files of B"
    exit_quorvane yes
    wait_quorvane_exit 20
}

scenario_flac_is_decoded_with_the_default_command_line() {
    new_program_dir flac-decoding
    add_decoder flac
    mkdir -p "$PROG/ape" # no mac.exe: no ape row, but the registry value is written
    local f="$MUSIC/A/song.flac" a="$MUSIC/A/other.ape"
    write_script "$f" "m* verdict=cdda:93"
    write_script "$a" "m* verdict=cdda:10"
    write_queue_file "$PROG/Queue.log" "$f" "$a"
    start_quorvane
    wait_until 60 file_has "$PROG/Detect.log" "[2/2] $(winpath "$f")" || fail "flac file not checked"
    wait_queue_done 20
    local temp
    temp=$(grep -o 'KelvrA_[0-9]*\.tmp' "$PROG/standin-calls.txt" | head -1)
    expect_file_has "$PROG/flac/standin-calls.txt" "\"$PROGW\\flac\\flac.exe\" -d -f -o  \"$PROGW\\$temp\"   \"$(winpath "$f")\" " \
        "decoder command line"
    expect_file_has "$PROG/standin-calls.txt" "-m0 \"$PROGW\\$temp\"" "detector given the temporary file"
    expect_file_has "$PROG/System.log" "Decompressing $(winpath "$f")" "decompressing line"
    expect_file_has "$PROG/Detect.log" " -  93% [2/2] $(winpath "$f")" "verdict of the decoded file"
    expect_no_file "$PROG/$temp" "temporary file left"
    expect_file_lacks "$PROG/Detect.log" "other.ape" "ape file without decoder checked"
    expect_file_has "$PROG/System.log" "No decoder for the file type of $(winpath "$a")" "ape entry dropped"
    expect_eq "mac.exe {F} {T} -d" "$(reg_get .ape)" ".ape registry value"
    expect_eq "flac.exe -d -f -o {T} {F}" "$(reg_get .flac)" ".flac registry value"
    exit_quorvane yes
    wait_quorvane_exit 20
}

scenario_a_failing_decoder_ends_its_entry_as_unknown_and_the_queue_goes_on() {
    new_program_dir failing-decoder
    add_decoder flac
    local bad="$MUSIC/A/bad.flac" good="$MUSIC/A/good.wav"
    write_script "$bad" "decoder exit=3 output=none" "m* verdict=cdda:99"
    write_script "$good" "m* verdict=cdda:98"
    write_queue_file "$PROG/Queue.log" "$bad" "$good"
    start_quorvane
    wait_until 60 file_has "$PROG/Detect.log" "$(winpath "$good")" || fail "next entry did not go on"
    expect_file_has "$PROG/Detect.log" " -  -1% [0/0] $(winpath "$bad")" "failed decoder verdict"
    expect_file_has "$PROG/System.log" "Decoder failed with exit code 3" "decoder failure line"
    expect_file_lacks "$PROG/System.log" "Checking $(winpath "$bad") pass 1" "no detector pass on failed output"
    exit_quorvane yes
    wait_quorvane_exit 20
}

scenario_an_unwritable_result_log_is_skipped_and_work_goes_on() {
    new_program_dir unwritable-log
    local a="$MUSIC/A" b="$MUSIC/B"
    write_script "$a/x.wav" "m* verdict=cdda:70"
    write_script "$b/y.wav" "m* verdict=cdda:60"
    mkdir -p "$a/kelvra.log" # a directory stands where the log would go
    write_queue_file "$PROG/Queue.log" "$a/x.wav" "$b/y.wav"
    start_quorvane
    wait_until 60 test -f "$b/kelvra.060.log" || fail "next directory's log missing"
    expect_eq "kelvra.log x.wav" "$(cd "$a" && echo *)" "files of A"
    test -d "$a/kelvra.log" || fail "the directory in the way was touched"
    expect_file_has "$PROG/System.log" "Creating log file: $(winpath "$a")\\kelvra.log" "creating line"
    exit_quorvane yes
    wait_quorvane_exit 20
}

scenario_settings_are_created_loaded_and_saved_back() {
    new_program_dir settings
    start_quorvane
    wait_until 20 probe wait-text 1009 Idle --timeout 1 || fail "window never came up"
    local name
    for name in "Screen X" "Screen Y" "Paused" "Hidden" "Priority" "Use Intelligent ETA" "Save Logfile To Directory" \
        "Save Percent To Logfile Name" "Save Full Directory To Logfile" "Status Dialog Always On Top" \
        "ETA Divide Count Exponent" "ETA Divide Percent Value" "ETA Multi Linear Level" \
        "Detect Maximum Total Passes" "Detect Minimum Valid Passes" "History Size" "Limit History Size"; do
        [ -z "$(reg_get "$name")" ] || fail "$name written before exit"
    done
    exit_quorvane yes
    wait_quorvane_exit 20
    expect_eq "0x258 0x190 0x0 0x0 0x59 0x0 0x1 0x1 0x0 0x1 0x6 0x32 0x3 0xc 0x2 0xa 0x1" \
        "$(for name in "Screen X" "Screen Y" "Paused" "Hidden" "Priority" "Use Intelligent ETA" \
            "Save Logfile To Directory" "Save Percent To Logfile Name" "Save Full Directory To Logfile" \
            "Status Dialog Always On Top" "ETA Divide Count Exponent" "ETA Divide Percent Value" \
            "ETA Multi Linear Level" "Detect Maximum Total Passes" "Detect Minimum Valid Passes" "History Size" \
            "Limit History Size"; do reg_get "$name"; done | xargs)" "defaults saved at exit"
    expect_eq "0x0" "$(reg_get "Status Dialog ID")" "status window id cleared"

    reg_set_dword "Paused" 2
    reg_set_dword "Limit History Size" 5
    reg_set_string ".flac" "$(printf 'x%.0s' $(seq 1 300))"
    add_decoder flac
    start_quorvane
    wait_until 20 probe wait-text 1003 Pause --timeout 1 || fail "Paused 2 must load as not paused"
    exit_quorvane yes
    wait_quorvane_exit 20
    expect_eq "0x0" "$(reg_get Paused)" "Paused saved back"
    expect_eq "0x5" "$(reg_get "Limit History Size")" "Limit History Size kept as its number"
    expect_eq "flac.exe -d -f -o {T} {F}" "$(reg_get .flac)" "300-character value read as empty"
}
