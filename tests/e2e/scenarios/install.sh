# The shipped program: the setup program in a Wine prefix of its own, installed, used on real audio with the
# decoders built from Debian's sources and our open detector, its spectrum windows, and removed again.

E2E_REPO=$(cd "$(dirname "${BASH_SOURCE[0]}")/../../.." && pwd)

# real_track FILE SECONDS: full-band stereo audio as a CD would carry it, faint tones mixed under noise into one
# track of that length (a ":" in sox's effects would play them one after the other, twice as long; louder
# tones make our open detector read the track as a transcode).
real_track() {
    mkdir -p "$(dirname "$1")"
    sox -m "|sox -n -r 44100 -c 2 -p synth $2 pinknoise vol 0.7" \
        "|sox -n -r 44100 -c 2 -p synth $2 sine 440 sine 7040 sine 19000 vol 0.05" -b 16 "$1" 2>/dev/null ||
        fail "sox could not make $1"
}

# The verdict percentage of a file's line in Detect.log, or nothing.
verdict_of() { grep -F "$(winpath "$1")" "$PROG/Detect.log" | sed -E 's/^.{19} - *(-?[0-9]+)% .*/\1/' | tail -1; }

# Values of a registry key as "name=data" lines, or nothing when the key does not exist.
reg_values() { wine reg query "$1" 2>/dev/null | tr -d '\r' | awk -F '    ' '$3 ~ /^REG_/ { print $2 "=" $4 }'; }

# An album (FLAC with a name outside ASCII, WavPack); rips: a FLAC, a transcode, truncated and damaged FLACs,
# and a long track that keeps the directory in progress (the recent files are its files).
make_real_audio() { # album rips
    local rip="${2%/*}/rip.wav"
    real_track "$1/東京の夜 - Fjörd.wav" 6
    real_track "$1/03 Closing.wav" 6
    real_track "$rip" 8
    flac -s --delete-input-file "$1/東京の夜 - Fjörd.wav" && wavpack -q -d "$1/03 Closing.wav" &&
        mkdir -p "$2" && flac -s "$rip" -o "$2/good.flac" && lame --quiet -b 128 "$rip" "$2/t.mp3" &&
        lame --quiet --decode "$2/t.mp3" "$2/transcoded.wav" && rm "$2/t.mp3" || return 1
    head -c $(($(stat -c %s "$2/good.flac") / 2)) "$2/good.flac" >"$2/truncated.flac"
    # Every 97th byte of 4 KiB in the middle of the frames inverted; the header stays whole.
    perl -0777 -pe 'my $n = length; for (my $o = int($n / 3); $o < int($n / 3) + 4096; $o += 97) {
        substr($_, $o, 1) = chr(255 ^ ord substr($_, $o, 1)) }' "$2/good.flac" >"$2/flipped.flac"
    cmp "$2/good.flac" "$2/flipped.flac" 2>&1 | grep -q differ &&
        sox -n -r 44100 -b 16 -c 2 "$2/long.wav" synth 900 pinknoise vol 0.35 2>/dev/null
}

