#!/usr/bin/env bash
# The Windows build checked under Wine on Xvfb, in a fresh Wine prefix, against the Linux build:
# the zip's game plays the same key scripts to the same trace, field for field, and its headless
# runner gives the same frame hashes; the content tool checks the content; a missing content file
# ends the game with exit code 1 naming it; a profile whose path has letters outside ASCII keeps
# the settings; the installer installs silently, the game starts from the Start menu entry, and
# the uninstaller removes it and leaves the player's files. With unit-tests, the unit tests that
# need no window (tests/windows/CMakeLists.txt) pass under Wine too.
# Usage: tests/windows/run.sh BUILD_WIN ZIP_NAME VERSION [unit-tests]
#   (run by ./windows.sh test, and with unit-tests by ./windows.sh test-all)
# The Linux game is KAVORIND_NATIVE_BUILD's (build/ unless set), which must hold data/.
set -euo pipefail
source_dir=$(cd "$(dirname "$0")/../.." && pwd)
build_win=$(cd "$1" && pwd)
name=$2
version=$3
unit_tests=${4:-}
native=$(cd "$source_dir/${KAVORIND_NATIVE_BUILD:-build}" && pwd)
source "$source_dir/tests/e2e/xvfb_session.bash"

work=$(mktemp -d)
export WINEPREFIX=$build_win/wine-prefix WINEARCH=win64 WINEDEBUG=-all
# No Mono or Gecko installer is offered; the game's boxes stay closed; no sound card is needed.
export WINEDLLOVERRIDES="mscoree,mshtml=" KAVORIND_NO_MESSAGE_BOXES=1 SDL_AUDIODRIVER=dummy
# SDL's own software renderer: under Xvfb, Direct3D through Wine draws a frame in about 80 ms, the
# software one in 1. The first game below draws through Direct3D all the same.
export SDL_RENDER_DRIVER=software
# File names with letters outside ASCII pass between Linux and Wine as UTF-8.
export LC_ALL=C.UTF-8
cleanup() {
    timeout 10 wineserver -k 2>/dev/null || true
    xvfb_stop
    rm -rf "$work"
}
trap cleanup EXIT

step_started=$SECONDS
step_done() {
    echo "tests/windows: $1 in $((SECONDS - step_started)) s" >&2
    step_started=$SECONDS
}
fail() {
    echo "FAILED: $*" >&2
    [ -f "$work/stderr" ] && cut -c1-300 "$work/stderr" | head -20 >&2
    exit 1
}
# Every Wine call is bounded: a program that hangs fails the test instead of the whole CI run.
win() {
    timeout "${win_limit:-120}" wine "$@"
}

xvfb_start
rm -rf "$WINEPREFIX"
win wineboot --init >/dev/null 2>&1 || fail "wineboot could not make the prefix"
# A crash ends the program instead of opening Wine's crash dialog.
win reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
step_done "a fresh Wine prefix"

