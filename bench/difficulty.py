#!/usr/bin/env python3
"""The difficulty figures of bench/difficulty.sh.

  difficulty.py run RUN_NAME TRACE PILOT_OUTPUT > SUMMARY.json
      what one replayed run did, stage by stage: the hits and what dealt each, the enemy shots,
      the boss's fight, the hit-point items after it.
  difficulty.py report [--check] SUMMARY_DIR MAP.tmx...
      the table, the aims and the per-stage figures from every run's summary; with --check
      only seeds 1 to 20 are read, and it exits 1 when a pinned aim is missed.

A game tick is a trace line with scene 3; the game runs 30 ticks a second.
"""

import json
import os
import re
import sys
import xml.etree.ElementTree as ET
from collections import Counter

TICKS_PER_SECOND = 30
# The first boss's fight is not held to 20 s: the craft starts the game with three special shots,
# and each that crosses the boss takes 25 to 30 of its 70 hit points.
PINNED_BOSS_FIGHTS = (False, True, True)
# How far the held-out seeds' clears may be from the tuned seeds' before the tuning is seen to
# fit its seeds rather than the game.
HELD_OUT_SLACK = 3
SCENE_GAME, SCENE_STAGE_CLEAR, SCENE_ENDING = 3, 4, 5
BOSS_TYPES = {0, 8, 9}
# The enemy types by name; 2 and 3 (and 6 and 7) differ only in drifting down or up.
TYPE_NAMES = {0: "boss", 1: "dart", 2: "saucer", 3: "saucer", 4: "gunship", 5: "orb",
              6: "mine", 7: "mine", 8: "boss", 9: "boss"}
SOURCE_ORDER = ["mine", "dart", "saucer", "orb", "gunship", "boss", "?"]
# Which enemy types fire each enemy weapon kind, so that a shot is laid at its shooter's door.
SHOOTERS = {2: (2, 3), 3: (0,), 4: (8,), 5: (9,), 6: (4,), 7: (5,)}
# How the rules push things on a hit: the craft 20 back on any hit and 5 more after ramming, a
# struck enemy 20 forward. A shot bursts where it met the craft.
CRAFT_KNOCKBACK, RAM_RECOIL, ENEMY_KNOCKBACK = 20, 5, 20
# A new object in a slot shows as a jump no flight or knock-back makes in one tick.
NEW_OBJECT_JUMP = 60
# The spawner places row r at y = 32 r + 5; the HUD's badge, gauge and special icon reach down to
# y 48, so rows 0 and 1 put newcomers under it.
TILE = 32
SPAWN_DROP = 5
HUD_BOTTOM = 48
EARLY_TICKS = 30
BOSS_ITEM_TICKS = 30 * TICKS_PER_SECOND


def distance(ax, ay, bx, by):
    return max(abs(ax - bx), abs(ay - by))


class Tracked:
    """An object in a slot: when it appeared, from which map column, and for a shot its shooter."""

    def __init__(self, data, born, column, shooter=None):
        self.data = data
        self.born = born
        self.column = column
        self.shooter = shooter


def is_new_enemy(before, now):
    if before is None or before["type"] != now["type"]:
        return True
    if before["alive"] == 0 and now["alive"] == 1:
        return True
    return now["x"] - before["x"] > NEW_OBJECT_JUMP


def is_new_shot(before, now):
    if before is None or before["weapon"] != now["weapon"]:
        return True
    if before["flying"] == 0 and now["flying"] == 1:
        return True
    return (abs(now["x"] - before["x"] - now["dx"]) > NEW_OBJECT_JUMP
            or abs(now["y"] - before["y"] - now["dy"]) > NEW_OBJECT_JUMP)


def find_shooter(shot, enemies):
    """The living enemy that fires this kind of shot nearest to where the shot left its muzzle."""
    kinds = SHOOTERS.get(shot.data["weapon"], ())
    best = None
    for tracked in enemies.values():
        e = tracked.data
        if e["type"] in kinds and e["alive"]:
            d = distance(e["x"] - 10, e["y"], shot.data["x"] - shot.data["dx"], shot.data["y"])
            if best is None or d < best[0]:
                best = (d, tracked)
    return best[1] if best else None


