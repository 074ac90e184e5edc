# Sourced by the measurement scripts in bench/: installs what they need through the project's own
# set-up (which also builds build/), finds the build to measure, and starts the peer, Debian's
# chocolate-doom on freedoom, in its demo loop. Usage of every script: bench/NAME.sh [BUILD]
# (default: build/ of this tree; another build, e.g. one of main, is measured the same way).
set -euo pipefail
bench_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
source_dir=$(cd "$bench_dir/.." && pwd)

"$source_dir/scripts/setup.sh" xvfb xdotool x11-utils python3 procps gcc libc6-dev \
    chocolate-doom freedoom >/dev/null
build=$(cd "${1:-$source_dir/build}" && pwd)
[ -f "$build/data/Pal.Pal" ] || { echo "no default content in $build/data" >&2; exit 1; }
source "$source_dir/tests/e2e/xvfb_session.bash"
work=$(mktemp -d)
# Neither program writes into the user's folders; both play on SDL's dummy audio, alike.
export HOME=$work/home XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/share
export SDL_AUDIODRIVER=dummy
mkdir -p "$HOME"
peer_iwad=/usr/share/games/doom/freedoom2.wad
peer_command=(/usr/games/chocolate-doom -iwad "$peer_iwad" -window -nograbmouse -geometry 640x480)
ticks_per_second=$(getconf CLK_TCK)

# CPU seconds (user + system) that process $1 has used so far.
cpu_seconds() {
    awk -v hz="$ticks_per_second" '{printf "%.3f", ($14 + $15) / hz}' "/proc/$1/stat"
}

# Wall-clock seconds with nanoseconds.
now_seconds() {
    date +%s.%N
}
