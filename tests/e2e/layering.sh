#!/usr/bin/env bash
# SDL stays inside src/platform/, and includes point one way: platform at the bottom; display,
# input and sound; assets; game; scenes; the shell on top.
set -euo pipefail
source_dir=${2:-$(cd "$(dirname "$0")/../.." && pwd)}
cd "$source_dir"
leaks=$(grep -rlE '#\s*include\s*[<"]SDL' src --include='*.cpp' --include='*.h' | grep -v '^src/platform/' || true)
if [ -n "$leaks" ]; then
    echo "SDL included outside src/platform/:" >&2
    echo "$leaks" >&2
    exit 1
fi
echo "SDL only in src/platform/"

python3 tests/e2e/include_floors.py src

# The check itself must refuse an include that points up, and one from a folder on no floor.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/src/platform" "$work/src/display" "$work/src/shell" "$work/src/misc"
printf '#include "display/palette.h"\n' >"$work/src/platform/up.cpp"
printf '#include "platform/messages.h"\n#include "shell/entry.h"\n' >"$work/src/shell/down.cpp"
printf '#include "sound/wave_clip.h"\n' >"$work/src/display/beside.cpp"
if python3 tests/e2e/include_floors.py "$work/src" 2>"$work/out"; then
    echo "an upward include went unnoticed" >&2
    exit 1
fi
grep -q 'platform/up.cpp includes display/' "$work/out"
grep -q 'misc/: a folder on no floor' "$work/out"
if grep -q 'down.cpp\|beside.cpp' "$work/out"; then
    echo "a downward or same-floor include was refused" >&2
    exit 1
fi
echo "upward includes are refused"
