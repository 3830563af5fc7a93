# CPU use of a running instance with an empty queue: the refresh timer and the heartbeat only.
# Counts the program's own process and the Wine server that carries its timers.

cpu_ticks() { # pid: user + system clock ticks so far
    awk '{ print $14 + $15 }' "/proc/$1/stat" 2>/dev/null || echo 0
}

bench_idle() {
    local seconds=${1:-30}
    local root="$BENCH_OUT/idle"
    rm -rf "$root"
    mkdir -p "$root/prog/wav"
    cp "$E2E_BIN/Quorvane.exe" "$E2E_BIN/standin/aucdtect.exe" "$root/prog/"
    PROG="$root/prog"
    clear_registry
    place_window_away_from_pointer
    start_quorvane
    wait_status_window 30 || { echo "idle: no window"; return; }
    local pid server hz
    pid=$(pgrep -n -f 'Quorvane.exe')
    server=$(pgrep -n wineserver)
    hz=$(getconf CLK_TCK)
    local p0 s0 p1 s1
    p0=$(cpu_ticks "$pid")
    s0=$(cpu_ticks "$server")
    sleep "$seconds" # the measuring window itself
    p1=$(cpu_ticks "$pid")
    s1=$(cpu_ticks "$server")
    printf '%-34s %10s s\n' "idle: window" "$seconds"
    printf '%-34s %10.2f %% of one core\n' "idle: Quorvane process" "$(echo "100 * ($p1 - $p0) / $hz / $seconds" | bc -l)"
    printf '%-34s %10.2f %% of one core\n' "idle: wine server" "$(echo "100 * ($s1 - $s0) / $hz / $seconds" | bc -l)"
    wineserver -k # a benchmark needs no orderly exit
    wait "$QV_PID" 2>/dev/null
}
