# Learned time estimates across two runs.

# Seconds shown in an estimate field ("Almost" is 1, "mm:ss" otherwise).
field_seconds() {
    case "$1" in
        Almost) echo 1 ;;
        [0-9]*:[0-9]*) echo $((10#${1%%:*} * 60 + 10#${1##*:})) ;;
        *) echo "?" ;;
    esac
}

scenario_estimates_learned_in_one_run_are_what_the_next_run_shows() {
    new_program_dir estimates
    local d="$MUSIC/A"
    write_script "$d/small.wav" "m* sleep=1000 verdict=cdda:90"
    write_script "$d/middle.wav" "m* sleep=2000 verdict=cdda:90"
    write_script "$d/large.wav" "m* sleep=3000 verdict=cdda:90"
    QUEUE_KB="100 200 300" write_queue_file "$PROG/Queue.log" "$d/small.wav" "$d/middle.wav" "$d/large.wav"
    # Both passes of a file side by side: a file takes as long as one of its passes.
    reg_set_dword "Detect Parallel Passes" 2
    start_quorvane
    wait_until 90 test -f "$d/kelvra.090.log" || fail "first run did not finish"
    exit_quorvane yes
    wait_quorvane_exit 20
    # The record of the type: count, smallest and largest file with their times, totals.
    local row
    row=$(grep -P '^wav\t' "$PROG/Estimate.log" | tr -d '\r')
    local count min_size min_time max_size max_time total_size total_time
    IFS=$'\t' read -r _ count min_size min_time max_size max_time total_size total_time <<<"$row"
    expect_eq "3 100 300 600" "$count $min_size $max_size $total_size" "Estimate.log record"
    [ "$min_time" -ge 1 ] && [ "$max_time" -ge 3 ] && [ "$total_time" -ge $((min_time + max_time)) ] ||
        fail "times in the record: $row"
    expect_file_has "$PROG/Estimate.log" "; 1 filetype listed" "count line"

    # Second run, intelligent estimate (level 3): a hanging head of 150 kB and a queued file of 250 kB.
    reg_set_dword "Use Intelligent ETA" 1
    write_script "$d/head.wav" "m* sleep=600000 verdict=cdda:90"
    write_script "$d/queued.wav" "m* verdict=cdda:90"
    QUEUE_KB="150 250" write_queue_file "$PROG/Queue.log" "$d/head.wav" "$d/queued.wav"
    start_quorvane
    wait_until 20 first_pass_shown || fail "second run not checking"
    # The queued rest is the estimate for the type's whole queued size (400 kB) as one file, from the
    # record above: above the mean size, between mean and largest file, extrapolated.
    local avg_time expected_rest expected_current
    avg_time=$(((total_time + 1) / 3))
    expected_rest=$(((50 + max_time * (400 - 200) + avg_time * (300 - 400)) / 100))
    expected_current=$(((50 + min_time * (200 - 150) + avg_time * (150 - 100)) / 100))
    local eta total eta_after tries=0
    while :; do
        eta=$(probe text 1013)
        total=$(probe text 1011)
        eta_after=$(probe text 1013)
        [ "$eta" = "$eta_after" ] && break
        tries=$((tries + 1))
        [ $tries -lt 10 ] || break
    done
    local current_seconds total_seconds
    current_seconds=$(field_seconds "$eta")
    total_seconds=$(field_seconds "$total")
    [ "$current_seconds" != "?" ] && [ "$total_seconds" != "?" ] || fail "estimate fields read $eta / $total"
    expect_eq "$expected_rest" "$((total_seconds - current_seconds))" "queued estimate (total $total, current $eta)"
    [ "$current_seconds" -le "$expected_current" ] || fail "current estimate $eta above its sample $expected_current s"
    exit_quorvane yes
    wait_quorvane_exit 20
}
