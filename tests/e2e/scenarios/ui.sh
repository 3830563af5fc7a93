# The status window, its tray icon and menu, the other dialogs, and the SendTo shortcut.

readonly CONFIG_CAPTION="Quorvane - v0.33 - Configuration"
readonly TRAY_ICON_ID=0x51

scenario_status_window_fields_exit_questions_and_hiding() {
    new_program_dir status-window
    start_quorvane
    wait_status_window || fail "no window"
    expect_eq "Empty" "$(probe wait-text 1010 Empty)" "queue field"
    expect_eq "N/A N/A N/A" "$(echo $(probe text 1014) $(probe text 1012) $(probe text 1016))" "empty fields"
    local answer
    for answer in "WM_COMMAND 1001" "WM_COMMAND 2" "WM_COMMAND 1"; do # Exit, Esc, Enter
        probe post WM_COMMAND "${answer#WM_COMMAND }" 0 >/dev/null
        expect_eq "$(printf 'Confirm exit\tReally exit Quorvane?')" "$(probe answer no --caption "Confirm exit")" \
            "question after $answer"
    done
    probe post WM_CLOSE 0 0 >/dev/null # the close button hides
    wait_until 5 bash -c "! wine '$E2E_BIN/qvprobe.exe' screenshot-ready --timeout 0.2 >/dev/null 2>&1" ||
        fail "close did not hide"
    probe post WM_APP+1 $TRAY_ICON_ID 0x201 >/dev/null # left click on the tray icon
    visible 5 || fail "tray click did not show the window"
    probe click 1000 >/dev/null # Hide
    wait_until 5 bash -c "! wine '$E2E_BIN/qvprobe.exe' screenshot-ready --timeout 0.2 >/dev/null 2>&1" ||
        fail "Hide did not hide"
    probe post WM_APP+2 0 0 >/dev/null # exit confirmation asked by another process
    probe answer yes --caption "Confirm exit" >/dev/null
    wait_quorvane_exit 20
    expect_eq "0x1" "$(reg_get Hidden)" "hidden at exit"

    start_quorvane # shown first, hidden again 1.5 s later
    visible 10 || fail "not shown at start"
    wait_until 10 bash -c "! wine '$E2E_BIN/qvprobe.exe' screenshot-ready --timeout 0.2 >/dev/null 2>&1" ||
        fail "not hidden again"
    probe post WM_APP+4 0 0 >/dev/null
    visible 5 || fail "show message did not show"
    exit_quorvane yes
    wait_quorvane_exit 20
    expect_eq "0x0" "$(reg_get Hidden)" "shown at exit"
}

scenario_queue_fields_and_what_each_exit_answer_saves() {
    new_program_dir exit-answers
    reg_set_dword "Paused" 1
    local i files=()
    for i in 1 2 3 4 5 6 7; do
        write_script "$MUSIC/A/$i.wav" "m* verdict=cdda:60"
        files+=("$MUSIC/A/$i.wav")
    done
    write_queue_file "$PROG/Queue.log" "${files[@]}"
    sed -i "s|^1\t|0\t|" "$PROG/Queue.log" # a 0 kB head shows N/A
    start_quorvane
    wait_until 10 probe wait-text 1010 "7 files" --timeout 1 || fail "7 files"
    expect_eq "Paused" "$(probe text 1009)" "paused status"
    expect_eq "Resume" "$(probe text 1003)" "pause button"
    expect_eq "N/A" "$(probe text 1016)" "0 kB head"
    expect_eq "1.wav" "$(probe text 1012)" "head file"
    probe click 1001 >/dev/null
    expect_eq "$(printf 'Confirm exit\tErase 7 entries from detector queue?')" \
        "$(probe answer cancel --caption "Confirm exit")" "seven entries"
    probe screenshot-ready >/dev/null || fail "Cancel ended the program"
    exit_quorvane no
    wait_quorvane_exit 20
    expect_eq "7" "$(queue_rows "$PROG/Queue.log" | wc -l)" "No saves the queue"

    write_queue_file "$PROG/Queue.log" "$MUSIC/A/1.wav"
    start_quorvane
    wait_until 10 probe wait-text 1010 "1 file" --timeout 1 || fail "1 file"
    probe click 1001 >/dev/null
    expect_eq "$(printf 'Confirm exit\tErase last entry from detector queue?')" \
        "$(probe answer yes --caption "Confirm exit")" "one entry"
    wait_quorvane_exit 20
    expect_no_file "$PROG/Queue.log" "Yes saves nothing"
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
    wait_until 30 probe wait-text 1009 "Checking (Pass 1)" --timeout 1 || fail "not checking"
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
        probe check-layout --window "$title" || fail "$title layout"
        shot "percent-${caption%%:*}" "$title"
        probe click 1051 --window "$title" >/dev/null
        probe wait-gone --window "$title" >/dev/null || fail "$title did not close"
    done
    probe click 1002 >/dev/null
    visible 10 --window "About Quorvane" || fail "no about box"
    probe check-layout --window "About Quorvane" || fail "about box layout"
    shot about "About Quorvane"
    probe click 1006 --window "About Quorvane" >/dev/null
    probe wait-gone --window "About Quorvane" >/dev/null || fail "about box did not close"
    exit_quorvane no
    wait_quorvane_exit 20
    expect_eq "0x1" "$(reg_get "Save Full Directory To Logfile")" "configuration change saved"
    expect_eq "0x1" "$(reg_get "Use Intelligent ETA")" "estimate mode saved"
}