class StageRun:
    """One stage as a run played it."""

    def __init__(self, index, first_tick):
        self.index = index
        self.first_tick = first_tick
        self.ticks = 0
        self.cleared = False
        self.hits = []
        self.enemy_shots = 0
        self.boss_born = None
        self.boss_down = None
        self.hp_items_after_boss = []  # ticks after the boss's arrival, y
        self.hp_picked_after_boss = 0
        self.enemies = {}
        self.shots = {}
        self.items = {}
        self.last = None

    def summary(self):
        return {"stage": self.index, "ticks": self.ticks, "cleared": self.cleared,
                "hits": self.hits, "enemyShots": self.enemy_shots,
                "bossBorn": self.boss_born, "bossDown": self.boss_down,
                "hpItemsAfterBoss": self.hp_items_after_boss,
                "hpPickedAfterBoss": self.hp_picked_after_boss}


def track_enemies(stage, line, tick):
    tracked = {}
    for e in line["enemies"]:
        before = stage.enemies.get(e["slot"])
        if before is None or is_new_enemy(before.data, e):
            tracked[e["slot"]] = Tracked(e, tick, line["lastSpawnColumn"])
            if e["type"] in BOSS_TYPES and stage.boss_born is None:
                stage.boss_born = tick
        else:
            before.data = e
            tracked[e["slot"]] = before
        if e["type"] in BOSS_TYPES and not e["alive"] and stage.boss_down is None:
            stage.boss_down = tick
    stage.enemies = tracked


def track_shots(stage, line, tick):
    tracked = {}
    for s in line["enemyShots"]:
        before = stage.shots.get(s["slot"])
        if before is None or is_new_shot(before.data, s):
            shot = Tracked(s, tick, None)
            shot.shooter = find_shooter(shot, stage.enemies)
            shot.column = shot.shooter.column if shot.shooter else None
            tracked[s["slot"]] = shot
            stage.enemy_shots += 1
        else:
            before.data = s
            tracked[s["slot"]] = before
    stage.shots = tracked


def track_items(stage, line, tick):
    tracked = {}
    for i in line["items"]:
        before = stage.items.get(i["slot"])
        if before is None or before["kind"] != i["kind"] or i["x"] - before["x"] > NEW_OBJECT_JUMP:
            if i["kind"] == 0 and stage.boss_born is not None:
                stage.hp_items_after_boss.append([tick - stage.boss_born, i["y"]])
        tracked[i["slot"]] = i
    stage.items = tracked


def hitter_of(stage, before_enemies, before_shots, line):
    """What dealt a hit: a shot that burst on the craft or an enemy that rammed it this tick,
    else whatever was nearest the craft the tick before."""
    px, py = line["playerX"], line["playerY"]
    candidates = []
    for slot, shot in stage.shots.items():
        was = before_shots.get(slot)
        if was is shot and shot.previous_flying and not shot.data["flying"]:
            d = distance(shot.data["x"], shot.data["y"], px + CRAFT_KNOCKBACK, py)
            candidates.append((d, "shot", shot))
    for slot, enemy in stage.enemies.items():
        if before_enemies.get(slot) is enemy and enemy.data["hp"] < enemy.previous_hp:
            d = distance(enemy.data["x"] - ENEMY_KNOCKBACK, enemy.data["y"],
                         px + CRAFT_KNOCKBACK + RAM_RECOIL, py)
            candidates.append((d, "ram", enemy))
    candidates = [c for c in candidates if c[0] <= 80]
    if not candidates:
        bx, by = stage.last["playerX"], stage.last["playerY"]
        for shot in before_shots.values():
            if shot.previous_flying:
                candidates.append((distance(shot.previous_x, shot.previous_y, bx, by), "shot", shot))
        for enemy in before_enemies.values():
            if enemy.previous_alive:
                candidates.append((distance(enemy.previous_x, enemy.previous_y, bx, by), "ram",
                                   enemy))
    if not candidates:
        return None
    return min(candidates, key=lambda c: c[0])


def remember_previous(stage):
    """Keeps each object's last-tick state beside it, as the next tick's hitter search needs."""
    for enemy in stage.enemies.values():
        enemy.previous_hp = enemy.data["hp"]
        enemy.previous_alive = enemy.data["alive"]
        enemy.previous_x, enemy.previous_y = enemy.data["x"], enemy.data["y"]
    for shot in stage.shots.values():
        shot.previous_flying = shot.data["flying"]
        shot.previous_x, shot.previous_y = shot.data["x"], shot.data["y"]


