#!/usr/bin/env bash
# journey_program.sh BINARY CASE: makes a small game the way a user does,
# through real X input on the built quillop-maker: keys, clicks and the real
# GTK file chooser with a typed path; then saves, reopens and runs it.
engine="$(cd "$(dirname "$0")/../../engine" && pwd)/export.js"
. "$(dirname "$0")/driver.sh"
title="Quillop Game Maker v1.2.7"

# Ctrl+S in an unnamed project: types the name $1 into the name dialog and
# presses its "OK" at (290, 65), 100 x 25.
save_as() {
  keys ctrl+s
  click_in "Enter the project name" 200 22
  xdotool type --clearmodifiers --delay 20 "$1"
  click_in "Enter the project name" 340 77
  wait_for_window "$title - $1" >/dev/null || fail "not saved as '$1'"
}

# A 24 x 16 picture of one colour (RGB $1 $2 $3) written as PNG to $4.
write_png() {
  python3 - "$@" <<'PY'
import struct, sys, zlib
r, g, b, path = int(sys.argv[1]), int(sys.argv[2]), int(sys.argv[3]), sys.argv[4]
w, h = 24, 16
def chunk(kind, data):
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))
rows = b"".join(b"\0" + bytes([r, g, b]) * w for _ in range(h))
open(path, "wb").write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", w, h, 8, 2, 0, 0, 0))
                       + chunk(b"IDAT", zlib.compress(rows)) + chunk(b"IEND", b""))
PY
}

