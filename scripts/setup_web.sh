#!/usr/bin/env bash
# Installs what the browser build needs from Debian's packages (emscripten, headless chromium,
# brotli for the pre-compressed files, libsndfile for the ADPCM waves) and
# builds SDL2 and SDL2_mixer for the browser from Debian's own source packages, once, into
# build-web/deps/ (emscripten's ports would download them, which the build must not need).
# Usage: scripts/setup_web.sh
set -euo pipefail
cd "$(dirname "$0")/.."

. scripts/debian.bash
deps=$PWD/build-web/deps
packages=(emscripten chromium dpkg-dev nodejs brotli libsndfile1-dev)
# npm may come with a nodejs of another origin than Debian's.
command -v npm >/dev/null || packages+=(npm)
install_packages "The browser build" "${packages[@]}"

export NODE_PATH=/usr/share/nodejs

mkdir -p "$deps"
configure=(emcmake cmake)
build_library emscripten "$deps" libsdl2 -DSDL_SHARED=OFF -DSDL_STATIC=ON -DSDL_TEST=OFF \
    -DSDL_THREADS=OFF
# The game mixes its own converted clips: every music decoder is left out.
build_library emscripten "$deps" libsdl2-mixer -DBUILD_SHARED_LIBS=OFF -DSDL2MIXER_SAMPLES=OFF \
    -DSDL2MIXER_VENDORED=OFF -DSDL2MIXER_DEPS_SHARED=OFF -DSDL2MIXER_CMD=OFF \
    -DSDL2MIXER_FLAC=OFF -DSDL2MIXER_MOD=OFF -DSDL2MIXER_MIDI=OFF -DSDL2MIXER_MP3=OFF \
    -DSDL2MIXER_VORBIS=OFF -DSDL2MIXER_OPUS=OFF -DSDL2MIXER_WAVE=OFF -DSDL2_DIR="$deps/prefix/lib/cmake/SDL2"