def describe_hit(found, line, tick):
    hit = {"tick": tick, "craftColumn": (line["midScroll"] + line["playerX"]) // TILE,
           "spawnColumn": line["lastSpawnColumn"]}
    if found is None:
        hit.update({"how": "?", "source": "?", "age": None, "column": None})
        return hit
    _, how, obj = found
    if how == "shot":
        source = TYPE_NAMES[obj.shooter.data["type"]] if obj.shooter else "?"
    else:
        source = TYPE_NAMES.get(obj.data["type"], "?")
    hit.update({"how": how, "source": source, "age": tick - obj.born, "column": obj.column})
    return hit


def game_tick(stage, line, tick):
    before_enemies, before_shots = dict(stage.enemies), dict(stage.shots)
    track_enemies(stage, line, tick)
    track_shots(stage, line, tick)
    last = stage.last
    if last is not None:
        if last["alive"] == 1 and line["hp"] < last["hp"]:
            found = hitter_of(stage, before_enemies, before_shots, line)
            stage.hits.append(describe_hit(found, line, tick))
        if (last["alive"] == 1 and line["hp"] > last["hp"] and stage.boss_born is not None):
            stage.hp_picked_after_boss += 1
    track_items(stage, line, tick)
    remember_previous(stage)
    stage.last = line
    stage.ticks += 1


SCENE = re.compile(r'"scene":(\d+)')


def read_run(trace_path):
    """The stages of a replayed run, in the order they were played."""
    stages = []
    stage = None
    reached_ending = False
    with open(trace_path, encoding="utf-8") as trace:
        for text in trace:
            scene = int(SCENE.search(text).group(1))
            if scene != SCENE_GAME:
                if stage is not None and scene == SCENE_STAGE_CLEAR:
                    stage.cleared = True
                reached_ending = reached_ending or scene == SCENE_ENDING
                stage = None
                continue
            line = json.loads(text)
            if stage is None:
                stage = StageRun(line["stageIndex"], line["tick"])
                stages.append(stage)
            game_tick(stage, line, line["tick"] - stage.first_tick)
    return stages, reached_ending


PILOT_STAGE = re.compile(r"^stage (\d+): ticks \d+ score \d+ hp -?\d+ hits (\d+) special \d+ (\w+)")


def pilot_figures(path):
    figures = []
    with open(path, encoding="utf-8") as out:
        for text in out:
            m = PILOT_STAGE.match(text)
            if m:
                figures.append({"stage": int(m.group(1)) - 1, "hits": int(m.group(2)),
                                "cleared": m.group(3) == "cleared"})
    return figures


def run_command(name, trace_path, pilot_output):
    stages, ending = read_run(trace_path)
    summary = {"name": name, "stages": [s.summary() for s in stages], "ending": ending,
               "pilot": pilot_figures(pilot_output)}
    json.dump(summary, sys.stdout)
    sys.stdout.write("\n")
    return 0


# ---- the report ----------------------------------------------------------------------------


def load_runs(folder):
    runs = {}
    for name in sorted(os.listdir(folder)):
        if name.endswith(".json"):
            with open(os.path.join(folder, name), encoding="utf-8") as f:
                text = f.read().strip()
            runs[name[:-5]] = json.loads(text) if text else None
    return runs


def first_stage(run, index):
    """The run's play of a stage: the first time it was played."""
    if not run:
        return None
    for stage in run["stages"]:
        if stage["stage"] == index:
            return stage
    return None


def mark(ok):
    return "✓" if ok else "✗"


def per_minute(count, ticks):
    return count * 60.0 * TICKS_PER_SECOND / ticks if ticks else 0.0


def seconds(ticks):
    return "-" if ticks is None else "%d:%02d" % divmod(round(ticks / TICKS_PER_SECOND), 60)


