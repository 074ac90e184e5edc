#!/usr/bin/env bash
# The options screen worked with the keyboard alone, and hold-to-fire, in the real window:
# - F1 in the menu, down to KEYS AND BUTTONS, FIRE, Return, then Q: the settings file now binds Q
#   to fire (Z kept), the keys used in the screen never reached the menu, and in the first stage Q
#   fires the main shot;
# - with hold_to_fire = yes, fire held in a stage fires again every 6 ticks, and the recording of
#   that game replays in the runner to the same trace tick for tick.
set -euo pipefail
build=$(cd "$1" && pwd)
source_dir=$(cd "$2" && pwd)
source "$(dirname "$0")/xvfb_session.bash"
source "$(dirname "$0")/window_game.bash"
work=$(mktemp -d)
trap 'for pid in ${game:-}; do kill "$pid" 2>/dev/null || true; done; xvfb_stop; rm -rf "$work"' EXIT
[ -f "$build/data/Pal.Pal" ] || { echo "no default content in $build/data" >&2; exit 1; }
export XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/share
xvfb_start
cd "$work"

# The ticks on which the craft fired its main shot: its cooldown starts again at the reload.
shots_fired() {
    python3 - "$1" <<'PY'
import json, sys
fired, last = [], None
for line in open(sys.argv[1]):
    tick = json.loads(line)
    cooldown = tick.get("shotCooldown")
    if tick.get("scene") == 3 and cooldown is not None and last is not None and cooldown > last:
        fired.append(tick["tick"])
    last = cooldown if tick.get("scene") == 3 else None
print(" ".join(map(str, fired)))
PY
}

echo "== the options screen binds Q to fire"
start_game --config "$work/keys.cfg" --trace menu.jsonl
await_lines menu.jsonl 5 15
tap z
await_scene menu.jsonl 2 15
sleep 0.5
tap F1 0.2
for _ in 1 2 3 4 5 6 7 8; do tap Down 0.1; done
tap Return 0.1
for _ in 1 2 3 4; do tap Down 0.1; done
tap Return 0.1
keep_screenshot options-keys
tap q 0.2
tap Escape 0.1
tap Escape 0.1
grep -q '^bind.fire = Z, Return, Space, Pad.A, Pad.Start, Q$' "$work/keys.cfg" ||
    { echo "fire was not bound to Q:" >&2; grep '^bind' "$work/keys.cfg" >&2; exit 1; }
[ "$(trace_scene menu.jsonl)" = 2 ] || { echo "the screen's keys reached the game" >&2; exit 1; }
tap z
await_scene menu.jsonl 6 15
sleep 0.5
tap z
await_scene menu.jsonl 3 15
sleep 1
before=$(trace_lines menu.jsonl)
tap q 0.2
sleep 0.5
close_game
fired=$(shots_fired menu.jsonl)
echo "shots after Q (from line $before): $fired"
awk -v from="$before" -v fired="$fired" 'BEGIN { n = split(fired, t, " "); for (i = 1; i <= n; ++i)
    if (t[i] >= from) exit 0; exit 1 }' || { echo "Q fired nothing" >&2; exit 1; }

echo "== hold-to-fire fires every 6 ticks and replays in the runner"
printf 'hold_to_fire = yes\n' >"$work/hold.cfg"
start_game --config "$work/hold.cfg" --trace held.jsonl --record held.keys
keys_into_first_stage held.jsonl
sleep 0.5
tap z 2
sleep 0.3
close_game
fired=($(shots_fired held.jsonl))
echo "shots while fire was held: ${fired[*]}"
[ "${#fired[@]}" -ge 6 ] || { echo "holding fire fired ${#fired[@]} shots" >&2; exit 1; }
for ((i = 1; i < 6; ++i)); do
    [ $((fired[i] - fired[i - 1])) -eq 6 ] || { echo "shots not 6 ticks apart" >&2; exit 1; }
done
ticks=$(sed -n 's/^# ticks: //p' held.keys)
"$build/kavorind-sim" --data "$build/data" --keys held.keys --ticks "$ticks" --trace sim.jsonl \
    2>/dev/null
python3 "$source_dir/tests/e2e/compare_traces.py" held.jsonl sim.jsonl "$ticks" \
    --frames-may-be-skipped --without-sound-results
echo "options and hold-to-fire ok"
