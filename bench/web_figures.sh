#!/usr/bin/env bash
# The browser build's figures beside the desktop game's, in one run: the download (raw, gzip -9,
# brotli -q 11 and as the server sent it), navigation to the first frame over a 50 Mbit/s link
# with 20 ms of latency, cold and from the cache, then frames per second, the 99th percentile of
# the gaps between frames and the CPU share of every chromium process over the busiest 20 seconds
# of the pilot's first stage replayed in real time, and the desktop game's own CPU share (with the
# X server's) over the same 20 seconds under Xvfb; last, the same course back to back.
# Usage: bench/web_figures.sh [SITE]  (after ./web.sh; SITE defaults to build-web, and may be a
# copy of an older build's site to measure it the same way)
set -euo pipefail
cd "$(dirname "$0")/.."
site=$(cd "${1:-build-web}" && pwd)
source tests/e2e/xvfb_session.bash
work=$(mktemp -d)
# Only the processes started here: "kill 0" would end the caller's whole process group.
stop_started() {
    local pid
    for pid in ${server:-} ${game:-}; do kill "$pid" 2>/dev/null || true; done
    xvfb_stop
    rm -rf "$work"
}
trap stop_started EXIT
window_seconds=${WINDOW_SECONDS:-20}
export HOME=$work/home XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/share NODE_PATH=/usr/share/nodejs
mkdir -p "$HOME"
hz=$(getconf CLK_TCK)

build/kavorind-pilot --data build/data --out "$work/course.keys" --ticks 3600 >/dev/null
build/kavorind-sim --data build/data --keys "$work/course.keys" --ticks 3600 \
    --trace "$work/course.jsonl" 2>/dev/null
busiest_tick=$(python3 - "$work/course.jsonl" "$window_seconds" <<'PY'
import json, sys
ticks = int(sys.argv[2]) * 30
lines = [json.loads(text) for text in open(sys.argv[1])]
counts = [sum(len(line.get(name, [])) for name in ("enemies", "playerShots", "enemyShots", "items"))
          if line["scene"] == 3 else None for line in lines]
print(max((sum(counts[s:s + ticks]), s) for s in range(len(counts) - ticks)
          if None not in counts[s:s + ticks])[1] + 1)
PY
)

# The desktop game in a 640 x 480 window under Xvfb, the same course in real time: its CPU seconds
# and the X server's over the window, as a share of one core.
cpu_of() { awk -v hz="$hz" '{printf "%.3f", ($14 + $15) / hz}' "/proc/$1/stat"; }
xvfb_start 1280x1024x24
(cd build/data && SDL_AUDIODRIVER=dummy exec ../kavorind --windowed --replay "$work/course.keys") \
    >"$work/game.log" 2>&1 &
game=$!
sleep $(((busiest_tick - 1) / 30 + 1))
began=$(date +%s.%N) game_before=$(cpu_of $game) x_before=$(cpu_of "$xvfb_pid")
sleep "$window_seconds"
ended=$(date +%s.%N) game_after=$(cpu_of $game) x_after=$(cpu_of "$xvfb_pid")
kill $game && wait $game 2>/dev/null || true
game=
xvfb_stop
native=$(awk -v b="$began" -v e="$ended" -v g0="$game_before" -v g1="$game_after" -v x0="$x_before" \
    -v x1="$x_after" 'BEGIN { printf "%.1f", 100 * ((g1 - g0) + (x1 - x0)) / (e - b) }')

# The site's own server: an older build's site is served as it was then.
python3 "$site/serve.py" "$site" 0 >"$work/server.log" &
server=$!
until grep -q http "$work/server.log"; do sleep 0.2; done
address=$(grep -o 'http://[^ ]*/' "$work/server.log")
echo "site: $site"
node bench/web_figures.mjs "$address" "$site" "$work/course.keys" "$busiest_tick" "$window_seconds" "$native"
