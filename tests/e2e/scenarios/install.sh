# The shipped program: the decoders built from Debian's sources, and the setup program in a Wine prefix of
# its own, installed, used on real audio and removed again.

E2E_REPO=$(cd "$(dirname "${BASH_SOURCE[0]}")/../../.." && pwd)

# The decoders and the setup program; built once per build folder, then found there.
real_decoders() {
    "$E2E_REPO/scripts/decoders.sh" x86_64 >/dev/null || { fail "the decoders could not be built"; return 1; }
    DECODERS="$E2E_REPO/build/decoders/x86_64"
}

# real_track FILE SECONDS: full-band stereo audio as a CD would carry it.
real_track() {
    mkdir -p "$(dirname "$1")"
    sox -n -r 44100 -b 16 -c 2 "$1" synth "$2" pinknoise vol 0.35 : synth "$2" sine 440 sine 7040 sine 19000 \
        vol 0.2 2>/dev/null || fail "sox could not make $1"
}

# The verdict percentage of a file's line in Detect.log, or nothing.
verdict_of() { grep -F "$(winpath "$1")" "$PROG/Detect.log" | sed -E 's/^.{19} - *(-?[0-9]+)% .*/\1/' | tail -1; }

scenario_the_real_flac_decoder_ends_corrupt_files_as_unknown_and_the_queue_goes_on() {
    real_decoders || return
    new_program_dir corrupt-flac
    cp "$E2E_BIN/opendetector/aucdtect.exe" "$PROG/aucdtect.exe"
    mkdir -p "$PROG/flac"
    cp "$DECODERS/flac.exe" "$PROG/flac/"
    local d="$MUSIC/A"
    real_track "$d/source.wav" 8
    flac -s "$d/source.wav" -o "$d/good.flac" && rm "$d/source.wav" || { fail "flac could not encode"; return; }
    local size
    size=$(stat -c %s "$d/good.flac")
    head -c $((size / 2)) "$d/good.flac" >"$d/truncated.flac"
    cp "$d/good.flac" "$d/flipped.flac"
    # Every 97th byte of 4 KiB in the middle of the frames inverted; the header stays whole.
    perl -0777 -i -pe 'my $n = length; for (my $o = int($n / 3); $o < int($n / 3) + 4096; $o += 97) {
        substr($_, $o, 1) = chr(255 ^ ord substr($_, $o, 1)) }' "$d/flipped.flac"
    cmp -s "$d/good.flac" "$d/flipped.flac" && { fail "no byte flipped"; return; }
    write_queue_file "$PROG/Queue.log" "$d/truncated.flac" "$d/flipped.flac" "$d/good.flac"
    start_quorvane
    wait_until 120 file_has "$PROG/Detect.log" "$(winpath "$d/good.flac")" || fail "the queue did not go on"
    local f
    for f in truncated flipped; do
        expect_file_has "$PROG/Detect.log" " -  -1% [0/0] $(winpath "$d/$f.flac")" "verdict of $f.flac"
        expect_file_lacks "$PROG/System.log" "Checking $(winpath "$d/$f.flac") pass 1" "detector run on $f.flac"
    done
    expect_eq 2 "$(grep -cF "Decoder failed with exit code 1" "$PROG/System.log")" "decoder failures logged"
    local good
    good=$(verdict_of "$d/good.flac")
    [ -n "$good" ] && [ "$good" -ge 50 ] || fail "good.flac judged ${good:-?}% CDDA"
    exit_quorvane yes
    wait_quorvane_exit 20
}

process_ended() { ! kill -0 "$1" 2>/dev/null; }

# Values of a registry key as "name=data" lines, or nothing when the key does not exist.
reg_values() {
    wine reg query "$1" 2>/dev/null | tr -d '\r' | awk -F '    ' '$3 ~ /^REG_/ { print $2 "=" $4 }'
}

