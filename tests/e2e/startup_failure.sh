#!/usr/bin/env bash
# Without a usable display the window cannot be made: the program says so on stderr (the message
# box has nowhere to appear) and ends with exit code 0.
set -euo pipefail
build=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
set +e
env -u DISPLAY -u WAYLAND_DISPLAY SDL_VIDEODRIVER=x11 timeout 20 "$build/kavorind" 2>"$work/stderr"
code=$?
set -e
cat "$work/stderr"
[ "$code" -eq 0 ]
grep -q '프로그램을 초기화 할수 없습니다.' "$work/stderr"
