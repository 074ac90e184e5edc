#!/usr/bin/env bash
# The runner starts a key script where its "# options:" line says, exactly as the same options on
# the command line start it; the command line wins over the script; keys held before the first
# tick fire no shot on it; bad options are refused with exit code 2.
set -euo pipefail
build=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
sim() { timeout 20 "$build/kavorind-sim" --data "$work/data" --ticks 20 "$@" 2>>"$work/stderr"; }
"$build/kavorind-test-content" "$work/data"

printf '1-20 Right,Z\n' >"$work/plain.keys"
{ printf '# Kavorind replay\n# options: --scene 3 --stage 1\n'; cat "$work/plain.keys"; } \
    >"$work/replay.keys"
sim --keys "$work/replay.keys" --trace "$work/from-script.jsonl"
sim --keys "$work/plain.keys" --scene 3 --stage 1 --trace "$work/from-options.jsonl"
cmp "$work/from-script.jsonl" "$work/from-options.jsonl"
sim --keys "$work/replay.keys" --scene 3 --stage 2 --trace "$work/overridden.jsonl"

held='--scene 3 --stage 0 --held Z --spawn-column 19'
{ printf '# options: %s\n' "$held"; cat "$work/plain.keys"; } >"$work/held.keys"
sim --keys "$work/held.keys" --trace "$work/held.jsonl"
# shellcheck disable=SC2086
sim --keys "$work/plain.keys" $held --trace "$work/held-options.jsonl"
cmp "$work/held.jsonl" "$work/held-options.jsonl"
sim --keys "$work/plain.keys" --scene 3 --stage 0 --trace "$work/pressed.jsonl"

python3 - "$work" <<'PY'
import json, sys
work = sys.argv[1]
def first(name):
    with open(f"{work}/{name}.jsonl") as trace:
        return json.loads(trace.readline())
start = first("from-script")
assert start["tick"] == 1 and start["scene"] == 3 and start["stageIndex"] == 1, start
assert first("overridden")["stageIndex"] == 2
# Z held from before the run is no new press: no shot on the first tick.
assert first("held")["playerShots"] == [], first("held")["playerShots"]
assert first("pressed")["playerShots"] != []
PY

for bad in "--held Z" "--scene 3 --held Space" "--scene 3 --spawn-column x"; do
    # shellcheck disable=SC2086
    if sim $bad 2>/dev/null; then exit 1; else test $? -eq 2; fi
done
printf '# options: --scene 3 --stage 5\n1 Z\n' >"$work/bad.keys"
if sim --keys "$work/bad.keys"; then exit 1; else test $? -eq 2; fi
grep -q 'bad.keys: the script.s "# options:" line: --stage is a stage index' "$work/stderr"
grep -q '^usage: kavorind-sim .*\[--held KEYS\] \[--spawn-column N\]' "$work/stderr"
echo "replay options ok"
