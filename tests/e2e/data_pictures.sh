#!/usr/bin/env bash
# kavorind-data export and import of pictures and sprite sets on the command line: the files
# written, the palette found beside OUT or named by --palette, an RLE8 bitmap saved by ImageMagick
# made loadable, and the exit codes.
set -euo pipefail
build=$1
source "$(dirname "$0")/data_tool.bash"

"$build/kavorind-content" "$work/data" >/dev/null

echo "== export writes the sheet, the description and the picture; import gives the same bytes"
run export "$work/data/Hit.spr" "$work/data/open-s.bmp" "$work/art"
[ "$code" -eq 0 ] || fail "export gave $code: $(cat "$work/err")"
for file in Hit.png Hit.json open-s.png; do [ -s "$work/art/$file" ] || fail "no $file"; done
run import "$work/art/Hit.json" "$work/Hit.spr"
[ "$code" -eq 0 ] && cmp -s "$work/Hit.spr" "$work/data/Hit.spr" || fail "Hit.spr differs ($code)"
run import "$work/art/open-s.png" "$work/open-s.bmp"
[ "$code" -eq 0 ] && cmp -s "$work/open-s.bmp" "$work/data/open-s.bmp" || fail "open-s differs"

echo "== a truecolour PNG needs a palette: refused without one, reduced with --palette or Pal.Pal"
convert "$work/art/open-s.png" "PNG24:$work/true.png"
mkdir "$work/bare"
run import "$work/true.png" "$work/bare/x.bmp"
[ "$code" -eq 1 ] && grep -q -- "--palette" "$work/err" || fail "no palette gave $code"
run import --palette "$work/data/open-s.bmp" "$work/true.png" "$work/bare/x.bmp"
[ "$code" -eq 0 ] && grep -q "colours moved" "$work/out" || fail "--palette gave $code"
run import "$work/true.png" "$work/data/x.bmp"
[ "$code" -eq 0 ] || fail "Pal.Pal beside OUT gave $code"

echo "== an RLE8 bitmap from ImageMagick becomes one the game loads"
convert "$work/data/open-s.bmp" -type palette -compress RLE "BMP3:$work/rle.bmp"
run info "$work/rle.bmp"
[ "$code" -eq 1 ] || fail "the RLE8 bitmap was not refused by info"
run import "$work/rle.bmp" "$work/flat.bmp"
[ "$code" -eq 0 ] || fail "RLE8 import gave $code: $(cat "$work/err")"
run info "$work/flat.bmp"
[ "$code" -eq 0 ] || fail "the imported bitmap is refused: $(cat "$work/out")"

echo "== a broken description: a message naming the field, exit 1"
printf '{"image": "Hit.png", "rate": -2}' >"$work/art/bad.json"
run import "$work/art/bad.json" "$work/bad.spr"
[ "$code" -eq 1 ] && grep -q "rate: needs" "$work/err" || fail "bad JSON gave $code"
echo "export and import behave"
