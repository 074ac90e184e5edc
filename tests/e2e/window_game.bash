# Sourced after xvfb_session.bash by the tests that play the real game in a window and watch its
# trace: starting and closing the game, real key presses, and waiting on what the trace says.
# Expects $build, $work and the game's pid in $game; the caller's trap ends a game left running.

# How many lines a trace holds so far (0 before the game has given it its name).
trace_lines() {
    if [ -f "$1" ]; then wc -l <"$1"; else echo 0; fi
}

# The scene of the trace's last whole line, 0 when there is none yet.
trace_scene() {
    python3 - "$1" <<'PY'
import json, sys
scene = 0
try:
    for text in open(sys.argv[1]):
        try:
            scene = json.loads(text)["scene"]
        except ValueError:
            pass  # a line still being written
except OSError:
    pass
print(scene)
PY
}

# Waits up to $3 seconds for trace $1 to hold at least $2 lines.
await_lines() {
    local polls=0
    while [ "$(trace_lines "$1")" -lt "$2" ]; do
        sleep 0.1
        polls=$((polls + 1))
        if [ "$polls" -ge $(($3 * 10)) ]; then
            echo "the trace $1 stopped at $(trace_lines "$1") lines, $2 awaited" >&2
            return 1
        fi
    done
}

# Waits up to $3 seconds for the last line of trace $1 to be in scene $2.
await_scene() {
    local polls=0
    while [ "$(trace_scene "$1")" != "$2" ]; do
        sleep 0.2
        polls=$((polls + 1))
        if [ "$polls" -ge $(($3 * 5)) ]; then
            echo "the trace $1 never reached scene $2 (it is in $(trace_scene "$1"))" >&2
            return 1
        fi
    done
}

# Starts the game in a window with the default content and the options given, its stderr in
# $work/stderr, and gives its window the focus.
start_game() {
    SDL_AUDIODRIVER=dummy "$build/kavorind" --windowed --data "$build/data" "$@" \
        2>"$work/stderr" &
    game=$!
    window=$(timeout 10 xdotool search --sync --name '^Kavorind$' | head -n 1)
    [ -n "$window" ] || { echo "the game's window did not appear" >&2; return 1; }
    focus_window "$window"
}

# Closes the game's window as its close button would; the game must end with exit code 0.
close_game() {
    "$build/kavorind-xclose" "$window"
    wait_for_exit "$game" 10
    [ "$exit_code" = timeout ] || game=
    [ "$exit_code" = "0" ] || {
        echo "the game ended with exit code $exit_code" >&2
        cat "$work/stderr" >&2
        return 1
    }
}

# Holds a key for $2 seconds (0.3 unless given) as a keyboard does (XTEST, into the window with
# the focus), then lets it go; the game samples the keyboard once a tick.
tap() {
    xdotool keydown "$1"
    sleep "${2:-0.3}"
    xdotool keyup "$1"
    sleep 0.2
}

# From the logo through the menu's START and the opening into the first stage, with real keys;
# $1 is the game's trace, which tells when each scene has come.
keys_into_first_stage() {
    await_lines "$1" 5 15
    tap z
    await_scene "$1" 2 15
    sleep 0.5
    tap z
    await_scene "$1" 6 15
    sleep 0.5
    tap z
    await_scene "$1" 3 15
}

# Saves a picture of the screen as $KAVORIND_SCREENSHOTS/$1.png when that folder is given, for a
# person to look at; nothing is checked on it.
keep_screenshot() {
    if [ -n "${KAVORIND_SCREENSHOTS:-}" ]; then
        mkdir -p "$KAVORIND_SCREENSHOTS"
        import -window root "$KAVORIND_SCREENSHOTS/$1.png"
    fi
}
