#!/usr/bin/env bash
# Installs what the Windows build needs from Debian's packages (mingw-w64 with the posix thread
# model, since the timer and the messages use std::thread; zlib for mingw; NSIS; zip; Wine and
# Xvfb for the tests) and builds SDL2, SDL2_mixer, libpng, pugixml and GoogleTest for
# x86_64-w64-mingw32 from Debian's own source packages, once, into build-win/deps/.
# Usage: scripts/setup_windows.sh [test]   (test: Wine and Xvfb as well)
set -euo pipefail
cd "$(dirname "$0")/.."

. scripts/debian.bash
deps=$PWD/build-win/deps
packages=(g++-mingw-w64-x86-64-posix libz-mingw-w64-dev nlohmann-json3-dev nsis zip icoutils dpkg-dev)
if [ "${1:-}" = test ]; then
    packages+=(wine64 wine xvfb x11-utils xauth unzip)
fi
install_packages "The Windows build" "${packages[@]}"

mkdir -p "$deps"
configure=(cmake -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/mingw-w64-x86_64.cmake" -DBUILD_SHARED_LIBS=OFF)
build_library mingw "$deps" libsdl2 -DSDL_SHARED=OFF -DSDL_STATIC=ON -DSDL_TEST=OFF
build_library mingw "$deps" libsdl2-mixer -DSDL2MIXER_SAMPLES=OFF \
    -DSDL2MIXER_VENDORED=OFF -DSDL2MIXER_DEPS_SHARED=OFF -DSDL2MIXER_CMD=OFF \
    -DSDL2MIXER_FLAC=OFF -DSDL2MIXER_MOD=OFF -DSDL2MIXER_MIDI=OFF -DSDL2MIXER_MP3=OFF \
    -DSDL2MIXER_OGG=OFF -DSDL2MIXER_OPUS=OFF -DSDL2MIXER_WAVE=ON -DSDL2_DIR="$deps/prefix/lib/cmake/SDL2"
build_library mingw "$deps" libpng1.6 -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_TESTS=OFF \
    -DPNG_EXECUTABLES=OFF
build_library mingw "$deps" pugixml
build_library mingw "$deps" googletest -Dgtest_disable_pthreads=OFF
# nlohmann-json is headers only: Debian's own headers and CMake files, copied beside the others
# (its CMake files find the headers relative to where they lie).
if [ ! -f "$deps/.nlohmann-json.done" ]; then
    mkdir -p "$deps/prefix/include" "$deps/prefix/share/cmake"
    cp -r /usr/include/nlohmann "$deps/prefix/include/"
    cp -r /usr/share/cmake/nlohmann_json "$deps/prefix/share/cmake/"
    touch "$deps/.nlohmann-json.done"
fi
