#!/usr/bin/env bash
# A game in the real window on the default content: START leads through the opening into the
# first stage, where the craft flies and fires for a few seconds (a screenshot of the stage with
# the craft, the enemies and the head-up display goes to BUILD/kavorind-stage1.png); Escape goes
# back to the menu, whose quit entry then ends the program with exit code 0.
set -euo pipefail
build=$(cd "$1" && pwd)
source "$(dirname "$0")/xvfb_session.bash"
work=$(mktemp -d)
# The game writes its settings on first run: into the test's own folders, never the user's.
export XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/share"
trap 'kill "${game:-0}" 2>/dev/null || true; xvfb_stop; rm -rf "$work"' EXIT
[ -f "$build/data/Pal.Pal" ] || { echo "no default content in $build/data" >&2; exit 1; }
xvfb_start
cd "$build/data"

SDL_AUDIODRIVER=dummy "$build/kavorind" 2>"$work/stderr" &
game=$!
await_game_window
sleep 1
press z   # past the logo
sleep 1
press z   # START
sleep 1.5 # the menu fades out
press z   # the opening's text rises at once; its animation and fade follow
sleep 5

# Fly up and right while firing, then down.
xdotool keydown --window "$window" Up
for _ in $(seq 6); do press z 0.15; done
xdotool keyup --window "$window" Up
xdotool keydown --window "$window" Right
for _ in $(seq 6); do press z 0.15; done
xdotool keyup --window "$window" Right
press x 0.5
import -window root "$build/kavorind-stage1.png"
kill -0 "$game"

press Escape
sleep 1
press Down
press z
wait_for_exit "$game" 15
echo "stage played, Escape to the menu, quit: exit code ${exit_code}"
[ "$exit_code" = "0" ]
