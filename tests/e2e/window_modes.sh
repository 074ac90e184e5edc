#!/usr/bin/env bash
# Window modes in a real X window on a 1400 x 1050 screen, where 2x fits with a remainder, showing
# the default content's menu (a still picture of dithered pixel art): --windowed opens a 1280 x 960
# window whose pixels are whole 2 x 2 blocks; Alt+Enter switches to full screen, where the same
# frame fills the screen, about as crisp as whole multiples would be; Alt+Enter again gives back
# the same window showing the same frame; a resized window shows the frame 4:3 and centred; F11
# switches too; and --scale integer on the full screen gives the 2x frame centred on black.
# Screenshots go to BUILD/window-modes/.
set -euo pipefail
build=$(cd "$1" && pwd)
source "$(dirname "$0")/xvfb_session.bash"
work=$(mktemp -d)
shots="$build/window-modes"
rm -rf "$shots" && mkdir -p "$shots"
trap 'kill "${game:-0}" 2>/dev/null || true; xvfb_stop; rm -rf "$work"' EXIT
export XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/share"
[ -f "$build/data/Pal.Pal" ] || { echo "no default content in $build/data" >&2; exit 1; }
xvfb_start 1400x1050x24
cd "$build/data"

start_game() {
    SDL_AUDIODRIVER=dummy "$build/kavorind" "$@" 2>"$work/stderr" &
    game=$!
    window=$(timeout 10 xdotool search --sync --name '^Kavorind$' | head -n 1)
    [ -n "$window" ]
    xdotool windowfocus --sync "$window" 2>/dev/null || true
}

press() {
    xdotool keydown --window "$window" "$1"
    sleep 0.3
    xdotool keyup --window "$window" "$1" 2>/dev/null || true
    sleep 0.3
}

# The window's client area as WIDTHxHEIGHT+X+Y.
geometry() {
    xwininfo -id "$window" | awk '/Absolute upper-left X/ {x = $NF} /Absolute upper-left Y/ {y = $NF}
        /Width:/ {w = $NF} /Height:/ {h = $NF} END {print w "x" h "+" x "+" y}'
}

# Waits up to 5 seconds for the window to have geometry $1.
expect_geometry() {
    local now
    for _ in $(seq 50); do
        now=$(geometry)
        [ "$now" = "$1" ] && return 0
        sleep 0.1
    done
    echo "window geometry $now, expected $1" >&2
    return 1
}

# Takes screenshots until two in a row are the same picture (the screen shows a still frame),
# then keeps it as $shots/$1.png.
still_shot() {
    local name=$1 differ
    import -window root "$work/previous.png"
    for _ in $(seq 40); do
        sleep 0.25
        import -window root "$work/now.png"
        differ=$(compare -metric AE "$work/previous.png" "$work/now.png" null: 2>&1 || true)
        if [ "$differ" = "0" ]; then
            cp "$work/now.png" "$shots/$name.png"
            return 0
        fi
        mv "$work/now.png" "$work/previous.png"
    done
    echo "the screen never stood still for $name" >&2
    return 1
}

# The bounding box of everything not black in a picture, as WIDTHxHEIGHT+X+Y.
lit_box() {
    convert "$1" -bordercolor black -border 1 -fuzz 1% -trim -format "%w %h %X %Y" info: |
        awk '{printf "%dx%d+%d+%d\n", $1, $2, $3 - 1, $4 - 1}'
}

# Pixels of $1 that differ from $2 by more than a few percent.
differing_pixels() {
    compare -metric AE -fuzz 6% "$1" "$2" null: 2>&1 || true
}

# Whole blocks: the area $2 of picture $1, shrunk by taking one pixel in $3 and enlarged again by
# repeating it, is the same picture; that frame (one pixel per block) goes to $4.
expect_whole_blocks() {
    local picture=$1 area=$2 scale=$3 out=$4 percent
    percent=$((100 / scale))
    convert "$picture" -crop "$area" +repage -sample "${percent}%" "$out"
    convert "$out" -sample "$((scale * 100))%" "$work/again.png"
    convert "$picture" -crop "$area" +repage "$work/area.png"
    local differ
    differ=$(compare -metric AE "$work/area.png" "$work/again.png" null: 2>&1 || true)
    echo "pixels off the ${scale}x blocks in $area: $differ"
    [ "$differ" = "0" ]
}