scenario_the_setup_program_installs_a_program_that_checks_real_audio_and_uninstalls_it() {
    local root="$E2E_OUT/install" setup version f entry
    rm -rf "$root" && mkdir -p "$root"
    "$E2E_REPO/scripts/package.sh" "$E2E_BIN" "$root/dist" >"$root/package.txt" 2>&1 ||
        { fail "package.sh failed: $(tail -3 "$root/package.txt")"; return; }
    setup=$(echo "$root"/dist/Quorvane-*-win64-setup.exe)
    version=$(sed -nE 's/.*kVersion = "v([0-9.]+)".*/\1/p' "$E2E_REPO/src/common/Version.h")
    [ -f "$setup" ] || { fail "no setup program"; return; }

    local -x WINEPREFIX="$root/wineprefix"
    wineboot -i >/dev/null 2>&1
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
    local user_dir="$WINEPREFIX/drive_c/users/$(id -un)"
    local prog_w="C:\\users\\$(id -un)\\AppData\\Local\\Programs\\Quorvane"
    local prog="$user_dir/AppData/Local/Programs/Quorvane"
    local start_menu="$user_dir/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Quorvane.lnk"
    local send_to="$user_dir/AppData/Roaming/Microsoft/Windows/SendTo/Quorvane.lnk"
    local uninstall_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Quorvane'

    wine "$setup" /S >"$root/setup-output.txt" 2>&1 || fail "silent install ended with $?"
    for f in Quorvane.exe aucdtect.exe flac/flac.exe wv/wvunpack.exe README.txt LICENSE.txt uninstall.exe \
        licences/flac/COPYING.Xiph.txt licences/flac/COPYING.GPL.txt licences/wavpack/COPYING.txt; do
        [ -f "$prog/$f" ] || fail "not installed: $f"
    done
    [ -d "$prog/wav" ] && [ -f "$start_menu" ] || fail "no wav folder or no Start-menu shortcut"
    entry=$(reg_values "$uninstall_key")
    for f in "DisplayName=Quorvane" "DisplayVersion=$version" "Publisher=The Quorvane developers" \
        "InstallLocation=$prog_w" "UninstallString=\"$prog_w\\uninstall.exe\"" \
        "QuietUninstallString=\"$prog_w\\uninstall.exe\" /S"; do
        grep -qxF -- "$f" <<<"$entry" || fail "uninstall entry lacks [$f]"
    done
    grep -qE '^EstimatedSize=0x[0-9a-f]{3,}$' <<<"$entry" || fail "uninstall entry has no size"

    local album="$E2E_SCRATCH/install/Album" d="$E2E_SCRATCH/install/Rips" track verdict range result_log
    make_real_audio "$album" "$d" || { fail "could not make the audio"; return; }
    local tracks=("$album/東京の夜 - Fjörd.flac" "$album/03 Closing.wv")
    PROG=$prog WINE_OUTPUT="$root/wine-output.txt"
    write_queue_file "$PROG/Queue.log" "${tracks[@]}" "$d"/{good.flac,transcoded.wav,truncated.flac,flipped.flac} \
        "$d/long.wav"
    start_quorvane
    wait_until 180 file_has "$PROG/Detect.log" "flipped.flac" || { fail "files not checked"; return; }
    probe click 1003 >/dev/null # Pause
    probe wait-text 1009 Paused >/dev/null || fail "not paused"
    result_log=$(ls "$album"/kelvra.*.log 2>/dev/null | head -1)
    expect_file_has "${result_log:-$album/no result log}" "Total file(s): 2" "result log total"
    for track in "${tracks[@]}"; do expect_file_has "$result_log" "$(basename "$track")" "result log line"; done
    for f in "${tracks[@]/%/:50-100}" "$d/good.flac:50-100" "$d/transcoded.wav:0-49"; do # file:percentages
        verdict=$(verdict_of "${f%:*}") range=${f##*:}
        [ -n "$verdict" ] && [ "$verdict" -ge "${range%-*}" ] && [ "$verdict" -le "${range#*-}" ] ||
            fail "${f%:*} judged ${verdict:-?}% CDDA"
    done
    for f in truncated flipped; do expect_file_has "$PROG/Detect.log" " -  -1% [0/0] $(winpath "$d/$f.flac")" "$f"; done
    expect_eq 2 "$(grep -cF "Decoder failed with exit code 1" "$PROG/System.log")" "decoder failures logged"
    [ -f "$send_to" ] || fail "the program wrote no Send To shortcut"
    rm "$d/transcoded.wav"
    spectrum_windows_of "${d%/*}/rip.wav"

    # A running program is neither replaced nor removed: the user is asked to exit it, silent runs fail.
    local asking before
    before=$(stat -c %Y "$prog/Quorvane.exe")
    wine "$setup" >>"$root/setup-output.txt" 2>&1 &
    asking=$!
    probe box --caption "Quorvane $version Setup" --timeout 30 | grep -qF "Quorvane is running. Exit it" ||
        fail "the setup program did not ask to exit Quorvane"
    probe answer cancel --caption "Quorvane $version Setup" --timeout 10 >/dev/null || fail "could not cancel"
    wait_until 20 eval '! kill -0 $asking' || fail "the setup program did not end after Cancel"
    wine "$setup" /S >>"$root/setup-output.txt" 2>&1
    expect_eq 3 $? "exit code of a silent install while the program runs"
    # In place (_?=), so that its exit code is the uninstaller's own and not that of its starter.
    wine "$prog/uninstall.exe" /S _?="$(winepath -w "$prog")" >>"$root/setup-output.txt" 2>&1
    expect_eq 3 $? "exit code of a silent uninstall while the program runs"
    expect_eq "$before" "$(stat -c %Y "$prog/Quorvane.exe")" "running program's time stamp"
    exit_and_wait yes
    expect_none "scratch files left" "$PROG"/QvSpectrum_* "$PROG"/KelvrA_*
    [ -n "$(reg_values 'HKLM\SOFTWARE\Quorvane')$(reg_values 'HKCU\SOFTWARE\Quorvane')" ] ||
        fail "no settings saved, so their removal proves nothing"

    # The uninstaller runs from a copy of itself; it has finished when the prefix's Wine server has ended.
    wine "$prog/uninstall.exe" /S >>"$root/setup-output.txt" 2>&1 || fail "silent uninstall ended with $?"
    timeout 120 wineserver -w || fail "the uninstaller did not end within 120 s"
    expect_none "left after the uninstall" "$prog" "$start_menu" "$send_to"
    expect_eq "" "$(reg_values "$uninstall_key")" "uninstall entry"
    expect_eq "" "$(reg_values 'HKLM\SOFTWARE\Quorvane')$(reg_values 'HKCU\SOFTWARE\Quorvane')" "settings left"
    for f in "$result_log" "${tracks[@]}"; do [ -f "$f" ] || fail "removed from the album: $f"; done
    wineserver -k >/dev/null 2>&1
    wineserver -w
}

# Spectrum windows: a recent file's picture, the message for a deleted one, both outliving the percent window,
# and the picture of FILE chosen in the Open dialog.
spectrum_windows_of() { # file
    local files="Quorvane - v0.33 - Recent files" flac_window="Quorvane - Spectrum - good.flac"
    local gone_window="Quorvane - Spectrum - transcoded.wav" dirs="Quorvane - v0.33 - Recent directories"
    probe click 1015 >/dev/null
    visible 10 --window "$files" || { fail "no recent files window"; return; }
    probe check-layout --window "$files" || fail "recent files layout with the Spectrum button"
    probe key 1052 0x24 --window "$files" >/dev/null # VK_HOME: the first row, good.flac
    probe click 1053 --window "$files" >/dev/null
    probe wait-text 1054 "" --window "$flac_window" --timeout 120 >/dev/null || fail "no picture for the FLAC file"
    shot spectrum-flac "$flac_window"
    probe key 1052 0x28 --window "$files" >/dev/null # VK_DOWN: transcoded.wav, deleted
    probe click 1053 --window "$files" >/dev/null
    probe wait-text 1054 "The file is gone or cannot be read." --window "$gone_window" --timeout 60 >/dev/null ||
        fail "no message for the deleted file"
    shot spectrum-missing "$gone_window"
    probe click 1051 --window "$files" >/dev/null
    probe wait-gone --window "$files" >/dev/null || fail "recent files window did not close"
    visible 5 --window "$flac_window" || fail "the spectrum window closed with the percent window"

    probe click 1014 >/dev/null
    visible 10 --window "$dirs" || { fail "no recent directories window"; return; }
    probe click 1053 --window "$dirs" >/dev/null
    visible 20 --window "Open" || { fail "no Open dialog"; return; }
    probe set-text 1148 "$(winpath "$1")" --window "Open" >/dev/null || fail "no file name in the Open dialog"
    shot spectrum-open-dialog "Open"
    probe click 1 --window "Open" >/dev/null
    probe wait-text 1054 "" --window "Quorvane - Spectrum - $(basename "$1")" --timeout 120 >/dev/null ||
        fail "no picture for the chosen file"
    shot spectrum-chosen "Quorvane - Spectrum - $(basename "$1")"
    probe click 1051 --window "$dirs" >/dev/null
    probe wait-gone --window "$dirs" >/dev/null || fail "recent directories window did not close"
}
