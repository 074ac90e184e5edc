#!/usr/bin/env bash
# Runs kept with their replays, in the real window with keys pressed as a keyboard presses them:
# - with --classic, P does not pause and a run left with Escape keeps nothing;
# - a run played from the menu into the first stage and left with Escape enters scores.txt (the
#   content's fingerprint, the score, stage 1, not cleared, the player's name), its replay is kept
#   as last.keys and under the entry's own name, the result shows over the menu and goes at a game
#   key, Tab shows the table; the runner plays the entry's replay for its ticks to the same score
#   and the menu;
# - a second run in the same program, Z held from the opening into the stage, is replayed by the
#   runner as the game traced it;
# - --watch 1 plays the run again tick for tick as the game traced it the first time;
# - a game key pressed while watching takes over: from that tick the keys are the player's, and the
#   run, kept as last.keys, stays out of the table.
set -euo pipefail
build=$(cd "$1" && pwd)
source_dir=$(cd "$2" && pwd)
source "$(dirname "$0")/xvfb_session.bash"
source "$(dirname "$0")/window_game.bash"
work=$(mktemp -d)
# Only processes still running are ended: "kill 0" would be the whole process group.
trap 'for pid in ${game:-} ${firing:-}; do kill "$pid" 2>/dev/null || true; done
      xvfb_stop; rm -rf "$work"' EXIT
[ -f "$build/data/Pal.Pal" ] || { echo "no default content in $build/data" >&2; exit 1; }
export XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/share
kept=$XDG_DATA_HOME/kavorind
xvfb_start
cd "$work"
printf 'name = pilot\n' >pilot.cfg

# The number of the first line of trace $1 in the game scene, after its line $2 if given. That line
# is the tick on which the opening handed over; the run, and a replay of it, begin with the next.
first_stage_line() {
    python3 - "$1" "${2:-0}" <<'PY'
import json, sys
for number, text in enumerate(open(sys.argv[1]), start=1):
    if number > int(sys.argv[2]) and json.loads(text)["scene"] == 3:
        print(number)
        break
PY
}

# The count of pixels that differ between the same part of the screenshots $1 and $2, around the
# middle of the screen where the result and the table stand (clear of the menu's craft).
centre_differs() {
    convert "$1" -crop 200x100+220+185 +repage "$1.centre.png"
    convert "$2" -crop 200x100+220+185 +repage "$2.centre.png"
    compare -metric AE -fuzz 10% "$1.centre.png" "$2.centre.png" null: 2>&1 || true
}

# Classic: P is no pause, and Escape from the stage keeps no score and no replay.
start_game --classic --config pilot.cfg --trace classic.jsonl
keys_into_first_stage classic.jsonl
tap p
sleep 0.3
before=$(trace_lines classic.jsonl)
sleep 1
after=$(trace_lines classic.jsonl)
echo "classic: P pressed, then line $before and a second later line $after"
[ "$after" -ge $((before + 20)) ]
tap Escape 0.4
await_scene classic.jsonl 2 10
close_game
[ ! -e "$kept" ] || { echo "the classic game kept:" >&2; find "$kept" >&2; exit 1; }

# The run that counts: the main shot fired on fresh presses from the stage's start, and the special
# weapon held as the first flyers close in, which usually scores.
start_game --config pilot.cfg --trace play.jsonl
keys_into_first_stage play.jsonl
stage_line=$(($(first_stage_line play.jsonl) + 1))
(for _ in $(seq 16); do tap z 0.1; done) &
firing=$!
await_lines play.jsonl $((stage_line + 68)) 10
tap x 1.3
wait "$firing"
firing=
tap Escape 0.4
await_scene play.jsonl 2 10
import -window root result.png
keep_screenshot result
menu_line=$(trace_lines play.jsonl)
# A game key pressed after the result came sends it away before its four seconds are up; X does
# nothing in the menu itself.
tap x 0.2
import -window root after.png
sleep 0.5
import -window root later.png
xdotool keydown Tab
sleep 0.5
import -window root table.png
keep_screenshot scores
xdotool keyup Tab
cp "$kept/scores.txt" first-scores.txt
cp "$kept/replays/last.keys" first-last.keys

# A second run in the same program: the spawner goes on from the first run, and Z, held from the
# opening into the stage, is no new press on the run's first tick; its replay says both.
tap z
await_scene play.jsonl 6 10
sleep 0.5
xdotool keydown z
await_scene play.jsonl 3 15
sleep 1
xdotool keyup z
sleep 1
tap Escape 0.4
await_scene play.jsonl 2 10
close_game

result_shows=$(centre_differs result.png after.png)
menu_still=$(centre_differs after.png later.png)
table_shows=$(centre_differs table.png after.png)
echo "pixels of the screen's middle that differ (of 20000): the result $result_shows, the table" \
    "$table_shows, the menu half a second on $menu_still"
[ "$menu_still" -lt 1000 ]
[ "$result_shows" -gt 5000 ]
[ "$table_shows" -gt 5000 ]

