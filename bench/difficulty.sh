#!/usr/bin/env bash
# The difficulty curve of the content in BUILD/data: the careful pilot and the clumsy pilot (seeds
# 1 to 20, and 21 to 40 held out) each fly the whole course from the logo and every stage from a
# new craft; kavorind-sim replays every key script with a trace, and bench/difficulty.py reads
# the traces: clears, hits and what dealt them, enemy shots, stage and boss fight lengths, and the
# aims the stages are tuned towards, each marked. A measurement, not a test: it exits 0 once the
# figures are printed, 1 when a run could not be flown or replayed.
# Usage: bench/difficulty.sh [--check] [BUILD]   (default: build/ of this tree)
# With --check only seeds 1 to 20 fly (no held-out seeds), and it exits 1 when one of the aims the
# default content is tuned to is missed: the test that keeps the tuning from drifting.
# With KEEP_RUNS=DIR the runs' summaries are kept there, to read again with
# `bench/difficulty.py report DIR MAP.tmx...` or to look into.
set -euo pipefail
check=
if [ "${1:-}" = --check ]; then
    check=--check
    shift
fi
bench_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
source_dir=$(cd "$bench_dir/.." && pwd)
build=$(cd "${1:-$source_dir/build}" && pwd)
data=$build/data
for tool in kavorind-pilot kavorind-sim kavorind-data; do
    [ -x "$build/$tool" ] || { echo "no $build/$tool: build it first" >&2; exit 1; }
done
[ -f "$data/Pal.Pal" ] || { echo "no default content in $data" >&2; exit 1; }
command -v python3 >/dev/null || { echo "python3 is needed" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/runs" "$work/maps"
export build data work bench_dir
started=$(date +%s.%N)

# A stage from a new craft is played for at most 5 minutes: past that it counts as not cleared,
# and the pilot does not go on into the next stage.
export stage_ticks=9000

# One run: NAME, then the pilot's options. Flies it, replays it with a trace, and leaves only the
# summary of the trace (an empty one when something failed, which the report names).
fly_and_replay() {
    local name=$1
    shift
    local keys=$work/$name.keys trace=$work/$name.trace out=$work/$name.pilot
    : >"$work/runs/$name.json"
    if ! nice timeout 300 "$build/kavorind-pilot" --data "$data" --out "$keys" "$@" >"$out" 2>&1; then
        echo "$name: kavorind-pilot failed: $(tail -n 1 "$out")" >&2
        return 0
    fi
    local ticks
    ticks=$(sed -n 's/^# ticks: \([0-9]*\)$/\1/p' "$keys")
    if ! nice timeout 300 "$build/kavorind-sim" --data "$data" --keys "$keys" --ticks "$ticks" \
        --trace "$trace" >/dev/null 2>"$work/$name.sim"; then
        echo "$name: kavorind-sim failed: $(tail -n 1 "$work/$name.sim")" >&2
        return 0
    fi
    if ! python3 "$bench_dir/difficulty.py" run "$name" "$trace" "$out" >"$work/runs/$name.part"; then
        echo "$name: the trace could not be read" >&2
    else
        mv "$work/runs/$name.part" "$work/runs/$name.json"
    fi
    rm -f "$trace" "$keys"
}
export -f fly_and_replay

# The jobs, one a line: the careful pilot's first, as they take longest.
{
    echo "careful-course"
    for stage in 0 1 2; do echo "careful-stage$stage --stage $stage --ticks $stage_ticks"; done
    for seed in $(seq 1 "$([ -n "$check" ] && echo 20 || echo 40)"); do
        echo "clumsy-$seed-course --clumsy --seed $seed"
        for stage in 0 1 2; do
            echo "clumsy-$seed-stage$stage --clumsy --seed $seed --stage $stage --ticks $stage_ticks"
        done
    done
} >"$work/jobs"
# Two at a time: the machine is shared.
xargs -P 2 -L 1 bash -c 'fly_and_replay "$@"' _ <"$work/jobs"

for stage in 1 2 3; do
    "$build/kavorind-data" export "$data/Stage-M$stage.map" "$work/maps" >/dev/null
done
status=0
python3 "$bench_dir/difficulty.py" report $check "$work/runs" "$work"/maps/Stage-M{1,2,3}.tmx || status=$?
if [ -n "${KEEP_RUNS:-}" ]; then
    mkdir -p "$KEEP_RUNS"
    cp "$work"/runs/*.json "$work"/maps/*.tmx "$KEEP_RUNS"/
fi

runs=$(wc -l <"$work/jobs")
failed=$(find "$work/runs" -name '*.json' -empty | wc -l)
echo
echo "$runs runs, $failed failed; wall time $(awk -v a="$started" -v b="$(date +%s.%N)" 'BEGIN { printf "%.0f", b - a }') s"
[ "$failed" -eq 0 ] && [ "$status" -eq 0 ]
