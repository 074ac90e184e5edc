#!/usr/bin/env bash
# The pause in the real window, keys pressed as a keyboard presses them:
# - a key script played from the logo into the first stage, paused with P for two seconds midway,
#   dims the picture, writes no trace line while paused and, resumed with P, the same trace as the
#   script played without a pause (frames drawn aside, which a busy machine may skip);
# - another window taking the focus pauses a game played from the keyboard, the focus coming back
#   does not resume it, P does;
# - with pause_on_focus_loss = no the game plays on without the focus.
set -euo pipefail
build=$(cd "$1" && pwd)
source_dir=$(cd "$2" && pwd)
source "$(dirname "$0")/xvfb_session.bash"
source "$(dirname "$0")/window_game.bash"
work=$(mktemp -d)
# Only processes still running are ended: "kill 0" would be the whole process group.
trap 'for pid in ${game:-} ${other:-}; do kill "$pid" 2>/dev/null || true; done
      xvfb_stop; rm -rf "$work"' EXIT
[ -f "$build/data/Pal.Pal" ] || { echo "no default content in $build/data" >&2; exit 1; }
export XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/share
xvfb_start
cd "$work"

# Past the logo, START, the opening lifted, then the first stage from tick 135: flying, the main
# shot, the special weapon.
cat >stage.keys <<'EOF'
3 Z
40 Z
80-82 Z
150-190 Up
170-230 Right
200-215 X
160 Z
170 Z
180 Z
190 Z
200 Z
210 Z
220 Z
EOF
script_ticks=240

start_game --replay stage.keys --trace paused.jsonl
await_lines paused.jsonl 170 30
import -window root playing.png
tap p
sleep 0.5
held=$(trace_lines paused.jsonl)
import -window root paused.png
keep_screenshot pause
# The pause dims the whole picture under its panel.
playing_level=$(convert playing.png -colorspace Gray -format "%[fx:mean]" info:)
paused_level=$(convert paused.png -colorspace Gray -format "%[fx:mean]" info:)
echo "brightness while playing $playing_level, paused $paused_level"
awk -v playing="$playing_level" -v paused="$paused_level" 'BEGIN { exit !(paused < 0.6 * playing) }'
sleep 2
after=$(trace_lines paused.jsonl)
echo "paused at line $held; two seconds later: line $after"
[ "$held" -eq "$after" ]
[ "$held" -lt "$script_ticks" ] || { echo "the pause came after the script's end" >&2; exit 1; }
tap p
await_lines paused.jsonl $((script_ticks + 10)) 30
close_game

start_game --replay stage.keys --trace unpaused.jsonl
await_lines unpaused.jsonl $((script_ticks + 10)) 30
close_game
python3 "$source_dir/tests/e2e/compare_traces.py" paused.jsonl unpaused.jsonl "$script_ticks" \
    --frames-may-be-skipped

# Another window takes the focus from a game played from the keyboard.
xev >/dev/null 2>&1 &
other=$!
other_window=$(timeout 10 xdotool search --sync --name '^Event Tester$' | head -n 1)
[ -n "$other_window" ]

start_game --trace focus.jsonl
await_lines focus.jsonl 10 15
focus_window "$other_window"
sleep 0.5
lost=$(trace_lines focus.jsonl)
sleep 1.5
later=$(trace_lines focus.jsonl)
focus_window "$window"
sleep 1.5
back=$(trace_lines focus.jsonl)
echo "focus lost at line $lost; 1.5 s later: line $later; 1.5 s after it came back: line $back"
[ "$lost" -eq "$later" ]
[ "$later" -eq "$back" ]
tap p
await_lines focus.jsonl $((back + 20)) 5
close_game

printf 'pause_on_focus_loss = no\n' >no-pause.cfg
start_game --config no-pause.cfg --trace on.jsonl
await_lines on.jsonl 10 15
focus_window "$other_window"
sleep 0.5
lost=$(trace_lines on.jsonl)
sleep 1.5
later=$(trace_lines on.jsonl)
echo "with pause_on_focus_loss = no: line $lost when the focus went, line $later 1.5 s later"
[ "$later" -ge $((lost + 20)) ]
close_game
