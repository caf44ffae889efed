#!/usr/bin/env python3
"""Writes the release zip: the given files and folders under one top folder,
in a deterministic form (entries sorted by name, one fixed time stamp, fixed
permissions), so that the same inputs always give the same bytes.

    make_zip.py --out ZIP --top FOLDER SOURCE=PLACE ...

Each SOURCE (a file, or a folder taken with everything below it) is stored at
PLACE inside FOLDER ("." is FOLDER itself). The time stamp is
SOURCE_DATE_EPOCH when that is set, else 1980-01-01, the earliest a zip holds.
"""

import argparse
import os
import sys
import time
import zipfile

EARLIEST_ZIP_TIME = (1980, 1, 1, 0, 0, 0)
MSDOS_DIRECTORY = 0x10


def entries(pairs):
    """{name in the zip: source file, or None for a folder}."""
    found = {}
    for pair in pairs:
        source, _, place = pair.partition("=")
        if not place:
            raise SystemExit("expected SOURCE=PLACE, got %r" % pair)
        place = os.path.normpath(place).replace(os.sep, "/")
        if os.path.isdir(source):
            for folder, subfolders, files in os.walk(source):
                relative = os.path.relpath(folder, source)
                base = os.path.normpath(os.path.join(place, relative)).replace(os.sep, "/")
                if base != ".":
                    found[base + "/"] = None
                for name in files:
                    found[(name if base == "." else base + "/" + name)] = os.path.join(folder, name)
        elif os.path.isfile(source):
            found[place] = source
            # Every folder on the way gets its own entry.
            parent = os.path.dirname(place)
            while parent:
                found[parent + "/"] = None
                parent = os.path.dirname(parent)
        else:
            raise SystemExit("no such file or folder: %s" % source)
    return found


def zip_time():
    epoch = os.environ.get("SOURCE_DATE_EPOCH")
    if not epoch:
        return EARLIEST_ZIP_TIME
    return max(EARLIEST_ZIP_TIME, time.gmtime(int(epoch))[:6])


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--out", required=True)
    parser.add_argument("--top", required=True)
    parser.add_argument("pairs", nargs="+", metavar="SOURCE=PLACE")
    args = parser.parse_args()

    stamp = zip_time()
    partial = args.out + ".partial"
    with zipfile.ZipFile(partial, "w") as archive:
        info = zipfile.ZipInfo(args.top + "/", stamp)
        info.external_attr = (0o40755 << 16) | MSDOS_DIRECTORY
        archive.writestr(info, b"")
        for name, source in sorted(entries(args.pairs).items()):
            info = zipfile.ZipInfo(args.top + "/" + name, stamp)
            if source is None:
                info.external_attr = (0o40755 << 16) | MSDOS_DIRECTORY
                archive.writestr(info, b"")
                continue
            info.external_attr = 0o100644 << 16
            info.compress_type = zipfile.ZIP_DEFLATED
            with open(source, "rb") as f:
                archive.writestr(info, f.read(), compresslevel=9)
    os.replace(partial, args.out)
    return 0


if __name__ == "__main__":
    sys.exit(main())
