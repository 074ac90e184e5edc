#!/usr/bin/env bash
# Soak: the real program through the headless runner for many ticks of pseudo-random keys (a fixed
# seed, so every run presses the same keys), with no error, no leak at exit and memory that stays
# flat. Usage: soak.sh BUILD_DIR [SOURCE_DIR]; SOAK_TICKS (default 10000) sets the ticks of each
# part, SOAK_VALGRIND=1 runs every program under valgrind's memcheck. Sanitizer builds fail a run
# on their own (a non-zero exit), so the same script serves both.
#
# Part 1, one process: the logo, then the menu for the rest, with every key but the two that
#   confirm or quit, so the program lives to the last tick; its peak memory is compared with that
#   of a short run of the same keys.
# Part 2, restarts: runs of at most 2000 ticks with every key, starting alternately at the logo
#   and at the ending, until as many ticks have passed: menus confirmed, openings watched, the
#   program quit from its menu.
# Each part is a single thread: the two run side by side.
set -euo pipefail
build=$(cd "$1" && pwd)
ticks=${SOAK_TICKS:-10000}
seed=${SOAK_SEED:-7031}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$build/kavorind-test-content" "$work/data"

runner=()
if [ "${SOAK_VALGRIND:-0}" = 1 ]; then
    runner=(valgrind -q --error-exitcode=97 --leak-check=full --errors-for-leak-kinds=definite,indirect
            --show-leak-kinds=definite,indirect)
fi
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1}

# keys SEED TICKS KEYNAMES MAXGAP: a key script of random presses, 1 to 6 ticks long, 1 to MAXGAP
# ticks apart. The runner looks every key up in the whole script on every tick, so a long run gets
# sparse presses to keep it quick under the sanitizers.
keys() {
    python3 - "$@" <<'PY'
import random, sys
rng = random.Random(int(sys.argv[1]))
ticks, names, gap = int(sys.argv[2]), sys.argv[3].split(","), int(sys.argv[4])
tick = 1
while tick <= ticks:
    tick += rng.randint(1, gap)
    held = rng.randint(1, 6)
    print(f"{tick}-{tick + held - 1} {rng.choice(names)}")
    tick += held
PY
}

# sim NAME TICKS OPTIONS...: one run; leaves its ticks and its peak resident memory in kB (the
# largest resident size the kernel saw for the process, as getrusage reports it) in
# $work/NAME.result.
sim() {
    local name=$1 count=$2
    shift 2
    local code rss
    read -r code rss < <(python3 -c '
import resource, subprocess, sys
with open(sys.argv[1], "w") as err:
    code = subprocess.call(sys.argv[2:], stderr=err)
print(code, resource.getrusage(resource.RUSAGE_CHILDREN).ru_maxrss)' "$work/$name.err" \
        "${runner[@]}" "$build/kavorind-sim" --data "$work/data" --keys "$work/$name.keys" \
        --ticks "$count" "$@")
    if [ "$code" -ne 0 ] || grep -Eq 'Sanitizer|runtime error' "$work/$name.err"; then
        echo "soak: run $name failed with exit code $code" >&2
        cat "$work/$name.err" >&2
        exit 1
    fi
    local ran
    ran=$(sed -n 's/^ticks=\([0-9]*\) .*/\1/p' "$work/$name.err")
    echo "$ran $rss" >"$work/$name.result"
}

one_process() {
    local moving=Left,Right,Up,Down,X
    keys "$seed" "$ticks" "$moving" $((ticks / 100 > 30 ? ticks / 100 : 30)) >"$work/long.keys"
    cp "$work/long.keys" "$work/short.keys"
    local short_ticks=$((ticks / 50 > 200 ? ticks / 50 : 200)) short_ran short_rss long_ran long_rss
    sim short "$short_ticks"
    read -r short_ran short_rss <"$work/short.result"
    sim long "$ticks"
    read -r long_ran long_rss <"$work/long.result"
    echo "soak: one process: $short_ran ticks peak ${short_rss} kB, $long_ran ticks peak ${long_rss} kB"
    [ "$long_ran" -eq "$ticks" ] || { echo "soak: the long run stopped at tick $long_ran" >&2; exit 1; }
    # Flat: the long run may not peak more than 10 per cent (and 2 MB) above the short one. (Under
    # AddressSanitizer the runtime's own caches add a few megabytes over 100,000 ticks.)
    if [ "$long_rss" -gt $((short_rss + short_rss / 10 + 2048)) ]; then
        echo "soak: memory grew from ${short_rss} kB to ${long_rss} kB" >&2
        exit 1
    fi
}

restarts() {
    local total=0 runs=0 quits=0 first_rss="" last_rss="" options ran rss
    while [ "$total" -lt "$ticks" ]; do
        runs=$((runs + 1))
        keys $((seed + runs)) 2000 Left,Right,Up,Down,Z,X,Escape 30 >"$work/run.keys"
        options=()
        [ $((runs % 2)) -eq 0 ] && options=(--scene 5)
        sim run 2000 "${options[@]}"
        read -r ran rss <"$work/run.result"
        [ "$ran" -lt 2000 ] && quits=$((quits + 1))
        total=$((total + ran))
        first_rss=${first_rss:-$rss}
        last_rss=$rss
    done
    echo "soak: $runs restarted runs, $total ticks, $quits quit from the menu;" \
         "peak ${first_rss} kB in the first run, ${last_rss} kB in the last"
    [ "$quits" -gt 0 ] || { echo "soak: no run reached the quit path" >&2; exit 1; }
}

one_process &
first=$!
restarts &
second=$!
failed=0
wait "$first" || failed=1
wait "$second" || failed=1
[ "$failed" = 0 ] || exit 1
echo "soak ok"