class Clears:
    """Clears of the clumsy pilot over a range of seeds."""

    def __init__(self, runs, seeds):
        self.seeds = list(seeds)
        self.course = [[0, 0] for _ in range(3)]  # cleared, reached
        self.fresh = [0, 0, 0]
        self.whole = 0
        for seed in self.seeds:
            course = runs.get("clumsy-%d-course" % seed)
            for k in range(3):
                played = first_stage(course, k)
                if played:
                    self.course[k][1] += 1
                    self.course[k][0] += played["cleared"]
                fresh = first_stage(runs.get("clumsy-%d-stage%d" % (seed, k)), k)
                self.fresh[k] += bool(fresh and fresh["cleared"])
            self.whole += bool(course and course["ending"])

    def rows(self, careful_hits=None):
        n = len(self.seeds)
        out = ["| clumsy, whole course, %d seeds: cleared / reached | %s |"
               % (n, " | ".join("%d / %d" % tuple(c) for c in self.course)),
               "| clumsy, started at the stage with a new craft, %d seeds: cleared | %s |"
               % (n, " | ".join(str(c) for c in self.fresh))]
        if careful_hits:
            out.append("| careful: hits taken | %s |" % " | ".join(careful_hits))
        return out

    def aims(self):
        wanted = [14, 9, 6]
        scale = len(self.seeds) / 20.0
        return [
            (all(self.fresh[k] >= wanted[k] * scale for k in range(3)),
             "clumsy per-stage clears >= 14 / 9 / 6 of 20: %s" % " / ".join(map(str, self.fresh))),
            (self.whole >= 3 * scale,
             "clumsy whole course >= 3 of 20: %d" % self.whole),
        ]


def careful_stage(runs, k):
    """The careful pilot's play of a stage: in its whole course when it got there, else with a
    new craft at the stage."""
    played = first_stage(runs.get("careful-course"), k)
    if played:
        return played, "course"
    return first_stage(runs.get("careful-stage%d" % k), k), "new craft"


def hud_rows():
    return [r for r in range(15) if r * TILE + SPAWN_DROP < HUD_BOTTOM]


def spawns_under_hud(tmx_path):
    """(column, row, code) of every spawn code in the rows the HUD covers."""
    root = ET.parse(tmx_path).getroot()
    first_gid = None
    for tileset in root.iter("tileset"):
        if tileset.get("name") == "spawns":
            first_gid = int(tileset.get("firstgid"))
    found = []
    for layer in root.iter("layer"):
        if not layer.get("name", "").startswith("spawns") or first_gid is None:
            continue
        width = int(layer.get("width"))
        cells = [int(v) for v in layer.find("data").text.replace("\n", "").split(",") if v]
        for row in hud_rows():
            for column in range(width):
                gid = cells[row * width + column]
                if gid:
                    found.append((column, row, gid - first_gid + 1))
    return found


class StageFigures:
    """The clumsy pilot's figures of one stage over its runs from a new craft."""

    def __init__(self, runs, seeds, k):
        self.hits = []
        self.ticks = 0
        self.shots = 0
        self.clear_ticks = []
        self.boss_fights = []
        self.reached_boss = 0
        self.picked_after_boss = 0
        for seed in seeds:
            played = first_stage(runs.get("clumsy-%d-stage%d" % (seed, k)), k)
            if not played:
                continue
            self.hits += played["hits"]
            self.ticks += played["ticks"]
            self.shots += played["enemyShots"]
            if played["cleared"]:
                self.clear_ticks.append(played["ticks"])
            if played["bossBorn"] is not None:
                self.reached_boss += 1
                self.picked_after_boss += played["hpPickedAfterBoss"] > 0
                if played["bossDown"] is not None:
                    self.boss_fights.append(played["bossDown"] - played["bossBorn"])

    def early(self):
        return sum(1 for h in self.hits if h["age"] is not None and h["age"] <= EARLY_TICKS)


