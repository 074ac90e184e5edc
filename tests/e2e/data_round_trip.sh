#!/usr/bin/env bash
# kavorind-data export and import: every file of the default content exported and imported back
# gives the same bytes; every file of the fuzz corpora, exported or imported, is converted or
# refused with a message (exit 1), never a crash.
set -euo pipefail
build=$1
source_dir=$2
source "$(dirname "$0")/data_tool.bash"

echo "== usage"
for args in "export" "export x" "import" "import a" "import --palette p a" "import a b c"; do
    # shellcheck disable=SC2086
    run $args
    [ "$code" -eq 2 ] && grep -q "usage: kavorind-data" "$work/err" || fail "'$args' gave $code"
done

echo "== the default content, there and back"
"$build/kavorind-content" "$work/data" >/dev/null
run export "$work"/data/* "$work/exported"
[ "$code" -eq 0 ] || { cat "$work/err"; fail "export of the default content gave $code"; }
mkdir "$work/back"
count=0
for file in "$work"/data/*; do
    name=$(basename "$file")
    stem=${name%.*}
    case $(head -c 3 "$file") in
    BM*) source=$stem.png ;;
    SPR) source=$stem.json ;;
    MAP) source=$stem.tmx ;;
    *) source=$name ;;
    esac
    [ -f "$work/exported/$source" ] || fail "$name: export wrote no $source"
    run import "$work/exported/$source" "$work/back/$name"
    [ "$code" -eq 0 ] || fail "$name: import of $source gave $code: $(cat "$work/err")"
    cmp -s "$file" "$work/back/$name" || fail "$name: the round trip changed its bytes"
    count=$((count + 1))
done
echo "$count files came back byte for byte"

echo "== fuzz corpora: converted or refused with a message, never a crash"
count=0
for file in "$source_dir"/fuzz/corpus*/*/*; do
    rm -rf "$work/odd"
    run export "$file" "$work/odd"
    [ "$code" -eq 0 ] || [ "$code" -eq 1 ] || fail "export $file: exit $code"
    [ "$code" -eq 0 ] || grep -q "kavorind-data: " "$work/err" || fail "export $file: no message"
    for pair in png:bmp bmp:bmp json:spr tmx:map wav:wav; do
        extension=${pair%:*}
        cp "$file" "$work/source.$extension"
        run import "$work/source.$extension" "$work/imported.${pair#*:}"
        [ "$code" -eq 0 ] || [ "$code" -eq 1 ] || fail "import $file as .$extension: exit $code"
        [ "$code" -eq 0 ] || grep -q "kavorind-data: " "$work/err" ||
            fail "import $file as .$extension: no message"
    done
    count=$((count + 1))
done
[ "$count" -gt 10 ] || fail "only $count corpus files found"
echo "$count corpus files exported and imported as every kind"
echo "data round trip checks passed"
