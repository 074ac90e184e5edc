#!/usr/bin/env bash
# Installs what the browser build needs from Debian's packages (emscripten, headless chromium,
# brotli for the pre-compressed files, libsndfile for the ADPCM waves) and
# builds SDL2 and SDL2_mixer for the browser from Debian's own source packages, once, into
# build-web/deps/ (emscripten's ports would download them, which the build must not need).
# Usage: scripts/setup_web.sh
set -euo pipefail
cd "$(dirname "$0")/.."

deps=$PWD/build-web/deps
packages=(emscripten chromium dpkg-dev nodejs npm brotli libsndfile1-dev)

missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
        missing+=("$package")
done
# npm may come with a nodejs of another origin than Debian's.
if command -v npm >/dev/null; then
    missing=("${missing[@]/npm/}")
fi
missing=($(printf '%s\n' "${missing[@]}" | grep . || true))

# Another set-up on the same machine may hold apt's locks: wait for them rather than fail.
apt_get() {
    local attempt
    for attempt in 1 2 3 4 5 6 7 8 9 10; do
        apt-get -o DPkg::Lock::Timeout=900 "$@" && return 0
        [ "$1" = update ] || return 1
        sleep 15
    done
    return 1
}

need_root() {
    if [ "$(id -u)" -ne 0 ]; then
        echo "The browser build needs: $1" >&2
        exit 1
    fi
}

if [ ${#missing[@]} -gt 0 ]; then
    need_root "sudo apt-get install -y ${missing[*]}"
    echo "Installing ${missing[*]}" >&2
    export DEBIAN_FRONTEND=noninteractive
    apt_get install -y --no-install-recommends "${missing[@]}" >/dev/null ||
        { apt_get update >/dev/null && apt_get install -y --no-install-recommends "${missing[@]}" >/dev/null; }
fi

export NODE_PATH=/usr/share/nodejs

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
        apt_get update >/dev/null
    fi
}

# Builds one library with emscripten's CMake wrapper into deps/prefix; skipped once its stamp
# exists. The stamp names the options too, so that changed options build it again.
build_library() {
    local source_package=$1 stamp
    stamp=$deps/.$1-$(echo "${@:2}" | md5sum | cut -c1-8).done
    shift
    [ -f "$stamp" ] && return 0
    enable_deb_src
    mkdir -p "$deps/src"
    (cd "$deps/src" && rm -rf "$source_package"[-_]* && apt-get source "$source_package" >/dev/null 2>&1)
    local dir
    dir=$(find "$deps/src" -maxdepth 1 -type d -name "$source_package-*" | head -n 1)
    emcmake cmake -S "$dir" -B "$deps/build/$source_package" -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_INSTALL_PREFIX="$deps/prefix" -DCMAKE_PREFIX_PATH="$deps/prefix" \
        -DCMAKE_FIND_ROOT_PATH="$deps/prefix" "$@" >"$deps/$source_package.log" 2>&1
    nice cmake --build "$deps/build/$source_package" -j 2 >>"$deps/$source_package.log" 2>&1
    cmake --install "$deps/build/$source_package" >>"$deps/$source_package.log" 2>&1
    touch "$stamp"
}

mkdir -p "$deps"
build_library libsdl2 -DSDL_SHARED=OFF -DSDL_STATIC=ON -DSDL_TEST=OFF -DSDL_THREADS=OFF
# The game mixes its own converted clips: every music decoder is left out.
build_library libsdl2-mixer -DBUILD_SHARED_LIBS=OFF -DSDL2MIXER_SAMPLES=OFF \
    -DSDL2MIXER_VENDORED=OFF -DSDL2MIXER_DEPS_SHARED=OFF -DSDL2MIXER_CMD=OFF \
    -DSDL2MIXER_FLAC=OFF -DSDL2MIXER_MOD=OFF -DSDL2MIXER_MIDI=OFF -DSDL2MIXER_MP3=OFF \
    -DSDL2MIXER_VORBIS=OFF -DSDL2MIXER_OPUS=OFF -DSDL2MIXER_WAVE=OFF -DSDL2_DIR="$deps/prefix/lib/cmake/SDL2"
