#!/usr/bin/env python3
"""A brush stroke through the real MapEditor.exe, under Wine in a virtual
desktop, with real input only (xdotool): open the sample map, choose its
first two types in the palette (a click and a Ctrl + click), B in the view,
drag across the map, Ctrl+S. The object file must hold the map's objects as
they were, then more objects of those two types, none of them nearer than
the brush's spacing (2 heightmap cells) to any other object. Then Ctrl+Z
and Ctrl+S: the file is byte for byte what it was before the stroke.

    brush_stroke.py --dist DIR --work DIR --wine-prefix DIR --window-rects EXE

Uses DISPLAY when set; otherwise runs its own Xvfb. Exit status 0 when every
check passed.
"""

import math
import os
import shutil
import struct
import sys
import time

from designer_session import Editor, PALETTE_LIST_ROWS, recovery_folder, run_with_options

SPACING_CELLS = 2.0  # the brush's first spacing


def read_objects(path):
    """The catalog's size and the records (type, x, y, rotation) of an object file."""
    with open(path, "rb") as f:
        data = f.read()
    types, count = struct.unpack_from("<ii", data, 4)
    start = 12 + 128 * types
    return types, [struct.unpack_from("<Bff2xh4x", data, start + 17 * i) for i in range(count)]


def wait_for_bytes(path, test, what, timeout=20):
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        if os.path.exists(path):
            with open(path, "rb") as f:
                data = f.read()
            if test(data):
                return data
        time.sleep(0.2)
    raise TimeoutError(what)


def run(screen, env, work, checks, window_rects):
    dist = os.path.join(work, "dist")
    mob = os.path.join(dist, "maps", "area1.mob")
    with open(mob, "rb") as f:
        before = f.read()
    _, old = read_objects(mob)
    cells = struct.unpack_from("<i", open(os.path.join(dist, "maps", "area1.bmp"), "rb").read(),
                               18)[0]
    shutil.rmtree(recovery_folder(env), ignore_errors=True)

    editor = Editor(screen, env, os.path.join(dist, "editor"), os.path.join(work, "output.txt"),
                    window_rects)
    try:
        editor.open_map(os.path.join(dist, "maps", "area1.ini"))
        screen.wait_for(lambda: screen.find("area1.ini - Map Editor 1.4a") is not None,
                        "the sample map open")
        # Rows 0 and 1 of the palette: the first two types.
        editor.palette_click(PALETTE_LIST_ROWS[0])
        screen.xdotool("mousemove", *editor.palette_point(PALETTE_LIST_ROWS[1]), "keydown",
                       "ctrl", "click", 1, "keyup", "ctrl")
        time.sleep(0.2)
        editor.focus_view()
        editor.keys("b")
        time.sleep(0.2)
        editor.drag([(150 + 12 * k, 260 + 4 * k) for k in range(50)])
        time.sleep(0.3)
        editor.keys("ctrl+s")
        brushed = wait_for_bytes(mob, lambda data: data != before, "the stroke saved")
        editor.keys("ctrl+z")
        time.sleep(0.3)
        editor.keys("ctrl+s")
        wait_for_bytes(mob, lambda data: data == before, "the undo saved")
        editor.keys("s")  # the select tool again: quitting clicks the view
        time.sleep(0.2)
        editor.quit()
    finally:
        editor.close()

    with open(os.path.join(work, "brushed.mob"), "wb") as f:
        f.write(brushed)
    _, now = read_objects(os.path.join(work, "brushed.mob"))
    new = now[len(old):]
    checks.expect(now[:len(old)] == old, "the map's objects stay as they were, first")
    checks.expect(len(new) > 20, "the stroke placed objects (%d)" % len(new))
    checks.expect(all(o[0] in (0, 1) for o in new), "every new object is of the two types")
    checks.expect({o[0] for o in new} == {0, 1}, "both types were placed")
    least = min((math.hypot((a[1] - b[1]) * cells, (a[2] - b[2]) * cells)
                 for i, a in enumerate(new) for b in now[:len(old) + i]), default=math.inf)
    checks.expect(least >= SPACING_CELLS - 1e-3,
                  "no new object nearer than the spacing to another (%.3f cells)" % least)
    with open(mob, "rb") as f:
        checks.expect(f.read() == before, "after Ctrl+Z the saved file is as before the stroke")


def main():
    return run_with_options(__doc__, "stroke", run)


if __name__ == "__main__":
    sys.exit(main())