scenario_the_sendto_shortcut_is_written_except_from_a_debug_directory() {
    local sendto="$WINEPREFIX/drive_c/users/$(whoami)/AppData/Roaming/Microsoft/Windows/SendTo"
    rm -f "$sendto/Quorvane.lnk"
    new_program_dir sendto
    start_quorvane
    wait_status_window || fail "no window"
    expect_eq "4c000000" "$(head -c 4 "$sendto/Quorvane.lnk" 2>/dev/null | od -An -tx1 | tr -d ' \n')" "shell link"
    grep -qaF "Quorvane.exe" "$sendto/Quorvane.lnk" || fail "link does not name the program"
    exit_quorvane yes
    wait_quorvane_exit 20

    rm -f "$sendto/Quorvane.lnk"
    new_program_dir sendto/Debug
    start_quorvane
    wait_status_window || fail "no window"
    expect_no_file "$sendto/Quorvane.lnk" "shortcut from a Debug directory"
    exit_quorvane yes
    wait_quorvane_exit 20
}

scenario_tray_menu_commands_act_on_the_running_instance() {
    new_program_dir tray-menu
    write_script "$MUSIC/A/slow.wav" "m* sleep=20000 verdict=cdda:50"
    write_queue_file "$PROG/Queue.log" "$MUSIC/A/slow.wav"
    start_quorvane
    wait_until 20 probe wait-text 1009 "Checking (Pass 1)" --timeout 1 || fail "not checking"
    probe click 1000 >/dev/null
    probe post WM_APP+1 $TRAY_ICON_ID 0x204 >/dev/null # right click: the menu opens 250 ms later
    sleep 0.6 # only for the picture below: the menu opens from a 250 ms timer
    shot tray-menu
    probe post 0x1F 0 0 >/dev/null # WM_CANCELMODE closes the open menu, as a click elsewhere would
    # The menu's commands, as the menu delivers them to the window.
    probe post WM_COMMAND 91 0 >/dev/null
    wait_until 10 file_has "$PROG/System.log" "Entering NORMAL priority level" || fail "Normal not applied"
    probe post WM_COMMAND 88 0 >/dev/null
    expect_eq "Paused" "$(probe wait-text 1009 Paused)" "Pause from the menu"
    wait_until 10 file_has "$PROG/System.log" "Suspending worker thread" || fail "not suspended"
    probe post WM_COMMAND 87 0 >/dev/null
    visible 5 || fail "Show did not show"
    expect_eq "Resume" "$(probe text 1003)" "button follows the menu"
    probe post WM_COMMAND 86 0 >/dev/null
    visible 10 --window "About Quorvane" || fail "About from the menu"
    probe click 1006 --window "About Quorvane" >/dev/null
    probe wait-gone --window "About Quorvane" >/dev/null
    probe post WM_COMMAND 85 0 >/dev/null
    probe answer yes --caption "Confirm exit" >/dev/null || fail "no exit question from the menu"
    wait_quorvane_exit 20
    expect_eq "0x5b" "$(reg_get Priority)" "priority saved"
    expect_eq "0x1" "$(reg_get Paused)" "paused saved"
}
