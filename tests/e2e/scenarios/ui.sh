# The status window, its tray icon, the other dialogs, and the SendTo shortcut.

readonly CONFIG_CAPTION="Quorvane - v0.33 - Configuration"

# Also the Send To shortcut: written at every start, except from a Debug directory.
scenario_status_window_fields_exit_questions_hiding_and_the_sendto_shortcut() {
    local link="$WINEPREFIX/drive_c/users/$(whoami)/AppData/Roaming/Microsoft/Windows/SendTo/Quorvane.lnk" command
    rm -f "$link"
    new_program_dir status-window
    start_quorvane
    wait_status_window || fail "no window"
    grep -qaF "Quorvane.exe" "$link" && expect_eq "4c000000" "$(head -c 4 "$link" | od -An -tx1 | tr -d ' \n')" \
        "shell link" || fail "no link that names the program"
    expect_eq "Empty N/A N/A N/A" \
        "$(probe wait-text 1010 Empty) $(probe text 1014) $(probe text 1012) $(probe text 1016)" "empty fields"
    for command in 1001 2 1; do # Exit, Esc, Enter
        probe post WM_COMMAND "$command" 0 >/dev/null
        expect_eq "$(printf 'Confirm exit\tReally exit Quorvane?')" "$(probe answer no --caption "Confirm exit")" \
            "question after command $command"
    done
    probe post WM_CLOSE 0 0 >/dev/null # the close button hides
    wait_until 5 hidden || fail "close did not hide"
    probe tray-icon 0x51 >/dev/null || fail "no tray icon (ID 0x51) while hidden"
    probe taskbar-restart 0x51 >/dev/null && probe tray-icon 0x51 --timeout 5 >/dev/null ||
        fail "the icon was not added to the new taskbar"
    probe post WM_APP+1 0x51 0x201 >/dev/null # left click on the tray icon
    visible 5 || fail "tray click did not show the window"
    probe click 1000 >/dev/null && wait_until 5 hidden || fail "Hide did not hide"
    # Exit asked twice by another process before the box is answered: one box, and Yes ends the program.
    probe post WM_APP+2 0 0 >/dev/null && probe post WM_APP+2 0 0 >/dev/null
    probe answer yes --caption "Confirm exit" >/dev/null
    wait_quorvane_exit 20
    expect_eq "0x1" "$(reg_get Hidden)" "hidden at exit"

    rm -f "$link" && mkdir -p "${PROG%/*}/Debug" && cp -r "$PROG" "${PROG%/*}/Debug/" && PROG="${PROG%/*}/Debug/prog"
    start_quorvane # shown first, hidden again 1.5 s later
    visible 10 || fail "not shown at start"
    wait_until 10 hidden || fail "not hidden again"
    probe post WM_APP+4 0 0 >/dev/null
    visible 5 || fail "show message did not show"
    exit_and_wait yes
    expect_eq "0x0" "$(reg_get Hidden)" "shown at exit"
    expect_none "shortcut from a Debug directory" "$link"
}

# check_dialog CAPTION SHOT: the dialog is up, laid out without overlaps or cut-off texts, and photographed.
check_dialog() {
    visible 10 --window "$1" || fail "no $1"
    probe check-layout --window "$1" || fail "$1 layout ($2)"
    shot "$2" "$1"
}

scenario_dialogs_look_right_and_their_changes_last() {
    new_program_dir dialogs
    # Names as long as real libraries have them: the fields keep their ends (the album folder, the file type).
    local d="$MUSIC/Lossless/Some Artist/2001 - Album Title (Deluxe Edition)/CD 2" title
    local long="07 - Some Artist - Rather Long Song Title (Live at the Old Town Hall, 1999) [Remaster].wav"
    write_script "$d/first.wav" "m* verdict=cdda:95"
    write_script "$d/$long" "m* sleep=30000 verdict=cdda:90"
    write_queue_file "$PROG/Queue.log" "$d/first.wav" "$d/$long"
    start_quorvane
    wait_until 30 probe wait-text 1012 "$long" --timeout 1 || fail "second file not in work"
    wait_until 30 first_pass_shown || fail "not checking"
    check_dialog "Quorvane - v0.33 - Status" status-checking
    probe click 1003 >/dev/null && probe wait-text 1009 Paused >/dev/null
    check_dialog "Quorvane - v0.33 - Status" status-paused

    probe click 1048 >/dev/null
    check_dialog "$CONFIG_CAPTION" config-simple
    probe click 1027 --window "$CONFIG_CAPTION" >/dev/null
    expect_eq "Intelligent" "$(probe wait-text 1027 Intelligent --window "$CONFIG_CAPTION")" "mode toggle"
    check_dialog "$CONFIG_CAPTION" config-intelligent
    probe click 1024 --window "$CONFIG_CAPTION" >/dev/null # full path in the result log
    probe click 1006 --window "$CONFIG_CAPTION" >/dev/null && probe wait-gone --window "$CONFIG_CAPTION" >/dev/null ||
        fail "Ok did not close"

    for title in "Recent files:1015" "Recent directories:1014"; do
        probe click "${title#*:}" >/dev/null
        title="Quorvane - v0.33 - ${title%%:*}"
        check_dialog "$title" "${title// /-}"
        expect_eq "status enabled" "$(probe owner --window "$title")" "owner of $title"
        probe click 1051 --window "$title" >/dev/null
        probe wait-gone --window "$title" >/dev/null || fail "$title did not close"
    done
    probe click 1002 >/dev/null
    check_dialog "About Quorvane" about
    expect_eq "status enabled none disabled" "$(probe owner --window "About Quorvane") $(probe owner)" \
        "the about box's owner, disabled beneath it"
    probe post WM_APP+3 0 0 >/dev/null # another about box asked for: the open one comes forward instead
    probe click 1006 --window "About Quorvane" >/dev/null
    probe wait-gone --window "About Quorvane" >/dev/null || fail "an about box is still open"

    # The session ends (WM_QUERYENDSESSION, WM_ENDSESSION), and Windows ends the process at once.
    expect_eq 1 "$(probe send 0x11 0 0)" "the end of the session is agreed to"
    probe send 0x16 1 0 >/dev/null || fail "no answer to the end of the session"
    crash_quorvane
    expect_eq "0x1 0x1 0x1" "$(reg_get_all "Save Full Directory To Logfile" "Use Intelligent ETA" Paused)" \
        "configuration change, estimate mode and pause saved"
    start_quorvane
    wait_until 20 probe wait-text 1009 Paused --timeout 1 || fail "not paused after the session's end"
    expect_eq "$long" "$(probe text 1012)" "the file in work is queued again"
    exit_and_wait no
}
