#!/usr/bin/env python3
"""Writes the sample map and art under content/sample/ and the object file
seeds of the .mob fuzz target under fuzz/seeds/object_file/.

content/sample/ is laid out as the editor's data next to its program
directory (dist/editor): maps/ (heightmap, colormap, detail map, the map
settings file area1.ini and its object placement file area1.mob), art/ui/
(the object marker image) and objects/ (object description files, which the
editor records by path and never opens). Names inside the map files are
relative to the program directory, e.g. ..\\maps\\area1-colormap.bmp.

Deterministic (integer hashing, no random module); Python 3 standard library
only; run from the repository root. The outputs are committed, so the build
needs no Python.
"""
import math
import os
import struct

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
SAMPLE = os.path.join(ROOT, "content", "sample")
SEEDS = os.path.join(ROOT, "fuzz", "seeds", "object_file")

MAP_SIZE = 256

# Object types: description file name, [object] keys. The order is the
# catalog order of area1.mob.
OBJECT_TYPES = [
    ("tree", [("name", "Oak Tree"), ("class", "scenery"), ("model", "..\\art\\models\\oak.md2"),
              ("skin", "..\\art\\skins\\oak.bmp"), ("radius", "0.6"), ("height", "7.5"),
              ("blocking", "1"), ("shadow", "1")]),
    ("rock", [("name", "Boulder"), ("class", "scenery"), ("model", "..\\art\\models\\boulder.md2"),
              ("skin", "..\\art\\skins\\granite.bmp"), ("radius", "1.2"), ("height", "1.8"),
              ("blocking", "1"), ("shadow", "1")]),
    ("house", [("name", "Fisher's Hut"), ("class", "building"),
               ("model", "..\\art\\models\\hut.md2"), ("skin", "..\\art\\skins\\hut.bmp"),
               ("radius", "3.0"), ("height", "4.2"), ("blocking", "1"), ("doors", "1"),
               ("garrison", "0")]),
    ("tower", [("name", "Watch Tower"), ("class", "building"),
               ("model", "..\\art\\models\\tower.md2"), ("skin", "..\\art\\skins\\stone.bmp"),
               ("radius", "2.0"), ("height", "14.0"), ("blocking", "1"), ("sight", "40"),
               ("garrison", "4")]),
    ("well", [("name", "Well"), ("class", "prop"), ("model", "..\\art\\models\\well.md2"),
              ("skin", "..\\art\\skins\\stone.bmp"), ("radius", "0.9"), ("height", "1.5"),
              ("blocking", "1")]),
]


def hash01(*values):
    """A deterministic pseudo-random number in [0, 1) from integers."""
    h = 0x811C9DC5
    for v in values:
        for byte in struct.pack("<i", v):
            h = ((h ^ byte) * 0x01000193) & 0xFFFFFFFF
    h ^= h >> 15
    h = (h * 0x2C1B3C6D) & 0xFFFFFFFF
    h ^= h >> 12
    return h / 4294967296.0


def value_noise(x, y, cell, salt):
    """Smoothly interpolated lattice noise in [0, 1)."""
    gx, gy = x / cell, y / cell
    x0, y0 = int(math.floor(gx)), int(math.floor(gy))
    fx, fy = gx - x0, gy - y0
    sx, sy = fx * fx * (3 - 2 * fx), fy * fy * (3 - 2 * fy)
    a = hash01(x0, y0, salt)
    b = hash01(x0 + 1, y0, salt)
    c = hash01(x0, y0 + 1, salt)
    d = hash01(x0 + 1, y0 + 1, salt)
    return (a + (b - a) * sx) + ((c + (d - c) * sx) - (a + (b - a) * sx)) * sy


# Hills (+) and valleys (-): centre x, centre y, radius, height.
BUMPS = [
    (70, 60, 38, 0.40), (180, 50, 28, 0.26), (200, 140, 44, 0.44), (120, 130, 26, 0.18),
    (60, 185, 34, 0.22), (150, 215, 22, 0.16), (30, 110, 20, 0.14),
    (105, 85, 22, -0.26), (235, 240, 62, -0.50), (15, 250, 42, -0.40), (135, 170, 16, -0.20),
]


