# Wine settings shared by the test, run and benchmark scripts (sourced, not run).
# A private prefix under build/, created once and reused; no installer dialogs, no debug noise.
_qv_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export WINEPREFIX="${WINEPREFIX:-$_qv_root/build/wineprefix}"
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEDEBUG=-all

ensure_wine_prefix() {
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        mkdir -p "$WINEPREFIX"
        wineboot -i >/dev/null 2>&1
        # Without a window manager, Wine's managed windows take about two seconds to close under Xvfb.
        wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
        wineserver -w
    fi
}

# The 64-bit Windows build that the run, benchmark and reliability commands use.
QV_WIN64_BUILD="$_qv_root/build/win64"

# Configures that build, builds the named targets in it, and prepares the Wine prefix.
build_win64_targets() { # targets...
    cmake -S "$_qv_root" -B "$QV_WIN64_BUILD" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$_qv_root/cmake/mingw-x86_64.cmake" \
        -DCMAKE_BUILD_TYPE=Release >/dev/null &&
        cmake --build "$QV_WIN64_BUILD" -j2 --target "$@" >/dev/null &&
        ensure_wine_prefix
}

# Starts a private Xvfb display for the windows, unless DISPLAY already works; stopped on exit.
start_xvfb() {
    if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
        return
    fi
    local n
    for n in $(seq 90 99); do
        [ -e "/tmp/.X$n-lock" ] && continue
        Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
        _qv_xvfb_pid=$!
        export DISPLAY=":$n"
        local i
        for i in $(seq 1 50); do
            xdpyinfo >/dev/null 2>&1 && break
            sleep 0.1
        done
        trap 'wineserver -k 2>/dev/null; wineserver -w 2>/dev/null; kill $_qv_xvfb_pid 2>/dev/null' EXIT
        return
    done
    echo "no free X display" >&2
}
