#!/usr/bin/env bash
# What --record and --trace write is kept whatever ends the game, and the exit code tells whether
# it was written whole. On SDL's dummy drivers, with the careful pilot's course as a timedemo (the
# real game as fast as it goes):
# - killed with SIGKILL mid-stage, the recording holds every tick up to its last flush and, played
#   by kavorind-sim for that many ticks, gives the game's own trace line for line;
# - closed with SIGHUP, the game ends through its shut-down, exit code 0, with the whole session;
# - a start that fails (no content, no window) leaves older files of those names byte for byte;
# - a full disk (a file size limit) is exit code 1 and a line naming the file and the reason, and
#   what was kept still replays;
# - a FIFO or a device given as the script to play is refused at once with its reason.
set -euo pipefail
build=$(cd "$1" && pwd)
source_dir=$(cd "$2" && pwd)
work=$(mktemp -d)
# Only a game still running is killed: "kill 0" would be the whole process group.
trap 'if [ -n "${game:-}" ]; then kill -KILL "$game" 2>/dev/null || true; fi; rm -rf "$work"' EXIT
[ -f "$build/data/Pal.Pal" ] || { echo "no default content in $build/data" >&2; exit 1; }
export XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/share
export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy
unset KAVORIND_DATA
cd "$work"

fail() { echo "FAILED: $*" >&2; cat "$work/stderr" >&2 2>/dev/null || true; exit 1; }
said() { grep -qF -- "$1" "$work/stderr"; }
lines() { if [ -f "$1" ]; then wc -l <"$1"; else echo 0; fi; }

"$build/kavorind-pilot" --data "$build/data" --out course.keys --ticks 3000 >/dev/null
course_ticks=$(sed -n 's/^# ticks: //p' course.keys)

# The keys that two scripts hold at every tick from 1 to $3 are the same.
same_keys() {
    python3 - "$@" <<'PY'
import sys

def held(path, ticks):
    keys = [set() for _ in range(ticks + 1)]
    for line in open(path):
        line = line.split("#")[0].split()
        if not line:
            continue
        first, _, last = line[0].partition("-")
        for tick in range(int(first), min(int(last or first), ticks) + 1):
            keys[tick].update(name.lower() for name in line[1].split(","))
    return keys

ticks = int(sys.argv[3])
mine, theirs = held(sys.argv[1], ticks), held(sys.argv[2], ticks)
for tick in range(1, ticks + 1):
    assert mine[tick] == theirs[tick], f"tick {tick}: {sorted(mine[tick])} != {sorted(theirs[tick])}"
assert any(mine), "no key held at all"
PY
}

# How many ticks a recording covers: its "# ticks:", or how far its last piece went.
covered() {
    python3 - "$1" <<'PY'
import re, sys
last = 0
for line in open(sys.argv[1]):
    found = re.match(r"# (?:ticks: |recorded to tick )(\d+)$", line.strip())
    keys = re.match(r"(\d+)(?:-(\d+))? ", line)
    last = max(last, int(found[1]) if found else int(keys[2] or keys[1]) if keys else 0)
print(last)
PY
}

# The recording $1 played by the runner for $2 ticks gives the game's trace $3 line for line, over
# the first $4 lines.
replays_as_traced() {
    "$build/kavorind-sim" --data "$build/data" --keys "$1" --ticks "$2" --trace runner.jsonl \
        2>/dev/null
    python3 "$source_dir/tests/e2e/compare_traces.py" "$3" runner.jsonl "$4" \
        --without-sound-results
}

# Starts the course's timedemo with a recording and a trace; returns once $1 trace lines are out.
start_course() {
    rm -f kept.keys kept.jsonl
    "$build/kavorind" --data "$build/data" --timedemo course.keys --record kept.keys \
        --trace kept.jsonl >stdout 2>stderr &
    game=$!
    for _ in $(seq 300); do
        [ "$(lines kept.jsonl)" -ge "$1" ] && return 0
        kill -0 "$game" 2>/dev/null || fail "the game ended before tick $1"
        sleep 0.1
    done
    fail "no tick $1 within 30 s"
}

