#!/usr/bin/env bash
# The timedemo plays a key script in the real window without waiting for the timer: the careful
# pilot's first 2,000 ticks (the logo, the menu, the opening and the start of the first stage) end
# by themselves with exit code 0 and a report of every tick and of the frames drawn, and the
# game's --trace over the demo equals kavorind-sim's, every field of every line, so the demo ran
# the game itself and not an imitation. A script that quits from the menu ends the demo early,
# still with its report and exit code 0.
set -euo pipefail
build=$(cd "$1" && pwd)
source_dir=$(cd "$2" && pwd)
source "$(dirname "$0")/xvfb_session.bash"
work=$(mktemp -d)
trap 'kill "${game:-0}" 2>/dev/null || true; xvfb_stop; rm -rf "$work"' EXIT
[ -f "$build/data/Pal.Pal" ] || { echo "no default content in $build/data" >&2; exit 1; }
export XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/share SDL_AUDIODRIVER=dummy

ticks=2000
"$build/kavorind-pilot" --data "$build/data" --out "$work/course.keys" --ticks $ticks >/dev/null
"$build/kavorind-sim" --data "$build/data" --keys "$work/course.keys" --ticks $ticks \
    --trace "$work/runner.jsonl" 2>/dev/null

# Runs the timedemo of script $1 in the background and waits for it; sets exit_code and report.
timedemo() {
    "$build/kavorind" --windowed --timedemo "$1" "${@:2}" >"$work/stdout" 2>"$work/stderr" &
    game=$!
    wait_for_exit "$game" 120
    report=$(grep '^timedemo ' "$work/stdout" || true)
    echo "exit code $exit_code: $report"
    [ "$exit_code" = "0" ] || { cat "$work/stderr" >&2; return 1; }
}

# The figure named $1 in the report.
figure() {
    tr ' ' '\n' <<<"$report" | sed -n "s/^$1=//p"
}

xvfb_start
cd "$build/data"
timedemo "$work/course.keys" --trace "$work/game.jsonl"
[ "$(figure ticks)" = "$ticks" ]
frames=$(figure frames)
[ "$frames" -gt 0 ] && [ "$frames" -le "$ticks" ]
for name in wall_s cpu_s fps slowest_tick_ms slowest_frame_ms; do
    [[ "$(figure $name)" =~ ^[0-9]+\.[0-9]+$ ]] || { echo "no $name in: $report" >&2; exit 1; }
done
python3 "$source_dir/tests/e2e/compare_traces.py" "$work/game.jsonl" "$work/runner.jsonl" $ticks
# One frame for every trace line that says its tick drew one.
[ "$(grep -c '"rendered":1' "$work/game.jsonl")" = "$frames" ]

# Escape skips the logo and, in the menu, quits; pressed every second until the game ends.
{
    echo "# ticks: 3000"
    for tick in $(seq 10 30 2990); do echo "$tick Escape"; done
} >"$work/quit.keys"
timedemo "$work/quit.keys"
quit_ticks=$(figure ticks)
[ "$quit_ticks" -gt 0 ] && [ "$quit_ticks" -lt 3000 ]
echo "the quitting script ended the demo after $quit_ticks of its 3000 ticks"
