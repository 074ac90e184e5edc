#!/usr/bin/env bash
# Builds the loader fuzzers and the import fuzzer (preset "fuzz") and runs each for FUZZ_SECONDS
# (default 60) from its seed corpus (the import's, fuzz/corpus/import/, comes from
# make_import_seeds.sh), plus the small files of the default content when build/data holds them.
# Any crash, leak, hang or sanitizer report fails the script; the input that caused it is left in
# build-fuzz/crash-<fuzzer>-*. Run from CI; FUZZ_SECONDS=600 for a longer local run.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${FUZZ_SECONDS:-60}

# clang and its libFuzzer runtime, from Debian's packages.
. scripts/debian.bash
install_packages "The fuzzers" clang libclang-rt-14-dev

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j "$(nproc)"

# The working corpora live in the build folder: what the fuzzers add there stays out of the
# repository. Default-content files under 20 kB join the seeds (larger ones only slow the
# fuzzer down, and every stage map is larger).
seed_from_content() {
    local data=build/data
    [ -d "$data" ] || return 0
    find "$data" -maxdepth 1 -type f -size -20k | while read -r file; do
        case "${file,,}" in
        *.bmp | *.pal) cp "$file" build-fuzz/corpus/bitmap_file/ ;;
        *.spr) cp "$file" build-fuzz/corpus/sprite_set/ ;;
        *.map) cp "$file" build-fuzz/corpus/stage_map/ ;;
        *.wav) cp "$file" build-fuzz/corpus/wave_clip/ ;;
        esac
    done
}

fuzzers=(bitmap_file raw_block sprite_set stage_map wave_clip game_rules import)
for fuzzer in "${fuzzers[@]}"; do
    mkdir -p "build-fuzz/corpus/$fuzzer"
    if [ -d "fuzz/corpus/$fuzzer" ]; then cp fuzz/corpus/"$fuzzer"/* "build-fuzz/corpus/$fuzzer/"; fi
done
seed_from_content

# An import weighs every picture's pixels before decoding it, so a hostile source costs no more
# memory than an ordinary one: its fuzzer runs within 512 MB (any input beyond is a failure).
limits() {
    if [ "$1" = import ]; then echo -rss_limit_mb=512; else echo -rss_limit_mb=2048; fi
}

# One fuzzer a core at a time: each is single-threaded, so two at once halve the wall time.
run_one() {
    local fuzzer=$1 log=build-fuzz/fuzz-$1.log
    rm -f build-fuzz/crash-"$fuzzer"-* build-fuzz/failed-"$fuzzer"
    if build-fuzz/fuzz/fuzz-"$fuzzer" -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
        "$(limits "$fuzzer")" -artifact_prefix="build-fuzz/crash-$fuzzer-" \
        "build-fuzz/corpus/$fuzzer" >"$log" 2>&1; then
        runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
        echo "fuzz-$fuzzer: $runs executions in ${seconds} s, no crash"
    else
        tail -n 40 "$log" >&2
        echo "fuzz-$fuzzer FAILED; input kept as $(ls build-fuzz/crash-"$fuzzer"-* 2>/dev/null)" >&2
        touch build-fuzz/failed-"$fuzzer"
    fi
}

cores=$(nproc)
for fuzzer in "${fuzzers[@]}"; do
    while [ "$(jobs -rp | wc -l)" -ge "$cores" ]; do wait -n || true; done
    run_one "$fuzzer" &
done
wait
failed=0
for fuzzer in "${fuzzers[@]}"; do
    [ ! -e build-fuzz/failed-"$fuzzer" ] || failed=1
done
exit "$failed"
