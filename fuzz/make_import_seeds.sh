#!/usr/bin/env bash
# Writes the import fuzzer's seeds into fuzz/corpus/import/ with ImageMagick: each seed is one byte
# naming the kind of source (0 PNG, 1 BMP, 2 sprite-set JSON, 3 Tiled map, 4 wave) and then the
# source's bytes. Seeds named bad-* must be refused with a reason (the replay test checks it).
# The bad-*-budget and bad-*-padded seeds are small cuts of the safety test's hostile files
# (tests/e2e/hostile_data.py): pictures and frames claiming far more pixels than their bytes hold.
# Tiled maps exported from a small stage map join the folder as tmx-*.
set -euo pipefail
cd "$(dirname "$0")/corpus/import"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

seed() { # kind name file
    { printf "\\x$(printf %02x "$1")"; cat "$3"; } >"$2"
}
picture="-size 12x10 gradient:red-blue -fill yellow -draw 'rectangle 2,2 6,5'"
image() { eval convert "$picture" "$@"; }

image -type palette "PNG8:$work/a.png" && seed 0 png-indexed "$work/a.png"
image "PNG24:$work/a.png" && seed 0 png-rgb "$work/a.png"
image -alpha set -channel A -evaluate set 40% "PNG32:$work/a.png" && seed 0 png-rgba "$work/a.png"
image -colorspace gray -define png:color-type=0 "$work/a.png" && seed 0 png-grey "$work/a.png"
image -monochrome -define png:bit-depth=1 "$work/a.png" && seed 0 png-1bit "$work/a.png"
image -type palette -interlace PNG "PNG8:$work/a.png" && seed 0 png-interlaced "$work/a.png"
head -c 60 "$work/a.png" >"$work/cut.png" && seed 0 bad-png-truncated "$work/cut.png"

image -type palette -compress none "BMP3:$work/a.bmp" && seed 1 bmp-4bit "$work/a.bmp"
picture="-size 14x24 gradient:red-blue"
image -type palette -compress none "BMP3:$work/a.bmp" && seed 1 bmp-8bit "$work/a.bmp"
image -type palette -compress RLE "BMP3:$work/a.bmp" && seed 1 bmp-rle8 "$work/a.bmp"
image -type truecolor "BMP3:$work/a.bmp" && seed 1 bmp-24bit "$work/a.bmp"

json='{"image": "sheet.png", "rate": 3, "key": 0, "palette": [[0,0,0],[255,255,255],[90,20,200]],
"frames": [{"x":0,"y":0,"width":5,"height":4,"hotX":2,"hotY":2},
{"x":6,"y":0,"width":0,"height":0,"hotX":0,"hotY":0},
{"x":10,"y":30,"width":20,"height":9,"hotX":-4,"hotY":40}]}'
printf '%s' "$json" >"$work/a.json" && seed 2 json-valid "$work/a.json"
printf '%s' "${json/\"frames\"/\"frame\"}" >"$work/a.json" && seed 2 bad-json-missing-frames "$work/a.json"
printf '%s' "${json/\"rate\": 3/\"rate\": \"3\"}" >"$work/a.json" && seed 2 bad-json-rate-text "$work/a.json"
printf '%s' "${json/\[90,20,200\]/[90,20]}" >"$work/a.json" && seed 2 bad-json-short-colour "$work/a.json"
printf '%s' "${json/\"width\":20/\"width\":60}" >"$work/a.json" && seed 2 bad-json-past-sheet "$work/a.json"
printf '%s' "${json:0:90}" >"$work/a.json" && seed 2 bad-json-truncated "$work/a.json"

hostile() { python3 ../../../tests/e2e/hostile_data.py "$@"; }
printf '{"image": "sheet.png", "rate": 3, "key": 0, "palette": [[0,0,0]], "frames": [%s]}' \
    "$(printf '{"x":0,"y":0,"width":16384,"height":16384,"hotX":0,"hotY":0},%.0s' 1 2 3 |
        sed 's/,$//')" >"$work/a.json" && seed 2 bad-json-frames-beyond-budget "$work/a.json"
hostile png "$work/a.png" 4096 0 && seed 0 bad-png-beyond-budget "$work/a.png"
hostile short-png "$work/a.png" 1024 2000 && seed 0 bad-png-padded "$work/a.png"
hostile rle "$work/a.bmp" 1200 2600 && seed 1 bad-bmp-rle-padded "$work/a.bmp"
