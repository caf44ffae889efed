#!/usr/bin/env python3
"""The optimised map checker (make mapcheck) on an object file of 256 types
and 1,000,000 objects, side by side with plain Python on the same file:
`mapcheck --json FILE > /dev/null` against a struct.iter_unpack parse of
the file (timed inside Python, so without the interpreter's start), and
`mapcheck FILE` (check mode) against a process that reads the file's bytes
(`cat FILE` to /dev/null, which needs no memory for them: a program that
holds them pays for fresh memory too). Prints the median of several rounds
of each and the ratios; on a busy machine, run it again. Usage: mapcheck_pipeline_bench.py PATH/TO/mapcheck"""
import os
import random
import statistics
import struct
import subprocess
import sys
import tempfile
import time

TYPES, OBJECTS, ROUNDS = 256, 1_000_000, 9
RECORD = struct.Struct("<Bff2sh4s")  # the 17-byte record


def write_object_file(path):
    rng = random.Random(12345)
    names = b"".join(b"..\\objects\\type-%03d.ini" % i + b"\0" * (128 - 23) for i in range(TYPES))
    records = bytearray(RECORD.size * OBJECTS)
    for i in range(OBJECTS):
        RECORD.pack_into(records, i * RECORD.size, rng.randrange(TYPES), rng.random(), rng.random(),
                         b"\0\0", rng.randrange(360), b"\0\0\0\0")
    with open(path, "wb") as f:
        f.write(b"M4DO" + struct.pack("<ii", TYPES, OBJECTS) + names + records)


def python_parse(path):
    with open(path, "rb") as f:
        data = f.read()
    types, objects = struct.unpack_from("<ii", data, 4)
    names = [data[12 + 128 * i:12 + 128 * (i + 1)].split(b"\0", 1)[0] for i in range(types)]
    start = 12 + 128 * types
    count = 0
    for _type, _x, _y, _r1, _rotation, _r2 in RECORD.iter_unpack(data[start:start + RECORD.size * objects]):
        count += 1
    return len(names), count


def median_seconds(run):
    times = []
    for _ in range(ROUNDS):
        start = time.perf_counter()
        run()
        times.append(time.perf_counter() - start)
    return statistics.median(times)


def process(arguments, stdout=subprocess.DEVNULL):
    return lambda: subprocess.run(arguments, stdout=stdout, check=False)


def main():
    mapcheck = os.path.abspath(sys.argv[1])
    with tempfile.TemporaryDirectory() as folder:
        path = os.path.join(folder, "million.mob")
        write_object_file(path)
        assert python_parse(path) == (TYPES, OBJECTS)
        status = subprocess.run([mapcheck, path], stdout=subprocess.DEVNULL).returncode
        print(f"mapcheck on {OBJECTS:,} objects ({os.path.getsize(path):,} bytes), exit status {status}; "
              f"median of {ROUNDS} rounds")
        rows = [
            ("--json to /dev/null", process([mapcheck, "--json", path]),
             "Python struct.iter_unpack parse", lambda: python_parse(path), 1.0),
            ("check mode", process([mapcheck, path]),
             "reading the file's bytes (cat)", process(["cat", path]), 2.0),
        ]
        for name, run, peer_name, peer, goal in rows:
            ours, theirs = median_seconds(run), median_seconds(peer)
            ratio = ours / theirs
            print(f"  {name:22} {ours * 1000:8.1f} ms   {peer_name:34} {theirs * 1000:8.1f} ms   "
                  f"ratio {ratio:5.2f} (goal at most {goal:.1f}) {'ok' if ratio <= goal else 'MISSED'}")


if __name__ == "__main__":
    main()
