# Helpers for the end-to-end scenarios (run.sh sets E2E_BIN and E2E_OUT): each drives the real Quorvane.exe under
# Wine from a fresh program directory and registry key, with its files under a short scratch root of its own.

E2E_FAILURES=0
E2E_SCRATCH=${E2E_SCRATCH:-$(mktemp -d /tmp/qvXXXXXX)}

# Z:\ form of a Unix path, as Wine shows it to Windows programs.
winpath() { local p; p=$(realpath -m "$1"); printf 'Z:%s' "${p//\//\\}"; }
fail() { echo "    FAIL: $*" >&2; E2E_FAILURES=$((E2E_FAILURES + 1)); return 1; }
expect_eq() { [ "$1" = "$2" ] || fail "$3: expected [$1], got [$2]"; } # expected actual what
expect_file_has() { grep -qF -- "$2" "$1" 2>/dev/null || fail "$3: [$2] not in $1"; } # file fixed-string what
expect_file_lacks() { ! grep -qF -- "$2" "$1" 2>/dev/null || fail "$3: [$2] unexpectedly in $1"; }
expect_none() { # what paths... (a glob that matches nothing stays as it is, and does not exist)
    local p found=()
    for p in "${@:2}"; do [ -e "$p" ] && found+=("$p"); done
    [ ${#found[@]} -eq 0 ] || fail "$1: ${found[*]}"
}
file_has() { grep -qF -- "$2" "$1" 2>/dev/null; }
# Lines of a diagnostic log without their time stamps.
log_bodies() { cut -c20- "$1" 2>/dev/null | tr -d '\r'; }

# wait_until SECONDS command...: polls the command every 0.1 s until it succeeds or the deadline passes.
wait_until() {
    local deadline=$((SECONDS + $1))
    shift
    until "$@" >/dev/null 2>&1; do [ $SECONDS -lt $deadline ] && sleep 0.1 || return 1; done
}

# new_program_dir NAME: a program directory with the program, the detector and a "wav" folder: PROG (PROGW as
# Windows shows it), MUSIC for audio files, WINE_OUTPUT for Wine's messages.
new_program_dir() {
    local root="$E2E_SCRATCH/$1"
    rm -rf "$root"
    PROG="$root/prog" MUSIC="$root/music" WINE_OUTPUT="$root/wine-output.txt"
    mkdir -p "$PROG/wav" "$MUSIC" && cp "$E2E_BIN/Quorvane.exe" "$PROG/" && cp "$E2E_DETECTOR" "$PROG/aucdtect.exe"
    PROGW=$(winpath "$PROG")
    clear_registry
}
clear_registry() { local root; for root in HKLM HKCU; do wine reg delete "$root\\SOFTWARE\\Quorvane" /f; done &>/dev/null; }

# write_queue_file FILE PATH...: a queue file of the paths, of 1 kB each unless QUEUE_KB gives their sizes.
write_queue_file() {
    local file=$1 sizes=(${QUEUE_KB:-}) i=0 p
    shift
    {
        printf ';\r\n; Quorvane v0.33\r\n; 2026-01-01 00:00:00\r\n;\r\n'
        for p in "$@"; do printf '%d\t%s\t%s\r\n' "${sizes[i++]:-1}" "${p##*.}" "$(winpath "$p")"; done
        printf ';\r\n; %d files listed\r\n;\r\n' "$#"
    } >"$file"
}
queue_rows() { grep -v '^;' "$1" | tr -d '\r'; }

# start_quorvane ARGS...: starts the program in the background; QV_PID is the Wine process.
start_quorvane() {
    (cd "$PROG" && exec wine "$PROG/Quorvane.exe" "$@" >>"${WINE_OUTPUT:-$PROG/wine-output.txt}" 2>&1) &
    QV_PID=$!
}

wait_quorvane_exit() { # seconds
    wait_until "${1:-20}" eval '! kill -0 $QV_PID' ||
        { kill -9 "$QV_PID"; fail "Quorvane did not end within ${1:-20} s"; return; }
    wait "$QV_PID" 2>/dev/null || true
}

# Ends the whole Wine session at once, as a power cut would. A program caught before it reached the Wine
# server would start a server of its own and run on: it is killed as well, and that server with it.
crash_quorvane() { wineserver -k; kill -9 "$QV_PID"; wait "$QV_PID"; wineserver -k; wineserver -w; } 2>/dev/null

# The probe's output without CRs, and its exit status.
probe() {
    local out rc
    out=$(wine "$E2E_BIN/qvprobe.exe" "$@" 2>>"$E2E_OUT/probe-errors.txt") || rc=$?
    [ -n "$out" ] && printf '%s\n' "${out//$'\r'/}"
    return ${rc:-0}
}
visible() { probe screenshot-ready --timeout "${1:-2}" "${@:2}" >/dev/null; }
hidden() { ! probe screenshot-ready --timeout 0.2 >/dev/null 2>&1; }
wait_status_window() { wait_until "${1:-20}" probe find --timeout 1; }
# The status shows a file's first pass in work, alone or side by side with the next.
first_pass_shown() { [[ "$(probe text 1009 2>/dev/null)" == "Checking (Pass 1"[-\)]* ]]; }

wait_queue_done() { # seconds
    wait_until "${1:-60}" probe wait-text 1010 Empty --timeout 1 && wait_until 10 probe wait-text 1009 Idle --timeout 1
}

# Answers the exit confirmation (Yes, No or Cancel) after pressing Exit. Under load, Wine now and then fails
# to start a process (the probe's click among them): a click without a box is tried once more, with a note.
exit_quorvane() { # answer
    local try
    for try in 1 2; do
        probe click 1001 >/dev/null || echo "    note: click on Exit failed: $(tail -1 "$E2E_OUT/probe-errors.txt")"
        probe answer "$1" --caption "Confirm exit" --timeout 10 >/dev/null && return 0
        echo "    note: no exit confirmation box after click $try: $(tail -1 "$E2E_OUT/probe-errors.txt")"
    done
    fail "no exit confirmation box"
}
exit_and_wait() { exit_quorvane "${1:-yes}" && wait_quorvane_exit "${2:-20}"; } # answer seconds

# A text file the stand-in detector reads as its script.
write_script() { mkdir -p "$(dirname "$1")" && printf '%s\r\n' "${@:2}" >"$1"; } # file lines...

# standin_running [TEXT]: a stand-in detector of this program directory (not another run's) runs, not a zombie,
# with TEXT in its command line. The paths go in through the environment, so awk never finds itself.
standin_running() {
    ps -eo stat=,args= | UNIX="$PROG/aucdtect.exe" WINDOWS="$PROGW\\aucdtect.exe" TEXT="${1:-}" awk '
        function has(s) { return index(tolower($0), tolower(s)) > 0 }
        $1 !~ /^Z/ && (has(ENVIRON["UNIX"]) || has(ENVIRON["WINDOWS"])) && (ENVIRON["TEXT"] == "" || has(ENVIRON["TEXT"])) {
            found = 1
        }
        END { exit !found }'
}

# add_decoder TYPE: the stand-in decoder for TYPE (flac, ape, wv, shn).
add_decoder() { mkdir -p "$PROG/$1" && cp "$E2E_BIN"/standin/decoders/"$1"/*.exe "$PROG/$1/"; }
# file_line_count_at_least FILE TEXT N: FILE has at least N lines that hold TEXT.
file_line_count_at_least() { [ -f "$1" ] && [ "$(grep -cF -- "$2" "$1")" -ge "$3" ]; }

reg_set_dword() { wine reg add 'HKLM\SOFTWARE\Quorvane' /v "$1" /t REG_DWORD /d "$2" /f >/dev/null 2>&1; }
# The value's data as reg query prints it (numbers as 0x...), or nothing.
reg_get() {
    wine reg query 'HKLM\SOFTWARE\Quorvane' /v "$1" 2>/dev/null | tr -d '\r' |
        awk -v name="$1" 'index($0, name) { sub(/^[ ]*/, ""); sub(name, ""); sub(/^[ ]*REG_[A-Z_]+[ ]*/, ""); print; exit }'
}
reg_get_all() { local name; for name in "$@"; do reg_get "$name"; done | xargs; } # names...

# shot NAME [WINDOW_CAPTION]: a PNG of the screen (cropped to the window when its caption is given).
shot() {
    local out="$E2E_OUT/screenshots/$1.png" id
    mkdir -p "$E2E_OUT/screenshots"
    [ -n "${2:-}" ] && id=$(xwininfo -root -tree 2>/dev/null | grep -F "\"$2\"" | awk '{print $1}' | head -1)
    import -window "${id:-root}" "$out" 2>/dev/null || fail "screenshot $1 failed"
}
