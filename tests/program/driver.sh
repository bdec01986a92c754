# Sourced by the program tests, whose arguments are BINARY CASE: a scratch
# working directory, and helpers that start the program on the test display
# and drive it from outside with xdotool. The sourcing script sets $title,
# the main window's title, before calling start.
set -uo pipefail
bin=$1
case_name=$2
[ -n "${DISPLAY:-}" ] || { echo "no display: skipped"; exit 77; }

work=$(mktemp -d /tmp/quillop-program-XXXXXX)
pid=
cleanup() {
  [ -n "$pid" ] && kill "$pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
cd "$work" || exit 1

fail() { echo "FAIL: $*"; cat "$work/.out" 2>/dev/null; exit 1; }

# Starts the program with the given parameters and waits for its main window.
start() {
  "$bin" "$@" >"$work/.out" 2>&1 &
  pid=$!
  # Polled: a search fails outright when a window it looks at goes away.
  main_window=
  for _ in $(seq 150); do
    main_window=$(window_named "$title")
    [ -n "$main_window" ] && break
    sleep 0.1
  done
  [ -n "$main_window" ] || fail "no main window titled '$title'"
  # Start-up ends with the shortcuts; the first shortcut press may race it.
  sleep 1
}

running() { kill -0 "$pid" 2>/dev/null; }

# Waits up to 10 s for the program to end; its exit code in $status.
wait_for_end() {
  for _ in $(seq 100); do
    if ! running; then
      wait "$pid"
      status=$?
      pid=
      return 0
    fi
    sleep 0.1
  done
  fail "the program did not end"
}

window_named() { xdotool search --name "^$1\$" 2>/dev/null | head -1; }
wait_for_window() {
  for _ in $(seq 100); do
    w=$(window_named "$1")
    [ -n "$w" ] && { echo "$w"; return 0; }
    sleep 0.1
  done
  return 1
}

keys() {
  xdotool windowactivate --sync "$main_window" 2>/dev/null
  xdotool key --clearmodifiers "$@"
}
