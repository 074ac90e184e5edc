#!/usr/bin/env bash
# The timedemo over the careful pilot's whole course (three stages, the tallies, the ending and
# back to the menu) in a real window under Xvfb: frames per second and the slowest tick and frame.
# Usage: bench/timedemo_course.sh [BUILD]
source "$(dirname "$0")/common.bash"
trap 'xvfb_stop; rm -rf "$work"' EXIT
"$build/kavorind-pilot" --data "$build/data" --out "$work/course.keys" >/dev/null
xvfb_start
cd "$build/data"
echo "build: $build; $(grep '^# ticks:' "$work/course.keys")"
"$build/kavorind" --windowed --timedemo "$work/course.keys"
