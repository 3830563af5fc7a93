# Helpers for the end-to-end scenarios: each scenario gets a fresh program directory and a cleared
# registry key, drives the real Quorvane.exe under Wine, and checks files, logs and window texts.
# Sourced by tests/e2e/run.sh, which sets E2E_BIN (the Windows build's bin folder) and E2E_OUT.
# Program directories and music live under a short scratch root of their own, so that no path a scenario
# makes depends on where the checkout lies; screenshots and probe errors stay in E2E_OUT.

E2E_FAILURES=0
E2E_SCRATCH=${E2E_SCRATCH:-$(mktemp -d /tmp/qvXXXXXX)}

# Z:\ form of a Unix path, as Wine shows it to Windows programs.
winpath() {
    local p
    p=$(realpath -m "$1")
    printf 'Z:%s' "${p//\//\\}"
}

fail() {
    echo "    FAIL: $*" >&2
    E2E_FAILURES=$((E2E_FAILURES + 1))
    return 1
}

expect_eq() { [ "$1" = "$2" ] || fail "$3: expected [$1], got [$2]"; } # expected actual what
expect_file_has() { grep -qF -- "$2" "$1" 2>/dev/null || fail "$3: [$2] not in $1"; } # file fixed-string what
expect_file_lacks() { ! grep -qF -- "$2" "$1" 2>/dev/null || fail "$3: [$2] unexpectedly in $1"; }
expect_no_file() { [ ! -e "$1" ] || fail "$2: $1 exists"; }
file_has() { grep -qF -- "$2" "$1" 2>/dev/null; }

# wait_until SECONDS command...: polls the command every 0.1 s until it succeeds or the deadline passes.
wait_until() {
    local deadline=$((SECONDS + $1))
    shift
    while ! "$@" >/dev/null 2>&1; do
        [ $SECONDS -lt $deadline ] || return 1
        sleep 0.1
    done
}

# Lines of a diagnostic log without their time stamps.
log_bodies() { cut -c20- "$1" 2>/dev/null | tr -d '\r'; }

# new_program_dir NAME: a program directory with Quorvane.exe, the detector and a "wav" type folder;
# sets PROG (Unix) and PROGW (Windows), MUSIC (a folder for audio files) and WINE_OUTPUT (Wine's messages).
new_program_dir() {
    local root="$E2E_SCRATCH/$1"
    rm -rf "$root"
    PROG="$root/prog"
    MUSIC="$root/music"
    WINE_OUTPUT="$root/wine-output.txt"
    mkdir -p "$PROG/wav" "$MUSIC"
    cp "$E2E_BIN/Quorvane.exe" "$PROG/"
    cp "$E2E_DETECTOR" "$PROG/aucdtect.exe"
    PROGW=$(winpath "$PROG")
    clear_registry
}

clear_registry() {
    wine reg delete 'HKLM\SOFTWARE\Quorvane' /f >/dev/null 2>&1
    wine reg delete 'HKCU\SOFTWARE\Quorvane' /f >/dev/null 2>&1
    true
}

# write_queue_file FILE PATH...: a queue file listing the Unix paths as Windows paths, of 1 kB each unless
# QUEUE_KB gives their sizes in order.
write_queue_file() {
    local file=$1 sizes=(${QUEUE_KB:-}) i=0 p
    shift
    {
        printf ';\r\n; Quorvane v0.33\r\n; 2026-01-01 00:00:00\r\n;\r\n'
        for p in "$@"; do
            printf '%d\t%s\t%s\r\n' "${sizes[i++]:-1}" "${p##*.}" "$(winpath "$p")"
        done
        printf ';\r\n; %d files listed\r\n;\r\n' "$#"
    } >"$file"
}

# The data rows of a queue file, without header and footer.
queue_rows() { grep -v '^;' "$1" | tr -d '\r'; }

# start_quorvane ARGS...: starts the program in the background; QV_PID is the Wine process.
start_quorvane() {
    (cd "$PROG" && exec wine "$PROG/Quorvane.exe" "$@" >>"${WINE_OUTPUT:-$PROG/wine-output.txt}" 2>&1) &
    QV_PID=$!
}

# Waits for the program to end; fails the scenario after the deadline.
wait_quorvane_exit() { # seconds
    if ! wait_until "${1:-20}" eval '! kill -0 $QV_PID'; then
        kill -9 "$QV_PID" 2>/dev/null
        fail "Quorvane did not end within ${1:-20} s"
        return
    fi
    wait "$QV_PID" 2>/dev/null
    return 0
}

# Ends the whole Wine session at once, as a power cut would. A program caught before it reached the Wine
# server would start a server of its own and run on: it is killed as well, and that server with it.
crash_quorvane() {
    wineserver -k
    kill -9 "$QV_PID" 2>/dev/null
    wait "$QV_PID" 2>/dev/null
    wineserver -k
    wineserver -w
}