echo "== SIGKILL in the first stage: the recording up to its last flush replays"
start_course 400
kill -KILL "$game"
wait "$game" 2>/dev/null || true
game=
kept=$(covered kept.keys)
traced=$(lines kept.jsonl)
echo "killed after $traced ticks traced; the recording keeps $kept"
# A tick's trace line waits for its frame, and the recording is flushed as the tick ends, before
# that frame: a kill in between leaves the recording one tick ahead of the trace.
[ "$kept" -ge 360 ] && [ "$kept" -le $((traced + 1)) ] || fail "kept $kept of $traced ticks"
! grep -q '^# ticks:' kept.keys || fail "a killed game wrote its end"
same_keys kept.keys course.keys "$kept" || fail "the kept keys are not the course's"
replays_as_traced kept.keys "$kept" kept.jsonl $((kept < traced ? kept : traced)) ||
    fail "the kept recording replays differently"

echo "== SIGHUP: the normal shut-down, exit code 0, the whole session kept"
start_course 250
kill -HUP "$game"
set +e
wait "$game"
code=$?
set -e
game=
[ "$code" -eq 0 ] || fail "a hang-up gave exit code $code"
ticks=$(sed -n 's/^# ticks: //p' kept.keys)
echo "hung up after $ticks ticks"
[ "$ticks" -ge 250 ] && [ "$ticks" -lt "$course_ticks" ] && [ "$(lines kept.jsonl)" = "$ticks" ] ||
    fail "hung up: $ticks ticks recorded, $(lines kept.jsonl) traced"
same_keys kept.keys course.keys "$ticks" || fail "the recorded keys are not the course's"
# The hang-up's tick has its line written after the shut-down, which the runner never reached.
replays_as_traced kept.keys "$ticks" kept.jsonl $((ticks - 1)) ||
    fail "the recording replays differently"

echo "== a failed start keeps the older recording and trace byte for byte"
printf '# an older recording\n1-40 Right\n# ticks: 40\n' >older.keys
printf '{"tick":1}\n' >older.jsonl
cp older.keys older.keys.before && cp older.jsonl older.jsonl.before
mkdir empty
set +e
timeout 60 "$build/kavorind" --data empty --record older.keys --trace older.jsonl 2>stderr
no_content=$?
SDL_VIDEODRIVER=no-such-driver timeout 60 "$build/kavorind" --data "$build/data" \
    --record older.keys --trace older.jsonl 2>stderr
no_window=$?
set -e
[ "$no_content" -eq 1 ] && [ "$no_window" -eq 1 ] ||
    fail "failed starts gave $no_content and $no_window"
cmp older.keys older.keys.before && cmp older.jsonl older.jsonl.before ||
    fail "a failed start changed an older file"
[ -z "$(find . -maxdepth 1 -name '*.partial')" ] || fail "a new file was left behind"

echo "== a full disk: exit code 1, the file and the reason named, whole lines kept"
# Z tapped every other tick: a line of recording for every two ticks, far beyond 4 KiB.
for tick in $(seq 1 2 3000); do echo "$tick Z"; done >taps.keys
for output in --record --trace; do
    rm -f full.out
    set +e
    (
        ulimit -f 4
        trap '' XFSZ
        timeout 120 "$build/kavorind" --data "$build/data" --timedemo taps.keys "$output" full.out
    ) >stdout 2>stderr
    code=$?
    set -e
    echo "$output on a full disk: exit code $code, $(stat -c %s full.out) bytes kept"
    [ "$code" -eq 1 ] || fail "$output on a full disk gave $code"
    said "kavorind: cannot write $work/full.out: File too large" || fail "$output: no message"
    [ "$(tail -c 1 full.out | od -An -c | tr -d ' ')" = '\n' ] || fail "$output: half a line kept"
    if [ "$output" = --record ]; then
        cut=$(covered full.out)
        [ "$cut" -ge 30 ] || fail "nothing of the recording kept"
        same_keys full.out taps.keys "$cut" || fail "the recording kept on a full disk differs"
    fi
done

echo "== a FIFO or a device as the script: refused at once with the reason, exit code 2"
mkfifo pipe.keys
for option in --replay --timedemo; do
    for script in pipe.keys /dev/zero; do
        set +e
        timeout 5 "$build/kavorind" --data "$build/data" "$option" "$script" 2>stderr
        code=$?
        set -e
        [ "$code" -eq 2 ] || fail "$option $script gave $code"
        said "cannot read key script" || fail "$option $script: no message"
        said "is a FIFO, not a file" || said "is a device, not a file" ||
            fail "$option $script: no reason"
    done
done
echo "every session file kept as it should be"