# The entry, its replay and last.keys; the runner plays the replay for the entry's ticks.
entry=$(grep -v '^#' first-scores.txt | tail -n +2)
echo "scores.txt: $entry"
[ "$(grep -c . <<<"$entry")" = 1 ]
IFS=$'\t' read -r content score stage cleared _ name ticks replay <<<"$entry"
replay_file=$kept/replays/$replay
cmp first-last.keys "$replay_file"
grep -qx "# content: $content" "$replay_file"
last_score=$(head -n "$menu_line" play.jsonl | python3 -c '
import json, sys
print([line for line in map(json.loads, sys.stdin) if line["scene"] == 3][-1]["score"])
')
echo "the run scored $last_score in the game's trace; ${ticks} ticks from line $stage_line"
[ "$score" = "$last_score" ]
[ "$stage" = 1 ]
[ "$cleared" = no ]
[ "$name" = pilot ]
[[ $content =~ ^[0-9a-f]{16}$ ]]
"$build/kavorind" --data "$build/data" --scores >listed.txt
grep -q "stage 1 .*pilot *$replay" listed.txt || { cat listed.txt >&2; exit 1; }

SDL_AUDIODRIVER=dummy "$build/kavorind-sim" --data "$build/data" --keys "$replay_file" \
    --ticks "$ticks" --trace replayed.jsonl 2>/dev/null
python3 - replayed.jsonl "$score" <<'PY'
import json, sys
lines = [json.loads(text) for text in open(sys.argv[1])]
in_game = [line for line in lines if line["scene"] == 3]
assert lines[-1]["scene"] == 2, f"the replay ends in scene {lines[-1]['scene']}, not the menu"
assert in_game[-1]["score"] == int(sys.argv[2]), f"the replay scores {in_game[-1]['score']}"
print(f"the runner replays {len(lines)} ticks to the score {in_game[-1]['score']} and the menu")
PY

second=$kept/replays/last.keys
second_line=$(($(first_stage_line play.jsonl "$menu_line") + 1))
second_ticks=$(sed -n 's/^# ticks: //p' "$second")
grep '^# options:' "$second"
grep -q '^# options: .*--held Z.* --spawn-column [0-9]' "$second"
SDL_AUDIODRIVER=dummy "$build/kavorind-sim" --data "$build/data" --keys "$second" \
    --ticks "$second_ticks" --trace second.jsonl 2>/dev/null
python3 "$source_dir/tests/e2e/compare_traces.py" play.jsonl second.jsonl "$second_ticks" \
    --game-from "$second_line" --frames-may-be-skipped

# Watched, the run is what the game traced when it was played, from its first tick in the stage.
start_game --watch 1 --trace watch.jsonl
await_lines watch.jsonl $((ticks + 5)) 20
close_game
python3 "$source_dir/tests/e2e/compare_traces.py" play.jsonl watch.jsonl "$ticks" \
    --game-from "$stage_line" --frames-may-be-skipped

# Taken over a second in with Up, held until Escape leaves the stage.
cp "$kept/scores.txt" scores-before.txt
start_game --watch 1 --record taken.keys --trace taken.jsonl
await_lines taken.jsonl 30 10
xdotool keydown Up
sleep 1
tap Escape 0.4
await_scene taken.jsonl 2 10
xdotool keyup Up
close_game
cat "$work/stderr"
taken_at=$(sed -n 's/.*the player took over the replay at tick \([0-9]*\)$/\1/p' "$work/stderr")
[ -n "$taken_at" ]
python3 - "$replay_file" taken.keys "$kept/replays/last.keys" "$taken_at" <<'PY'
import sys

def held(path):
    keys = {}
    for line in open(path):
        words = line.split("#")[0].split()
        if not words:
            continue
        first, _, last = words[0].partition("-")
        for tick in range(int(first), int(last or first) + 1):
            keys.setdefault(tick, set()).update(name.lower() for name in words[1].split(","))
    return keys

watched, recorded, kept = held(sys.argv[1]), held(sys.argv[2]), held(sys.argv[3])
taken_at = int(sys.argv[4])
escape = min(tick for tick, names in recorded.items() if "escape" in names)
assert taken_at < escape, f"taken over at {taken_at}, Escape at {escape}"
for tick in range(1, taken_at):
    assert recorded.get(tick, set()) == watched.get(tick, set()), f"tick {tick} before the take-over"
for tick in range(taken_at, escape + 1):
    assert recorded.get(tick, set()) - {"escape"} == {"up"}, f"tick {tick}: {recorded.get(tick)}"
replayed_after = sorted(t for t in watched if t >= taken_at and watched[t] - {"up"})
assert replayed_after, "the watched replay pressed nothing after the take-over: nothing is shown"
for tick in range(1, escape + 1):
    assert kept.get(tick, set()) == recorded.get(tick, set()), f"last.keys differs at tick {tick}"
print(f"the replay's keys up to tick {taken_at - 1}, then Up alone to Escape at tick {escape}; "
      f"last.keys holds the same")
PY
cmp scores-before.txt "$kept/scores.txt"
[ "$(find "$kept/replays" -type f | wc -l)" = 3 ]
echo "the run taken over is kept as last.keys and stays out of the table"
