#!/usr/bin/env bash
# Every C++ file follows the repository's .clang-format.
set -euo pipefail
source_dir=${2:-$(cd "$(dirname "$0")/../.." && pwd)}
cd "$source_dir"
command -v clang-format >/dev/null || { echo "clang-format is not installed" >&2; exit 1; }
git ls-files -- '*.cpp' '*.h' | xargs clang-format --dry-run --Werror
echo "formatting ok"
