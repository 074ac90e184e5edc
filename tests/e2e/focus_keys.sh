#!/usr/bin/env bash
# A key let go while another window had the focus reads as up when the focus comes back: real X
# key events (XTEST, as a keyboard makes them) read through the default bindings by a probe window
# that prints the game keys held.
set -euo pipefail
build=$(cd "$1" && pwd)
source "$(dirname "$0")/xvfb_session.bash"
work=$(mktemp -d)
trap 'kill "${probe:-0}" "${other:-0}" 2>/dev/null || true; xvfb_stop; rm -rf "$work"' EXIT
xvfb_start

"$build/kavorind-key-probe" >"$work/keys" 2>"$work/stderr" &
probe=$!
window=$(timeout 10 xdotool search --sync --name '^Kavorind keys$' | head -n 1)
xev >/dev/null 2>&1 &
other=$!
other_window=$(timeout 10 xdotool search --sync --name '^Event Tester$' | head -n 1)
# One test a line: under set -e a failing test early in an && list would not stop the script.
[ -n "$window" ]
[ -n "$other_window" ]

# Waits up to 10 seconds for the probe's latest line to be $1 (game keys held, "" for none).
expect_keys() {
    local latest=""
    for _ in $(seq 200); do
        latest=$(tail -n 1 "$work/keys")
        [ "$latest" = "$1" ] && return 0
        sleep 0.05
    done
    echo "expected keys [$1], the probe shows [$latest]; all it showed:" >&2
    cat "$work/keys" >&2
    return 1
}

focus_window "$window"
expect_keys ""

# Z held while the focus goes to another window, let go there; back in the probe, X alone is held.
xdotool keydown z
expect_keys "Z"
focus_window "$other_window"
xdotool keyup z
focus_window "$window"
xdotool keydown x
expect_keys "X"
xdotool keyup x
expect_keys ""
echo "a key let go in another window reads as up"
