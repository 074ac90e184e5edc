#!/usr/bin/env bash
# Shared by play.sh and test.sh: installs what is missing from Debian's packages, then configures
# and builds into build/. Usage: scripts/setup.sh [--tests | extra package...]; --tests adds what
# the tests need.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/debian.bash

extra=("$@")
if [ "${1:-}" = --tests ]; then
    # What the tests need beyond the build: an X server and its tools for the end-to-end runs,
    # the formatter, and the tools that check the install and the package.
    extra=(xvfb xdotool x11-utils python3 libx11-dev imagemagick clang-format procps
           desktop-file-utils appstream lintian dpkg-dev fakeroot file binutils man-db groff-base)
fi
packages=(build-essential cmake pkg-config libsdl2-dev libsdl2-mixer-dev libpng-dev
          nlohmann-json3-dev libpugixml-dev libgtest-dev libbenchmark-dev libsndfile1-dev "${extra[@]}")
install_packages Kavorind "${packages[@]}"

cmake --preset default >/dev/null
cmake --build --preset default -j "$(nproc)"

# The build writes the default content into build/data (again only when its generator changed).
