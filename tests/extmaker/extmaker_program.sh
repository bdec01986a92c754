#!/usr/bin/env bash
# extmaker_program.sh BINARY CASE: starts quillop-extmaker in a scratch
# working directory on the test display and drives it from outside with xdotool.
. "$(dirname "$0")/../program/driver.sh"
title="Quillop Extension Maker"

# Waits for a shown window of that title other than the main window
# (message boxes share the main window's title) and makes it the active one;
# its id on the output.
other_window() {
  w=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | grep -vx "$main_window" | head -1)
  [ -n "$w" ]
}
wait_for_window() {
  w=
  until_true other_window "$1" && until_true activate_id "$w" && echo "$w"
}

# Ctrl+X, then the answer ($1: y or n) in the "Confirm" box.
answer_exit() {
  keys ctrl+x
  wait_for_window Confirm >/dev/null || fail "no exit question"
  xdotool key --clearmodifiers "alt+$1"
}

case $case_name in
  startup_and_exit)
    start
    [ -d Extensions ] || fail "no Extensions folder"
    # Ctrl+X is the exit shortcut even while the code editor has the focus.
    xdotool mousemove --window "$main_window" 600 400 click 1
    answer_exit n
    # The question went and the program goes on: the next Ctrl+X asks again.
    wait_for_close Confirm
    running || fail "the program ended though the answer was no"
    answer_exit y
    wait_for_end
    [ "$status" -eq 0 ] || fail "exit code $status"
    [ "$(ls -A | grep -v '^\.out$')" = Extensions ] || fail "files other than Extensions: $(ls -A)"
    [ -z "$(ls -A Extensions)" ] || fail "Extensions is not empty"
    ;;
  save_asks_name)
    start
    keys ctrl+s
    dialog=$(wait_for_window "Enter the extension name") || fail "no name dialog"
    xdotool mousemove --window "$dialog" 200 22 click 1
    xdotool type --clearmodifiers --delay 20 demo
    # The "OK" button lies at (290, 65), 100 x 25, in the dialog.
    xdotool mousemove --window "$dialog" 340 77 click 1
    wait_for_window "$title" >/dev/null || fail "no message after saving"
    xdotool key --clearmodifiers Return
    expected=$(printf '[EXTENSION]\n\n\n[AUTHOR]\n\n\n[DESCRIPTION]\n\n\n[HELP]\n\n\n[CODE]\n\n\nx')
    cmp Extensions/demo.qex <(printf '%s' "${expected%x}") || fail "Extensions/demo.qex is not the empty package"
    answer_exit y
    wait_for_end
    [ "$status" -eq 0 ] || fail "exit code $status"
    ;;
  *) fail "unknown case $case_name" ;;
esac
echo ok
