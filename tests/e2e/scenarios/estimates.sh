# Learned time estimates across two runs.

# Seconds shown in an estimate field ("Almost" is 1, "mm:ss" otherwise); nothing for other texts.
field_seconds() {
    [ "$1" = Almost ] && echo 1 || [[ ! "$1" =~ ^([0-9]+):([0-9]+)$ ]] ||
        echo $((10#${BASH_REMATCH[1]} * 60 + 10#${BASH_REMATCH[2]}))
}

scenario_estimates_learned_in_one_run_are_what_the_next_run_shows() {
    new_program_dir estimates
    local d="$MUSIC/A" n row count min_size min_time max_size max_time total_size total_time
    for n in 1 2 3; do write_script "$d/$n.wav" "m* sleep=${n}000 verdict=cdda:90"; done
    QUEUE_KB="100 200 300" write_queue_file "$PROG/Queue.log" "$d/1.wav" "$d/2.wav" "$d/3.wav"
    # Both passes of a file side by side: a file takes as long as one of its passes.
    reg_set_dword "Detect Parallel Passes" 2
    start_quorvane
    wait_until 90 test -f "$d/kelvra.090.log" || fail "first run did not finish"
    exit_and_wait yes
    row=$(grep -P '^wav\t' "$PROG/Estimate.log" | tr -d '\r')
    IFS=$'\t' read -r _ count min_size min_time max_size max_time total_size total_time <<<"$row"
    expect_eq "3 100 300 600" "$count $min_size $max_size $total_size" "Estimate.log record"
    [ "$min_time" -ge 1 ] && [ "$max_time" -ge 3 ] && [ "$total_time" -ge $((min_time + max_time)) ] ||
        fail "times in the record: $row"

    # Second run, intelligent estimate (level 3): a hanging head of 150 kB and a queued file of 250 kB.
    reg_set_dword "Use Intelligent ETA" 1
    write_script "$d/head.wav" "m* sleep=600000 verdict=cdda:90"
    write_script "$d/queued.wav" "m* verdict=cdda:90"
    QUEUE_KB="150 250" write_queue_file "$PROG/Queue.log" "$d/head.wav" "$d/queued.wav"
    start_quorvane
    wait_until 20 first_pass_shown || fail "second run not checking"
    # The queued rest: the type's whole queued size (400 kB) as one file, extrapolated from mean and largest.
    local avg_time=$(((total_time + 1) / 3)) eta total tries
    local expected_rest=$(((50 + max_time * (400 - 200) + avg_time * (300 - 400)) / 100))
    local expected_current=$(((50 + min_time * (200 - 150) + avg_time * (150 - 100)) / 100))
    for tries in 1 2 3 4 5 6 7 8 9 10; do # the current estimate counts down: both fields from the same second
        eta=$(probe text 1013) total=$(probe text 1011)
        [ "$eta" = "$(probe text 1013)" ] && break
    done
    eta=$(field_seconds "$eta") total=$(field_seconds "$total")
    [ -n "$eta" ] && [ -n "$total" ] || { fail "estimate fields read $(probe text 1013) / $(probe text 1011)"; return; }
    expect_eq "$expected_rest" "$((total - eta))" "queued estimate (total $total s, current $eta s)"
    [ "$eta" -le "$expected_current" ] || fail "current estimate $eta s above its sample $expected_current s"
    exit_and_wait yes
}