# The left and top of the first pixel near colour R G B in the PNG $4 (8-bit
# RGB or RGBA, not interlaced), or nothing.
find_colour() {
  python3 - "$@" <<'PY'
import struct, sys, zlib
want, path = [int(v) for v in sys.argv[1:4]], sys.argv[4]
data = open(path, "rb").read()
pos, idat = 8, b""
while pos + 8 <= len(data):
    n, kind = struct.unpack(">I4s", data[pos:pos + 8])
    body = data[pos + 8:pos + 8 + n]
    if kind == b"IHDR":
        w, h, depth, ctype = struct.unpack(">IIBB", body[:10])
    if kind == b"IDAT":
        idat += body
    pos += 12 + n
bpp = {2: 3, 6: 4}[ctype]
raw, stride, prev = zlib.decompress(idat), w * bpp, bytearray(w * bpp)
for y in range(h):
    f = raw[y * (stride + 1)]
    line = bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
    for i in range(stride):
        a = line[i - bpp] if i >= bpp else 0
        c = prev[i - bpp] if i >= bpp else 0
        up = prev[i]
        if f == 1: line[i] = (line[i] + a) & 255
        elif f == 2: line[i] = (line[i] + up) & 255
        elif f == 3: line[i] = (line[i] + (a + up) // 2) & 255
        elif f == 4:
            p = a + up - c
            pa, pb, pc = abs(p - a), abs(p - up), abs(p - c)
            line[i] = (line[i] + (a if pa <= pb and pa <= pc else up if pb <= pc else c)) & 255
    prev = line
    for x in range(w):
        if all(abs(line[x * bpp + k] - want[k]) <= 8 for k in range(3)):
            print(x, y)
            sys.exit(0)
PY
}

# The browser the program starts: renders the page in headless Chromium
# after a short and after a longer run, then marks that it is done.
write_browser() {
  mkdir -p "$work/bin" "$work/home"
  cat >"$work/bin/x-www-browser" <<EOF
#!/bin/sh
for budget in 200 1500; do
  HOME="$work/home" timeout -k 5 30 chromium --headless --no-sandbox --disable-gpu --disable-quic \\
    --no-first-run --disable-background-networking --disable-component-update --disable-sync \\
    --hide-scrollbars --user-data-dir="$work/profile" --window-size=800,600 \\
    --virtual-time-budget=\$budget --screenshot="$work/shot\$budget.png" "file://\$1" \\
    >>"$work/chromium.log" 2>&1
done
touch "$work/browser.done"
EOF
  chmod +x "$work/bin/x-www-browser"
}

case $case_name in
  make_save_open_run)
    mkdir pictures
    write_png 200 30 40 "$work/pictures/ship.png"
    write_png 30 160 60 "$work/pictures/grass.png"
    write_browser
    # The engine template comes with the program; a first start leaves it empty.
    cp "$engine" export.js
    export PATH="$work/bin:$PATH"
    start
    # A sprite from the picture, chosen by typing its path into the chooser.
    keys ctrl+1
    click_in "Sprite properties - sprite_2" 60 52
    activate "Select an image strip"
    xdotool key --clearmodifiers ctrl+l
    xdotool type --clearmodifiers --delay 30 "$work/pictures/ship.png"
    xdotool key --clearmodifiers Return
    # " Import! " at (725, 565), 65 x 25, takes the picture as one frame.
    click_in "Importing image strips" 757 577
    wait_for_close "Importing image strips"
    click_in "Sprite properties - sprite_2" 757 577
    wait_for_close "Sprite properties - sprite_2"

    # An object showing it: the second item of the sprite list at (10, 155).
    keys ctrl+6
    click_in "Object properties - object_3" 60 167
    xdotool key --clearmodifiers Down Return
    # A Step event (third in the event-type list at (220, 10)), its code typed
    # into the code window that "Add event >>> " at (120, 10) opens.
    click_in "Object properties - object_3" 270 22
    xdotool key --clearmodifiers Down Down Return
    click_in "Object properties - object_3" 167 22
    activate "Code editor - Step event of object_3"
    xdotool type --clearmodifiers --delay 30 "x += 4;"
    click_in "Code editor - Step event of object_3" 757 577
    wait_for_close "Code editor - Step event of object_3"
    click_in "Object properties - object_3" 757 577
    wait_for_close "Object properties - object_3"

    # A background to cut tiles from, its picture chosen by a typed path;
    # "Select image..." at (10, 70), 100 x 25.
    keys ctrl+4
    click_in "Background properties - background_[0-9]*" 60 82
    activate "Select an image"
    xdotool key --clearmodifiers ctrl+l
    xdotool type --clearmodifiers --delay 30 "$work/pictures/grass.png"
    xdotool key --clearmodifiers Return
    wait_for_close "Select an image"
    click_in "Background properties - background_[0-9]*" 757 577
    wait_for_close "Background properties - background_[0-9]*"

    # A scene with one instance placed by a click at (100, 100) of its
    # canvas (at (320, 45) in the dialog), on the "Objects" tab at (108, 55).
    keys ctrl+7
    scene="Scene properties - scene_[0-9]*"
    click_in "$scene" 108 55
    click_in "$scene" 420 145
    # On the "Tiles" tab the tile set shows the background; a drag over it
    # picks the whole picture as the tile.
    click_in "$scene" 250 55
    xdotool mousemove --window "$w" 26 154 mousedown 1
    xdotool mousemove --window "$w" 30 158 mouseup 1
    # Shift held, the left button dragged along the row y = 300 of the
    # canvas from x 205 to 285: one tile in each grid cell entered.
    xdotool mousemove --window "$w" 525 345 keydown shift mousedown 1
    for x in $(seq 535 10 605); do xdotool mousemove --window "$w" "$x" 345; done
    xdotool mouseup 1 keyup shift
    click_in "$scene" 60 22
    wait_for_close "$scene"

    save_as journey
    exit_with_yes
    # The saved tiles: one 24 x 16 cut of the whole picture per cell.
    tiles=$(python3 - Projects/journey.qgp <<'PY'
import re, struct, sys
data = open(sys.argv[1], "rb").read()
# A tile record: background, depth, height, left, name, scene, top, width, x, y.
for m in re.finditer(rb"\n(.{12})tile_\d+\n[^\n]*\n(.{16})", data, re.S):
    depth, height, left = struct.unpack("<3i", m.group(1))
    top, width, x, y = struct.unpack("<4i", m.group(2))
    print(f"{x},{y},{width}x{height}@{left},{top},{depth}", end=" ")
PY
)
    want="200,300,24x16@0,0,1000000 220,300,24x16@0,0,1000000 240,300,24x16@0,0,1000000 260,300,24x16@0,0,1000000 280,300,24x16@0,0,1000000 "
    [ "$tiles" = "$want" ] || fail "saved tiles: '$tiles'"
    start
    open_first_project
    wait_for_window "$title - journey" >/dev/null || fail "the project was not opened"

    # Run game: the page is rendered by the browser above.
    keys F5
    until_true test -f browser.done || fail "the browser was not started"
    # The black scene starts at the page's top left; the instance stays on
    # the row where it was placed and its Step code moves it to the right;
    # the painted tiles begin at (200, 300) of the scene.
    last=-1
    for budget in 200 1500; do
      [ -f shot$budget.png ] || { cat chromium.log; fail "no screenshot after $budget ms"; }
      read -r sx sy < <(find_colour 0 0 0 shot$budget.png)
      read -r tx ty < <(find_colour 30 160 60 shot$budget.png)
      [ "${tx:-}" = $((sx + 200)) ] && [ "$ty" = $((sy + 300)) ] ||
        fail "after $budget ms: the scene at ${sx:-?},${sy:-?}, the tiles at ${tx:-?},${ty:-?}"
      read -r ix iy < <(find_colour 200 30 40 shot$budget.png)
      [ -n "${ix:-}" ] && [ "$iy" = $((sy + 100)) ] && [ $((ix - sx)) -gt 100 ] && [ "$ix" -gt "$last" ] ||
        fail "after $budget ms: the scene at ${sx:-?},${sy:-?}, the instance at ${ix:-?},${iy:-?}"
      last=$ix
    done
    exit_with_yes
    ;;
  *)
    fail "unknown case $case_name"
    ;;
esac
echo "passed: $case_name"
