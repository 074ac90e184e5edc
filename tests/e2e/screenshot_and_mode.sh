#!/usr/bin/env bash
# F12 and F11 in the real window, keys pressed as a keyboard presses them, a key script playing
# the game into the first stage:
# - F12 saves the frame shown, as the runner draws that tick (same indices, same palette: the same
#   PNG bytes), into the pictures folder that user-dirs.dirs names, without the replay's mark that
#   the shell draws over it; paused, F12 saves the paused tick's frame, not the dimmed picture;
# - F11 writes fullscreen = yes into the --config file, every other line kept, and the next game
#   with that file starts on the whole screen.
set -euo pipefail
build=$(cd "$1" && pwd)
source "$(dirname "$0")/xvfb_session.bash"
work=$(mktemp -d)
# Only a game still running is ended: "kill 0" would be the whole process group.
trap '[ -z "${game:-}" ] || kill "$game" 2>/dev/null || true; xvfb_stop; rm -rf "$work"' EXIT
# A screen larger than the window, so that the two modes differ in size.
xvfb_start 1024x768x24
export HOME=$work/home XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/share
unset XDG_PICTURES_DIR
mkdir -p "$HOME" "$XDG_CONFIG_HOME"
printf '# the desktop'"'"'s folders\nXDG_PICTURES_DIR="$HOME/Bilder"\n' >"$XDG_CONFIG_HOME/user-dirs.dirs"
"$build/kavorind-test-content" "$work/data" >/dev/null
cd "$work"

# The menu, the opening, the first stage from tick 43, flying right until tick 200.
printf '3 Z\n10 Z\n20 Z\n30 Z\n40 Z\n50-52 Z\n60-200 Right\n' >stage.keys
cat >game.cfg <<'CFG'
# mine, not the game's
fullscreen   =  no
not a setting line
volume = 80
CFG
cp game.cfg game.cfg.before

trace_lines() { if [ -f "$1" ]; then wc -l <"$1"; else echo 0; fi; }
await_lines() {
    for _ in $(seq $(($3 * 10))); do
        [ "$(trace_lines "$1")" -ge "$2" ] && return 0
        sleep 0.1
    done
    echo "the trace $1 stopped at $(trace_lines "$1") lines, $2 awaited" >&2
    return 1
}
tap() {
    xdotool keydown "$1"
    sleep 0.3
    xdotool keyup "$1"
    sleep 0.2
}
start_game() {
    SDL_AUDIODRIVER=dummy "$build/kavorind" --data "$work/data" --config "$work/game.cfg" "$@" \
        2>>"$work/stderr" &
    game=$!
    window=$(timeout 10 xdotool search --sync --name '^Kavorind$' | head -n 1)
    [ -n "$window" ] || { echo "the game's window did not appear" >&2; return 1; }
    focus_window "$window"
}
close_game() {
    "$build/kavorind-xclose" "$window"
    wait_for_exit "$game" 10
    [ "$exit_code" = "0" ] || { echo "exit code $exit_code" >&2; cat "$work/stderr" >&2; return 1; }
    game=
}
# Waits for the stderr line of screenshot number $1 and prints the file it names.
await_screenshot() {
    for _ in $(seq 50); do
        line=$(grep 'screenshot' "$work/stderr" | sed -n "$1p")
        if [ -n "$line" ]; then
            case $line in
            *"saved as "*) echo "${line#*saved as }"; return 0 ;;
            *) echo "$line" >&2; return 1 ;;
            esac
        fi
        sleep 0.1
    done
    echo "no screenshot was said to be saved" >&2
    return 1
}
# The saved picture against the runner's frame of the tick in its name.
same_as_runner() {
    local shot=$1 tick
    tick=$(basename "$shot" | sed -n 's/^kavorind-[0-9]\{8\}-[0-9]\{6\}-t\([0-9]*\)\.png$/\1/p')
    [ -n "$tick" ] || { echo "$shot is not named with a tick" >&2; return 1; }
    rm -rf frames
    "$build/kavorind-sim" --data "$work/data" --keys stage.keys --ticks "$tick" --frames frames \
        >/dev/null
    local frame
    frame=frames/$(printf 'frame-%06d.png' "$tick")
    if ! cmp -s "$shot" "$frame"; then
        echo "the screenshot of tick $tick differs from the runner's frame:" \
            "$(compare -metric AE "$shot" "$frame" null: 2>&1 || true) pixels" >&2
        return 1
    fi
    echo "the screenshot of tick $tick is the runner's frame, indices and palette"
}

start_game --replay stage.keys --trace playing.jsonl
# Windowed, as the settings file says: the window is smaller than the screen.
geometry=$(xdotool getwindowgeometry "$window" | awk '/Geometry/ {print $2}')
echo "first game's window: $geometry"
[ "$geometry" != "1024x768" ]

await_lines playing.jsonl 90 20
tap F12
playing=$(await_screenshot 1)
case $playing in "$HOME/Bilder/kavorind/"*) ;; *) echo "saved in the wrong place: $playing" >&2; exit 1 ;; esac
same_as_runner "$playing"

tap p
tap F12
paused=$(await_screenshot 2)
tap p
same_as_runner "$paused"
[ "$paused" != "$playing" ]

tap F11
sleep 0.5
close_game
echo "settings after F11:"
cat game.cfg
diff <(sed 's/^fullscreen   =  no$/fullscreen   =  yes/' game.cfg.before) game.cfg

start_game
for _ in $(seq 50); do
    geometry=$(xdotool getwindowgeometry "$window" | awk '/Geometry/ {print $2}')
    [ "$geometry" = "1024x768" ] && break
    sleep 0.1
done
echo "second game's window: $geometry"
[ "$geometry" = "1024x768" ]
close_game
