#!/usr/bin/env python3
"""Refuses an include that points up a floor of src/.

The floors, bottom to top: platform; display, input and sound; assets; game; scenes; shell and
extras (what goes around the classic game: pause, results, scores, replays, overlays). A file
may include its own folder and any folder on a lower floor (folders on one floor may include each
other). Usage: include_floors.py SRC_DIR; exits 1 and names every offending include."""
import os
import re
import sys

FLOORS = [["platform"], ["display", "input", "sound"], ["assets"], ["game"], ["scenes"], ["shell", "extras"]]
FLOOR_OF = {folder: level for level, folders in enumerate(FLOORS) for folder in folders}
INCLUDE = re.compile(r'^\s*#\s*include\s*"([^"/]+)/[^"]+"', re.M)


def offences(src):
    found = []
    for folder in sorted(os.listdir(src)):
        path = os.path.join(src, folder)
        if not os.path.isdir(path):
            continue
        if folder not in FLOOR_OF:
            found.append(f"{folder}/: a folder on no floor")
            continue
        for name in sorted(os.listdir(path)):
            if not name.endswith((".h", ".cpp")):
                continue
            text = open(os.path.join(path, name), encoding="utf-8").read()
            for target in INCLUDE.findall(text):
                if target not in FLOOR_OF:
                    found.append(f"{folder}/{name} includes {target}/, which is on no floor")
                elif FLOOR_OF[target] > FLOOR_OF[folder]:
                    found.append(f"{folder}/{name} includes {target}/, a floor above its own")
    return found


def main():
    problems = offences(sys.argv[1])
    for problem in problems:
        print(problem, file=sys.stderr)
    if problems:
        return 1
    print("includes point down the floors")
    return 0


if __name__ == "__main__":
    sys.exit(main())
