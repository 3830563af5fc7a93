# The status window, its tray icon, the other dialogs, and the SendTo shortcut.

readonly CONFIG_CAPTION="Quorvane - v0.33 - Configuration"
readonly TRAY_ICON_ID=0x51

hidden() { ! probe screenshot-ready --timeout 0.2 >/dev/null 2>&1; }

# Also the Send To shortcut: written at every start, except from a Debug directory.
scenario_status_window_fields_exit_questions_hiding_and_the_sendto_shortcut() {
    local sendto="$WINEPREFIX/drive_c/users/$(whoami)/AppData/Roaming/Microsoft/Windows/SendTo"
    rm -f "$sendto/Quorvane.lnk"
    new_program_dir status-window
    start_quorvane
    wait_status_window || fail "no window"
    expect_eq "4c000000" "$(head -c 4 "$sendto/Quorvane.lnk" 2>/dev/null | od -An -tx1 | tr -d ' \n')" "shell link"
    grep -qaF "Quorvane.exe" "$sendto/Quorvane.lnk" || fail "link does not name the program"
    expect_eq "Empty" "$(probe wait-text 1010 Empty)" "queue field"
    expect_eq "N/A N/A N/A" "$(echo $(probe text 1014) $(probe text 1012) $(probe text 1016))" "empty fields"
    local answer
    for answer in "WM_COMMAND 1001" "WM_COMMAND 2" "WM_COMMAND 1"; do # Exit, Esc, Enter
        probe post WM_COMMAND "${answer#WM_COMMAND }" 0 >/dev/null
        expect_eq "$(printf 'Confirm exit\tReally exit Quorvane?')" "$(probe answer no --caption "Confirm exit")" \
            "question after $answer"
    done
    probe post WM_CLOSE 0 0 >/dev/null # the close button hides
    wait_until 5 hidden || fail "close did not hide"
    probe tray-icon $TRAY_ICON_ID >/dev/null || fail "no tray icon while hidden"
    probe taskbar-restart $TRAY_ICON_ID >/dev/null || fail "the taskbar restart was not played"
    probe tray-icon $TRAY_ICON_ID --timeout 5 >/dev/null || fail "the icon was not added to the new taskbar"
    probe post WM_APP+1 $TRAY_ICON_ID 0x201 >/dev/null # left click on the tray icon
    visible 5 || fail "tray click did not show the window"
    probe click 1000 >/dev/null # Hide
    wait_until 5 hidden || fail "Hide did not hide"
    probe post WM_APP+2 0 0 >/dev/null # exit confirmation asked by another process
    probe answer yes --caption "Confirm exit" >/dev/null
    wait_quorvane_exit 20
    expect_eq "0x1" "$(reg_get Hidden)" "hidden at exit"

    rm -f "$sendto/Quorvane.lnk"
    mkdir -p "$PROG/../Debug"
    cp -r "$PROG" "$PROG/../Debug/"
    PROG=$(realpath "$PROG/../Debug/prog")
    start_quorvane # shown first, hidden again 1.5 s later
    visible 10 || fail "not shown at start"
    wait_until 10 hidden || fail "not hidden again"
    probe post WM_APP+4 0 0 >/dev/null
    visible 5 || fail "show message did not show"
    exit_quorvane yes
    wait_quorvane_exit 20
    expect_eq "0x0" "$(reg_get Hidden)" "shown at exit"
    expect_no_file "$sendto/Quorvane.lnk" "shortcut from a Debug directory"
}

