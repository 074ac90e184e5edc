#!/usr/bin/env bash
# Writes the golden traces: what the headless runner prints, tick by tick and with a hash of every
# presented frame, for each key script here on each content set (default: the content that the
# build writes; test: the small test content). tests/e2e/golden_traces.sh runs the same thing and
# fails on any difference, so after a deliberate change of behaviour or content run
#     tests/golden/update.sh [BUILD_DIR]
# and review the diff of tests/golden/ before committing it with the change.
#
# A script's line "# options: ..." gives the runner more options (such as --scene 5), and
# "# contents: test" limits it to some content sets. A run is cut where the program ends or, for a
# script about the front end, 100 ticks after the first tick of the game (scene 3); a script with
# the line "# cut: end" plays on to the program's end (or 2,000 ticks).
#
# Usage: update.sh [BUILD_DIR [OUT_DIR]]; OUT_DIR defaults to this folder.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:-$here/../../build}" && pwd)
out=${2:-$here}
longest=2000 # ticks; only a run that neither ends nor starts a game gets this far
after_game_start=100

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$build/kavorind-test-content" "$work/test-data" >/dev/null
declare -A contents=([default]="$build/data" [test]="$work/test-data")

# Keeps the lines up to the program's end or to the cut after the game starts.
cut_run() {
    awk -v after="$after_game_start" '
        { print }
        !start && /^\{"tick":[0-9]+,"scene":3,/ { start = NR }
        start && NR >= start + after { exit }'
}

mkdir -p "$out"
for keys in "$here"/*.keys; do
    script=$(basename "$keys" .keys)
    options=$(sed -n 's/^# options://p' "$keys" | head -n 1)
    sets=$(sed -n 's/^# contents://p' "$keys" | head -n 1)
    cut_at_game=1
    grep -q '^# cut: end' "$keys" && cut_at_game=0
    for content in ${sets:-default test}; do
        name="$content-$script"
        # shellcheck disable=SC2086 # the options are words
        if ! "$build/kavorind-sim" --data "${contents[$content]}" --keys "$keys" --ticks "$longest" \
            --frame-hash --trace "$work/$name.jsonl" $options 2>"$work/$name.err"; then
            echo "golden: $name: the runner failed:" >&2
            cat "$work/$name.err" >&2
            exit 1
        fi
        if [ "$cut_at_game" = 1 ]; then
            cut_run <"$work/$name.jsonl" >"$out/$name.jsonl"
        else
            cp "$work/$name.jsonl" "$out/$name.jsonl"
        fi
    done
done
