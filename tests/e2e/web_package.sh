#!/usr/bin/env bash
# The browser package's content: every wave of the default content made IMA ADPCM (about a quarter
# of their bytes, in 512-byte blocks), every other file byte for byte as it was, and the pilot's
# course played on it by the runner gives the same trace as on the desktop's content, frame
# hashes and sound calls alike, but for the clips' byte counts. Skipped where the build has no
# libsndfile (no kavorind-web-content).
set -euo pipefail
build=$(cd "$1" && pwd)
[ -x "$build/kavorind-web-content" ] || { echo "no kavorind-web-content in $build: skipped"; exit 0; }
[ -f "$build/data/Pal.Pal" ] || { echo "no default content in $build/data" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/share

"$build/kavorind-web-content" --report "$build/data" "$work/web" >"$work/report.txt"
cat "$work/report.txt"
waves=$(find "$build/data" -maxdepth 1 -iname '*.wav' | wc -l)
[ "$waves" -gt 0 ] && [ "$(wc -l <"$work/report.txt")" = "$waves" ]
pcm_bytes=0 adpcm_bytes=0
for file in "$build"/data/*; do
    name=$(basename "$file")
    if [[ ${name,,} == *.wav ]]; then
        # format tag 0x11 (IMA ADPCM) and block align 512, read from the "fmt " chunk's fields
        [ "$(od -An -tu2 -j20 -N2 "$work/web/$name" | tr -d ' ')" = 17 ]
        [ "$(od -An -tu2 -j32 -N2 "$work/web/$name" | tr -d ' ')" = 512 ]
        pcm_bytes=$((pcm_bytes + $(stat -c %s "$file")))
        adpcm_bytes=$((adpcm_bytes + $(stat -c %s "$work/web/$name")))
    else
        cmp "$file" "$work/web/$name"
    fi
done
# The short effects' last blocks are partly padding; the whole is still about a quarter.
echo "waves: $pcm_bytes bytes as PCM, $adpcm_bytes as ADPCM"
[ $((adpcm_bytes * 10)) -lt $((pcm_bytes * 3)) ]

ticks=1500
"$build/kavorind-pilot" --data "$build/data" --out "$work/course.keys" --ticks $ticks >/dev/null
for content in data web; do
    folder=$build/data
    [ $content = web ] && folder=$work/web
    SDL_AUDIODRIVER=dummy "$build/kavorind-sim" --data "$folder" --keys "$work/course.keys" \
        --ticks $ticks --frame-hash --trace "$work/$content.jsonl" 2>/dev/null
    sed -E 's/"bytes":[0-9]+/"bytes":_/g' "$work/$content.jsonl" >"$work/$content.trace"
done
[ "$(wc -l <"$work/web.trace")" = $ticks ]
grep -q '"op":"play"' "$work/web.trace"
cmp "$work/data.trace" "$work/web.trace"
echo "the runner's $ticks ticks on the ADPCM content equal those on the PCM content"
