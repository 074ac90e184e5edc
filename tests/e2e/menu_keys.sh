#!/usr/bin/env bash
# The real game in a real X window with its default bindings, keys pressed as a keyboard presses
# them (the logo skipped with Space each time): in the menu Alt+Return starts nothing (the menu
# stays, and Down and Space then quit with exit code 0), while Return and Space start the game like
# Z (the menu fades out into the opening).
set -euo pipefail
build=$(cd "$1" && pwd)
source "$(dirname "$0")/xvfb_session.bash"
work=$(mktemp -d)
trap 'kill "${game:-0}" 2>/dev/null || true; xvfb_stop; rm -rf "$work"' EXIT
xvfb_start
# Alt+Return's mode is remembered in the settings file: this test's own, not the shared one.
export XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/share"
"$build/kavorind-test-content" "$work/data"
cd "$work/data"

# Holds a key down for a few ticks: the game samples the keyboard once per tick.
press() {
    xdotool keydown "$@"
    sleep 0.4
    xdotool keyup "$@" 2>/dev/null || true
    sleep 0.3
}

brightness() {
    import -window root "$work/shot.png"
    convert "$work/shot.png" -colorspace Gray -format "%[fx:mean]" info:
}

# Waits up to 15 seconds (a loaded machine starts slowly) for the screen's brightness to pass the
# test awk's $2 makes of it ("b > 0.2", "b < 0.05").
wait_for_screen() {
    local name=$1 test=$2 level=0
    for _ in $(seq 30); do
        level=$(brightness)
        awk -v b="$level" "BEGIN { exit !($test) }" && break
        sleep 0.5
    done
    echo "$name: screen brightness $level"
    awk -v b="$level" "BEGIN { exit !($test) }"
}

start_game() {
    rm -f "$work/trace.jsonl"
    SDL_AUDIODRIVER=dummy "$build/kavorind" --trace "$work/trace.jsonl" 2>"$work/stderr" &
    game=$!
    window=$(timeout 10 xdotool search --sync --name '^Kavorind$' | head -n 1)
    [ -n "$window" ]
    focus_window "$window"
    # The logo is a small picture on black; the menu fills the screen.
    wait_for_screen logo "b > 0.01"
    press space
    wait_for_screen menu "b > 0.2"
}

# Alt+Return only switches the window mode: the menu stays, and Down and Space then choose QUIT.
start_game
press alt Return
sleep 1
wait_for_screen "menu after Alt+Return" "b > 0.2"
press Down
press space
wait_for_exit "$game" 15
echo "Alt+Return left the menu as it was, Down and Space quit: exit code ${exit_code}"
[ "$exit_code" = "0" ]

# Return and Space choose START like Z: the menu fades out into the opening (scene 6). The
# trace tells, whatever the window's mode (Alt+Return above is remembered) makes of the screen.
opening_reached() {
    for _ in $(seq 60); do
        tail -n 1 "$work/trace.jsonl" 2>/dev/null | grep -q '"scene":6,' && return 0
        sleep 0.25
    done
    return 1
}
for key in Return space; do
    start_game
    press "$key"
    opening_reached || { echo "$key did not start the game" >&2; exit 1; }
    echo "$key: the menu led into the opening"
    kill -0 "$game"
    kill "$game"
    wait "$game" 2>/dev/null || true
done
