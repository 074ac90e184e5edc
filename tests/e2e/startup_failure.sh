#!/usr/bin/env bash
# Without a usable display the window cannot be made: the program says so on stderr (the message
# box has nowhere to appear), in Korean and then in English, and ends with exit code 1.
set -euo pipefail
build=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
export XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/share"
set +e
env -u DISPLAY -u WAYLAND_DISPLAY SDL_VIDEODRIVER=x11 timeout 20 "$build/kavorind" --mute 2>"$work/stderr"
code=$?
set -e
cat "$work/stderr"
[ "$code" -eq 1 ]
grep -q '프로그램을 초기화 할수 없습니다.' "$work/stderr"
grep -q "^Kavorind: the game's window could not be made" "$work/stderr"
