#!/usr/bin/env python3
"""Compares the game's own trace with the runner's, line by line and field by field.

Usage: compare_traces.py GAME.jsonl RUNNER.jsonl LINES [--without-sound-results]
                         [--frames-may-be-skipped] [--game-from LINE]
The first LINES lines of both must be there and equal. With --without-sound-results the "ok" of
every sound call is left out of both: it says what the sound device did, and the runner's dummy
device and a machine without a sound card answer differently. With --frames-may-be-skipped,
"rendered" is left out, and so is the logo's fade while both are on the logo: a game in a real
window draws only when its queue is empty, so on a busy machine a tick may come before the last
one's frame was drawn, and that frame is skipped (the game slows down, it never catches up); the
logo is the one scene whose drawing moves its own fade on. Every other field must still match. Exits 1 at the first difference,
naming the line and every field that differs.
With --game-from LINE the first trace is compared from its line LINE on with the second from its
start: a run watched from its first tick against the session that played it from the logo. The
tick numbers, which count from each program's start, are left out, and so is the sound of the first
line compared: the watching program's first line also carries its start-up's sound calls, which the
playing one made long before its run began. The logo's and the menu's own fields (logoCounter,
confirming, fadeLevel) are left out too: the playing program went through those scenes before its
run and the watching one never did; the menu sets its two afresh when it comes back, and the logo
never comes back."""
import json
import sys


def flatten(value, prefix=""):
    if isinstance(value, dict):
        fields = {}
        for key, inner in value.items():
            fields.update(flatten(inner, prefix + key + "."))
        return fields
    return {prefix.rstrip("."): value}


LOGO_FADE = ("logoPhase", "logoCounter")


def leave_out_frames(game, runner):
    skipped = 0
    for mine, theirs in zip(game, runner):
        skipped += mine.pop("rendered", 0) != theirs.pop("rendered", 0)
        if mine.get("scene") == 1 and theirs.get("scene") == 1:
            for field in LOGO_FADE:
                mine.pop(field, None)
                theirs.pop(field, None)
    return skipped


BEFORE_THE_RUN = ("logoCounter", "confirming", "fadeLevel")


def leave_out_start(game, runner):
    for trace in (game, runner):
        for line in trace:
            for field in ("tick",) + BEFORE_THE_RUN:
                line.pop(field, None)
        if trace:
            trace[0].pop("sound", None)


def read(path, lines, without_sound_results, first=1):
    parsed = []
    with open(path) as trace:
        for number, text in enumerate(trace, start=1):
            if len(parsed) == lines:
                break
            if number < first:
                continue
            line = json.loads(text)
            if without_sound_results:
                for call in line.get("sound", []):
                    call.pop("ok", None)
            parsed.append(line)
    return parsed


def main():
    game_path, runner_path, lines = sys.argv[1], sys.argv[2], int(sys.argv[3])
    options = sys.argv[4:]
    without = "--without-sound-results" in options
    game_from = int(options[options.index("--game-from") + 1]) if "--game-from" in options else 1
    game = read(game_path, lines, without, game_from)
    runner = read(runner_path, lines, without)
    if "--game-from" in options:
        leave_out_start(game, runner)
    if "--frames-may-be-skipped" in sys.argv[4:]:
        print(f"frames drawn differently (skipped under load): {leave_out_frames(game, runner)}")
    if len(game) < lines or len(runner) < lines:
        print(f"too short: the game's trace has {len(game)} lines, the runner's {len(runner)}, "
              f"{lines} wanted")
        return 1
    for number, (mine, theirs) in enumerate(zip(game, runner), start=1):
        if mine == theirs:
            continue
        if "tick" in theirs:
            print(f"line {number} differs (tick {theirs['tick']}):")
        else:
            print(f"line {number} differs (the game's line {number + game_from - 1}):")
        ours, others = flatten(mine), flatten(theirs)
        for field in list(others) + [f for f in ours if f not in others]:
            was, now = others.get(field, "(none)"), ours.get(field, "(none)")
            if was != now:
                print(f"  {field}: runner {json.dumps(was)}, game {json.dumps(now)}")
        return 1
    print(f"the game's trace matches the runner's over {lines} lines")
    return 0


if __name__ == "__main__":
    sys.exit(main())