def height_at(x, y):
    """Terrain height in [0, 1] at a pixel."""
    h = 0.42
    for cx, cy, r, a in BUMPS:
        d2 = (x - cx) ** 2 + (y - cy) ** 2
        h += a * math.exp(-d2 / (2.0 * r * r))
    h += 0.10 * (value_noise(x, y, 32, 1) - 0.5)
    h += 0.05 * (value_noise(x, y, 12, 2) - 0.5)
    h += 0.02 * (value_noise(x, y, 4, 3) - 0.5)
    return min(1.0, max(0.0, h))


def make_heights():
    return [[height_at(x, y) for x in range(MAP_SIZE)] for y in range(MAP_SIZE)]


# Terrain bands: upper height bound, colour (R, G, B). Colours blend across
# the band edges so that the coast and the snow line are not stair-stepped.
BANDS = [
    (0.30, (28, 64, 140)),    # deep water
    (0.36, (48, 104, 176)),   # shallow water
    (0.40, (210, 196, 140)),  # shore sand
    (0.60, (78, 138, 56)),    # grass
    (0.68, (58, 104, 46)),    # upland grass
    (0.79, (128, 118, 108)),  # rock
    (1.01, (240, 242, 246)),  # snow
]
BLEND = 0.015


def band_colour(h):
    for i, (top, colour) in enumerate(BANDS):
        if h < top:
            if i + 1 < len(BANDS) and h > top - BLEND:
                t = (h - (top - BLEND)) / (2 * BLEND)
                nxt = BANDS[i + 1][1]
                return tuple(c + (n - c) * t for c, n in zip(colour, nxt))
            return colour
    return BANDS[-1][1]


def colour_at(heights, x, y):
    h = heights[y][x]
    base = band_colour(h)
    # Light from the top-left: brighter on slopes that face it.
    right = heights[y][min(x + 1, MAP_SIZE - 1)]
    below = heights[min(y + 1, MAP_SIZE - 1)][x]
    light = 1.0 + 6.0 * ((h - right) + (h - below)) if h >= 0.36 else 1.0
    speckle = 0.92 + 0.16 * hash01(x, y, 7)
    return tuple(max(0, min(255, int(c * light * speckle))) for c in base)


def bmp24(width, height, pixel):
    """A bottom-up 24-bit BMP; pixel(x, y) gives (R, G, B), y = 0 at the top."""
    stride = (width * 3 + 3) & ~3
    rows = []
    for y in reversed(range(height)):
        row = bytearray()
        for x in range(width):
            r, g, b = pixel(x, y)
            row += bytes((b, g, r))
        row += b"\x00" * (stride - width * 3)
        rows.append(bytes(row))
    image = b"".join(rows)
    header = struct.pack("<2sIHHI", b"BM", 54 + len(image), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(image), 2835, 2835, 0, 0)
    return header + info + image


def marker_pixel(x, y):
    """32 x 32 marker: a yellow arrow pointing up on a dark disc with a white rim."""
    cx, cy = 15.5, 15.5
    d = math.hypot(x - cx, y - cy)
    if d > 15.5:
        return (0, 0, 0)
    if d > 13.5:
        return (250, 250, 250)
    # Arrow head: rows 5..15, widening downwards; shaft: rows 15..26.
    if 5 <= y <= 15 and abs(x - cx) <= (y - 5) * 0.8 + 0.5:
        return (255, 214, 0)
    if 15 < y <= 26 and abs(x - cx) <= 2.5:
        return (255, 214, 0)
    return (96, 24, 24)


def crlf(lines):
    return "".join(line + "\r\n" for line in lines).encode("ascii")


def object_description(name, keys):
    lines = ["; Object description: %s" % keys[0][1], "[object]"]
    lines += ["%s=%s" % kv for kv in keys]
    return crlf(lines)


def mob(names, objects):
    """Object placement file: signature, counts, 128-byte names, 17-byte records."""
    data = bytearray(b"M4DO")
    data += struct.pack("<ii", len(names), len(objects))
    for name in names:
        field = name.encode("ascii")
        assert len(field) <= 127
        data += field + b"\x00" * (128 - len(field))
    for type_index, x, y, rotation, reserved1, reserved2 in objects:
        data += struct.pack("<Bff2sh4s", type_index, x, y, reserved1, rotation, reserved2)
    return bytes(data)


