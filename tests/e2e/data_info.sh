#!/usr/bin/env bash
# kavorind-data info and its command line: every file of the default content is described, every
# file of the fuzz corpora is described or refused with a reason and a byte offset (exit 1), never
# a crash; --help answers 0 and a command line not understood answers 2 with the usage.
set -euo pipefail
build=$1
source_dir=$2
source "$(dirname "$0")/data_tool.bash"

echo "== --help and bad usage"
run --help
[ "$code" -eq 0 ] && grep -q "info FILE" "$work/out" || fail "--help gave $code"
for args in "" "info" "frobnicate x" "check" "check a b"; do
    # shellcheck disable=SC2086
    run $args
    [ "$code" -eq 2 ] && grep -q "usage: kavorind-data" "$work/err" || fail "'$args' gave $code"
done

echo "== the default content: every file described"
"$build/kavorind-content" "$work/data" >/dev/null
run info "$work"/data/*
[ "$code" -eq 0 ] || { cat "$work/out"; fail "info on the default content gave $code"; }
! grep -q "refused" "$work/out" || fail "a default file was refused"
grep -A4 "/Pal.Pal: bitmap" "$work/out" | grep -q "colours: 256" || fail "no colours for Pal.Pal"
grep -A6 "/Hit.spr: sprite set" "$work/out" | grep -q "frame 0: .* hot spot (" || fail "no frames for Hit.spr"
grep -A8 "/Stage-M1.map: stage map" "$work/out" | grep -q "spawn codes: [0-9]" || fail "no spawn codes in Stage-M1.map"
grep -A4 "/Music0.Wav: wave" "$work/out" | grep -q "seconds" || fail "no length for Music0.Wav"

echo "== planted faults: named with their byte"
cp "$work/data/Clear-bk.bmp" "$work/rle.bmp"
printf '\001' | dd of="$work/rle.bmp" bs=1 seek=30 conv=notrunc status=none
head -c 500 "$work/data/Hit.spr" >"$work/short.spr"
run info "$work/rle.bmp" "$work/short.spr" "$work/missing.wav" "$work/data/Number.spr"
[ "$code" -eq 1 ] || fail "refused files gave $code"
grep -q "compressed .*(at byte 30)" "$work/out" || fail "RLE8 not named"
grep -q "ends inside the colour table (at byte 500)" "$work/out" || fail "truncation not named"
grep -q "missing.wav: cannot be read: No such file" "$work/out" || fail "missing file not named"
grep -q "Number.spr: sprite set" "$work/out" || fail "a good file after bad ones was not described"

echo "== every fuzz corpus file: described or refused, never a crash"
count=0
for file in "$source_dir"/fuzz/corpus*/*/*; do
    run info "$file"
    [ "$code" -eq 0 ] || [ "$code" -eq 1 ] || fail "$file: exit $code"
    [ -s "$work/err" ] && fail "$file: wrote to stderr: $(cat "$work/err")"
    if [ "$code" -eq 1 ]; then
        grep -q "refused: .* (at byte [0-9]*)" "$work/out" || fail "$file: refused without a reason"
    fi
    count=$((count + 1))
done
[ "$count" -gt 10 ] || fail "only $count corpus files found"
echo "$count corpus files read"
echo "== check: the default content is clean; a missing stage map is an error naming it"
code=0; "$tool" check "$work/data" >"$work/out" 2>&1 || code=$?
[ "$code" -eq 0 ] || { cat "$work/out"; fail "check on the default content gave $code"; }
cp -r "$work/data" "$work/broken"
rm "$work/broken/Stage-B2.map"
code=0; "$tool" check "$work/broken" >"$work/out" 2>&1 || code=$?
[ "$code" -eq 2 ] || fail "check with a missing map gave $code"
grep -q "^error: Stage-B2.map: .*fix: " "$work/out" || { cat "$work/out"; fail "the missing map is not named with its fix"; }
echo "data info checks passed"
