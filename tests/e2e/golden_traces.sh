#!/usr/bin/env bash
# The runner's traces still match the golden ones in tests/golden/: any change of behaviour shows
# here, first differing line and field by field, until tests/golden/update.sh is rerun and its diff
# accepted.
set -euo pipefail
build=$1
source=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
bash "$source/tests/golden/update.sh" "$build" "$work"

python3 - "$source/tests/golden" "$work" <<'PY'
import json, os, sys

stored_dir, fresh_dir = sys.argv[1], sys.argv[2]

def names(folder):
    return {name for name in os.listdir(folder) if name.endswith(".jsonl")}

def flatten(value, prefix=""):
    if isinstance(value, dict):
        fields = {}
        for key, inner in value.items():
            fields.update(flatten(inner, prefix + key + "."))
        return fields
    return {prefix.rstrip("."): value}

def first_difference(stored_path, fresh_path):
    stored = open(stored_path).read().splitlines()
    fresh = open(fresh_path).read().splitlines()
    for number in range(max(len(stored), len(fresh))):
        old = stored[number] if number < len(stored) else None
        new = fresh[number] if number < len(fresh) else None
        if old == new:
            continue
        report = [f"line {number + 1}:"]
        if old is None or new is None:
            report.append(f"  the stored trace has {len(stored)} lines, the new one {len(fresh)}")
            report.append(f"  {'new' if old is None else 'stored'}: {old or new}")
            return "\n".join(report)
        old_fields, new_fields = flatten(json.loads(old)), flatten(json.loads(new))
        for field in list(old_fields) + [f for f in new_fields if f not in old_fields]:
            was, now = old_fields.get(field, "(none)"), new_fields.get(field, "(none)")
            if was != now:
                report.append(f"  {field}: stored {json.dumps(was)}, now {json.dumps(now)}")
        return "\n".join(report)
    return None

failed = 0
for name in sorted(names(stored_dir) ^ names(fresh_dir)):
    where = "stored only" if name in names(stored_dir) else "new only"
    print(f"{name}: {where} (a key script added or removed without update.sh?)")
    failed = 1
for name in sorted(names(stored_dir) & names(fresh_dir)):
    difference = first_difference(os.path.join(stored_dir, name), os.path.join(fresh_dir, name))
    if difference:
        print(f"{name} differs from the golden trace at {difference}")
        failed = 1
if failed:
    print("after a deliberate change: tests/golden/update.sh BUILD_DIR, then review the diff")
    sys.exit(1)
print(f"golden traces ok: {len(names(stored_dir))} files")
PY