# The zip unpacked where a player might put it: a folder with a space and letters outside ASCII
# in its name, where the game must still find data\ beside itself.
mkdir -p "$work/clé usb"
unzip -q "$build_win/$name.zip" -d "$work/clé usb"
game_folder="$work/clé usb/$name"
[ -z "$(find "$game_folder" -maxdepth 1 -iname '*.dll')" ] || fail "the zip holds DLLs"
# Statically linked: every DLL the programs import is one that Windows itself has (a library's
# import library linked by mistake would name its own DLL, which Wine may still find).
system_dlls=" advapi32 gdi32 imm32 kernel32 msvcrt ole32 oleaut32 setupapi shell32 user32 version winmm "
for program in "$game_folder"/*.exe; do
    for dll in $(x86_64-w64-mingw32-objdump -p "$program" | sed -n 's/.*DLL Name: \(.*\)\.dll$/\1/Ip'); do
        [[ "$system_dlls" == *" ${dll,,} "* ]] || fail "$(basename "$program") needs $dll.dll"
    done
    # Explorer shows each program with the game's icon and, in its properties, the version.
    wrestool -l --type=14 "$program" | grep -q . || fail "$(basename "$program") carries no icon"
    wrestool -x --raw --type=16 "$program" | strings -el | grep -qx "$version" ||
        fail "$(basename "$program") carries no version $version"
done
cp "$source_dir/tests/golden/logo-skip-start-opening.keys" "$work/logo.keys"
cp "$source_dir/tests/web/stage-one.keys" "$work/stage.keys"
cd "$work"

if [ "$unit_tests" = unit-tests ]; then
    echo "== the unit tests of the rules, the loaders, the input and the player's files pass under Wine"
    for program in game assets input extras; do
        win "$build_win/tests/test-$program.exe" --gtest_brief=1 >"$work/stdout" 2>"$work/stderr" ||
            { cat "$work/stdout" >&2; fail "test-$program.exe under Wine"; }
        grep '^\[  PASSED  \]' "$work/stdout" | sed "s/^/test-$program.exe: /"
    done
    step_done "the unit tests"
fi

echo "== the game's timedemo traces equal the Linux game's, field for field"
for script in logo stage; do
    (cd "$native/data" && XDG_CONFIG_HOME=$work/linux-config XDG_DATA_HOME=$work/linux-share \
        timeout 120 "$native/kavorind" --windowed --timedemo "$work/$script.keys" \
        --trace "$work/linux-$script.jsonl" >/dev/null 2>"$work/stderr") ||
        fail "the Linux game's timedemo of $script.keys"
    renderer=software
    [ "$script" = logo ] && renderer=direct3d
    SDL_RENDER_DRIVER=$renderer win "$game_folder/kavorind.exe" --windowed --timedemo \
        "$script.keys" --trace "windows-$script.jsonl" >"$work/stdout" 2>"$work/stderr" ||
        fail "the Windows game's timedemo of $script.keys"
    lines=$(wc -l <"linux-$script.jsonl")
    [ "$lines" -gt 0 ] && [ "$(wc -l <"windows-$script.jsonl")" = "$lines" ] ||
        fail "$script.keys: $(wc -l <"windows-$script.jsonl") lines on Windows, $lines on Linux"
    ! grep -q $'\r' "windows-$script.jsonl" || fail "the Windows trace has CR line ends"
    python3 "$source_dir/tests/e2e/compare_traces.py" "windows-$script.jsonl" \
        "linux-$script.jsonl" "$lines" || fail "the traces of $script.keys differ"
    echo "$script.keys: $lines trace lines equal (drawn with $renderer)"
done
step_done "the game's traces"

echo "== the headless runner's frame hashes equal the Linux runner's"
for script in logo stage; do
    ticks=$(wc -l <"linux-$script.jsonl")
    "$native/kavorind-sim" --data "$native/data" --keys "$script.keys" --ticks "$ticks" \
        --frame-hash --trace "linux-sim-$script.jsonl" 2>/dev/null
    win "$game_folder/kavorind-sim.exe" --data "$game_folder/data" --keys "$script.keys" \
        --ticks "$ticks" --frame-hash --trace "windows-sim-$script.jsonl" 2>"$work/stderr" ||
        fail "the Windows runner on $script.keys"
    grep -q '"frame":"' "linux-sim-$script.jsonl" || fail "no frame hashes in the runner's trace"
    cmp -s "linux-sim-$script.jsonl" "windows-sim-$script.jsonl" ||
        fail "the runners' traces of $script.keys differ"
    echo "$script.keys: $ticks ticks, the same frame hashes and trace"
done
step_done "the runner's frame hashes"

echo "== kavorind-data check passes the zip's content; a missing file ends the game naming it"
win "$game_folder/kavorind-data.exe" check "$game_folder/data" >"$work/stdout" 2>"$work/stderr" ||
    fail "kavorind-data check of the zip's data"
cp -r "$game_folder/data" "$work/broken"
missing=$(cd "$work/broken" && ls | grep -i '\.spr$' | head -n 1)
rm "$work/broken/$missing"
set +e
win "$game_folder/kavorind.exe" --windowed --data broken >/dev/null 2>"$work/stderr"
code=$?
set -e
[ "$code" = 1 ] || fail "a missing $missing gave exit code $code"
grep -qF "\"$missing\" is missing" "$work/stderr" || fail "the message does not name $missing"
grep -qF '초기화 할수 없습니다.' "$work/stderr" || fail "no Korean line in UTF-8"
step_done "the content checks"

echo "== a failure opens a box captioned Error unless KAVORIND_NO_MESSAGE_BOXES=1"
# Every other game here runs with the boxes kept closed, and would hang on one otherwise.
KAVORIND_NO_MESSAGE_BOXES= wine "$game_folder/kavorind.exe" --windowed --data broken \
    >/dev/null 2>&1 &
boxed_game=$!
box=""
for _ in $(seq 150); do
    box=$(xwininfo -root -tree | grep -F '"Error": ("kavorind.exe"' || true)
    [ -n "$box" ] && break
    sleep 0.2
done
kill "$boxed_game" 2>/dev/null || true
wait "$boxed_game" 2>/dev/null || true
[ -n "$box" ] || fail "no box captioned Error opened"

echo "== --help and a failure reach the console the game is started from, in UTF-8"
# script(1) gives Wine a terminal, which stands for the console of the cmd started in it; the game,
# a windowed program, writes into that console. The console's code page is given back at the end.
(cd "$game_folder" && timeout 120 script -qec \
    "wine cmd /c 'chcp & kavorind.exe --help & kavorind.exe --windowed --data nowhere & chcp'" \
    "$work/console" >/dev/null 2>&1) || true
# Wine draws the console with cursor moves, a space as a step right: both go before matching.
sed 's/\x1b\[[0-9;?]*[a-zA-Z]//g' "$work/console" | tr -d '\r ' >"$work/console.text"
grep -qF -- '--timedemoFILE' "$work/console.text" || fail "--help did not reach the console"
grep -qF 'Data를초기화할수없습니다.' "$work/console.text" ||
    fail "the failure did not reach the console in UTF-8: $(grep -a Error "$work/console.text")"
code_pages=$(grep -a 'codepage' "$work/console.text" | sort -u | wc -l)
[ "$code_pages" = 1 ] || fail "the console's code page was not given back"
step_done "the failure box and the console"

echo "== a profile whose path has letters outside ASCII keeps the settings"
profile='C:\users\Jöns Ünal\AppData\Roaming'
# regedit reads a UTF-16 file whole, whatever the command line's code page.
printf 'Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders]\r\n"AppData"="%s"\r\n' \
    "${profile//\\/\\\\}" | iconv -f UTF-8 -t UTF-16 >"$work/profile.reg"
win regedit /S profile.reg >/dev/null 2>&1
win "$game_folder/kavorind.exe" --windowed --timedemo logo.keys >/dev/null 2>"$work/stderr" ||
    fail "the game in the profile outside ASCII"
settings="$WINEPREFIX/drive_c/users/Jöns Ünal/AppData/Roaming/kavorind/kavorind.cfg"
[ -f "$settings" ] || fail "no settings written in the profile's folder"
sed -i 's/^volume = .*/volume = 37/' "$settings"
win "$game_folder/kavorind.exe" --windowed --timedemo logo.keys >/dev/null 2>"$work/stderr" ||
    fail "the second game in the profile outside ASCII"
