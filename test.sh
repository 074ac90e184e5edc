#!/usr/bin/env bash
# The same set-up as play.sh, then every test. Exits non-zero when one fails.
set -euo pipefail
cd "$(dirname "$0")"
scripts/setup.sh xvfb xdotool x11-utils python3 libx11-dev imagemagick clang-format procps \
    desktop-file-utils appstream lintian dpkg-dev fakeroot file binutils man-db groff-base
ctest --preset default -j "$(nproc)" --timeout 600
