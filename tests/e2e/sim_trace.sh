#!/usr/bin/env bash
# The headless runner runs 300 ticks, writes one valid JSON object per tick, honours --ticks, reports
# its slowest tick and render, and refuses bad arguments with exit code 2 and a usage line.
set -euo pipefail
build=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$build/kavorind-test-content" "$work/data"

"$build/kavorind-sim" --data "$work/data" --ticks 300 --trace "$work/trace.jsonl" --palette \
    2>"$work/stderr"
grep -Eq '^ticks=300 renders=[0-9]+ seconds=[0-9.]+ ticks_per_second=[0-9]+$' "$work/stderr"
# The slowest tick and render are named with the ticks they happened at, within the run.
python3 - "$work/stderr" <<'PY'
import re, sys
text = open(sys.argv[1]).read()
found = re.search(r"^startup_ms=[0-9.]+ worst_tick_ms=([0-9.]+) at_tick=([0-9]+) "
                  r"worst_render_ms=([0-9.]+) at_tick=([0-9]+)$", text, re.M)
assert found, text
assert 1 <= int(found[2]) <= 300 and 1 <= int(found[4]) <= 300, found[0]
assert float(found[1]) > 0 and float(found[3]) > 0, found[0]
PY

python3 - "$work/trace.jsonl" <<'PY'
import json, sys
lines = open(sys.argv[1]).read().splitlines()
assert len(lines) == 300, len(lines)
for number, line in enumerate(lines, 1):
    record = json.loads(line)
    assert record["tick"] == number, record
    assert isinstance(record["scene"], int) and record["rendered"] in (0, 1), record
    for name in ("logoPhase", "selection", "riseHeight", "endingFade", "stageIndex"):
        assert isinstance(record[name], int), (number, name)
    assert isinstance(record["sound"], list), number
    assert len(record["palette"]) == 256 and all(len(c) == 3 for c in record["palette"]), number
PY

if "$build/kavorind-sim" --ticks 0 2>"$work/usage"; then exit 1; else test $? -eq 2; fi
grep -q '^usage: kavorind-sim' "$work/usage"
if "$build/kavorind-sim" --frobnicate 2>/dev/null; then exit 1; else test $? -eq 2; fi
printf '1 Space\n' >"$work/bad.keys"
if "$build/kavorind-sim" --keys "$work/bad.keys" 2>/dev/null; then exit 1; else test $? -eq 2; fi
echo "sim trace ok"