grep -q '^volume = 37' "$settings" || fail "the settings were not kept"
! grep -qi 'settings' "$work/stderr" || fail "the settings file was complained about"
step_done "the profile outside ASCII"

echo "== the installer installs silently; the Start menu entry starts the game; the uninstaller removes it"
installer=$build_win/kavorind-$version-setup.exe
win "$installer" /S >/dev/null 2>&1 || fail "the installer"
timeout 60 wineserver -w || true
installed="$WINEPREFIX/drive_c/Program Files/Kavorind"
entry="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Kavorind.lnk"
[ -f "$installed/kavorind.exe" ] && [ -f "$installed/data/Pal.Pal" ] || fail "nothing installed"
[ -f "$entry" ] || fail "no Start menu entry"
win start /wait /unix "$entry" --windowed --timedemo "Z:${work//\//\\}\\logo.keys" \
    --trace "Z:${work//\//\\}\\installed.jsonl" >/dev/null 2>&1 || fail "the Start menu entry"
timeout 60 wineserver -w || true
cmp -s installed.jsonl windows-logo.jsonl || fail "the installed game played another trace"
win "$installed/uninstall.exe" /S >/dev/null 2>&1 || fail "the uninstaller"
timeout 60 wineserver -w || true
[ ! -e "$installed/kavorind.exe" ] && [ ! -e "$installed/data" ] && [ ! -e "$entry" ] ||
    fail "the uninstaller left the game behind"
[ -f "$settings" ] || fail "the uninstaller removed the player's settings"

# For this user only: into the user's own programs folder, no administrator needed; the
# uninstaller is the one Windows' settings start, as the installer registered it.
win "$installer" /S /CurrentUser >/dev/null 2>&1 || fail "the installer for one user"
timeout 60 wineserver -w || true
uninstall_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Kavorind'
registered() {
    win reg query "$uninstall_key" /v "$1" 2>/dev/null | sed -n "s/^ *$1 *REG_SZ *//p" | tr -d '\r' || true
}
location=$(registered InstallLocation)
[ -n "$location" ] || fail "the installer for one user registered no uninstaller"
installed=$(win winepath -u "$location" 2>/dev/null | tr -d '\r')
[[ "$installed" == */AppData/Local/Programs/Kavorind ]] || fail "installed for one user into $location"
[ -f "$installed/kavorind.exe" ] && [ -f "$installed/data/Pal.Pal" ] || fail "nothing installed for one user"
entry=$(find "$WINEPREFIX/drive_c/users" -path '*/Start Menu/Programs/Kavorind.lnk')
[ "$(wc -l <<<"$entry")" = 1 ] && [ -n "$entry" ] || fail "no Start menu entry for one user"
win start /wait /unix "$entry" --windowed --timedemo "Z:${work//\//\\}\\logo.keys" \
    --trace "Z:${work//\//\\}\\one-user.jsonl" >/dev/null 2>&1 || fail "the Start menu entry for one user"
timeout 60 wineserver -w || true
cmp -s one-user.jsonl windows-logo.jsonl || fail "the game installed for one user played another trace"
quiet=$(registered QuietUninstallString)
uninstaller=${quiet#\"}
uninstaller=${uninstaller%%\"*}
read -ra uninstall_options <<<"${quiet##*\"}"
win "$uninstaller" "${uninstall_options[@]}" >/dev/null 2>&1 || fail "the uninstaller for one user"
timeout 60 wineserver -w || true
[ ! -e "$installed" ] && [ ! -e "$entry" ] || fail "the uninstaller for one user left the game behind"
[ -z "$(registered InstallLocation)" ] || fail "the uninstaller for one user left its registry key"
[ -f "$settings" ] || fail "the uninstaller for one user removed the player's settings"
step_done "the installer"
echo "Windows build: every check passed"
