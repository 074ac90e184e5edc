#!/usr/bin/env bash
# A stage laid out in a map editor: the first stage's middle map (the one whose layer 0 the spawner
# reads) is exported as a Tiled map, one more enemy wave is drawn into its spawn layer the way an
# editor saves it (a column of enemy codes where there were none), and the map imported back passes
# `check`. The runner then shows the new enemies entering at the tick the scroll brings that column
# to the right edge, and nothing else changing before then; the unedited map places nothing there.
set -euo pipefail
build=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/share SDL_AUDIODRIVER=dummy
fail() { echo "FAILED: $*" >&2; exit 1; }

"$build/kavorind-content" "$work/data" >/dev/null
cp "$work/data/Stage-M1.map" "$work/unedited.map"
"$build/kavorind-data" export "$work/data/Stage-M1.map" "$work/tiled" >/dev/null
"$build/kavorind-sim" --data "$work/data" --scene 3 --stage 0 --ticks 200 \
    --trace "$work/before.jsonl" 2>/dev/null

# The wave: enemy type 1 (code 11) in rows 3, 6 and 9 of column 30, between the map's waves at
# columns 22 and 36. The edit is saved by Python's XML writer, not ours, as another editor would.
column=30
python3 - "$work/tiled/Stage-M1.tmx" "$column" <<'PY'
import sys
import xml.etree.ElementTree as tree
path, column = sys.argv[1], int(sys.argv[2])
document = tree.parse(path)
spawns = next(t for t in document.getroot().iter("tileset") if t.get("name") == "spawns")
first = int(spawns.get("firstgid"))
data = next(l for l in document.getroot().iter("layer") if l.get("name") == "spawns 0").find("data")
rows = [row.rstrip(",").split(",") for row in data.text.strip().splitlines()]
assert all(cell == "0" for row in rows for cell in row[column - 3:column + 4]), "stretch not empty"
for row in (3, 6, 9):
    rows[row][column] = str(first + 11 - 1)
data.text = "\n" + ",\n".join(",".join(row) for row in rows) + "\n"
document.write(path, encoding="UTF-8", xml_declaration=True)
PY
"$build/kavorind-data" import "$work/tiled/Stage-M1.tmx" "$work/data/Stage-M1.map" >/dev/null
cmp -s "$work/unedited.map" "$work/data/Stage-M1.map" && fail "the imported map did not change"
"$build/kavorind-data" check "$work/data" >"$work/check" || fail "check: $(cat "$work/check")"

"$build/kavorind-sim" --data "$work/data" --scene 3 --stage 0 --ticks 200 \
    --trace "$work/after.jsonl" 2>/dev/null

python3 - "$work/before.jsonl" "$work/after.jsonl" "$column" <<'PY'
import json, math, sys
before = [json.loads(line) for line in open(sys.argv[1])]
after = [json.loads(line) for line in open(sys.argv[2])]
column = int(sys.argv[3])
# The spawner looks at the map column under x = midScroll + 639 before the tick's scroll step, and
# the first stage's middle layer moves 2 pixels a tick from 0: column c is reached on the first
# tick whose scroll has come to c * 32 - 639 (tiles are 32 pixels wide).
tile_width, speed, edge = 32, 2, 639
assert after[0]["midScroll"] == speed and after[1]["midScroll"] == 2 * speed, after[0]["midScroll"]
expected = 1 + math.ceil((column * tile_width - edge) / speed)
seen = next(a["tick"] for b, a in zip(before, after) if a["enemies"] != b["enemies"])
row = after[seen - 1]
new = [e for e in row["enemies"] if e not in before[seen - 1]["enemies"]]
print(f"column {column}: expected tick {expected}, seen tick {seen}; new enemies",
      [(e["type"], e["x"], e["y"]) for e in new])
assert seen == expected, (seen, expected)
# Type 1 enters at x = 639 and takes its first step of -12 in the same tick; y is the row's top + 5.
assert sorted((e["type"], e["x"], e["y"]) for e in new) == [(1, 627, r * 32 + 5) for r in (3, 6, 9)]
assert not any(e["type"] == 1 for b in before for e in b["enemies"]), "unedited run has type 1"
PY
echo "tiled stage ok"
