#!/usr/bin/env bash
# Releases every key and mouse button held down on $DISPLAY, whatever an
# earlier test left held (one stopped mid-drag or mid-keystroke), so that
# the input sent next reads as sent. A release of what is not held sends
# nothing. Numbers are key codes; 9 (Escape) would read as the key "9".
exec xdotool keyup --delay 0 Escape $(seq 10 255) mouseup 1 mouseup 2 mouseup 3 mouseup 4 mouseup 5
