#!/usr/bin/env bash
# Start-up to the first present in the headless runner: the wall time of `kavorind-sim --ticks 1`
# (start-up, the logo's first tick with its first present, and the way out, so an upper bound),
# for one build or two side by side in alternating runs, each the median of RUNS runs.
#
#   bench/runner_startup.sh [--runs N] BUILD [BASELINE_BUILD]
#
# Each BUILD is a build directory with kavorind-sim and the default content in data/. The runner
# takes SDL's dummy video driver unless SDL_VIDEODRIVER says otherwise: under Xvfb,
# `SDL_VIDEODRIVER=x11` makes it open a real window and choose its way to the screen as the game
# does (frames are still not drawn), which is the game's own start-up without its first drawing.
set -euo pipefail
runs=21
if [ "${1:-}" = "--runs" ]; then
    runs=$2
    shift 2
fi
[ $# -ge 1 ] || { echo "usage: $0 [--runs N] BUILD [BASELINE_BUILD]" >&2; exit 2; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/share"

run_once() {
    local build=$1 began ended
    began=$(date +%s%N)
    "$build/kavorind-sim" --data "$build/data" --ticks 1 >/dev/null 2>&1
    ended=$(date +%s%N)
    echo $(((ended - began) / 1000))
}

builds=("$@")
for ((i = 0; i < runs; ++i)); do
    for ((b = 0; b < ${#builds[@]}; ++b)); do
        run_once "${builds[$b]}" >>"$work/times-$b"
    done
done
for ((b = 0; b < ${#builds[@]}; ++b)); do
    median=$(sort -n "$work/times-$b" | awk '{ t[NR] = $1 } END { print t[int((NR + 1) / 2)] }')
    awk -v build="${builds[$b]}" -v us="$median" -v runs="$runs" \
        'BEGIN { printf "%s: median %.1f ms over %d runs\n", build, us / 1000, runs }'
done