def median(values):
    values = sorted(values)
    return values[len(values) // 2] if values else None


def boss_fight(stage):
    if not stage or stage["bossBorn"] is None or stage["bossDown"] is None:
        return None
    return stage["bossDown"] - stage["bossBorn"]


def hp_item_after_boss(stage):
    return bool(stage) and any(0 <= t <= BOSS_ITEM_TICKS and HUD_BOTTOM <= y <= 460
                               for t, y in stage["hpItemsAfterBoss"])


def print_aims(runs, seeds, tmx_paths, figures, clears):
    careful = [careful_stage(runs, k)[0] for k in range(3)]
    course = runs.get("careful-course")
    aims = clears.aims()
    aims.append((bool(course and course["ending"]),
                 "careful whole course without losing the craft: %s"
                 % ("yes" if course and course["ending"] else "no")))
    rates = [per_minute(len(f.hits), f.ticks) for f in figures]
    aims.append((rates[0] < rates[1] < rates[2],
                 "clumsy hits per minute rising stage 1 to 3: %s"
                 % " / ".join("%.2f" % r for r in rates)))
    lengths = [s["ticks"] if s and s["cleared"] else None for s in careful]
    aims.append((all(t is not None and 120 <= t / TICKS_PER_SECOND <= 180 for t in lengths),
                 "each stage 2 to 3 minutes for the careful pilot, boss included: %s"
                 % " / ".join(seconds(t) for t in lengths)))
    fights = [boss_fight(s) for s in careful]
    aims.append((all(f is not None and f >= 20 * TICKS_PER_SECOND for f, pinned
                     in zip(fights, PINNED_BOSS_FIGHTS) if pinned),
                 "each boss fight >= 20 s for the careful pilot%s: %s"
                 % ("" if all(PINNED_BOSS_FIGHTS) else " (held to it: stages %s)" % ", ".join(
                     str(k + 1) for k, pinned in enumerate(PINNED_BOSS_FIGHTS) if pinned),
                    " / ".join("-" if f is None else "%.0f s" % (f / TICKS_PER_SECOND)
                               for f in fights))))
    hits = [h for f in figures for h in f.hits]
    early = sum(f.early() for f in figures)
    aims.append((early * 10 <= len(hits),
                 "at most 1 in 10 clumsy hits within %d ticks of the hitter's appearance: %d of %d"
                 % (EARLY_TICKS, early, len(hits))))
    under = [(k, spawns_under_hud(p)) for k, p in enumerate(tmx_paths)]
    rows = hud_rows()
    aims.append((all(not u for _, u in under),
                 "no spawn code in the rows the HUD covers (rows %d-%d, y < %d): %s"
                 % (rows[0], rows[-1], HUD_BOTTOM,
                    " / ".join("%d" % len(u) for _, u in under))))
    items = [hp_item_after_boss(s) for s in careful]
    aims.append((all(items),
                 "a hit-point item reachable within 30 s after each boss appears: %s"
                 % " / ".join("yes" if i else "no" for i in items)))
    print("Aims (seeds %d-%d):" % (seeds[0], seeds[-1]))
    for ok, text in aims:
        print("  %s %s" % (mark(ok), text))
    for k, u in under:
        if u:
            print("    stage %d under the HUD: %s" % (k + 1, ", ".join(
                "col %d row %d code %d" % c for c in u[:12]) + (" ..." if len(u) > 12 else "")))
    return [text for ok, text in aims if not ok]


def print_stage_figures(runs, figures):
    print()
    print("Per stage (clumsy: runs started at the stage with a new craft; careful: its course):")
    print("| | Stage 1 | Stage 2 | Stage 3 |")
    print("|---|---|---|---|")
    careful = [careful_stage(runs, k) for k in range(3)]

    def row(label, cells):
        print("| %s | %s |" % (label, " | ".join(cells)))

    row("clumsy hits per minute", ["%.1f" % per_minute(len(f.hits), f.ticks) for f in figures])
    row("clumsy enemy shots per second",
        ["%.2f" % (f.shots * TICKS_PER_SECOND / f.ticks if f.ticks else 0) for f in figures])
    row("clumsy hits within 1 s of the hitter's appearance",
        ["%d%% (%d of %d)" % (100 * f.early() // max(1, len(f.hits)), f.early(), len(f.hits))
         for f in figures])
    row("clumsy time to clear (median of clears)", [seconds(median(f.clear_ticks)) for f in figures])
    row("clumsy boss fight (median)", [seconds(median(f.boss_fights)) for f in figures])
    row("clumsy reached the boss / took a hit point after it",
        ["%d / %d" % (f.reached_boss, f.picked_after_boss) for f in figures])
    row("careful time to clear", [seconds(s["ticks"]) if s and s["cleared"] else "not cleared"
                                  for s, _ in careful])
    row("careful boss fight", [seconds(boss_fight(s)) for s, _ in careful])
    row("careful enemy shots per second",
        ["%.2f" % (s["enemyShots"] * TICKS_PER_SECOND / s["ticks"]) if s else "-"
         for s, _ in careful])


def print_sources(figures):
    print()
    print("Where the clumsy pilot's hits come from (runs from a new craft; shot = an enemy's shot,")
    print("ram = flying into it; columns: where the hitter, or its shooter, entered the map):")
    for k, f in enumerate(figures):
        by_source = Counter((h["source"], h["how"]) for h in f.hits)
        parts = ["%s %s %d" % (src, how, n) for (src, how), n in
                 sorted(by_source.items(), key=lambda x: (SOURCE_ORDER.index(x[0][0]), x[0][1]))]
        print("  stage %d (%d hits): %s" % (k + 1, len(f.hits), ", ".join(parts) or "none"))
        early = Counter((h["source"], h["how"]) for h in f.hits
                        if h["age"] is not None and h["age"] <= EARLY_TICKS)
        print("    within 1 s of the hitter's appearance: %s" % (", ".join(
            "%s %s %d" % (src, how, n) for (src, how), n in early.most_common()) or "none"))
        bins = Counter(h["column"] // 10 * 10 for h in f.hits if h["column"] is not None)
        hot = ", ".join("%d-%d: %d" % (c, c + 9, n) for c, n in bins.most_common(6))
        print("    busiest columns: %s" % (hot or "-"))
        ticks = Counter(h["tick"] // 300 for h in f.hits)
        print("    hits by 10 s of the stage: %s" % " ".join(
            "%d" % ticks.get(b, 0) for b in range(max(ticks) + 1 if ticks else 0)))


def check_pilots(runs):
    """The pilot's own count of each stage against the replay's, so a replay that went
    elsewhere is seen."""
    differ = []
    for name, run in runs.items():
        if not run:
            differ.append("%s: no summary" % name)
            continue
        for said, played in zip(run["pilot"], run["stages"]):
            if said["cleared"] != played["cleared"] or said["hits"] != len(played["hits"]):
                differ.append("%s stage %d: pilot %s, replay %s" % (
                    name, said["stage"] + 1, said, {"hits": len(played["hits"]),
                                                     "cleared": played["cleared"]}))
    return differ


def held_out_aims(clears, held):
    """The held-out seeds' clears within HELD_OUT_SLACK of the tuned seeds', stage by stage."""
    tuned = clears.fresh + [clears.whole]
    other = held.fresh + [held.whole]
    ok = all(abs(a - b) <= HELD_OUT_SLACK for a, b in zip(tuned, other))
    return (ok, "held-out clears within %d of the tuned seeds' (per stage / whole course): %s"
            % (HELD_OUT_SLACK, " / ".join("%d vs %d" % (b, a) for a, b in zip(tuned, other))))


def report_command(folder, tmx_paths, check=False):
    runs = load_runs(folder)
    seeds, held_out = range(1, 21), range(21, 41)
    clears = Clears(runs, seeds)
    careful_hits = []
    for k in range(3):
        stage, where = careful_stage(runs, k)
        fresh = first_stage(runs.get("careful-stage%d" % k), k)
        text = "-" if not stage else str(len(stage["hits"]))
        if where == "course" and fresh:
            text += " (new craft: %d)" % len(fresh["hits"])
        careful_hits.append(text)
    print("| | Stage 1 | Stage 2 | Stage 3 |")
    print("|---|---|---|---|")
    print("\n".join(clears.rows(careful_hits)))
    print()
    figures = [StageFigures(runs, seeds, k) for k in range(3)]
    missed = print_aims(runs, list(seeds), tmx_paths, figures, clears)
    print_stage_figures(runs, figures)
    print_sources(figures)
    differ = check_pilots(runs)
    if differ:
        print()
        print("The replays differ from what the pilot counted:")
        for text in differ:
            print("  " + text)
    if check:
        for text in missed + differ:
            sys.stderr.write("missed: %s\n" % text)
        return 1 if missed or differ else 0
    print()
    print("Held-out seeds %d-%d (clears only):" % (held_out[0], held_out[-1]))
    held = Clears(runs, held_out)
    print("| | Stage 1 | Stage 2 | Stage 3 |")
    print("|---|---|---|---|")
    print("\n".join(held.rows()))
    for ok, text in held.aims() + [held_out_aims(clears, held)]:
        print("  %s %s" % (mark(ok), text))
    return 0


def main(argv):
    if len(argv) == 5 and argv[1] == "run":
        return run_command(argv[2], argv[3], argv[4])
    if len(argv) >= 4 and argv[1] == "report" and argv[2] == "--check":
        return report_command(argv[3], argv[4:], check=True)
    if len(argv) >= 3 and argv[1] == "report":
        return report_command(argv[2], argv[3:])
    sys.stderr.write(__doc__)
    return 2


if __name__ == "__main__":
    sys.exit(main(sys.argv))
