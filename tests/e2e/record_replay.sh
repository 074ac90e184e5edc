#!/usr/bin/env bash
# A session recorded in the real window replays in the runner: the game runs with --record and
# --trace while xdotool skips the logo, starts a game, flies and fires a little and leaves with
# Escape and the menu's quit entry; the recorded key script, replayed by kavorind-sim for the same
# number of ticks, gives the game's own trace line for line (without the sound calls' results,
# which depend on the device: the runner's is SDL's dummy one, the X server here has no sound card;
# and without whether a frame was drawn, which a busy machine may skip: see compare_traces.py).
set -euo pipefail
build=$(cd "$1" && pwd)
source_dir=$(cd "$2" && pwd)
source "$(dirname "$0")/xvfb_session.bash"
work=$(mktemp -d)
trap 'kill "${game:-0}" 2>/dev/null || true; xvfb_stop; rm -rf "$work" "$build"/session-record.*' EXIT
[ -f "$build/data/Pal.Pal" ] || { echo "no default content in $build/data" >&2; exit 1; }
export XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/share
xvfb_start
cd "$build/data"

# Relative names, taken before anything could change the working directory.
"$build/kavorind" --record ../session-record.keys --trace ../session-record.jsonl \
    2>"$work/stderr" &
game=$!
await_game_window
sleep 1
press z   # past the logo
sleep 1
press z   # START
sleep 1.5 # the menu fades out
press z   # the opening's text rises at once
sleep 5
xdotool keydown --window "$window" Up
for _ in $(seq 4); do press z 0.15; done
xdotool keyup --window "$window" Up
xdotool keydown --window "$window" Right
press x 0.5
for _ in $(seq 4); do press z 0.15; done
xdotool keyup --window "$window" Right
press Escape
sleep 1
press Down
press z
wait_for_exit "$game" 15
echo "session recorded: exit code ${exit_code}"
[ "$exit_code" = "0" ]
mv "$build/session-record.keys" "$build/session-record.jsonl" "$work/"

keys=$work/session-record.keys
ticks=$(sed -n 's/^# ticks: //p' "$keys")
echo "recorded $ticks ticks, $(grep -cv '^#' "$keys") key lines"
[ "$ticks" -gt 300 ]
[ "$(wc -l <"$work/session-record.jsonl")" = "$ticks" ]
# The session went through the logo, the menu, the opening and a stage, and ended in the menu.
python3 - "$work/session-record.jsonl" <<'PY'
import json, sys
scenes = []
for text in open(sys.argv[1]):
    scene = json.loads(text)["scene"]
    if not scenes or scenes[-1] != scene:
        scenes.append(scene)
assert scenes == [1, 2, 6, 3, 2], scenes
PY
SDL_AUDIODRIVER=dummy "$build/kavorind-sim" --data "$build/data" --keys "$keys" --ticks "$ticks" \
    --trace "$work/runner.jsonl" 2>/dev/null
python3 "$source_dir/tests/e2e/compare_traces.py" "$work/session-record.jsonl" \
    "$work/runner.jsonl" "$ticks" --without-sound-results --frames-may-be-skipped
