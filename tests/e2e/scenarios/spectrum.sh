# Spectrum windows: the open detector's picture of a file from the recent files list, of any file chosen in the
# Open dialog from the recent directories list, and the message for a file deleted meanwhile.

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
    mkdir -p "$MUSIC/Other"
    sox -n -r 44100 -b 16 -c 2 "$MUSIC/Other/d.wav" synth 6 pinknoise vol 0.35 2>/dev/null || { fail "sox failed"; return; }
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

    # Nothing selected in the recent directories: the Open dialog chooses any file.
    local dirs="Quorvane - v0.33 - Recent directories" chosen_window="Quorvane - Spectrum - d.wav"
    probe click 1014 >/dev/null
    visible 10 --window "$dirs" || { fail "no recent directories window"; return; }
    probe click 1053 --window "$dirs" >/dev/null
    visible 20 --window "Open" || { fail "no Open dialog"; return; }
    probe set-text 1148 "$(winpath "$MUSIC/Other/d.wav")" --window "Open" >/dev/null || fail "no file name in the Open dialog"
    shot spectrum-open-dialog "Open"
    probe click 1 --window "Open" >/dev/null
    probe wait-gone --window "Open" >/dev/null || fail "the Open dialog did not close"
    probe wait-text 1054 "" --window "$chosen_window" --timeout 120 >/dev/null || fail "no picture for the chosen file"
    shot spectrum-chosen "$chosen_window"
    probe click 1051 --window "$dirs" >/dev/null
    probe wait-gone --window "$dirs" >/dev/null || fail "recent directories window did not close"
    exit_quorvane yes
    wait_quorvane_exit 20
    ! ls "$PROG"/QvSpectrum_* >/dev/null 2>&1 || fail "scratch files left: $(ls "$PROG"/QvSpectrum_*)"
}
