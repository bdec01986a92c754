#!/usr/bin/env bash
# maker_keeps_work.sh BINARY CASE: quillop-maker driven from outside with
# xdotool where work could be lost: saving over another project, names that
# could not be opened again, and exit with unsaved changes.
. "$(dirname "$0")/driver.sh"
title="Quillop Game Maker v1.2.7"

# Answers the "Confirm" question with $1 (y or n).
answer() {
  activate Confirm
  xdotool key --clearmodifiers "alt+$1"
  wait_for_close Confirm
}

# Dismisses the message box titled $1.
dismiss() {
  activate "$1"
  xdotool key --clearmodifiers Escape
  wait_for_close "$1"
}

# Replaces the text of the input at ($2, $3) in the window titled $1.
retype() {
  click_in "$1" "$2" "$3"
  xdotool key --clearmodifiers ctrl+a BackSpace
  xdotool type --clearmodifiers --delay 20 "$4"
}

# In the open name dialog: types $1 and presses "OK" at (290, 65), 100 x 25.
name_project() {
  retype "Enter the project name" 200 22 "$1"
  click_in "Enter the project name" 340 77
}

# A save of these projects ends with the export's "There is no scene added.".
saved_as() {
  dismiss Warning
  wait_for_window "$title - $1" >/dev/null || fail "not saved as '$1'"
}

# Ctrl+1 adds a sprite; its " Done " lies at (725, 565), 65 x 25.
add_sprite() {
  keys ctrl+1
  click_in "Sprite properties - $1" 757 577
  wait_for_close "Sprite properties - $1"
}

case $case_name in
  replace_project)
    start
    add_sprite sprite_2
    keys ctrl+s
    name_project demo
    saved_as demo
    cp Projects/demo.qgp first.qgp
    keys ctrl+n
    wait_for_window "$title" >/dev/null || fail "New kept the project name"
    add_sprite sprite_2
    add_sprite sprite_3
    # No: nothing written and the project stays unnamed.
    keys ctrl+s
    name_project demo
    answer n
    wait_for_close "Enter the project name"
    # The next Save asks for the name again, so the declined one has ended.
    keys ctrl+s
    wait_for_window "Enter the project name" >/dev/null || fail "the project got a name on No"
    cmp -s first.qgp Projects/demo.qgp || fail "the other project was written on No"
    # Yes: saved over it.
    name_project demo
    answer y
    saved_as demo
    grep -aq sprite_3 Projects/demo.qgp || fail "the project was not saved on Yes"
    keys ctrl+x
    answer y
    wait_for_end
    ;;
  names_refused)
    start
    # A project name holding ".qgp" could not be opened again.
    keys ctrl+s
    name_project v1.qgp.old
    dismiss Error
    [ -n "$(window_named "Enter the project name")" ] || fail "the name dialog closed on a refused name"
    name_project v1
    saved_as v1
    [ ! -e Projects/v1.qgp.old.qgp ] || fail "saved under the refused name"
    # A sprite name holding "/" would put its frame pictures elsewhere.
    keys ctrl+1
    retype "Sprite properties - sprite_2" 60 22 "a/b"
    click_in "Sprite properties - sprite_2" 757 577
    dismiss Error
    [ -n "$(window_named "Sprite properties - sprite_2")" ] || fail "the sprite dialog closed on 'a/b'"
    retype "Sprite properties - sprite_2" 60 22 "ab"
    click_in "Sprite properties - sprite_2" 757 577
    wait_for_close "Sprite properties - sprite_2"
    keys ctrl+s
    saved_as v1
    grep -aq ab Projects/v1.qgp || fail "the renamed sprite was not saved"
    grep -aq a/b Projects/v1.qgp && fail "the refused sprite name was saved"
    keys ctrl+x
    answer y
    wait_for_end
    ;;
  exit_unsaved)
    # With ConfirmExit = 0 only unsaved changes are asked about.
    start
    keys ctrl+x
    answer y
    wait_for_end
    sed -i 's/^ConfirmExit = 1$/ConfirmExit = 0/' preferences.dat
    start
    add_sprite sprite_2
    keys ctrl+x
    answer n
    running || fail "the program ended on No"
    [ -n "$(find . -maxdepth 1 -name '_temp_*' -type d)" ] || fail "the working folder went on No"
    keys alt+F4
    answer n
    running || fail "the program ended on No to the close box"
    keys ctrl+s
    name_project demo
    saved_as demo
    # Saved: no question.
    keys ctrl+x
    wait_for_end
    [ "$status" -eq 0 ] || fail "exit code $status"
    # Yes ends the program, unsaved work and all.
    start
    add_sprite sprite_2
    keys ctrl+x
    answer y
    wait_for_end
    [ "$status" -eq 0 ] || fail "exit code $status"
    [ -z "$(find . -maxdepth 1 -name '_temp_*' -type d)" ] || fail "the working folder is left after exit"
    ;;
  *)
    fail "unknown case $case_name"
    ;;
esac
echo "passed: $case_name"
