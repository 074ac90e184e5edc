#!/usr/bin/env bash
# The headless runner records the sound calls of each tick. The menu sets up its two channels and
# starts its music when it starts; without any audio device the same run goes on, silent, with the
# same scenes on the same ticks.
set -euo pipefail
build=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$build/kavorind-test-content" "$work/data"

SDL_AUDIODRIVER=dummy "$build/kavorind-sim" --data "$work/data" --ticks 200 \
    --trace "$work/sound.jsonl" 2>/dev/null
SDL_AUDIODRIVER=no-such-driver "$build/kavorind-sim" --data "$work/data" --ticks 200 \
    --trace "$work/silent.jsonl" 2>/dev/null

python3 - "$work/sound.jsonl" "$work/silent.jsonl" <<'PY'
import json, sys

def read(path):
    return [json.loads(line) for line in open(path).read().splitlines()]

def check_calls(records):
    for record in records:
        for call in record["sound"]:
            op = call["op"]
            assert op in ("releaseAll", "assign", "play", "stop"), call
            assert call["ok"] in (0, 1), call
            if op != "releaseAll":
                assert isinstance(call["channel"], int), call
            if op == "assign":
                assert isinstance(call["bytes"], int), call
            if op == "play":
                assert call["loop"] in (0, 1), call

def menu_start(records):
    ticks = [r for r in records if r["sound"]]
    assert ticks, "no sound calls in the run"
    first = ticks[0]
    assert first["scene"] == 2, first
    return [(c["op"], c.get("channel"), c.get("bytes"), c.get("loop"), c["ok"]) for c in first["sound"]]

sounding, silent = read(sys.argv[1]), read(sys.argv[2])
assert len(sounding) == len(silent) == 200
check_calls(sounding)
check_calls(silent)
# 1 s and 0.1 s of 22050 Hz 16-bit mono: 44100 and 4410 bytes.
assert menu_start(sounding) == [("releaseAll", None, None, None, 1), ("assign", 0, 44100, None, 1),
                                ("assign", 1, 4410, None, 1), ("play", 0, None, 1, 1)], menu_start(sounding)
assert menu_start(silent) == [("releaseAll", None, None, None, 1), ("assign", 0, 44100, None, 0),
                              ("assign", 1, 4410, None, 0), ("play", 0, None, 1, 0)], menu_start(silent)
assert [r["scene"] for r in sounding] == [r["scene"] for r in silent]
assert [r["rendered"] for r in sounding] == [r["rendered"] for r in silent]
PY
echo "sound trace ok"
