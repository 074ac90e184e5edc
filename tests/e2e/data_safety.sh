#!/usr/bin/env bash
# kavorind-data never destroys what an author made and never hangs or runs out of memory on what it
# is given: outputs that are devices, FIFOs, read-only files or planted links are refused or left
# alone; an output naming one of its inputs, or written twice by one export, is refused before
# anything is written; pictures claiming more pixels than their bytes hold cost no memory; a FIFO in
# place of any input is named, never waited on; a folder that cannot be written is a message, never
# an abort; check names a wave the game would leave silent and a file it may not read.
set -euo pipefail
build=$1
source_dir=$2
source "$(dirname "$0")/data_tool.bash"
run_seconds=5 # nothing here takes a second; a run waiting on a FIFO is stopped
hostile() { python3 "$source_dir/tests/e2e/hostile_data.py" "$@"; }
fifo_named() { [ "$code" -eq 1 ] && grep -q "$1\"\?: is a FIFO, not a file" "$work/err" "$work/out"; }

# The default content as the build wrote it, else written here.
if [ -f "$build/data/.stamp" ]; then mkdir "$work/data" && cp -r "$build/data/." "$work/data"; else
    "$build/kavorind-content" "$work/data" >/dev/null; fi
data=$work/data
mkdir "$work/w"
w=$work/w
cp "$data/Pal.Pal" "$w/"
run export "$data/MyCap.spr" "$data/Stage-M1.map" "$w"
[ "$code" -eq 0 ] || fail "export of the author's files gave $code: $(cat "$work/err")"
cp "$w/MyCap.png" "$work/sheet-before.png"

echo "== outputs that are not the author's plain files are refused and left as they were"
mkfifo "$w/fifo.bmp"
run import "$data/Pal.Pal" "$w/fifo.bmp"
[ "$code" -eq 1 ] && [ -p "$w/fifo.bmp" ] || fail "a FIFO as OUT gave $code"
echo "made by hand" >"$w/kept.bmp"
chmod 444 "$w/kept.bmp"
run import "$data/Pal.Pal" "$w/kept.bmp"
[ "$code" -eq 1 ] && grep -q "kept.bmp: cannot be written: is read-only" "$work/err" ||
    fail "a read-only OUT gave $code"
[ "$(cat "$w/kept.bmp")" = "made by hand" ] || fail "the read-only file was replaced"
if mknod "$w/null.bmp" c 1 3 2>/dev/null; then
    run import "$data/Pal.Pal" "$w/null.bmp"
    [ "$code" -eq 1 ] && [ -c "$w/null.bmp" ] && grep -q "is a device" "$work/err" ||
        fail "a device as OUT gave $code"
else
    echo "(no device made: not root)"
fi
mkdir "$work/o"
echo precious >"$work/v.txt"
ln -s ../v.txt "$work/o/MyCap.json.partial"
run export "$data/MyCap.spr" "$work/o"
[ "$code" -eq 0 ] && [ "$(cat "$work/v.txt")" = precious ] || fail "a planted link was written through"
cmp -s "$work/o/MyCap.json" "$w/MyCap.json" || fail "the export beside a planted link differs"

echo "== an output that names one of the inputs is refused, and nothing is written"
run import "$w/MyCap.json" "$w/MyCap.png"
[ "$code" -eq 2 ] && grep -q "import writes only the game's files" "$work/err" || fail "OUT .png gave $code"
run import "$w/Stage-M1.tmx" "$w/Stage-M1.tmx"
[ "$code" -eq 2 ] || fail "a Tiled map as its own OUT gave $code"
cp "$w/MyCap.png" "$w/Sheet.spr"
sed 's/"image": "MyCap.png"/"image": "Sheet.spr"/' "$w/MyCap.json" >"$w/Named.json"
run import "$w/Named.json" "$w/Sheet.spr"
[ "$code" -eq 2 ] && grep -q "reads .*Sheet.spr" "$work/err" || fail "OUT = the sheet gave $code"
cmp -s "$w/Sheet.spr" "$w/MyCap.png" || fail "the sheet was written over"
convert "$w/MyCap.png" "PNG24:$w/true.png"
run import --palette "$w/Pal.Pal" "$w/true.png" "$w/Pal.Pal"
[ "$code" -eq 2 ] && cmp -s "$w/Pal.Pal" "$data/Pal.Pal" || fail "OUT = --palette gave $code"
cp "$data/open-s.bmp" "$w/open-s.bmp"
run import "$w/open-s.bmp" "$w/./open-s.bmp"
[ "$code" -eq 2 ] || fail "a bitmap as its own OUT gave $code"
cmp -s "$w/MyCap.png" "$work/sheet-before.png" || fail "the sheet changed"
cp "$data/Pal.Pal" "$w/Foo.bmp"
cp "$data/Hit.spr" "$w/Foo.spr"
run export "$w/Foo.bmp" "$w/Foo.spr" "$work/twice"
[ "$code" -eq 2 ] && grep -q "Foo.png would be written twice" "$work/err" && [ ! -e "$work/twice" ] ||
    fail "an export writing Foo.png twice gave $code"
