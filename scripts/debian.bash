# Sourced by the set-up scripts: Debian's packages installed when missing, and libraries built
# for another platform from Debian's own source packages.

# apt-get that waits for the locks of another set-up installing on the same machine (CI builds
# the browser's and Windows' libraries while the desktop's tests run) rather than failing.
apt_get() {
    local attempt
    for attempt in 1 2 3 4 5 6 7 8 9 10; do
        apt-get -o DPkg::Lock::Timeout=900 "$@" && return 0
        [ "$1" = update ] || return 1
        sleep 15
    done
    return 1
}

# install_packages WHAT PACKAGE...: installs those of the packages that are missing, or, run by
# someone other than root, says which and exits 1. WHAT names what needs them.
install_packages() {
    local what=$1 package
    shift
    local missing=()
    for package in "$@"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
            missing+=("$package")
    done
    [ ${#missing[@]} -gt 0 ] || return 0
    if [ "$(id -u)" -ne 0 ]; then
        echo "$what needs these Debian packages; install them with:" >&2
        echo "  sudo apt-get install -y ${missing[*]}" >&2
        exit 1
    fi
    echo "Installing ${missing[*]}" >&2
    local started=$SECONDS
    export DEBIAN_FRONTEND=noninteractive
    apt_get install -y --no-install-recommends "${missing[@]}" >/dev/null ||
        { apt_get update >/dev/null && apt_get install -y --no-install-recommends "${missing[@]}" >/dev/null; }
    echo "Installed them in $((SECONDS - started)) s" >&2
}

need_root() {
    if [ "$(id -u)" -ne 0 ]; then
        echo "The set-up needs: $1" >&2
        exit 1
    fi
}

# Source packages come through the machine's own apt sources, with deb-src added beside deb.
enable_deb_src() {
    local changed=0 sources
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

# build_library PLATFORM DEPS SOURCE_PACKAGE CMAKE_OPTION...: builds one library from its Debian
# source package into DEPS/prefix with the CMake command in the array `configure`, once: a stamp
# naming the options skips it next time, and changed options build it again.
#
# A configure for emscripten or mingw runs hundreds of compiler checks whose answers never change
# for one version of one library: where scripts/configure-checks/ has them for PLATFORM and this
# source, the checks are read from there (SDL's take about seven minutes under emscripten).
build_library() {
    local platform=$1 deps=$2 source_package=$3 started=$SECONDS
    shift 3
    local stamp
    stamp=$deps/.$source_package-$(echo "$@" | md5sum | cut -c1-8).done
    [ -f "$stamp" ] && return 0
    enable_deb_src
    mkdir -p "$deps/src"
    (cd "$deps/src" && rm -rf "$source_package"[-_][0-9]* && fetch_source "$source_package")
    local dir checks seeded=()
    dir=$(find "$deps/src" -maxdepth 1 -type d -name "$source_package-[0-9]*" | head -n 1)
    checks=$(dirname "${BASH_SOURCE[0]}")/configure-checks/$platform-$(basename "$dir").cmake
    [ -f "$checks" ] && seeded=(-C "$(cd "$(dirname "$checks")" && pwd)/$(basename "$checks")")
    "${configure[@]}" "${seeded[@]}" -S "$dir" -B "$deps/build/$source_package" \
        -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$deps/prefix" \
        -DCMAKE_PREFIX_PATH="$deps/prefix" -DCMAKE_FIND_ROOT_PATH="$deps/prefix" \
        "$@" >"$deps/$source_package.log" 2>&1
    nice cmake --build "$deps/build/$source_package" -j "$(nproc)" >>"$deps/$source_package.log" 2>&1
    cmake --install "$deps/build/$source_package" >>"$deps/$source_package.log" 2>&1
    touch "$stamp"
    echo "Built $source_package for $platform in $((SECONDS - started)) s" >&2
}
