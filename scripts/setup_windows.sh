#!/usr/bin/env bash
# Installs what the Windows build needs from Debian's packages (mingw-w64 with the posix thread
# model, since the timer and the messages use std::thread; zlib for mingw; NSIS; zip; Wine and
# Xvfb for the tests) and builds SDL2, SDL2_mixer, libpng, pugixml and GoogleTest for
# x86_64-w64-mingw32 from Debian's own source packages, once, into build-win/deps/.
# Usage: scripts/setup_windows.sh [test]   (test: Wine and Xvfb as well)
set -euo pipefail
cd "$(dirname "$0")/.."

deps=$PWD/build-win/deps
toolchain=$PWD/cmake/mingw-w64-x86_64.cmake
packages=(g++-mingw-w64-x86-64-posix libz-mingw-w64-dev nlohmann-json3-dev nsis zip icoutils dpkg-dev)
if [ "${1:-}" = test ]; then
    packages+=(wine64 wine xvfb x11-utils xauth unzip)
fi

missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
        missing+=("$package")
done

need_root() {
    if [ "$(id -u)" -ne 0 ]; then
        echo "The Windows build needs: $1" >&2
        exit 1
    fi
}

if [ ${#missing[@]} -gt 0 ]; then
    need_root "sudo apt-get install -y ${missing[*]}"
    echo "Installing ${missing[*]}" >&2
    installing=$SECONDS
    export DEBIAN_FRONTEND=noninteractive
    apt-get install -y --no-install-recommends "${missing[@]}" >/dev/null ||
        { apt-get update >/dev/null && apt-get install -y --no-install-recommends "${missing[@]}" >/dev/null; }
    echo "Installed them in $((SECONDS - installing)) s" >&2
fi

# Source packages come through the machine's own apt sources, with deb-src added beside deb.
enable_deb_src() {
    local changed=0
    for sources in /etc/apt/sources.list.d/*.sources; do
        [ -f "$sources" ] || continue
        if grep -q '^Types: deb$' "$sources"; then
            need_root "deb-src in the Types of $sources, then apt-get update"
            sed -i 's/^Types: deb$/Types: deb deb-src/' "$sources"
            changed=1
        fi
    done
    if [ $changed = 1 ] || ! apt-cache showsrc libsdl2 2>/dev/null | grep -q '^Package:'; then
        need_root "apt-get update (for the source packages)"
        apt-get update >/dev/null
    fi
}

# Fetches a source package into the working folder: the newest version, or, when a mirror lacks
# its files (a security update not yet mirrored), the newest of the others apt knows.
fetch_source() {
    apt-get source "$1" >/dev/null 2>&1 && return 0
    local version
    for version in $(apt-cache showsrc "$1" | sed -n 's/^Version: //p' | sort -ruV); do
        rm -rf "$1"[-_]*
        apt-get source "$1=$version" >/dev/null 2>&1 && return 0
    done
    echo "cannot fetch the source package $1" >&2
    return 1
}

# Builds one library with the mingw toolchain file into deps/prefix, static; skipped once its
# stamp exists. The source's own top folder is found by the package's name.
build_library() {
    local source_package=$1 stamp=$deps/.$1.done started=$SECONDS
    shift
    [ -f "$stamp" ] && return 0
    enable_deb_src
    mkdir -p "$deps/src"
    (cd "$deps/src" && rm -rf "$source_package"[-_]* && fetch_source "$source_package")
    local dir
    dir=$(find "$deps/src" -maxdepth 1 -type d -name "$source_package-*" | head -n 1)
    cmake -S "$dir" -B "$deps/build/$source_package" -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_INSTALL_PREFIX="$deps/prefix" \
        -DCMAKE_PREFIX_PATH="$deps/prefix" -DCMAKE_FIND_ROOT_PATH="$deps/prefix" \
        -DBUILD_SHARED_LIBS=OFF "$@" >"$deps/$source_package.log" 2>&1
    nice cmake --build "$deps/build/$source_package" -j "$(nproc)" >>"$deps/$source_package.log" 2>&1
    cmake --install "$deps/build/$source_package" >>"$deps/$source_package.log" 2>&1
    touch "$stamp"
    echo "Built $source_package for Windows in $((SECONDS - started)) s" >&2
}

mkdir -p "$deps"
build_library libsdl2 -DSDL_SHARED=OFF -DSDL_STATIC=ON -DSDL_TEST=OFF
build_library libsdl2-mixer -DSDL2MIXER_SAMPLES=OFF \
    -DSDL2MIXER_VENDORED=OFF -DSDL2MIXER_DEPS_SHARED=OFF -DSDL2MIXER_CMD=OFF \
    -DSDL2MIXER_FLAC=OFF -DSDL2MIXER_MOD=OFF -DSDL2MIXER_MIDI=OFF -DSDL2MIXER_MP3=OFF \
    -DSDL2MIXER_OGG=OFF -DSDL2MIXER_OPUS=OFF -DSDL2MIXER_WAVE=ON -DSDL2_DIR="$deps/prefix/lib/cmake/SDL2"
build_library libpng1.6 -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_TESTS=OFF -DPNG_EXECUTABLES=OFF
build_library pugixml
build_library googletest -Dgtest_disable_pthreads=OFF
# nlohmann-json is headers only: Debian's own headers and CMake files, copied beside the others
# (its CMake files find the headers relative to where they lie).
if [ ! -f "$deps/.nlohmann-json.done" ]; then
    mkdir -p "$deps/prefix/include" "$deps/prefix/share/cmake"
    cp -r /usr/include/nlohmann "$deps/prefix/include/"
    cp -r /usr/share/cmake/nlohmann_json "$deps/prefix/share/cmake/"
    touch "$deps/.nlohmann-json.done"
fi
