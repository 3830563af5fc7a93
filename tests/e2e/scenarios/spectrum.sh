# Spectrum windows: the open detector's picture of a file from the recent files list, and the message for a file
# deleted meanwhile.

scenario_spectrum_windows_show_the_picture_and_outlive_the_percent_window() {
    real_decoders || return
    new_program_dir spectrum
    cp "$E2E_BIN/opendetector/aucdtect.exe" "$PROG/aucdtect.exe"
    mkdir -p "$PROG/flac" "$MUSIC/Album"
    cp "$DECODERS/flac.exe" "$PROG/flac/"
    local d="$MUSIC/Album"
    sox -n -r 44100 -b 16 -c 2 "$d/b.wav" synth 6 pinknoise vol 0.35 2>/dev/null || { fail "sox failed"; return; }
    flac -s "$d/b.wav" -o "$d/a.flac" || { fail "flac could not encode"; return; }
    # Recent files are those of the directory in progress: a long third file keeps it so while paused.
    sox -n -r 44100 -b 16 -c 2 "$d/c.wav" synth 900 pinknoise vol 0.35 2>/dev/null || { fail "sox failed"; return; }
    write_queue_file "$PROG/Queue.log" "$d/a.flac" "$d/b.wav" "$d/c.wav"
    start_quorvane
    wait_until 120 file_has "$PROG/Detect.log" "b.wav" || { fail "files not checked"; return; }
    probe click 1003 >/dev/null # Pause
    probe wait-text 1009 Paused >/dev/null || fail "not paused"
    rm "$d/b.wav"

    local files="Quorvane - v0.33 - Recent files"
    local flac_window="Quorvane - Spectrum - a.flac" gone_window="Quorvane - Spectrum - b.wav"
    probe click 1015 >/dev/null
    visible 10 --window "$files" || { fail "no recent files window"; return; }
    probe check-layout --window "$files" || fail "recent files layout with the Spectrum button"
    probe key 1052 0x24 --window "$files" >/dev/null # VK_HOME: the first row, a.flac
    probe click 1053 --window "$files" >/dev/null
    probe wait-text 1054 "" --window "$flac_window" --timeout 120 >/dev/null || fail "no picture for the FLAC file"
    shot spectrum-flac "$flac_window"
    probe key 1052 0x28 --window "$files" >/dev/null # VK_DOWN: b.wav, deleted
    probe click 1053 --window "$files" >/dev/null
    probe wait-text 1054 "The file is gone or cannot be read." --window "$gone_window" --timeout 60 >/dev/null ||
        fail "no message for the deleted file"
    shot spectrum-missing "$gone_window"

    probe click 1051 --window "$files" >/dev/null
    probe wait-gone --window "$files" >/dev/null || fail "recent files window did not close"
    visible 5 --window "$flac_window" || fail "the spectrum window closed with the percent window"
    exit_quorvane yes
    wait_quorvane_exit 20
    ! ls "$PROG"/QvSpectrum_* >/dev/null 2>&1 || fail "scratch files left: $(ls "$PROG"/QvSpectrum_*)"
}
