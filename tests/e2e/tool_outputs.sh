#!/usr/bin/env bash
# The runner, the pilot, the content generator and the icon maker say so and exit 1 when an output
# cannot be written (a full disk, a folder they may not write or enter), keep an older whole file
# of that name, refuse at the start what can never be written (a device, a FIFO, the same file for
# two purposes) with exit code 2, and exit 1 when the program fails to start or memory runs out.
set -uo pipefail
build=$1
work=$(mktemp -d)
chmod 755 "$work"
trap 'chmod -R u+rwx "$work"; rm -rf "$work"' EXIT
"$build/kavorind-test-content" "$work/data" || exit 1
sim=$build/kavorind-sim
pilot=$build/kavorind-pilot
failures=0

fail() {
    echo "FAILED: $*" >&2
    echo "--- what it said:" >&2
    printf '%s\n' "$said" >&2
    failures=$((failures + 1))
}
# Runs a command with its output in $said and its exit code in $code, never waiting past 5 s.
run() {
    said=$(timeout 5 "$@" 2>&1)
    code=$?
}
# As run, with files limited to limit KiB: a write past it fails with EFBIG, as on a full disk.
# The output goes through a pipe, which the limit does not cover.
run_full() {
    local limit=$1
    shift
    said=$( (
        ulimit -f "$limit"
        trap '' XFSZ
        exec timeout 5 "$@"
    ) 2>&1)
    code=$?
}
expect() { # CODE TEXT WHAT
    [ "$code" -eq "$1" ] || fail "$3: exit code $code, not $1"
    grep -qF -- "$2" <<<"$said" || fail "$3: no \"$2\" in what it said"
}
same_as() { cmp -s "$1" "$2" || fail "$3: the older file was not kept whole"; }

echo "== a full disk: the runner's trace, its frames and the pilot's key script"
run_full 8 "$sim" --data "$work/data" --ticks 300 --trace "$work/full.jsonl"
expect 1 "$work/full.jsonl: File too large" "trace on a full disk"
printf 'an older frame\n' >"$work/old-frame"
mkdir "$work/png" "$work/raw"
cp "$work/old-frame" "$work/png/frame-000050.png"
run_full 1 "$sim" --data "$work/data" --ticks 60 --every 50 --frames "$work/png"
expect 1 "$work/png/frame-000050.png: File too large" "PNG frame on a full disk"
same_as "$work/old-frame" "$work/png/frame-000050.png" "PNG frame on a full disk"
cp "$work/old-frame" "$work/raw/frame-000002.raw"
run_full 64 "$sim" --data "$work/data" --ticks 5 --every 2 --raw --frames "$work/raw"
expect 1 "$work/raw/frame-000002.raw: File too large" "raw frame on a full disk"
same_as "$work/old-frame" "$work/raw/frame-000002.raw" "raw frame on a full disk"
printf '# an older key script\n1 Z\n' >"$work/older.keys"
cp "$work/older.keys" "$work/out.keys"
run_full 0 "$pilot" --data "$work/data" --ticks 200 --out "$work/out.keys"
expect 1 "$work/out.keys: File too large" "key script on a full disk"
same_as "$work/older.keys" "$work/out.keys" "key script on a full disk"

