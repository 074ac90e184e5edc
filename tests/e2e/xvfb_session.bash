# Sourced by the real-window tests: starts Xvfb on a free display number, with a 640 x 480 screen
# or the WIDTHxHEIGHTxDEPTH given, and stops it again on exit. Sets DISPLAY.
xvfb_start() {
    local screen=${1:-640x480x24} number
    for number in $(seq $((100 + RANDOM % 400)) 999); do
        [ -e "/tmp/.X${number}-lock" ] || break
    done
    Xvfb ":${number}" -screen 0 "$screen" -nolisten tcp >/dev/null 2>&1 &
    xvfb_pid=$!
    export DISPLAY=":${number}"
    for _ in $(seq 100); do
        xdpyinfo >/dev/null 2>&1 && return 0
        sleep 0.1
    done
    echo "Xvfb did not start" >&2
    return 1
}

xvfb_stop() {
    [ -n "${xvfb_pid:-}" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
    return 0
}

# CPU time (user + system) of a process in clock ticks.
cpu_ticks() {
    awk '{print $14 + $15}' "/proc/$1/stat"
}

# Waits up to $2 seconds for child process $1 to end; sets exit_code to its exit code, or to
# "timeout". Runs in the calling shell, which alone can reap its child.
wait_for_exit() {
    local pid=$1 limit=$2 polls=0
    exit_code=timeout
    while [ "$(ps -o stat= -p "$pid" 2>/dev/null | cut -c1)" != "Z" ] && kill -0 "$pid" 2>/dev/null; do
        sleep 0.02
        polls=$((polls + 1))
        [ "$polls" -ge $((limit * 50)) ] && return 0
    done
    set +e
    wait "$pid"
    exit_code=$?
    set -e
}

# Gives window $1 the keyboard focus, as a click would; a window found before it is mapped cannot
# take it yet, so this tries again for up to 10 seconds.
focus_window() {
    for _ in $(seq 20); do
        timeout 2 xdotool windowfocus --sync "$1" 2>/dev/null && return 0
        sleep 0.5
    done
    echo "window $1 never took the focus" >&2
    return 1
}

# Waits for the game's window to appear, keeps it in $window and gives it the focus.
await_game_window() {
    window=$(timeout 10 xdotool search --sync --name '^Kavorind$' | head -n 1)
    [ -n "$window" ] || { echo "the game's window did not appear" >&2; return 1; }
    xdotool windowfocus --sync "$window" 2>/dev/null || true
}

# Holds a key down in the game's window for $2 seconds (0.3 unless given), then lets it go. The key
# that quits may close the window before it is let go.
press() {
    xdotool keydown --window "$window" "$1"
    sleep "${2:-0.3}"
    xdotool keyup --window "$window" "$1" 2>/dev/null || true
    sleep 0.3
}
