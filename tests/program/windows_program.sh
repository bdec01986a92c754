#!/usr/bin/env bash
# windows_program.sh BINARY CASE: quillop-maker's main window as it first
# appears, here on a bare X server of its own where no window manager
# answers the maximise.
. "$(dirname "$0")/driver.sh"
title="Quillop Game Maker v1.2.7"

xvfb_pid=
trap 'cleanup; [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null' EXIT

# The server takes a free display number itself, as scripts/display does.
bare_display() {
  local fd num
  exec {fd}< <(Xvfb -displayfd 1 -screen 0 1280x1024x24 -nolisten tcp 2>/dev/null)
  xvfb_pid=$!
  read -r -t "$patience" num <&"$fd" || fail "no bare X server"
  export DISPLAY=":$num"
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