# Runs the probe; prints its output without CRs and returns the probe's own exit status.
probe() {
    local out rc
    out=$(wine "$E2E_BIN/qvprobe.exe" "$@" 2>>"$E2E_OUT/probe-errors.txt")
    rc=$?
    out=${out//$'\r'/}
    [ -n "$out" ] && printf '%s\n' "$out"
    return $rc
}

visible() { probe screenshot-ready --timeout "${1:-2}" "${@:2}" >/dev/null; }
wait_status_window() { wait_until "${1:-20}" probe find --timeout 1; }

# Waits until the queue is done: the status shows Idle and the queue field reads Empty.
wait_queue_done() { # seconds
    wait_until "${1:-60}" probe wait-text 1010 Empty --timeout 1 && wait_until 10 probe wait-text 1009 Idle --timeout 1
}

# Answers the exit confirmation (Yes, No or Cancel) after pressing Exit.
# Under load, Wine now and then fails to start a process (the probe's click among them; seen once in
# about 25 runs of a scenario): a click without a box is tried once more, with a note, before it fails.
exit_quorvane() { # answer
    local try
    for try in 1 2; do
        probe click 1001 >/dev/null || echo "    note: click on Exit failed: $(tail -1 "$E2E_OUT/probe-errors.txt")"
        probe answer "$1" --caption "Confirm exit" --timeout 10 >/dev/null && return 0
        echo "    note: no exit confirmation box after click $try: $(tail -1 "$E2E_OUT/probe-errors.txt")"
    done
    fail "no exit confirmation box"
}

# A text file the stand-in detector reads as its script.
write_script() { # file lines...
    mkdir -p "$(dirname "$1")"
    printf '%s\r\n' "${@:2}" >"$1"
}

# padded_script FILE SIZE LINES...: a stand-in script padded with NUL bytes (or cut) to SIZE bytes.
padded_script() {
    write_script "$1" "${@:3}"
    truncate -s "$2" "$1"
}

# standin_running [TEXT]: a stand-in detector of this scenario's program directory runs (other runs may share
# the machine), with TEXT in its command line. A terminated Wine process can linger as a zombie until its Linux
# parent reaps it; that is not running. The paths go in through the environment, so awk never finds itself.
standin_running() {
    ps -eo stat=,args= | UNIX="$PROG/aucdtect.exe" WINDOWS="$PROGW\\aucdtect.exe" TEXT="${1:-}" awk '
        function has(s) { return index(tolower($0), tolower(s)) > 0 }
        $1 !~ /^Z/ && (has(ENVIRON["UNIX"]) || has(ENVIRON["WINDOWS"])) && (ENVIRON["TEXT"] == "" || has(ENVIRON["TEXT"])) {
            found = 1
        }
        END { exit !found }'
}

# add_decoder TYPE: the stand-in decoder for TYPE (flac, ape, wv, shn) in the program directory.
add_decoder() {
    mkdir -p "$PROG/$1"
    cp "$E2E_BIN"/standin/decoders/"$1"/*.exe "$PROG/$1/"
}

# file_line_count_at_least FILE TEXT N: FILE has at least N lines that hold TEXT.
file_line_count_at_least() { [ -f "$1" ] && [ "$(grep -cF -- "$2" "$1")" -ge "$3" ]; }

# The status shows a file's first pass in work, alone or side by side with the next (as many as the machine
# has processors, by default).
first_pass_shown() {
    case "$(probe text 1009 2>/dev/null)" in
    "Checking (Pass 1)" | "Checking (Pass 1-"*) return 0 ;;
    esac
    return 1
}
reg_set_dword() { wine reg add 'HKLM\SOFTWARE\Quorvane' /v "$1" /t REG_DWORD /d "$2" /f >/dev/null 2>&1; }
# The value's data as reg query prints it (numbers as 0x...), or nothing.
reg_get() {
    wine reg query 'HKLM\SOFTWARE\Quorvane' /v "$1" 2>/dev/null | tr -d '\r' |
        awk -v name="$1" 'index($0, name) { sub(/^[ ]*/, ""); sub(name, ""); sub(/^[ ]*REG_[A-Z_]+[ ]*/, ""); print; exit }'
}

# shot NAME [WINDOW_CAPTION]: a PNG of the screen (cropped to the window when its caption is given).
shot() {
    mkdir -p "$E2E_OUT/screenshots"
    local out="$E2E_OUT/screenshots/$1.png" id
    [ -n "${2:-}" ] && id=$(xwininfo -root -tree 2>/dev/null | grep -F "\"$2\"" | awk '{print $1}' | head -1)
    [ -n "${id:-}" ] && import -window "$id" "$out" 2>/dev/null && return
    import -window root "$out" 2>/dev/null || fail "screenshot $1 failed"
}
