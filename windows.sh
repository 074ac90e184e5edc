#!/usr/bin/env bash
# The game for 64-bit Windows, cross-built with Debian's mingw-w64. Usage:
#   ./windows.sh        builds the four programs into build-win/ (the desktop set-up first, for the
#                       default content and the icon), then the portable zip and the installer:
#                       build-win/kavorind-VERSION-windows-x64.zip, build-win/kavorind-VERSION-setup.exe
#   ./windows.sh test   builds them, then checks them under Wine on Xvfb (tests/windows/run.sh):
#                       what CI runs
#   ./windows.sh test-all  the same, and the unit tests built for Windows under Wine beside them
# The content and the icon come from the desktop build in build/ (scripts/setup.sh), or from the
# one KAVORIND_NATIVE_BUILD names, which is then taken as it is.
set -euo pipefail
cd "$(dirname "$0")"

case "${1:-}" in
"" | test | test-all) ;;
*) echo "usage: ./windows.sh [test | test-all]" >&2; exit 2 ;;
esac

step_started=$SECONDS
step_done() {
    echo "windows.sh: $1 in $((SECONDS - step_started)) s" >&2
    step_started=$SECONDS
}

native=${KAVORIND_NATIVE_BUILD:-build}
if [ "$native" = build ]; then
    scripts/setup.sh
    step_done "the desktop build"
fi
[ -f "$native/data/Pal.Pal" ] || { echo "no default content in $native/data" >&2; exit 1; }
testing=${1:+test}
unit_tests=()
[ "${1:-}" = test-all ] && unit_tests=(unit-tests)
scripts/setup_windows.sh $testing
step_done "the Windows libraries and tools"

# The icon the desktop build drew, at every size it draws, as one .ico (PNG images inside).
mkdir -p build-win
icon_sizes=("$native"/icons/{256x256,128x128,64x64,48x48,32x32}/apps/org.kavorind.kavorind.png)
if [ ! -f build-win/kavorind.ico ] || [ "${icon_sizes[0]}" -nt build-win/kavorind.ico ]; then
    icotool --create --raw="${icon_sizes[0]}" -o build-win/kavorind.ico.new "${icon_sizes[@]:1}"
    mv build-win/kavorind.ico.new build-win/kavorind.ico
fi

cmake --preset windows >/dev/null
nice cmake --build --preset windows -j "$(nproc)" --target kavorind kavorind-data kavorind-content kavorind-sim
step_done "the Windows programs"
if [ ${#unit_tests[@]} -gt 0 ]; then
    nice cmake --build --preset windows -j "$(nproc)" --target test-game test-assets test-input test-extras
    step_done "the unit tests for Windows"
fi

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build-win/CMakeCache.txt)
name=kavorind-$version-windows-x64
stage=build-win/$name
rm -rf "$stage" build-win/"$name".zip
mkdir -p "$stage"
for program in kavorind kavorind-data kavorind-content kavorind-sim; do
    x86_64-w64-mingw32-strip -o "$stage/$program.exe" "build-win/$program.exe"
done
cp -r "$native/data" "$stage/data"
rm -f "$stage/data/.stamp"
# Text files for Windows' own editors: CRLF line ends.
sed 's/$/\r/' dist/windows/README.txt >"$stage/README.txt"
sed 's/$/\r/' LICENSE >"$stage/LICENSE.txt"
(cd build-win && TZ=UTC zip -q -X -r -9 "$name.zip" "$name")
makensis -V2 -INPUTCHARSET UTF8 -DVERSION="$version" -DSTAGE="$PWD/$stage" \
    -DICON="$PWD/build-win/kavorind.ico" -DOUTFILE="$PWD/build-win/kavorind-$version-setup.exe" \
    dist/windows/installer.nsi
step_done "the zip and the installer"
echo "build-win/$name.zip: $(stat -c %s "build-win/$name.zip") bytes" >&2
echo "build-win/kavorind-$version-setup.exe: $(stat -c %s "build-win/kavorind-$version-setup.exe") bytes" >&2

if [ -n "$testing" ]; then
    tests/windows/run.sh build-win "$name" "$version" "${unit_tests[@]}"
    step_done "the tests under Wine"
fi