def place_objects(heights):
    """A few dozen objects where they belong: trees on grass, rocks on rock,
    huts and a well near the shore, towers on the hilltops."""
    want = {0: 18, 1: 8, 2: 4, 3: 3, 4: 2}
    placed = []
    taken = []

    def fits(x, y, kind, spacing):
        # Apart from their own kind by the spacing, from all others by 5 pixels.
        return all((x - px) ** 2 + (y - py) ** 2 >= (spacing if k == kind else 5) ** 2
                   for px, py, k in taken)

    for i in range(20000):
        if not any(want.values()):
            break
        x = int(hash01(i, 11) * (MAP_SIZE - 16)) + 8
        y = int(hash01(i, 12) * (MAP_SIZE - 16)) + 8
        h = heights[y][x]
        if 0.44 <= h < 0.64 and want[0]:
            kind, spacing = 0, 7
        elif h >= 0.72 and want[3]:
            kind, spacing = 3, 40
        elif 0.69 <= h < 0.78 and want[1]:
            kind, spacing = 1, 10
        elif 0.40 <= h < 0.44 and want[2]:
            kind, spacing = 2, 22
        elif 0.40 <= h < 0.46 and want[4] and not want[2]:
            kind, spacing = 4, 14
        else:
            continue
        if not fits(x, y, kind, spacing):
            continue
        want[kind] -= 1
        taken.append((x, y, kind))
        rotation = 45 * int(hash01(i, 13) * 8)
        placed.append((kind, x / MAP_SIZE, y / MAP_SIZE, rotation, b"\x00\x00", b"\x00" * 4))
    return placed


def write(path, data):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(data)


def main():
    heights = make_heights()
    maps = os.path.join(SAMPLE, "maps")
    write(os.path.join(maps, "area1.bmp"),
          bmp24(MAP_SIZE, MAP_SIZE, lambda x, y: (int(heights[y][x] * 255 + 0.5),) * 3))
    write(os.path.join(maps, "area1-colormap.bmp"),
          bmp24(MAP_SIZE, MAP_SIZE, lambda x, y: colour_at(heights, x, y)))

    def detail(x, y):
        # Fine grain around mid grey, tileable (period 64 in both directions).
        v = 0.6 * value_noise(x % 64, y % 64, 4, 21) + 0.4 * hash01(x % 64, y % 64, 22)
        g = int(104 + 48 * v)
        return (g, g, g)

    write(os.path.join(maps, "detail-map.bmp"), bmp24(128, 128, detail))
    write(os.path.join(SAMPLE, "art", "ui", "objectimage.bmp"), bmp24(32, 32, marker_pixel))

    names = []
    for name, keys in OBJECT_TYPES:
        write(os.path.join(SAMPLE, "objects", name + ".ini"), object_description(name, keys))
        names.append("..\\objects\\%s.ini" % name)
    write(os.path.join(maps, "area1.mob"), mob(names, place_objects(heights)))
    write(os.path.join(maps, "area1.ini"), crlf([
        "[map]",
        "colormap=..\\maps\\area1-colormap.bmp",
        "heightmap=..\\maps\\area1.bmp",
        "detailmap=..\\maps\\detail-map.bmp",
        "objectmap=..\\maps\\area1.mob",
        "quad_depth=4",
        "spacing=10",
    ]))

    # Seeds of the object file fuzz target: empty, a small well-formed file
    # with odd reserved bytes and an out-of-catalog type, negative counts, a
    # name without its zero byte.
    write(os.path.join(SEEDS, "empty.mob"), mob([], []))
    write(os.path.join(SEEDS, "small.mob"), mob(
        ["..\\objects\\tree.ini", "..\\objects\\rock.ini"],
        [(0, 0.5, 0.25, 90, b"\x01\x02", b"\x03\x04\x05\x06"),
         (1, 0.125, 0.75, 315, b"\x00\x00", b"\x00" * 4),
         (7, -0.5, 1.5, -45, b"\xff\xff", b"\xff" * 4)]))
    write(os.path.join(SEEDS, "negative-counts.mob"),
          b"M4DO" + struct.pack("<ii", -1, -2147483648))
    write(os.path.join(SEEDS, "unterminated-name.mob"),
          b"M4DO" + struct.pack("<ii", 1, 0) + b"n" * 128)


if __name__ == "__main__":
    main()