start_game --windowed
expect_geometry 1280x960+60+45
press z # past the logo to the menu, which stands still while nothing is pressed
sleep 1
still_shot windowed
expect_whole_blocks "$shots/windowed.png" 1280x960+60+45 2 "$work/frame.png"
[ "$(lit_box "$shots/windowed.png")" = "1280x960+60+45" ]

xdotool key --window "$window" alt+Return
expect_geometry 1400x1050+0+0
still_shot fullscreen
[ "$(lit_box "$shots/fullscreen.png")" = "1400x1050+0+0" ]
# The same frame: one pixel from the middle of each of the frame's pixels gives it back.
convert "$shots/fullscreen.png" -sample 640x480! "$work/fullscreen-frame.png"
differ=$(differing_pixels "$work/frame.png" "$work/fullscreen-frame.png")
echo "full screen: frame pixels that differ from the window's: $differ"
[ "$differ" -lt 3072 ] # 1% of the frame
# Crisp: the frame as enlarged by 2 with repeated pixels, then smoothly to the screen, and neither
# smoothly all the way nor by repeating pixels unevenly (each of which differs at most edges).
convert "$work/frame.png" -sample 200% -filter Triangle -resize 1400x1050! "$work/sharp.png"
convert "$work/frame.png" -filter Triangle -resize 1400x1050! "$work/smooth.png"
convert "$work/frame.png" -sample 1400x1050! "$work/uneven.png"
sharp=$(differing_pixels "$shots/fullscreen.png" "$work/sharp.png")
smooth=$(differing_pixels "$shots/fullscreen.png" "$work/smooth.png")
uneven=$(differing_pixels "$shots/fullscreen.png" "$work/uneven.png")
echo "full screen: pixels off 2x then smooth: $sharp; off smooth: $smooth; off uneven: $uneven"
[ "$sharp" -lt 1000 ] && [ "$smooth" -gt 10000 ] && [ "$uneven" -gt 10000 ]

xdotool key --window "$window" alt+Return
expect_geometry 1280x960+60+45
still_shot windowed-again
differ=$(compare -metric AE "$shots/windowed.png" "$shots/windowed-again.png" null: 2>&1 || true)
echo "back in the window: pixels that differ from before: $differ"
[ "$differ" = "0" ]

xdotool windowsize "$window" 1000 500
expect_geometry 1000x500+60+45
still_shot resized
box=$(lit_box "$shots/resized.png")
echo "resized to 1000 x 500: the picture is $box"
# 4:3 within a pixel, centred within a pixel in the window at (60, 45).
echo "$box" | awk -F'[x+]' '{ w = $1; h = $2; x = $3 - 60; y = $4 - 45
    exit !(h == 500 && y == 0 && (w * 3 - h * 4) ^ 2 <= 16 && (2 * x + w - 1000) ^ 2 <= 4) }'

xdotool key --window "$window" F11
expect_geometry 1400x1050+0+0
press Escape # the menu's Escape quits
wait_for_exit "$game" 15
echo "quit from the menu: exit code ${exit_code}"
[ "$exit_code" = "0" ]

start_game --scale integer
expect_geometry 1400x1050+0+0
press z
sleep 1
still_shot integer
[ "$(lit_box "$shots/integer.png")" = "1280x960+60+45" ]
expect_whole_blocks "$shots/integer.png" 1280x960+60+45 2 "$work/integer-frame.png"
differ=$(compare -metric AE "$work/frame.png" "$work/integer-frame.png" null: 2>&1 || true)
echo "integer full screen: frame pixels that differ from the window's: $differ"
[ "$differ" = "0" ]
press Escape
wait_for_exit "$game" 15
[ "$exit_code" = "0" ]
