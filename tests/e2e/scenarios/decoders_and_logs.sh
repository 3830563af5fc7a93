# Decoders, non-ASCII names, the longest paths, and the registry settings.

scenario_decoders_run_on_non_ascii_names_and_the_settings_are_saved_at_exit() {
    new_program_dir decoding
    add_decoder flac
    mkdir -p "$PROG/ape" # no mac.exe: no ape row, but the registry value is written
    local d="$MUSIC/Ünïcödé"
    local f="$d/Ωmega.flac" bad="$d/bad.flac" wav="$d/東京の夜 - Fjörd.wav" ape="$d/other.ape"
    write_script "$f" "m* verdict=cdda:93"
    write_script "$bad" "decoder exit=3 output=none" "m* verdict=cdda:99"
    write_script "$wav" "m* verdict=cdda:88"
    write_script "$ape" "m* verdict=cdda:10"
    # A path of 259 bytes, the longest that Windows paths hold, goes all the way through.
    local deep="$MUSIC/$(printf 'd%.0s' {1..80})/$(printf 'e%.0s' {1..80})" long
    long="$deep/$(printf 'n%.0s' $(seq $((254 - $(winpath "$deep" | wc -c))))).wav"
    write_script "$long" "m* verdict=cdda:59"
    expect_eq 259 "$(winpath "$long" | wc -c)" "the test's own path length"
    write_queue_file "$PROG/Queue.log" "$long" "$f" "$bad" "$wav" "$ape"
    start_quorvane
    wait_until 60 test -f "$d/kelvra.091.log" || fail "no result log: $(ls "$d")"
    expect_file_has "$PROG/Detect.log" " -  59% [2/2] $(winpath "$long")" "verdict of the 259-byte path"
    expect_file_has "$deep/kelvra.059.log" "01   $(basename "$long")" "result log beside the 259-byte path"
    local temp
    temp=$(grep -o 'KelvrA_[0-9_]*\.tmp' "$PROG/standin-calls.txt" | head -1)
    expect_file_has "$PROG/flac/standin-calls.txt" \
        "\"$PROGW\\flac\\flac.exe\" -d -f -o  \"$PROGW\\$temp\"   \"$(winpath "$f")\" " "decoder command line"
    expect_file_has "$PROG/standin-calls.txt" "-m0 \"$PROGW\\$temp\"" "detector given the temporary file"
    expect_file_has "$PROG/Detect.log" " -  93% [2/2] $(winpath "$f")" "verdict of the decoded file"
    expect_none "temporary file left" "$PROG/$temp"
    expect_file_has "$PROG/Detect.log" " -  -1% [0/0] $(winpath "$bad")" "failed decoder's verdict"
    expect_file_has "$PROG/System.log" "Decoder failed with exit code 3" "decoder failure line"
    expect_file_lacks "$PROG/System.log" "Checking $(winpath "$bad") pass 1" "no detector pass on failed output"
    expect_eq 2 "$(grep -cE '  (Ωmega.flac|東京の夜 - Fjörd.wav) ' "$d/kelvra.091.log")" "UTF-8 names in the result log"
    expect_file_has "$PROG/System.log" "No decoder for the file type of $(winpath "$ape")" "ape entry dropped"
    local names=("Screen X" "Paused" "Hidden" "Priority" "Use Intelligent ETA" "Save Percent To Logfile Name"
        "ETA Divide Percent Value" "Detect Maximum Total Passes" "History Size" "Detect Parallel Passes")
    expect_eq "" "$(reg_get_all "${names[@]}")" "settings written before the exit"
    exit_and_wait yes
    expect_eq "0x258 0x0 0x0 0x59 0x0 0x1 0x32 0xc 0xa 0x0" "$(reg_get_all "${names[@]}")" "defaults saved at exit"
    expect_eq "0x0" "$(reg_get "Status Dialog ID")" "status window id cleared"
    expect_eq "mac.exe {F} {T} -d|flac.exe -d -f -o {T} {F}" "$(reg_get .ape)|$(reg_get .flac)" "decoder values"
}
