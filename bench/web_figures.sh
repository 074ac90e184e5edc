#!/usr/bin/env bash
# The browser build's figures beside the desktop game's (bench/cpu_share.sh measures the same
# window natively): download sizes, page load to the first frame, frames per second and
# chromium's CPU share over the busiest 20 seconds of the pilot's first stage in real time, and
# the same course back to back. Usage: bench/web_figures.sh (after ./web.sh)
set -euo pipefail
cd "$(dirname "$0")/.."
work=$(mktemp -d)
trap 'kill "${server:-0}" 2>/dev/null || true; rm -rf "$work"' EXIT
window_seconds=${WINDOW_SECONDS:-20}

for file in kavorind.wasm kavorind.js kavorind.data; do
    printf '%-14s %9d bytes, %9d gzip -9\n' "$file" "$(stat -c %s build-web/$file)" \
        "$(gzip -9 -c build-web/$file | wc -c)"
done

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
python3 web/serve.py build-web 0 >"$work/server.log" &
server=$!
until grep -q http "$work/server.log"; do sleep 0.2; done
address=$(grep -o 'http://[^ ]*/' "$work/server.log")
node bench/web_figures.mjs "$address" "$work/course.keys" "$busiest_tick" "$window_seconds"
