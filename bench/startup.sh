#!/usr/bin/env bash
# Start-up to the first frame of the game and of the peer (chocolate-doom on freedoom), in real
# windows under Xvfb, alternating runs: each program is started with bench/first_present.c
# preloaded, which notes the time of its first present and ends it there. Prints every run and
# the medians, and the game's median over the peer's.
# Usage: bench/startup.sh [BUILD] (RUNS=N runs of each, 10 by default)
source "$(dirname "$0")/common.bash"
trap 'xvfb_stop; rm -rf "$work"' EXIT
runs=${RUNS:-10}
gcc -O2 -shared -fPIC -o "$work/first_present.so" "$bench_dir/first_present.c" -ldl

# Milliseconds from the start of the command given to its first present.
first_frame_ms() {
    local began ended
    rm -f "$work/present"
    began=$(now_seconds)
    FIRST_PRESENT_FILE=$work/present LD_PRELOAD=$work/first_present.so timeout 30 "$@" \
        >/dev/null 2>&1 || true
    [ -s "$work/present" ] || { echo "no frame from $*" >&2; exit 1; }
    ended=$(cat "$work/present")
    awk -v b="$began" -v e="$ended" 'BEGIN { printf "%.1f", (e / 1e9 - b) * 1000 }'
}

median() {
    tr ' ' '\n' | sort -g | awk '{ v[NR] = $1 } END {
        print (NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2) }'
}

xvfb_start 1280x1024x24
cd "$build/data"
# One run of each first, unmeasured, so that both start from a warm file cache.
first_frame_ms "$build/kavorind" --windowed >/dev/null
(cd "$work" && first_frame_ms "${peer_command[@]}") >/dev/null
game_times=() peer_times=()
for run in $(seq "$runs"); do
    game_times+=("$(first_frame_ms "$build/kavorind" --windowed)")
    peer_times+=("$(cd "$work" && first_frame_ms "${peer_command[@]}")")
    echo "run $run: game ${game_times[-1]} ms, peer ${peer_times[-1]} ms"
done
game_median=$(echo "${game_times[*]}" | median)
peer_median=$(echo "${peer_times[*]}" | median)
echo "build: $build"
echo "median start-up to the first frame: game $game_median ms, peer $peer_median ms," \
    "game / peer $(awk -v g="$game_median" -v p="$peer_median" 'BEGIN { printf "%.2f", g / p }')"
