# Sourced by the program tests, whose arguments are BINARY CASE: a scratch
# working directory, and helpers that start the program on the test display
# and drive it from outside with xdotool. The sourcing script sets $title,
# the main window's title, before calling start.
#
# Every wait is for something a user would see: a window shown and active, a
# title, a file written. The patience below is only a safety net for a slow
# machine; nothing waits for it to pass.
set -uo pipefail
bin=$1
case_name=$2
[ -n "${DISPLAY:-}" ] || { echo "no display: skipped"; exit 77; }
patience=${QUILLOP_TEST_PATIENCE:-120}

work=$(mktemp -d /tmp/quillop-program-XXXXXX)
# GTK's own settings (the file chooser's mode, hidden files) and its list of
# recent files are the test's alone: another run on the machine changes them.
settings=$(mktemp -d /tmp/quillop-settings-XXXXXX)
export XDG_CONFIG_HOME=$settings XDG_DATA_HOME=$settings
pid=
cleanup() {
  [ -n "$pid" ] && kill "$pid" 2>/dev/null
  rm -rf "$work" "$settings"
}
trap cleanup EXIT
cd "$work" || exit 1

# The screen at the failure is kept where the scratch folder's removal does
# not reach: in $QUILLOP_TEST_KEEP (the build's Testing folder) or here.
fail() {
  local shot
  shot="${QUILLOP_TEST_KEEP:-$PWD}/program-fail-$case_name-$(date +%s)-$$.png"
  import -window root "$shot" 2>/dev/null && echo "screen at the failure: $shot"
  echo "FAIL: $*"
  cat "$work/.out" 2>/dev/null
  exit 1
}

# Runs the command until it succeeds; false once the patience runs out.
until_true() {
  local end=$((SECONDS + patience))
  until "$@"; do
    [ "$SECONDS" -lt "$end" ] || return 1
    sleep 0.05
  done
}

running() { kill -0 "$pid" 2>/dev/null; }
ended() { ! running; }

# A window gets its title before it is mapped: only a shown one takes input.
window_named() { xdotool search --name "^$1\$" 2>/dev/null | head -1; }
shown_window() { xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -1; }
no_window() { [ -z "$(window_named "$1")" ]; }
is_active() { [ "$(xdotool getactivewindow 2>/dev/null)" = "$1" ]; }
activate_id() {
  is_active "$1" && return 0
  xdotool windowactivate "$1" 2>/dev/null
  is_active "$1"
}

find_shown() { w=$(shown_window "$1"); [ -n "$w" ]; }

# Waits for the window titled $1 to be shown and makes it the active one,
# the window that gets the keys; its id in $w (and on the output of
# wait_for_window).
wait_for_window() {
  w=
  until_true find_shown "$1" && until_true activate_id "$w" && echo "$w"
}
activate() { wait_for_window "$1" >/dev/null || fail "no active window '$1'"; }
wait_for_close() { until_true no_window "$1" || fail "'$1' did not close"; }

# Clicks at ($2, $3) inside the window titled $1.
click_in() {
  activate "$1"
  xdotool mousemove --window "$w" "$2" "$3" click 1
}

# Starts the program with the given parameters and waits for its main window
# to be shown. Every key and button is released first: input sent through
# the X server reads as sent. The title is set last in start-up, along with
# the shortcuts, and keys are read only once start-up is over; keys makes it
# active.
start() {
  bash "$(dirname "${BASH_SOURCE[0]}")/release_input.sh"
  "$bin" "$@" >"$work/.out" 2>&1 &
  pid=$!
  until_true find_shown "$title" || fail "no main window titled '$title'"
  main_window=$w
}

# Waits for the program to end; its exit code in $status.
wait_for_end() {
  until_true ended || fail "the program did not end"
  wait "$pid"
  status=$?
  pid=
}

keys() {
  until_true activate_id "$main_window" || fail "the main window did not become active"
  xdotool key --clearmodifiers "$@"
}

# Exit through the question: Ctrl+X, then Yes in the "Confirm" box.
exit_with_yes() {
  keys ctrl+x
  activate Confirm
  xdotool key --clearmodifiers alt+y
  wait_for_end
  [ "$status" -eq 0 ] || fail "exit code $status"
}

# Ctrl+O, then the project in the first row of the list at (10, 10) and
# "Open" at (530, 365), 100 x 25, in the dialog.
open_first_project() {
  keys ctrl+o
  click_in "Open a project..." 60 22
  click_in "Open a project..." 580 377
  wait_for_close "Open a project..."
}
