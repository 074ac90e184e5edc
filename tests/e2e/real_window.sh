#!/usr/bin/env bash
# The real program in a real X window: a window titled "Kavorind" appears, the loop sleeps between
# ticks instead of spinning, and the window's close button ends the program with exit code 0 within
# a second.
set -euo pipefail
build=$1
source "$(dirname "$0")/xvfb_session.bash"
work=$(mktemp -d)
trap 'kill "${game:-0}" 2>/dev/null || true; xvfb_stop; rm -rf "$work"' EXIT
xvfb_start
mkdir -p "$build/data"

cd "$build/data"
SDL_AUDIODRIVER=dummy "$build/kavorind" 2>"$work/stderr" &
game=$!
window=$(timeout 10 xdotool search --sync --name '^Kavorind$' | head -n 1)
[ -n "$window" ]
[ "$(xdotool getwindowname "$window")" = "Kavorind" ]

# CPU use over five seconds of running, against the five seconds of wall time.
hz=$(getconf CLK_TCK)
before=$(cpu_ticks "$game")
sleep 5
after=$(cpu_ticks "$game")
percent=$(awk -v used=$((after - before)) -v hz="$hz" 'BEGIN { printf "%.1f", used * 100 / (5 * hz) }')
echo "cpu while running: ${percent}% of one core"
# A spinning loop would use the whole core.
awk -v p="$percent" 'BEGIN { exit !(p < 50) }'

start=$(date +%s%N)
"$build/kavorind-xclose" "$window"
wait_for_exit "$game" 3
code=$exit_code
elapsed=$(( ($(date +%s%N) - start) / 1000000 ))
echo "closed after ${elapsed} ms with exit code ${code}"
[ "$code" = "0" ]
