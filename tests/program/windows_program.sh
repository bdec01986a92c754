#!/usr/bin/env bash
# windows_program.sh BINARY CASE: quillop-maker's main window as it first
# appears, here on a bare X server of its own where no window manager
# answers the maximise.
. "$(dirname "$0")/driver.sh"
title="Quillop Game Maker v1.2.7"

xvfb_pid=
trap 'cleanup; [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null' EXIT

bare_display() {
  local num=$((200 + RANDOM % 700))
  while [ -e "/tmp/.X${num}-lock" ]; do num=$((num + 1)); done
  Xvfb ":$num" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb_pid=$!
  export DISPLAY=":$num"
  until_true xdpyinfo >/dev/null 2>&1 || fail "no bare X server"
}

# The browser's banners are pictures 2880 x 50. With native windows each
# shown picture is an X window of its own, seen in the window tree.
export GDK_NATIVE_WINDOWS=1
banners_shown() { xwininfo -root -tree 2>/dev/null | grep -q ' 2880x50+'; }

case $case_name in
  browser_without_wm)
    bare_display
    start
    until_true banners_shown || fail "the resource browser was not built"
    ;;
  *) fail "unknown case $case_name" ;;
esac
echo "passed: $case_name"