scenario_the_setup_program_installs_runs_and_uninstalls_in_a_fresh_prefix() {
    real_decoders || return
    # The prefix and the package in the build folder; the album under the scratch root, as the other scenarios' music.
    local root="$E2E_OUT/install"
    rm -rf "$root"
    mkdir -p "$root"
    "$E2E_REPO/scripts/package.sh" "$E2E_BIN" "$root/dist" >"$root/package.txt" 2>&1 ||
        { fail "package.sh failed: $(tail -3 "$root/package.txt")"; return; }
    local setup
    setup=$(echo "$root"/dist/Quorvane-*-win64-setup.exe)
    [ -f "$setup" ] || { fail "no setup program"; return; }

    local -x WINEPREFIX="$root/wineprefix"
    wineboot -i >/dev/null 2>&1
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
    local user_dir
    user_dir="$WINEPREFIX/drive_c/users/$(id -un)"
    local prog="$user_dir/AppData/Local/Programs/Quorvane"
    local start_menu="$user_dir/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Quorvane.lnk"
    local send_to="$user_dir/AppData/Roaming/Microsoft/Windows/SendTo/Quorvane.lnk"
    local uninstall_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Quorvane'

    wine "$setup" /S >"$root/setup-output.txt" 2>&1 || fail "silent install ended with $?"
    local f
    for f in Quorvane.exe aucdtect.exe flac/flac.exe wv/wvunpack.exe README.txt LICENSE.txt uninstall.exe \
        licences/flac/COPYING.Xiph.txt licences/flac/COPYING.GPL.txt licences/wavpack/COPYING.txt; do
        [ -f "$prog/$f" ] || fail "not installed: $f"
    done
    [ -d "$prog/wav" ] || fail "no wav folder"
    [ -f "$start_menu" ] || fail "no Start-menu shortcut"
    local entry
    entry=$(reg_values "$uninstall_key")
    local version
    version=$(sed -nE 's/.*kVersion = "v([0-9.]+)".*/\1/p' "$E2E_REPO/src/common/Version.h")
    for f in "DisplayName=Quorvane" "DisplayVersion=$version" "Publisher=The Quorvane developers" \
        "InstallLocation=C:\\users\\$(id -un)\\AppData\\Local\\Programs\\Quorvane" \
        "UninstallString=\"C:\\users\\$(id -un)\\AppData\\Local\\Programs\\Quorvane\\uninstall.exe\"" \
        "QuietUninstallString=\"C:\\users\\$(id -un)\\AppData\\Local\\Programs\\Quorvane\\uninstall.exe\" /S"; do
        grep -qxF -- "$f" <<<"$entry" || fail "uninstall entry lacks [$f]"
    done
    grep -qE '^EstimatedSize=0x[0-9a-f]{3,}$' <<<"$entry" || fail "uninstall entry has no size"

    # An album of real audio: FLAC, one with a name outside ASCII, one WavPack file.
    local album="$E2E_SCRATCH/install/Album"
    rm -rf "$album"
    real_track "$album/01 Opening.wav" 6
    real_track "$album/東京の夜 - Fjörd.wav" 6
    real_track "$album/03 Closing.wav" 6
    flac -s --delete-input-file "$album/01 Opening.wav" "$album/東京の夜 - Fjörd.wav" &&
        wavpack -q -d "$album/03 Closing.wav" || { fail "could not encode the album"; return; }
    local tracks=("$album/01 Opening.flac" "$album/東京の夜 - Fjörd.flac" "$album/03 Closing.wv")
    PROG=$prog
    WINE_OUTPUT="$root/wine-output.txt"
    start_quorvane "$(winpath "$album")"
    wait_queue_done 120 || fail "the album was not checked"
    local track verdict
    for track in "${tracks[@]}"; do
        verdict=$(verdict_of "$track")
        [ -n "$verdict" ] && [ "$verdict" -ge 50 ] || fail "$(basename "$track") judged ${verdict:-?}% CDDA"
    done
    local result_log
    result_log=$(ls "$album"/kelvra.*.log 2>/dev/null | head -1)
    [ -n "$result_log" ] || fail "no result log in the album"
    for track in "${tracks[@]}"; do
        expect_file_has "$result_log" "$(basename "$track")" "result log line"
    done
    expect_file_has "$result_log" "Total file(s): 3" "result log total"
    [ -f "$send_to" ] || fail "the program wrote no Send To shortcut"

    # A running program is neither replaced nor removed: the user is asked to exit it, silent runs fail.
    local before
    before=$(stat -c %Y "$prog/Quorvane.exe")
    wine "$setup" >>"$root/setup-output.txt" 2>&1 &
    local asking=$!
    probe box --caption "Quorvane $version Setup" --timeout 30 | grep -qF "Quorvane is running. Exit it" ||
        fail "the setup program did not ask to exit Quorvane"
    probe answer cancel --caption "Quorvane $version Setup" --timeout 10 >/dev/null || fail "could not cancel"
    wait_until 20 process_ended "$asking" || fail "the setup program did not end after Cancel"
    wine "$setup" /S >>"$root/setup-output.txt" 2>&1
    expect_eq 3 $? "exit code of a silent install while the program runs"
    # In place (_?=), so that its exit code is the uninstaller's own and not that of its starter.
    wine "$prog/uninstall.exe" /S _?="$(winepath -w "$prog")" >>"$root/setup-output.txt" 2>&1
    expect_eq 3 $? "exit code of a silent uninstall while the program runs"
    [ -f "$prog/Quorvane.exe" ] || fail "the running program was removed"
    expect_eq "$before" "$(stat -c %Y "$prog/Quorvane.exe")" "running program's time stamp"
    exit_quorvane yes
    wait_quorvane_exit 20
    [ -n "$(reg_values 'HKLM\SOFTWARE\Quorvane')$(reg_values 'HKCU\SOFTWARE\Quorvane')" ] ||
        fail "no settings saved, so their removal proves nothing"

    # The uninstaller runs from a copy of itself; it has finished when the prefix's Wine server has ended.
    wine "$prog/uninstall.exe" /S >>"$root/setup-output.txt" 2>&1 || fail "silent uninstall ended with $?"
    timeout 60 wineserver -w || fail "the uninstaller did not end within 60 s"
    expect_no_file "$prog" "program directory"
    expect_no_file "$start_menu" "Start-menu shortcut"
    expect_no_file "$send_to" "Send To shortcut"
    expect_eq "" "$(reg_values "$uninstall_key")" "uninstall entry"
    expect_eq "" "$(reg_values 'HKLM\SOFTWARE\Quorvane')$(reg_values 'HKCU\SOFTWARE\Quorvane')" "settings left"
    [ -f "$result_log" ] || fail "the result log was removed"
    for track in "${tracks[@]}"; do
        [ -f "$track" ] || fail "removed from the album: $track"
    done
    wineserver -k >/dev/null 2>&1
    wineserver -w
}
