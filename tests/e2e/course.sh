#!/usr/bin/env bash
# The whole course on the default content: the careful pilot's key script, replayed by the runner,
# goes from the logo through the menu, the opening, three stages and their tallies to the ending
# and with Z back to the menu, without the craft ever going down; the replay reaches the same
# scenes, stage scores and final score that the pilot reported, so a key script alone reproduces
# a course. An idle craft instead ends the game on the first stage and lands back in the menu.
# One frame of each stage and each tally is kept in BUILD_DIR/course-frames/ for a look.
set -euo pipefail
build=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

data=$build/data
if [ ! -d "$data" ]; then
    data=$work/data
    "$build/kavorind-content" "$data" >/dev/null
fi

"$build/kavorind-pilot" --data "$data" --out "$work/course.keys" >"$work/pilot.txt"
ticks=$(sed -n 's/^# ticks: //p' "$work/course.keys")
"$build/kavorind-sim" --data "$data" --keys "$work/course.keys" --ticks "$ticks" \
    --trace "$work/course.jsonl" --frames "$work/frames" --every 25 2>/dev/null

"$build/kavorind-sim" --data "$data" --scene 3 --ticks 6000 --trace "$work/idle.jsonl" \
    2>/dev/null

mkdir -p "$build/course-frames"
rm -f "$build/course-frames"/*.png
python3 - "$work" "$build/course-frames" <<'PY'
import json, os, re, shutil, sys

work, kept = sys.argv[1], sys.argv[2]
COURSE = [1, 2, 6, 3, 4, 3, 4, 3, 4, 5, 2]

def trace(name):
    return [json.loads(line) for line in open(os.path.join(work, name))]

def runs(lines):
    """The scenes in the order they ran, each with its first and last line."""
    out = []
    for number, line in enumerate(lines):
        if out and out[-1][0] == line["scene"]:
            out[-1][2] = number
        else:
            out.append([line["scene"], number, number])
    return out

def last_score(lines):
    scores = [line["score"] for line in lines if "score" in line]
    return scores[-1] if scores else None

def check_flight(lines, course):
    for scene, first, last in course:
        if scene != 3:
            continue
        # The line of the tick that enters the game still shows the stage before it starts.
        for line in lines[first + 1:last + 1]:
            assert line["alive"] == 1 and line["hp"] > 0, ("the craft went down", line["tick"])
    stages = [lines[last]["stageIndex"] for scene, first, last in course if scene == 3]
    assert stages == [0, 1, 2], stages

def check_pilot_report(lines, course):
    report = open(os.path.join(work, "pilot.txt")).read()
    reported = re.search(r"^course: ticks (\d+) score (\d+) scenes ([\d ]+)$", report, re.M)
    assert reported, report
    assert int(reported[1]) == len(lines), (reported[1], len(lines))
    assert [int(s) for s in reported[3].split()] == COURSE, reported[3]
    assert int(reported[2]) == last_score(lines), (reported[2], last_score(lines))
    stage_scores = [int(s) for s in re.findall(r"^stage \d: .* score (\d+) .* cleared$", report, re.M)]
    replayed = [lines[last]["score"] for scene, first, last in course if scene == 3]
    assert stage_scores == replayed, (stage_scores, replayed)

def keep_frames(lines, course):
    """The busiest saved frame of each stage, and the one nearest the middle of each tally."""
    saved = sorted(int(name[6:12]) for name in os.listdir(os.path.join(work, "frames")))
    count = {3: 0, 4: 0}
    for scene, first, last in course:
        if scene not in count:
            continue
        count[scene] += 1
        middle = (first + last) // 2 + 1
        inside = [t for t in saved if first + 1 <= t <= last + 1]
        assert inside, ("no frame of scene", scene, first)
        def busy(t):
            line = lines[t - 1]
            return len(line.get("enemies", [])) + len(line.get("enemyShots", [])) if scene == 3 else 0
        tick = min(inside, key=lambda t: (-busy(t), abs(t - middle)))
        name = ("stage-%d.png" if scene == 3 else "tally-%d.png") % count[scene]
        shutil.copy(os.path.join(work, "frames", "frame-%06d.png" % tick), os.path.join(kept, name))

lines = trace("course.jsonl")
course = runs(lines)
assert lines[0]["scene"] == 1, "the course starts in the logo"
assert [scene for scene, first, last in course] == COURSE, [s for s, f, l in course]
check_flight(lines, course)
check_pilot_report(lines, course)
keep_frames(lines, course)

idle = trace("idle.jsonl")
idle_course = runs(idle)
assert [scene for scene, first, last in idle_course] == [3, 2], idle_course
in_game = idle[:idle_course[0][2] + 1]
assert all(line["stageIndex"] == 0 for line in in_game)
assert in_game[-1]["hp"] <= 0 and in_game[-1]["alive"] == 0, in_game[-1]
print("course ok:", open(os.path.join(work, "pilot.txt")).read().strip().replace("\n", "; "))
PY