echo "== what can never be written is refused before running: exit code 2"
run "$sim" --data "$work/data" --ticks 10 --trace /dev/full
expect 2 "/dev/full: is a device, not a file" "trace to /dev/full"
run "$pilot" --data "$work/data" --ticks 10 --out /dev/full
expect 2 "/dev/full: is a device, not a file" "key script to /dev/full"
mkfifo "$work/fifo"
run "$sim" --data "$work/data" --ticks 10 --trace "$work/fifo"
expect 2 "$work/fifo: is a FIFO, not a file" "trace to a FIFO"
run "$sim" --data "$work/data" --ticks 10 --keys "$work/fifo"
expect 2 "$work/fifo: is a FIFO, not a file" "key script from a FIFO"
printf '5 Z\n' >"$work/run.keys"
cp "$work/run.keys" "$work/keys-before"
run "$sim" --data "$work/data" --ticks 10 --keys "$work/run.keys" --trace "$work/run.keys"
expect 2 "is also the key script" "trace over its own key script"
same_as "$work/keys-before" "$work/run.keys" "trace over its own key script"
run "$sim" --data "$work/data" --ticks 10 --frames "$work/png" --trace "$work/png/frame-000001.png"
expect 2 "is where a frame goes" "trace over a frame"
cp "$work/data/Pal.Pal" "$work/pal-before"
run "$pilot" --data "$work/data" --ticks 10 --out "$work/data/Pal.Pal"
expect 2 "would replace the content" "key script over the palette"
same_as "$work/pal-before" "$work/data/Pal.Pal" "key script over the palette"
cp "$work/pal-before" "$work/data/Pal.Pal" # for the cases below, should it have been replaced
run "$sim" --data "$work/data" --ticks 10 --frames "$work/data/Pal.Pal"
expect 2 "$work/data/Pal.Pal" "frames into a file"

echo "== the program fails to start: the game's message, exit code 1, an older trace untouched"
cp -r "$work/data" "$work/nopal"
rm "$work/nopal/Pal.Pal"
printf 'an older trace\n' >"$work/older.jsonl"
cp "$work/older.jsonl" "$work/nopal.jsonl"
run "$sim" --data "$work/nopal" --ticks 10 --trace "$work/nopal.jsonl"
expect 1 "\"Pal.Pal\" is missing" "runner without Pal.Pal"
same_as "$work/older.jsonl" "$work/nopal.jsonl" "runner without Pal.Pal"
run "$pilot" --data "$work/nopal" --ticks 10 --out "$work/nopal.keys"
expect 1 "\"Pal.Pal\" is missing" "pilot without Pal.Pal"
[ ! -e "$work/nopal.keys" ] || fail "the pilot wrote a key script for a program that never ran"

echo "== memory runs out: a message and exit code 1, not an abort"
said=$( (
    ulimit -v 20000
    exec timeout 5 "$build/kavorind-content" "$work/no-memory"
) 2>&1)
code=$?
expect 1 "kavorind-content: out of memory" "content with 20 MB of address space"

echo "== folders that may not be written or entered, as a user without privileges"
as_user=()
if [ "$(id -u)" -eq 0 ]; then
    as_user=(setpriv --reuid=65534 --regid=65534 --clear-groups)
fi
mkdir -m 555 "$work/sealed" && mkdir -m 000 "$work/closed"
if "${as_user[@]}" test -x "$sim" -a -x "$build/kavorind-content" -a -r "$work/data/Pal.Pal" \
    2>/dev/null && ! "${as_user[@]}" test -w "$work/sealed" -o -x "$work/closed" 2>/dev/null; then
    run "${as_user[@]}" "$sim" --data "$work/data" --ticks 10 --frames "$work/sealed"
    expect 2 "$work/sealed" "frames into a folder it may not write"
    run "${as_user[@]}" "$sim" --data "$work/data" --ticks 10 --frames "$work/closed/frames"
    expect 2 "$work/closed/frames" "frames into a folder it may not enter"
    run "${as_user[@]}" "$build/kavorind-content" "$work/closed/content"
    expect 1 "$work/closed/content" "content into a folder it may not enter"
    if [ -x "$build/tools/kavorind-icons" ]; then
        run "${as_user[@]}" "$build/tools/kavorind-icons" "$work/closed/icons" kavorind
        expect 1 "$work/closed/icons" "icons into a folder it may not enter"
    fi
else
    echo "skipped: no user without privileges can run the tools here"
fi

[ "$failures" -eq 0 ] || {
    echo "$failures failed" >&2
    exit 1
}
echo "tool outputs as expected"
