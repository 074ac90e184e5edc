#!/usr/bin/env bash
# Without a usable display the window cannot be made: the program says so on stderr (the message
# box has nowhere to appear), in Korean and then in English, and ends with exit code 1. With no
# display at all and no driver asked for, it stops at once instead of playing unseen. A settings
# file that cannot be read (a FIFO, a device), cannot be written (a full disk) or holds lines made
# to upset a terminal costs a message and the defaults, and the game still plays.
set -euo pipefail
build=$(cd "$1" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
[ -f "$build/data/Pal.Pal" ] || { echo "no default content in $build/data" >&2; exit 1; }
export XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/share"

fail() { echo "FAILED: $*" >&2; cut -c1-300 "$work/stderr" | head -20 >&2; exit 1; }
said() { grep -qF -- "$1" "$work/stderr"; }

echo "== no X server for the x11 driver asked for: the window cannot be made, exit code 1"
set +e
env -u DISPLAY -u WAYLAND_DISPLAY SDL_VIDEODRIVER=x11 timeout 20 "$build/kavorind" --mute 2>"$work/stderr"
code=$?
set -e
[ "$code" -eq 1 ] || fail "no X server gave $code"
said '프로그램을 초기화 할수 없습니다.' || fail "no Korean message"
grep -q "^Kavorind: the game's window could not be made" "$work/stderr" || fail "no English line"

echo "== no display and no driver asked for: exit code 1 at once, not a game nobody sees"
# An empty runtime folder, so that no Wayland compositor is found by its default socket either.
mkdir -m 700 "$work/runtime"
set +e
env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER XDG_RUNTIME_DIR="$work/runtime" timeout 5 \
    "$build/kavorind" --mute --windowed --data "$build/data" 2>"$work/stderr"
code=$?
set -e
[ "$code" -eq 1 ] || fail "no display gave $code (124: it ran unseen until killed)"
said '프로그램을 초기화 할수 없습니다.' && said "Kavorind: no display" || fail "no display not said"

# The game on the dummy driver, asked for on purpose, playing a script that quits from the menu: it
# ends by itself with exit code 0. Extra arguments go to the game; sets code.
{
    echo "# ticks: 3000"
    for tick in $(seq 10 30 2990); do echo "$tick Escape"; done
} >"$work/quit.keys"
play() {
    SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy timeout 5 "$build/kavorind" --mute --windowed \
        --data "$build/data" --timedemo "$work/quit.keys" "$@" >/dev/null
}
run() {
    set +e
    play "$@" 2>"$work/stderr"
    code=$?
    set -e
}

echo "== a FIFO or a device as the settings: refused at once, the defaults used, the game plays"
mkfifo "$work/fifo.cfg"
run --config "$work/fifo.cfg"
[ "$code" -eq 0 ] || fail "a FIFO as the settings gave $code (124: it waited for a writer)"
said "cannot read the settings from $work/fifo.cfg (is a FIFO, not a file); the defaults are used" ||
    fail "the FIFO is not named"
run --config /dev/zero
[ "$code" -eq 0 ] || fail "/dev/zero as the settings gave $code"
said "/dev/zero (is a device, not a file)" || fail "the device is not named"

echo "== a full disk on first run: no empty settings file left behind; the next run writes it"
export XDG_CONFIG_HOME="$work/first-run"
set +e
(
    ulimit -f 0
    trap '' XFSZ
    play 2>&1
) | cat >"$work/stderr"
code=${PIPESTATUS[0]}
set -e
[ "$code" -eq 0 ] || fail "a full disk gave $code"
said "cannot write the settings to $XDG_CONFIG_HOME/kavorind/kavorind.cfg (File too large)" ||
    fail "the failed write is not said"
[ -z "$(ls -A "$XDG_CONFIG_HOME/kavorind")" ] || fail "left behind: $(ls -la "$XDG_CONFIG_HOME/kavorind")"
run
grep -qx "fullscreen = yes" "$XDG_CONFIG_HOME/kavorind/kavorind.cfg" || fail "the next run wrote nothing"

echo "== a relative XDG_CONFIG_HOME is passed over for ~/.config"
mkdir -p "$work/elsewhere" "$work/home"
(
    cd "$work/elsewhere"
    XDG_CONFIG_HOME=relative HOME="$work/home" play 2>"$work/stderr"
) || fail "the game with a relative XDG_CONFIG_HOME failed"
[ -f "$work/home/.config/kavorind/kavorind.cfg" ] && [ ! -e "$work/elsewhere/relative" ] ||
    fail "the settings went to $(find "$work/elsewhere" "$work/home" -name kavorind.cfg)"

echo "== bad lines are quoted cut and escaped; a misspelt game key is named; the file is kept"
{
    printf 'volume = 50\n'
    printf 'scale = \033[2J\033]0;owned\007\n'
    printf 'bind.jumpp = Space\n'
    head -c 900000 /dev/zero | tr '\0' x
    printf '\n'
} >"$work/lines.cfg"
cp "$work/lines.cfg" "$work/lines.before"
run --config "$work/lines.cfg"
[ "$code" -eq 0 ] || fail "the game with bad lines gave $code"
! grep -q $'\033' "$work/stderr" || fail "a raw escape character reached the terminal"
said "lines.cfg:2: \"scale = \\x1b[2J\\x1b]0;owned\\x07\"" || fail "the escape line is not shown escaped"
said "lines.cfg:3: \"bind.jumpp\" names no game key" || fail "the misspelt key is not named"
said "lines.cfg:4: \"xxx" && said "... (900000 bytes in all)" || fail "the long line is not cut"
[ "$(awk '{ if (length > n) n = length } END { print n }' "$work/stderr")" -lt 300 ] ||
    fail "a line of stderr is over 300 characters"
cmp -s "$work/lines.cfg" "$work/lines.before" || fail "a file with a good line was changed"
echo "all start-up failures and settings files handled as expected"
