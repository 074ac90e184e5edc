#!/usr/bin/env bash
# A runner's key script replayed in the real window gives the runner's trace: the careful pilot's
# keys from the logo through the first stage into its stage-clear tally, cut there, are played by
# the game with --replay, which then hands the keys back to the idle keyboard while the tally goes
# on; the game's --trace equals kavorind-sim's on every line, sound results included (both on SDL's
# dummy audio), but for whether a frame was drawn: a busy machine may skip one (see
# compare_traces.py). Real time: about two and a half minutes of play.
set -euo pipefail
build=$(cd "$1" && pwd)
source_dir=$(cd "$2" && pwd)
source "$(dirname "$0")/xvfb_session.bash"
work=$(mktemp -d)
trap 'kill "${game:-0}" 2>/dev/null || true; xvfb_stop; rm -rf "$work"' EXIT
[ -f "$build/data/Pal.Pal" ] || { echo "no default content in $build/data" >&2; exit 1; }
export XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/share SDL_AUDIODRIVER=dummy

# The first stage is over well within 7,000 ticks; the script is cut 45 ticks into the tally, and
# both runs go on 45 ticks more without keys.
"$build/kavorind-pilot" --data "$build/data" --out "$work/course.keys" --ticks 7000 >/dev/null
"$build/kavorind-sim" --data "$build/data" --keys "$work/course.keys" --ticks 7000 \
    --trace "$work/course.jsonl" 2>/dev/null
read -r cut lines < <(python3 - "$work/course.jsonl" "$work/course.keys" "$work/stage.keys" <<'PY'
import json, sys
course, keys, out = sys.argv[1:]
tally = next(json.loads(t)["tick"] for t in open(course) if json.loads(t)["scene"] == 4)
cut = tally + 45
with open(out, "w") as script:
    script.write(f"# The careful pilot's first stage, cut at tick {cut} in the tally\n")
    for line in open(keys):
        if line.startswith("#"):
            continue
        ticks, names = line.split()
        first, _, last = ticks.partition("-")
        first, last = int(first), int(last or first)
        if first <= cut:
            script.write(f"{first}-{min(last, cut)} {names}\n")
print(cut, cut + 45)
PY
)
echo "the tally starts at tick $((cut - 45)); script cut at $cut, $lines lines compared"
"$build/kavorind-sim" --data "$build/data" --keys "$work/stage.keys" --ticks "$lines" \
    --trace "$work/runner.jsonl" 2>/dev/null

xvfb_start
cd "$build/data"
"$build/kavorind" --replay "$work/stage.keys" --trace "$work/game.jsonl" 2>"$work/stderr" &
game=$!
window=$(timeout 10 xdotool search --sync --name '^Kavorind$' | head -n 1)
[ -n "$window" ]
# Real time: 30 ticks a second, and a loaded machine may be slower still.
for _ in $(seq $((lines / 3 + 600))); do
    [ "$(wc -l <"$work/game.jsonl")" -ge "$lines" ] && break
    kill -0 "$game"
    sleep 0.2
done
"$build/kavorind-xclose" "$window"
wait_for_exit "$game" 15
echo "replayed in the real window: exit code ${exit_code}, $(wc -l <"$work/game.jsonl") lines"
[ "$exit_code" = "0" ]
python3 "$source_dir/tests/e2e/compare_traces.py" "$work/game.jsonl" "$work/runner.jsonl" "$lines" \
    --frames-may-be-skipped