run export "$data/Effect0.Wav" "$data/Hit.spr" "$data"
[ "$code" -eq 2 ] && [ ! -e "$data/Hit.png" ] || fail "an export over its input gave $code"

echo "== pictures and frames claiming more than their bytes hold are refused within 400 MB"
hostile frames "$work" 65536 2048
hostile png "$work/padded.png" 16384 282624
hostile rle "$work/padded-rle.bmp" 16384 266240
limited() {
    set +e
    (ulimit -v 400000 && exec timeout 20 "$tool" "$@") >"$work/out" 2>"$work/err"
    code=$?
    set -e
}
limited import "$work/bomb.json" "$work/bomb.spr"
[ "$code" -eq 1 ] && grep -q "65536 frames: its pixels would take 262144 MiB, more than the 256 MiB" \
    "$work/err" || fail "the 65,536-frame description gave $code: $(cat "$work/err")"
limited import "$work/padded.png" "$w/padded.bmp"
[ "$code" -eq 1 ] && grep -q "would take 1024 MiB" "$work/err" || fail "the padded PNG gave $code"
limited import "$work/padded-rle.bmp" "$w/flat.bmp"
[ "$code" -eq 1 ] && grep -q "larger than its file could hold" "$work/err" ||
    fail "the padded RLE bitmap gave $code: $(cat "$work/err")"
limited import "$w/MyCap.json" "$w/MyCap.spr"
[ "$code" -eq 0 ] && cmp -s "$w/MyCap.spr" "$data/MyCap.spr" || fail "a real import under the limit"

echo "== a FIFO in place of any input is named, never waited on"
mkfifo "$w/pipe.bmp" "$w/pipe.png" "$w/pipe.json"
run info "$w/pipe.bmp"
fifo_named pipe.bmp || fail "info of a FIFO gave $code"
run export "$w/pipe.bmp" "$work/out-folder"
fifo_named pipe.bmp || fail "export of a FIFO gave $code"
run import "$w/pipe.json" "$w/x.spr"
fifo_named pipe.json || fail "import of a FIFO gave $code"
run import --palette "$w/pipe.bmp" "$w/true.png" "$w/x.bmp"
fifo_named pipe.bmp || fail "a FIFO as --palette gave $code"
sed 's/"image": "MyCap.png"/"image": "pipe.png"/' "$w/MyCap.json" >"$w/Piped.json"
run import "$w/Piped.json" "$w/x.spr"
fifo_named pipe.png || fail "a FIFO as the sheet gave $code"
sed 's/source="Stage-M1-tiles.png"/source="pipe.png"/' "$w/Stage-M1.tmx" >"$w/Piped.tmx"
run import "$w/Piped.tmx" "$w/x.map"
fifo_named pipe.png || fail "a FIFO as the tileset gave $code"
cp -r "$data" "$work/piped"
rm "$work/piped/Effect0.Wav"
mkfifo "$work/piped/Effect0.Wav"
run check "$work/piped"
[ "$code" -eq 2 ] && grep -q "Effect0.Wav: is a FIFO, not a file" "$work/out" || fail "check: $code"

echo "== a folder in the way or one that cannot be written: a message, never an abort"
mkdir "$w/in-the-way.bmp" "$w/stale.bmp.partial"
touch "$w/stale.bmp.partial/left-over"
run import "$data/Pal.Pal" "$w/in-the-way.bmp"
[ "$code" -eq 1 ] && grep -q "is a folder" "$work/err" || fail "a folder as OUT gave $code"
run import "$data/Pal.Pal" "$w/stale.bmp"
[ "$code" -eq 0 ] && cmp -s "$w/stale.bmp" "$data/Pal.Pal" || fail "a stale .partial folder: $code"
run export "$data/Hit.spr" "$data/Pal.Pal"
[ "$code" -eq 1 ] && grep -q "cannot be made a folder" "$work/err" || fail "OUTDIR a file: $code"
echo "an older sprite set" >"$w/older.spr"
set +e
(ulimit -f 4 && trap '' XFSZ && exec "$tool" import "$w/MyCap.json" "$w/older.spr") 2>"$work/err"
code=$?
set -e
[ "$code" -eq 1 ] && grep -q "older.spr: cannot be written: File too large" "$work/err" ||
    fail "a full disk gave $code: $(cat "$work/err")"
