#!/usr/bin/env bash
# maker_program.sh BINARY CASE: starts quillop-maker in a scratch working
# directory on the test display and drives it from outside with xdotool.
. "$(dirname "$0")/driver.sh"
title="Quillop Game Maker v1.2.7"

fresh_preferences() {
  printf '\xef\xbb\xbf\n'
  printf '%s\n' "[Code editor]" "sci_color_fore = 0" "sci_color_selection_back = 4194304" \
    "sci_color_selection_fore = 16777215" "sci_color_command = 14888246" \
    "sci_color_comment = 10526880" "sci_color_function = 2335523" "sci_color_number = 4210896" \
    "sci_color_resource = 12298801" "sci_color_string = 12976326" \
    "sci_color_qp_constant = 3947580" "sci_color_qp_function = 2255392" \
    "sci_color_qp_variable = 1265745" "sci_color_caret = 15790335" \
    "sci_font_family = Consolas" "sci_font_size = 11" "x = -1" "y = -1" "width = -1" \
    "height = -1" "maximized = -1" "[Browser]" "add_file_protocol = 0" "[Misc]" \
    "CheckProgramVersion = 1" "GenerateIndexHTML = 1" "ConfirmExit = 1"
}

working_folders() { find . -maxdepth 1 -name '_temp_[0-9][0-9][0-9][0-9][0-9][0-9]' -type d | wc -l; }

# Presses "Done" of the property dialog titled $1 at ($2, $3) inside it, and
# waits for the dialog to close.
close_with_done() {
  click_in "$1" "$2" "$3"
  wait_for_close "$1"
}

# The project file "demo" holds every resource added.
demo_saved() {
  [ -f Projects/demo/game.js ] || return 1
  for name in sprite_2 sound_3 music_4 background_5 font_6 object_7 scene_8; do
    grep -aq "$name" Projects/demo.qgp 2>/dev/null || return 1
  done
}

# Ctrl+1 to Ctrl+7 add one resource of each kind, closing the dialog each
# opens with its "Done" (W - 75, H - 35, 65 x 25 in a W x H dialog; the
# scene editor's at 10, 10, 100 x 25); Ctrl+S saves them as "demo".
add_and_save_as_demo() {
  for n in 1 2 3 4 5 6 7; do
    keys ctrl+$n
    case $n in
      1) close_with_done "Sprite properties - sprite_2" 757 577 ;;
      2) close_with_done "Sound properties - sound_3" 437 197 ;;
      3) close_with_done "Music properties - music_4" 437 197 ;;
      4) close_with_done "Background properties - background_5" 757 577 ;;
      5) close_with_done "Font properties - font_6" 157 277 ;;
      6) close_with_done "Object properties - object_7" 757 577 ;;
      7) close_with_done "Scene properties - scene_8" 60 22 ;;
    esac
  done
  keys ctrl+s
  click_in "Enter the project name" 200 22
  xdotool type --clearmodifiers --delay 20 demo
  # The "OK" button lies at (290, 65), 100 x 25, in the dialog.
  click_in "Enter the project name" 340 77
  until_true demo_saved || fail "the project was not saved with every resource"
  wait_for_window "$title - demo" >/dev/null || fail "no project name in the title"
}

case $case_name in
  startup_files)
    start
    [ "$(working_folders)" -eq 1 ] || fail "no working folder _temp_HHMMSS"
    [ -d Projects ] || fail "no Projects folder"
    [ -d Extensions ] || fail "no Extensions folder"
    cmp preferences.dat <(fresh_preferences) || fail "preferences.dat is not the fresh file"
    [ -f export.js ] || fail "the engine template was not created"
    exit_with_yes
    [ "$(working_folders)" -eq 0 ] || fail "the working folder is left after exit"
    cmp preferences.dat <(fresh_preferences) || fail "preferences.dat changed at exit"
    ;;
  exit_declined)
    start
    keys ctrl+x
    activate Confirm
    xdotool key --clearmodifiers alt+n
    wait_for_close Confirm
    running || fail "the program ended on No"
    [ "$(working_folders)" -eq 1 ] || fail "the working folder went on No"
    # The close box (the window manager's close) asks the same question.
    keys alt+F4
    activate Confirm
    xdotool key --clearmodifiers alt+y
    wait_for_end
    [ "$status" -eq 0 ] || fail "exit code $status"
    ;;
  exit_unconfirmed)
    fresh_preferences | sed 's/^ConfirmExit = 1$/ConfirmExit = 0/' >preferences.dat
    start
    keys ctrl+x
    wait_for_end
    [ "$status" -eq 0 ] || fail "exit code $status"
    [ "$(working_folders)" -eq 0 ] || fail "the working folder is left after exit"
    grep -q '^ConfirmExit = 0$' preferences.dat || fail "ConfirmExit was not kept"
    ;;
  debug_window)
    start -d
    [ -n "$(window_named Debug)" ] || fail "no Debug window with -d"
    exit_with_yes
    start x y -d
    [ -z "$(window_named Debug)" ] || fail "Debug window with -d as third parameter"
    exit_with_yes
    ;;
  bad_preferences)
    # Garbage, one long line without line ends, and a folder: defaults, no crash.
    for kind in garbage noends folder; do
      rm -rf preferences.dat
      case $kind in
        garbage) perl -e 'print map { chr(($_ * 7919 + ($_ >> 8)) % 256) } 0 .. 65535' >preferences.dat ;;
        noends) head -c 200000 /dev/zero | tr '\0' '=' >preferences.dat ;;
        folder) mkdir preferences.dat ;;
      esac
      start
      exit_with_yes
    done
    [ -d preferences.dat ] || fail "the folder preferences.dat was replaced"
    ;;
  projects_is_file)
    echo "not a folder" >Projects
    start
    [ -f Projects ] || fail "Projects was replaced"
    exit_with_yes
    ;;
  add_and_save)
    start
    add_and_save_as_demo
    exit_with_yes
    ;;
  open_saved)
    # New, then Open of the saved project; saving it again writes the same bytes.
    start
    add_and_save_as_demo
    cp Projects/demo.qgp saved.qgp
    keys ctrl+n
    wait_for_window "$title" >/dev/null || fail "New kept the project name"
    open_first_project
    wait_for_window "$title - demo" >/dev/null || fail "the project was not opened"
    rm Projects/demo.qgp
    keys ctrl+s
    until_true cmp -s saved.qgp Projects/demo.qgp || fail "the opened project saves differently"
    exit_with_yes
    ;;
  held_keys)
    # Ctrl, Shift and the left button left held by an earlier test: what is
    # typed next, without clearing them, still arrives as typed.
    xdotool keydown ctrl keydown shift mousedown 1
    start
    keys ctrl+s
    click_in "Enter the project name" 200 22
    xdotool type --delay 20 demo
    click_in "Enter the project name" 340 77
    # A project without a scene is saved with a warning.
    activate Warning
    xdotool key --clearmodifiers Return
    wait_for_close Warning
    wait_for_window "$title - demo" >/dev/null || fail "not saved as 'demo'"
    [ -f Projects/demo.qgp ] || fail "no Projects/demo.qgp"
    exit_with_yes
    ;;
  *)
    fail "unknown case $case_name"
    ;;
esac
echo "passed: $case_name"
