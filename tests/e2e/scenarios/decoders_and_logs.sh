# Decoders, non-ASCII names, and the registry settings.

scenario_decoders_run_with_the_default_command_line_on_non_ascii_names() {
    new_program_dir decoding
    add_decoder flac
    mkdir -p "$PROG/ape" # no mac.exe: no ape row, but the registry value is written
    local d="$MUSIC/Ünïcödé"
    local f="$d/Ωmega.flac" bad="$d/bad.flac" wav="$d/東京の夜 - Fjörd.wav" ape="$d/other.ape"
    write_script "$f" "m* verdict=cdda:93"
    write_script "$bad" "decoder exit=3 output=none" "m* verdict=cdda:99"
    write_script "$wav" "m* verdict=cdda:88"
    write_script "$ape" "m* verdict=cdda:10"
    write_queue_file "$PROG/Queue.log" "$f" "$bad" "$wav" "$ape"
    start_quorvane
    wait_until 60 test -f "$d/kelvra.091.log" || fail "no result log: $(ls "$d")"
    local temp
    temp=$(grep -o 'KelvrA_[0-9]*\.tmp' "$PROG/standin-calls.txt" | head -1)
    expect_file_has "$PROG/flac/standin-calls.txt" \
        "\"$PROGW\\flac\\flac.exe\" -d -f -o  \"$PROGW\\$temp\"   \"$(winpath "$f")\" " "decoder command line"
    expect_file_has "$PROG/standin-calls.txt" "-m0 \"$PROGW\\$temp\"" "detector given the temporary file"
    expect_file_has "$PROG/System.log" "Decompressing $(winpath "$f")" "decompressing line"
    expect_file_has "$PROG/Detect.log" " -  93% [2/2] $(winpath "$f")" "verdict of the decoded file"
    expect_no_file "$PROG/$temp" "temporary file left"
    expect_file_has "$PROG/Detect.log" " -  -1% [0/0] $(winpath "$bad")" "failed decoder's verdict"
    expect_file_has "$PROG/System.log" "Decoder failed with exit code 3" "decoder failure line"
    expect_file_lacks "$PROG/System.log" "Checking $(winpath "$bad") pass 1" "no detector pass on failed output"
    expect_file_has "$d/kelvra.091.log" "Ωmega.flac" "UTF-8 name of the decoded file in the log"
    expect_file_has "$d/kelvra.091.log" "東京の夜 - Fjörd.wav" "UTF-8 name in the log"
    expect_file_lacks "$PROG/Detect.log" "other.ape" "ape file without decoder checked"
    expect_file_has "$PROG/System.log" "No decoder for the file type of $(winpath "$ape")" "ape entry dropped"
    expect_eq "mac.exe {F} {T} -d" "$(reg_get .ape)" ".ape registry value"
    expect_eq "flac.exe -d -f -o {T} {F}" "$(reg_get .flac)" ".flac registry value"
    exit_quorvane yes
    wait_quorvane_exit 20
}

scenario_settings_are_created_loaded_and_saved_back() {
    new_program_dir settings
    local names=("Screen X" "Screen Y" "Paused" "Hidden" "Priority" "Use Intelligent ETA" "Save Logfile To Directory"
        "Save Percent To Logfile Name" "Save Full Directory To Logfile" "Status Dialog Always On Top"
        "ETA Divide Count Exponent" "ETA Divide Percent Value" "ETA Multi Linear Level" "Detect Maximum Total Passes"
        "Detect Minimum Valid Passes" "History Size" "Limit History Size" "Detect Parallel Passes")
    start_quorvane
    wait_until 20 probe wait-text 1009 Idle --timeout 1 || fail "window never came up"
    local name
    for name in "${names[@]}"; do
        [ -z "$(reg_get "$name")" ] || fail "$name written before exit"
    done
    exit_quorvane yes
    wait_quorvane_exit 20
    expect_eq "0x258 0x190 0x0 0x0 0x59 0x0 0x1 0x1 0x0 0x1 0x6 0x32 0x3 0xc 0x2 0xa 0x1 0x0" \
        "$(for name in "${names[@]}"; do reg_get "$name"; done | xargs)" "defaults saved at exit"
    expect_eq "0x0" "$(reg_get "Status Dialog ID")" "status window id cleared"

    # Stored values as loaded: Paused 2 is not paused, a 300-character decoder value reads as empty, and with
    # no percentage in its name the result log leaves an earlier run's log alone.
    reg_set_dword "Paused" 2
    reg_set_dword "Limit History Size" 5
    reg_set_dword "Priority" 95 # stored by hand: the worker is told and logs that it does not know it
    reg_set_dword "Save Percent To Logfile Name" 0
    wine reg add 'HKLM\SOFTWARE\Quorvane' /v .flac /t REG_SZ /d "$(printf 'x%.0s' $(seq 1 300))" /f >/dev/null 2>&1
    add_decoder flac
    local b="$MUSIC/B"
    write_script "$b/y.wav" "m* verdict=cdda:80"
    echo old >"$b/kelvra.050.log"
    start_quorvane "$(winpath "$b")"
    wait_until 60 test -f "$b/kelvra.log" || fail "no kelvra.log"
    wait_queue_done 20
    expect_eq "kelvra.050.log kelvra.log y.wav" "$(cd "$b" && echo *)" "files of B"
    wait_until 10 file_has "$PROG/System.log" "Unknown priority level" || fail "no unknown-priority line"
    exit_quorvane yes
    wait_quorvane_exit 20
    expect_eq "0x0 0x5" "$(reg_get Paused) $(reg_get "Limit History Size")" "Paused and Limit History Size saved back"
    expect_eq "flac.exe -d -f -o {T} {F}" "$(reg_get .flac)" "300-character value read as empty"
}