[ "$(cat "$w/older.spr")" = "an older sprite set" ] && ! ls "$w" | grep -q "older.spr.*partial" ||
    fail "a failed write left the older file changed or a partial file behind"
mkdir "$work/rofs"
if [ "$(id -u)" -eq 0 ] && mount -t tmpfs -o ro,size=64k tmpfs "$work/rofs" 2>/dev/null; then
    trap 'umount "$work/rofs"; rm -rf "$work"' EXIT
    run export "$data/MyCap.spr" "$work/rofs"
    [ "$code" -eq 1 ] && grep -q "MyCap.png: cannot be written: Read-only file system" "$work/err" ||
        fail "export onto a read-only file system gave $code: $(cat "$work/err")"
    run export "$data/MyCap.spr" "$work/rofs/new"
    [ "$code" -eq 1 ] && grep -q "cannot be made a folder: Read-only file system" "$work/err" ||
        fail "making a folder on a read-only file system gave $code"
else
    echo "(no read-only file system mounted: not root, or no mounts here)"
fi

echo "== check names the waves the game would leave silent"
cp -r "$data" "$work/quiet"
hostile wave "$work/quiet/Effect1.Wav" 1 0 22050 8 100
hostile wave "$work/quiet/Effect2.Wav" 1 1 0 8 100
hostile wave "$work/quiet/Effect3.Wav" 1 1 22050 7 100
hostile wave "$work/quiet/Effect4.Wav" 1 1 22050 16 0
hostile wave "$work/quiet/Effect5.Wav" 1 1 22050 24 300
run check "$work/quiet"
[ "$code" -eq 1 ] || fail "check of silent waves gave $code: $(cat "$work/out")"
for expected in "Effect1.Wav: 0 channels: it plays silent" "Effect2.Wav: a sample rate of 0" \
    "Effect3.Wav: 7-bit PCM, which the game cannot decode" "Effect4.Wav: its \"data\" chunk"; do
    grep -q "warning: $expected" "$work/out" || fail "no warning \"$expected\""
done
! grep -q "Effect5.Wav" "$work/out" || fail "24-bit PCM, which the decoder plays, was named"

echo "== as an unprivileged user: files and folders that may not be read or written"
if [ "$(id -u)" -ne 0 ]; then
    as_user() { "$@"; }
elif setpriv --reuid=65534 --regid=65534 --clear-groups true 2>/dev/null; then
    as_user() { setpriv --reuid=65534 --regid=65534 --clear-groups "$@"; }
else
    echo "(skipped: cannot run as another user here)"
    echo "data safety checks passed"
    exit 0
fi
# The tool and the content must be reachable by that user (a checkout under a private home
# folder is not).
if ! as_user test -x "$tool" -a -r "$data/MyCap.spr" 2>/dev/null; then
    echo "(skipped: the build folder cannot be reached as another user)"
    echo "data safety checks passed"
    exit 0
fi
chmod 755 "$work"
mkdir "$work/mine" "$work/locked"
cp "$data/Hit.spr" "$work/mine/Hit.spr"
cp -r "$data" "$work/private"
chmod 000 "$work/mine/Hit.spr" "$work/private/Effect1.Wav"
chmod -R a+rX "$work/private" "$w"
chmod 000 "$work/private/Effect1.Wav"
chmod 555 "$work/locked"
user_run() {
    set +e
    as_user timeout 5 "$tool" "$@" >"$work/out" 2>"$work/err"
    code=$?
    set -e
}
user_run info "$work/mine/Hit.spr"
[ "$code" -eq 1 ] && grep -q "Hit.spr: cannot be read: Permission denied" "$work/out" ||
    fail "an unreadable input gave $code"
user_run export "$data/MyCap.spr" "$work/locked"
[ "$code" -eq 1 ] && grep -q "MyCap.png: cannot be written: Permission denied" "$work/err" ||
    fail "export into a read-only folder gave $code: $(cat "$work/err")"
user_run export "$data/MyCap.spr" "$work/locked/new"
[ "$code" -eq 1 ] && grep -q "cannot be made a folder: Permission denied" "$work/err" ||
    fail "export making a folder in a read-only one gave $code: $(cat "$work/err")"
user_run check "$work/private"
[ "$code" -eq 2 ] && grep -q "Effect1.Wav: cannot be read: Permission denied" "$work/out" ||
    fail "check of an unreadable wave gave $code: $(cat "$work/out")"
echo "data safety checks passed"
