#!/usr/bin/env bash
# The installation and the Debian package: `cmake --install` into a fresh prefix puts the game, the
# content generator, the default content, the desktop entry, the metainfo, the icons, the manual
# pages and the licence where desktops and Debian look for them; the desktop entry and the metainfo
# validate; the installed game, started from another folder, finds its content; the package lists
# and unpacks the same files, and lintian finds no errors in it.
set -euo pipefail
build=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/share
app=org.kavorind.kavorind
prefix=$work/prefix

cmake --install "$build" --prefix "$prefix" >/dev/null

expected=(
    bin/kavorind bin/kavorind-content bin/kavorind-data share/kavorind/Pal.Pal
    "share/applications/$app.desktop" "share/metainfo/$app.metainfo.xml"
    share/man/man6/kavorind.6.gz share/man/man6/kavorind-content.6.gz share/man/man6/kavorind-data.6.gz
    share/doc/kavorind/LICENSE share/doc/kavorind/copyright share/doc/kavorind/changelog.gz
)
for size in 32 48 64 128 256; do
    expected+=("share/icons/hicolor/${size}x${size}/apps/$app.png")
done
for file in "${expected[@]}"; do
    [ -s "$prefix/$file" ] || { echo "not installed: $file" >&2; exit 1; }
done
for program in kavorind kavorind-content kavorind-data; do
    [ -x "$prefix/bin/$program" ] || { echo "not installed as a program: bin/$program" >&2; exit 1; }
done
# The installed content is the whole default set, without the build's stamp.
diff -r -x .stamp "$build/data" "$prefix/share/kavorind"
for size in 32 48 64 128 256; do
    file "$prefix/share/icons/hicolor/${size}x${size}/apps/$app.png" |
        grep -q "PNG image data, $size x $size," || { echo "icon $size is not a $size x $size PNG" >&2; exit 1; }
done
echo "installed files in place"

desktop-file-validate "$prefix/share/applications/$app.desktop"
appstreamcli validate --no-net "$prefix/share/metainfo/$app.metainfo.xml"
for page in kavorind kavorind-content kavorind-data; do
    warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$prefix/share/man/man6/$page.6.gz" 2>&1 >/dev/null)
    [ -z "$warnings" ] || { echo "$page.6: $warnings" >&2; exit 1; }
done
echo "desktop entry, metainfo and manual pages validate"

# The game started elsewhere finds the content installed beside it.
mkdir -p "$work/elsewhere"
where=$(cd "$work/elsewhere" && timeout 20 "$prefix/bin/kavorind" --where | head -n 1)
[ "$(realpath "$where")" = "$(realpath "$prefix/share/kavorind")" ] ||
    { echo "--where printed '$where', not $prefix/share/kavorind" >&2; exit 1; }
echo "the installed game finds its content from another folder"

cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/package" >"$work/cpack.log" 2>&1 ||
    { cat "$work/cpack.log" >&2; exit 1; }
deb=$(ls "$work/package"/kavorind_*.deb)
dpkg-deb -c "$deb" >"$work/contents"
# Debian keeps a game's programs in /usr/games.
for file in ./usr/games/kavorind ./usr/games/kavorind-content ./usr/games/kavorind-data ./usr/share/kavorind/Pal.Pal "./usr/share/applications/$app.desktop"; do
    grep -q " $file\$" "$work/contents" || { echo "the package lacks $file" >&2; exit 1; }
done
dpkg-deb -f "$deb" Section Depends
[ "$(dpkg-deb -f "$deb" Section)" = games ]
dpkg-deb -f "$deb" Depends | grep -q libsdl2
dpkg-deb -x "$deb" "$work/unpacked"
file "$work/unpacked/usr/games/kavorind" | grep -q ', stripped' ||
    { echo "the packaged game is not stripped" >&2; exit 1; }
# The unpacked game finds the content beside it (/usr/games/../share/kavorind) and runs from
# another folder until stopped (it would end at once on a missing file).
where=$(cd "$work/elsewhere" && "$work/unpacked/usr/games/kavorind" --where | head -n 1)
[ "$(realpath "$where")" = "$(realpath "$work/unpacked/usr/share/kavorind")" ] ||
    { echo "the unpacked game chose '$where'" >&2; exit 1; }
set +e
(cd "$work/elsewhere" && SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy \
    timeout 3 "$work/unpacked/usr/games/kavorind" >/dev/null 2>"$work/run.stderr")
code=$?
set -e
[ "$code" -eq 124 ] || { echo "the unpacked game ended with $code" >&2; cat "$work/run.stderr" >&2; exit 1; }
echo "the package lists, unpacks and runs"

if ! lintian --fail-on error --tag-display-limit 0 "$deb" >"$work/lintian.txt" 2>&1; then
    cat "$work/lintian.txt" >&2
    echo "lintian reports errors" >&2
    exit 1
fi
cat "$work/lintian.txt"
echo "lintian: no errors"