scenario_dialogs_look_right_and_their_changes_last() {
    new_program_dir dialogs
    # Directory and file names as long as real libraries have them: the fields shorten them with an
    # ellipsis that keeps their ends (the album folder, the file type).
    local d="$MUSIC/Lossless/Some Artist/2001 - Album Title (Deluxe Edition)/CD 2"
    local long="07 - Some Artist - Rather Long Song Title (Live at the Old Town Hall, 1999) [Remaster].wav"
    expect_eq 90 "${#long}" "the test's own file name length"
    write_script "$d/first.wav" "m* verdict=cdda:95"
    write_script "$d/$long" "m* sleep=30000 verdict=cdda:90"
    write_queue_file "$PROG/Queue.log" "$d/first.wav" "$d/$long"
    start_quorvane
    wait_until 30 first_pass_shown || fail "not checking"
    wait_until 20 probe wait-text 1012 "$long" --timeout 1 || fail "second file not in work"
    probe screenshot-ready >/dev/null
    shot status-checking "Quorvane - v0.33 - Status"
    probe check-layout || fail "status window layout while checking"
    probe click 1003 >/dev/null
    probe wait-text 1009 Paused >/dev/null
    shot status-paused "Quorvane - v0.33 - Status"
    probe check-layout || fail "status window layout while paused"

    probe click 1048 >/dev/null
    visible 10 --window "$CONFIG_CAPTION" || fail "no configuration dialog"
    probe check-layout --window "$CONFIG_CAPTION" || fail "configuration layout (simple)"
    shot config-simple "$CONFIG_CAPTION"
    probe click 1027 --window "$CONFIG_CAPTION" >/dev/null
    expect_eq "Intelligent" "$(probe wait-text 1027 Intelligent --window "$CONFIG_CAPTION")" "mode toggle"
    probe check-layout --window "$CONFIG_CAPTION" || fail "configuration layout (intelligent)"
    shot config-intelligent "$CONFIG_CAPTION"
    probe click 1024 --window "$CONFIG_CAPTION" >/dev/null # full path in the result log
    probe click 1006 --window "$CONFIG_CAPTION" >/dev/null
    probe wait-gone --window "$CONFIG_CAPTION" >/dev/null || fail "Ok did not close"

    local caption
    for caption in "Recent files:1015" "Recent directories:1014"; do
        probe click "${caption#*:}" >/dev/null
        local title="Quorvane - v0.33 - ${caption%%:*}"
        visible 10 --window "$title" || fail "no $title"
        expect_eq "status enabled" "$(probe owner --window "$title")" "owner of $title"
        probe check-layout --window "$title" || fail "$title layout"
        shot "percent-${caption%%:*}" "$title"
        probe click 1051 --window "$title" >/dev/null
        probe wait-gone --window "$title" >/dev/null || fail "$title did not close"
    done
    probe click 1002 >/dev/null
    visible 10 --window "About Quorvane" || fail "no about box"
    expect_eq "status enabled" "$(probe owner --window "About Quorvane")" "owner of the about box"
    expect_eq "none disabled" "$(probe owner)" "the status window beneath the about box"
    probe post WM_APP+3 0 0 >/dev/null # another about box asked for: the open one comes forward instead
    probe check-layout --window "About Quorvane" || fail "about box layout"
    shot about "About Quorvane"
    probe click 1006 --window "About Quorvane" >/dev/null
    probe wait-gone --window "About Quorvane" >/dev/null || fail "an about box is still open"

    # The session ends (WM_QUERYENDSESSION, WM_ENDSESSION), and Windows ends the process at once.
    expect_eq 1 "$(probe send 0x11 0 0)" "the end of the session is agreed to"
    probe send 0x16 1 0 >/dev/null || fail "no answer to the end of the session"
    crash_quorvane
    expect_eq "0x1" "$(reg_get "Save Full Directory To Logfile")" "configuration change saved"
    expect_eq "0x1" "$(reg_get "Use Intelligent ETA")" "estimate mode saved"
    expect_eq "0x1" "$(reg_get Paused)" "pause saved"
    start_quorvane
    wait_until 20 probe wait-text 1009 Paused --timeout 1 || fail "not paused after the session's end"
    expect_eq "$long" "$(probe text 1012)" "the file in work is queued again"
    exit_quorvane no
    wait_quorvane_exit 20
}
