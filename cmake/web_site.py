#!/usr/bin/env python3
"""Makes build-web/ a site that loads quickly and caches well: the program's large files under
names that carry their content's hash (cached for good, since a new build gets new names), a small
kavorind-files.js that names them with their sizes (for the page's progress bar), the game's icon
as favicon.ico, and every file beside a pre-compressed .br and .gz that web/serve.py sends to a
browser that takes them. Usage: web_site.py BUILD_DIR ICON_PNG"""
import gzip
import hashlib
import json
import os
import re
import shutil
import struct
import subprocess
import sys

HASHED = re.compile(r"^kavorind\.[0-9a-f]{16}\.(js|wasm|data)$")
COMPRESSED_KINDS = (".html", ".js", ".wasm", ".data", ".ico", ".css")


def digest(path):
    hasher = hashlib.sha256()
    with open(path, "rb") as source:
        for block in iter(lambda: source.read(1 << 20), b""):
            hasher.update(block)
    return hasher.hexdigest()[:16]


def write_if_changed(path, data):
    try:
        with open(path, "rb") as old:
            if old.read() == data:
                return
    except FileNotFoundError:
        pass
    with open(path + ".new", "wb") as new:
        new.write(data)
    os.replace(path + ".new", path)


def hashed_copies(site):
    """The program's files under their hashed names; older builds' copies removed."""
    files = {}
    for kind in ("js", "wasm", "data"):
        source = os.path.join(site, f"kavorind.{kind}")
        name = f"kavorind.{digest(source)}.{kind}"
        target = os.path.join(site, name)
        if not os.path.exists(target):
            shutil.copyfile(source, target + ".new")
            os.replace(target + ".new", target)
        files[kind] = {"name": name, "bytes": os.path.getsize(source)}
    for name in os.listdir(site):
        base = re.sub(r"\.(br|gz)$", "", name)
        if HASHED.match(base) and base not in (entry["name"] for entry in files.values()):
            os.remove(os.path.join(site, name))
    return files


def favicon(icon_png):
    """An ICO file holding the PNG as it is, which every current browser reads."""
    with open(icon_png, "rb") as source:
        png = source.read()
    width, height = struct.unpack(">II", png[16:24])
    entry = struct.pack("<BBBBHHII", width % 256, height % 256, 0, 0, 1, 32, len(png), 6 + 16)
    return struct.pack("<HHH", 0, 1, 1) + entry + png


def compress(site):
    """A .gz and a .br beside each file, made again only when the file is newer."""
    brotli = shutil.which("brotli")
    for name in sorted(os.listdir(site)):
        path = os.path.join(site, name)
        if not os.path.isfile(path) or not name.endswith(COMPRESSED_KINDS):
            continue
        if name in ("kavorind.js", "kavorind.wasm", "kavorind.data"):
            continue  # served under their hashed names
        stamp = os.path.getmtime(path)
        if not os.path.exists(path + ".gz") or os.path.getmtime(path + ".gz") < stamp:
            with open(path, "rb") as source, open(path + ".gz.new", "wb") as target:
                target.write(gzip.compress(source.read(), compresslevel=9, mtime=0))
            os.replace(path + ".gz.new", path + ".gz")
        if brotli and (not os.path.exists(path + ".br") or os.path.getmtime(path + ".br") < stamp):
            # The content package at -q 10: a third of -q 11's minute, for 2 % more bytes.
            quality = "10" if os.path.getsize(path) > (4 << 20) else "11"
            subprocess.run([brotli, "-q", quality, "-f", "-o", path + ".br.new", path], check=True)
            os.utime(path + ".br.new")  # brotli gives it the file's own time, not the time made
            os.replace(path + ".br.new", path + ".br")


def main():
    site, icon_png = sys.argv[1], sys.argv[2]
    files = hashed_copies(site)
    text = "// Written by the build: the program's files and their sizes before compression.\n"
    text += f"var kavorindFiles = {json.dumps(files, indent=1)};\n"
    write_if_changed(os.path.join(site, "kavorind-files.js"), text.encode())
    if os.path.exists(icon_png):
        write_if_changed(os.path.join(site, "favicon.ico"), favicon(icon_png))
    compress(site)


if __name__ == "__main__":
    main()
