#!/usr/bin/env bash
# SDL stays inside src/platform/: the game's own code never includes it.
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
