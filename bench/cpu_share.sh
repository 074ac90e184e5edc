#!/usr/bin/env bash
# CPU share of the real game under Xvfb, in the menu and in a stage, beside the peer (chocolate-doom
# on freedoom in its demo loop) running on the same Xvfb at the same time: each program's CPU
# seconds (user + system, every thread) over the same 20 wall seconds, as a share of one core.
# The game is driven by key scripts replayed in real time (--replay): the menu is reached by
# skipping the logo; the stage is the careful pilot's first stage, measured over its busiest
# 20 seconds (most enemies, shots and items on screen) within the first two minutes of the course.
# Usage: bench/cpu_share.sh [BUILD]
source "$(dirname "$0")/common.bash"
trap 'kill "${game:-0}" "${peer:-0}" 2>/dev/null || true; xvfb_stop; rm -rf "$work"' EXIT
window_seconds=${WINDOW_SECONDS:-20}

# The menu: Z skips the logo; then the keys go back to the idle keyboard.
printf '# ticks: 20\n10 Z\n' >"$work/menu.keys"
# The stage: the pilot's course, and the tick where its busiest window starts.
"$build/kavorind-pilot" --data "$build/data" --out "$work/course.keys" --ticks 3600 >/dev/null
"$build/kavorind-sim" --data "$build/data" --keys "$work/course.keys" --ticks 3600 \
    --trace "$work/course.jsonl" 2>/dev/null
read -r busiest_tick busiest_mean < <(python3 - "$work/course.jsonl" "$window_seconds" <<'PY'
import json, sys
ticks = int(sys.argv[2]) * 30
lines = [json.loads(text) for text in open(sys.argv[1])]
counts = [sum(len(line.get(name, [])) for name in ("enemies", "playerShots", "enemyShots", "items"))
          if line["scene"] == 3 else None for line in lines]
best = max((sum(counts[s:s + ticks]), s) for s in range(len(counts) - ticks)
           if None not in counts[s:s + ticks])
print(best[1] + 1, round(best[0] / ticks, 1))
PY
)

xvfb_start 1280x1024x24
cd "$work"
"${peer_command[@]}" >"$work/peer.log" 2>&1 &
peer=$!
sleep 5 # the peer's start-up and its first demo under way

# Measures game and peer over the window; prints a row of the table.
measure() {
    local name=$1 game_before peer_before began game_after peer_after ended
    began=$(now_seconds)
    game_before=$(cpu_seconds "$game")
    peer_before=$(cpu_seconds "$peer")
    sleep "$window_seconds"
    game_after=$(cpu_seconds "$game")
    peer_after=$(cpu_seconds "$peer")
    ended=$(now_seconds)
    kill -0 "$game" || { echo "the game ended early:" >&2; cat "$work/game.log" >&2; exit 1; }
    kill -0 "$peer" || { echo "the peer ended early:" >&2; cat "$work/peer.log" >&2; exit 1; }
    awk -v n="$name" -v w="$began" -v e="$ended" -v g0="$game_before" -v g1="$game_after" \
        -v p0="$peer_before" -v p1="$peer_after" 'BEGIN {
            g = (g1 - g0) / (e - w); p = (p1 - p0) / (e - w)
            # The ratio first: awk reads a > among the arguments of printf as a redirection.
            ratio = 0; if (p > 0) ratio = g / p
            printf "%-7s %6.1f %%   %6.1f %%   %6.3f\n", n, 100 * g, 100 * p, ratio }'
}

# Starts the game replaying script $1 and waits $2 seconds.
start_game() {
    (cd "$build/data" && exec "$build/kavorind" --windowed --replay "$1") >"$work/game.log" 2>&1 &
    game=$!
    sleep "$2"
}

stop_game() {
    kill "$game"
    wait "$game" 2>/dev/null || true
}

echo "build: $build; peer: ${peer_command[*]}"
echo "stage window: ticks $busiest_tick to $((busiest_tick + window_seconds * 30 - 1)) of the" \
    "pilot's course, $busiest_mean enemies, shots and items on screen on average"
echo "scene   game CPU   peer CPU   game / peer   (over ${window_seconds} s, same run)"
start_game "$work/menu.keys" 5
measure menu
stop_game
# Ticks come 30 a second from the first, which follows the start-up within a second.
start_game "$work/course.keys" $(((busiest_tick - 1) / 30 + 1))
measure stage
stop_game
