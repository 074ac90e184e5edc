#!/usr/bin/env bash
# The real program in a real X window, driven by key presses: a window titled "Kavorind" appears and
# shows the logo, Z brings the menu, Down and Z quit with exit code 0; the loop uses a small part of
# a core while it draws; and in a second run the window's close button ends the program with exit
# code 0 within a second.
set -euo pipefail
build=$1
source "$(dirname "$0")/xvfb_session.bash"
work=$(mktemp -d)
# The game writes its settings on first run: into the test's own folders, never the user's.
export XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/share"
trap 'kill "${game:-0}" 2>/dev/null || true; xvfb_stop; rm -rf "$work"' EXIT
xvfb_start
"$build/kavorind-test-content" "$work/data"
cd "$work/data"

# Holds a key down for a few ticks: the game samples the keyboard once per tick.
press() {
    xdotool keydown --window "$window" "$1"
    sleep 0.4
    # The key that quits may close the window before it is let go.
    xdotool keyup --window "$window" "$1" 2>/dev/null || true
    sleep 0.3
}

brightness() {
    import -window root "$work/shot.png"
    cp "$work/shot.png" "/tmp/kavorind-shot-$1.png" 2>/dev/null || true
    convert "$work/shot.png" -colorspace Gray -format "%[fx:mean]" info:
}

start_game() {
    SDL_AUDIODRIVER=dummy "$build/kavorind" 2>"$work/stderr" &
    game=$!
    window=$(timeout 10 xdotool search --sync --name '^Kavorind$' | head -n 1)
    [ -n "$window" ]
    [ "$(xdotool getwindowname "$window")" = "Kavorind" ]
    xdotool windowfocus --sync "$window" 2>/dev/null || true
}

# Waits up to 15 seconds (a loaded machine starts slowly) for the screen to be brighter than $2.
wait_for_screen() {
    local name=$1 least=$2 level=0
    for _ in $(seq 30); do
        level=$(brightness "$name")
        awk -v b="$level" -v l="$least" 'BEGIN { exit !(b > l) }' && break
        sleep 0.5
    done
    echo "$name screen brightness: $level"
    awk -v b="$level" -v l="$least" 'BEGIN { exit !(b > l) }'
}

start_game
# The logo is a small picture on black; the menu fills the screen.
wait_for_screen logo 0.01
press z
wait_for_screen menu 0.2

# CPU use over five seconds of the menu, drawn 30 times a second, against the wall time.
hz=$(getconf CLK_TCK)
before=$(cpu_ticks "$game")
sleep 5
after=$(cpu_ticks "$game")
percent=$(awk -v used=$((after - before)) -v hz="$hz" 'BEGIN { printf "%.1f", used * 100 / (5 * hz) }')
echo "cpu while drawing the menu: ${percent}% of one core"
# A spinning loop would use the whole core.
awk -v p="$percent" 'BEGIN { exit !(p < 50) }'

press Down
press z
wait_for_exit "$game" 15
echo "quit from the menu: exit code ${exit_code}"
[ "$exit_code" = "0" ]

start_game
sleep 1
start=$(date +%s%N)
"$build/kavorind-xclose" "$window"
wait_for_exit "$game" 3
elapsed=$(( ($(date +%s%N) - start) / 1000000 ))
echo "closed after ${elapsed} ms with exit code ${exit_code}"
[ "$exit_code" = "0" ]
