# Hostile detectors and state files that cannot be written.

scenario_hostile_detectors_and_unwritable_state_files() {
    new_program_dir hostile
    local d="$MUSIC/A"
    write_script "$d/crash.wav" "m* crash"
    write_script "$d/garbage.wav" "m* text=This track looks like CDDA with probabilityxx%%%" "m1 verdict=none"
    write_script "$d/flood.wav" "m* noise=10485760 verdict=cdda:70"
    write_script "$d/after.wav" "m* verdict=cdda:80"
    write_queue_file "$PROG/Queue.log" "$d/crash.wav" "$d/garbage.wav" "$d/flood.wav" "$d/after.wav"
    start_quorvane
    wait_until 120 file_has "$PROG/Detect.log" "after.wav" || fail "queue did not get past hostile detectors"
    expect_file_has "$PROG/Detect.log" " -  -1% [0/12] $(winpath "$d/crash.wav")" "crashing detector"
    expect_file_has "$PROG/Detect.log" " -  70% [2/2] $(winpath "$d/flood.wav")" "10 MiB before the verdict"
    exit_quorvane yes
    wait_quorvane_exit 20

    # State files that cannot be written (directories stand in their places): logged, never fatal.
    mkdir -p "$PROG/Queue.log" "$PROG/Recent.log" "$PROG/Estimate.log"
    write_script "$d/slow.wav" "m* sleep=20000 verdict=cdda:50"
    start_quorvane "$(winpath "$d/slow.wav")"
    wait_until 20 probe wait-text 1009 "Checking (Pass 1)" --timeout 1 || fail "not checking"
    exit_quorvane no
    wait_quorvane_exit 25 || return
    expect_file_has "$PROG/System.log" "Cannot write $PROGW\\Queue.log" "queue write failure logged"
    expect_file_has "$PROG/System.log" "Worker thread finished normally" "orderly end"
}
