#!/usr/bin/env bash
# Exit codes and what the game says: 0 for a game that ends normally, 1 for every failure to start
# or to go on (with the Korean message and one English line naming the file and the folder), 2 for
# a command line it does not understand. Runs the real game on SDL's dummy video driver.
set -euo pipefail
build=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/share" SDL_VIDEODRIVER=dummy
unset KAVORIND_DATA
"$build/kavorind-test-content" "$work/data"
# A copy of the game with no content beside it, so that the search has nowhere to find any.
mkdir -p "$work/bin" "$work/empty"
cp "$build/kavorind" "$work/bin/kavorind"

fail() { echo "FAILED: $*" >&2; cat "$work/stderr" >&2; exit 1; }
# Runs the game with the given arguments from the current folder; sets code.
run() {
    set +e
    timeout 60 "$@" >"$work/stdout" 2>"$work/stderr"
    code=$?
    set -e
}
said() { grep -qF -- "$1" "$work/stderr"; }

echo "== a command line not understood: usage, exit code 2"
run "$build/kavorind" --no-such-option
[ "$code" -eq 2 ] || fail "bad option gave $code"
said "unknown option --no-such-option" && said "usage: kavorind" || fail "no usage"

echo "== no content anywhere: exit code 1, every place looked in named"
cd "$work/empty"
run "$work/bin/kavorind" --mute
[ "$code" -eq 1 ] || fail "no content gave $code"
said "Data 를 초기화 할수 없습니다." || fail "no Korean message"
said "Kavorind: no content folder found" || fail "no English line"
said "$work/empty" && said "$work/share/kavorind" || fail "the places are not named"
run "$work/bin/kavorind" --where
[ "$code" -eq 1 ] && said "no content folder found" || fail "--where without content gave $code"

echo "== --where: the folder found, absolute, exit code 0"
cd "$work"
KAVORIND_DATA=data run "$work/bin/kavorind" --where
[ "$code" -eq 0 ] && [ "$(head -n 1 "$work/stdout")" = "$work/data" ] || fail "--where gave $code"
grep -q "^settings: .*kavorind.cfg$" "$work/stdout" && grep -q "^scores: .*scores.txt$" "$work/stdout" ||
    fail "--where did not name the settings and the scores"

echo "== a start-up file missing or damaged: named with its folder, exit code 1"
cp -r "$work/data" "$work/partial"
rm "$work/partial/Stage-B2.map"
run "$build/kavorind" --mute --data "$work/partial"
[ "$code" -eq 1 ] || fail "missing file gave $code"
said "Data 를 초기화 할수 없습니다." || fail "no Korean message"
said "Kavorind: \"Stage-B2.map\" is missing from $work/partial. Run \"kavorind-content DIR\"" ||
    fail "the missing file is not named"
head -c 64 /dev/zero >"$work/partial/Stage-B2.map"
run "$build/kavorind" --mute --data "$work/partial"
[ "$code" -eq 1 ] && said "\"Stage-B2.map\" in $work/partial cannot be read" ||
    fail "damaged file gave $code"

echo "== the menu's picture missing: the logo runs, then the menu names it, exit code 1"
rm -rf "$work/partial" && cp -r "$work/data" "$work/partial"
rm "$work/partial/Menu-b.BMP"
run "$build/kavorind" --mute --data "$work/partial"
[ "$code" -eq 1 ] || fail "missing menu picture gave $code"
said "Kavorind: \"Menu-b.BMP\" is missing from $work/partial." || fail "Menu-b.BMP not named"

echo "== no sound device: one line says so, no library noise, and a normal end is exit code 0"
# alsa-lib given a broken configuration finds no device and complains loudly on its own.
printf 'pcm.!default { type\n' >"$work/broken-alsa.conf"
printf 'volume = loud\n' >"$work/sound.cfg"
cd "$work/data"
ALSA_CONFIG_PATH="$work/broken-alsa.conf" SDL_AUDIODRIVER=alsa \
    "$build/kavorind" --config "$work/sound.cfg" >"$work/stdout" 2>"$work/stderr" &
game=$!
# SDL turns SIGTERM into a quit once it is up; start-up has run when the sound line is out.
for _ in $(seq 200); do
    said "runs silent" && break
    sleep 0.1
done
sleep 0.5
kill -TERM "$game"
set +e
wait "$game"
code=$?
set -e
[ "$code" -eq 0 ] || fail "closed game gave $code"
[ "$(grep -c "Kavorind: no sound device found; the game runs silent." "$work/stderr")" -eq 1 ] ||
    fail "the silent line is not there once"
! said "ALSA lib" || fail "alsa-lib spoke"
said "$work/sound.cfg:1: \"volume = loud\"" || fail "the bad configuration line is not named"

echo "== first run: the configuration is written with its defaults; muted says nothing of sound"
run "$build/kavorind" --mute --data "$work/partial"
grep -qx "fullscreen = yes" "$XDG_CONFIG_HOME/kavorind/kavorind.cfg" || fail "no configuration"
! said "runs silent" || fail "a muted game spoke of its sound"
echo "all exit codes as expected"
