#!/usr/bin/env python3
"""Writes resources/MapEditor.ico: a 32 x 32 map-pin on a green square.

Deterministic; run from the repository root. The icon is committed, so the
build needs no Python.
"""
import struct

SIZE = 32


def pixel(x, y):
    # Green terrain with a red marker dot: the editor's subject in one glance.
    cx, cy = 16, 13
    d2 = (x - cx) ** 2 + (y - cy) ** 2
    if d2 <= 36:
        return (0x20, 0x20, 0xE0, 0xFF)          # BGRA: red dot
    if abs(x - cx) <= 1 and cy < y <= 27:
        return (0x20, 0x20, 0xA0, 0xFF)          # its pin
    if 2 <= x < 30 and 2 <= y < 30:
        return (0x40, 0xA0 - y, 0x30, 0xFF)      # terrain
    return (0, 0, 0, 0)


def main():
    rows = []
    for y in reversed(range(SIZE)):              # bottom-up, as in a DIB
        rows.append(b"".join(bytes(pixel(x, y)) for x in range(SIZE)))
    xor = b"".join(rows)
    mask = b"\x00" * (SIZE * SIZE // 8)          # AND mask: alpha does the work
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 32, 0,
                         len(xor) + len(mask), 0, 0, 0, 0)
    image = header + xor + mask
    icondir = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 0, 0, 1, 32, len(image), 6 + 16)
    with open("resources/MapEditor.ico", "wb") as f:
        f.write(icondir + entry + image)


if __name__ == "__main__":
    main()
