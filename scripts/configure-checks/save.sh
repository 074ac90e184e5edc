#!/usr/bin/env bash
# Saves the answers of a finished configure's compiler checks (HAVE_* and the like, from its
# CMakeCache.txt) as an initial cache that a later configure of the same source for the same
# platform reads instead of checking again.
# Usage: scripts/configure-checks/save.sh BUILD_FOLDER PLATFORM SOURCE_FOLDER_NAME
#   e.g. save.sh build-web/deps/build/libsdl2 emscripten libsdl2-2.26.5+dfsg
set -euo pipefail
cache=$1/CMakeCache.txt
out=$(dirname "$0")/$2-$3.cmake
{
    echo "# The compiler checks of $3's configure for $2, as Debian 12's tools answer them."
    echo "# Written by scripts/configure-checks/save.sh from a configure that ran every check."
    grep -E '^(HAVE_[A-Za-z0-9_]*|LIBC_IS_GLIBC|STDC_HEADERS):INTERNAL=' "$cache" |
        sed -E 's/^([A-Za-z0-9_]+):INTERNAL=(.*)$/set(\1 "\2" CACHE INTERNAL "")/'
} >"$out.part"
mv "$out.part" "$out"
echo "$out: $(grep -c '^set(' "$out") checks"
