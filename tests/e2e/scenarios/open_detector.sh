# One scenario with our open detector in place of the stand-in, on real audio made here.

scenario_the_open_detector_tells_a_cd_rip_from_an_mp3_transcode() {
    new_program_dir open-detector
    cp "$E2E_BIN/opendetector/aucdtect.exe" "$PROG/aucdtect.exe"
    local cd="$MUSIC/Rip" mp3="$MUSIC/Transcode"
    mkdir -p "$cd" "$mp3"
    # Full-band material: noise-driven percussion under a chord with harmonics up to 20 kHz.
    sox -n -r 44100 -b 16 -c 2 "$cd/full.wav" synth 12 pinknoise vol 0.35 : \
        synth 12 sine 440 sine 1760 sine 7040 sine 14080 sine 19000 vol 0.2 tremolo 3 60 2>/dev/null ||
        { fail "sox could not make the test audio"; return; }
    lame --quiet -b 128 "$cd/full.wav" "$mp3/t.mp3" && lame --quiet --decode "$mp3/t.mp3" "$mp3/transcoded.wav" ||
        { fail "lame could not make the transcode"; return; }
    rm "$mp3/t.mp3"
    write_queue_file "$PROG/Queue.log" "$cd/full.wav" "$mp3/transcoded.wav"
    start_quorvane
    wait_until 120 file_has "$PROG/Detect.log" "transcoded.wav" || fail "files not checked"
    local cd_line mp3_line
    cd_line=$(grep -F "full.wav" "$PROG/Detect.log" | sed -E 's/^.{19} - *(-?[0-9]+)% .*/\1/')
    mp3_line=$(grep -F "transcoded.wav" "$PROG/Detect.log" | sed -E 's/^.{19} - *(-?[0-9]+)% .*/\1/')
    [ -n "$cd_line" ] && [ "$cd_line" -ge 50 ] || fail "CD rip judged ${cd_line:-?}% CDDA"
    [ -n "$mp3_line" ] && [ "$mp3_line" -ge 0 ] && [ "$mp3_line" -lt 50 ] || fail "transcode judged ${mp3_line:-?}% CDDA"
    ls "$cd"/kelvra.*.log >/dev/null 2>&1 || fail "no result log for the rip"
    exit_quorvane yes
    wait_quorvane_exit 20
}
