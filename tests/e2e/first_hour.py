#!/usr/bin/env python3
"""What a new designer trips over in the first hour, with the real
MapEditor.exe on the sample map under Wine in a virtual desktop, driven by
real keys and clicks (xdotool): Map > Properties refusing a spacing of
"-3x" and an empty heightmap with the dialog left open; Import > Objects of
a type the map already has (typed in other letters) adding nothing; Tab out
of the palette's list and F6 between the view and the palette; three lines
of objects typed in Notepad, copied and pasted as objects; Ctrl+S; the
window made 1100 x 800 with its status bar and palette controls in sight.
The sample map's settings file must come out of it unchanged and its
object file with exactly the three pasted objects more.

    first_hour.py --dist DIR --work DIR --wine-prefix DIR --window-rects EXE
"""

import os
import struct
import subprocess
import sys
import time

from designer_session import (PALETTE_LIST_ROWS, PROGRAM, Editor, run_with_options,
                              windows_path)

TYPED = [("..\\objects\\tree.ini", "0.25", "0.5", "90"),
         ("..\\objects\\rock.ini", "0.75", "0.125", "0"),
         ("..\\objects\\TREE.ini", "0.5", "0.5", "315")]


def read_mob(path):
    """The type names and the 17-byte records of an object file."""
    data = open(path, "rb").read()
    types, count = struct.unpack_from("<ii", data, 4)
    names = [data[12 + 128 * i:12 + 128 * (i + 1)].split(b"\0")[0].decode("latin-1")
             for i in range(types)]
    start = 12 + 128 * types
    return names, [data[start + 17 * i:start + 17 * (i + 1)] for i in range(count)]


def focus_of(editor):
    """The class (without a version prefix) and control id that have the keyboard."""
    kind, control = editor.locate()["focus"].split()
    return kind.split("!")[-1], int(control)


def properties_refusals(editor, screen, checks):
    editor.menu("alt+m", "p")
    screen.wait_window("Properties")
    time.sleep(0.5)
    for keys, what in [(["Tab", "minus", "3", "x"], "a spacing of -3x"),
                       (["1", "0", "Tab", "BackSpace"], "an empty heightmap")]:
        editor.keys(*keys)  # the field tabbed into (or refused) has its text selected
        editor.keys("Return")
        screen.wait_window(PROGRAM)  # the message box
        time.sleep(0.3)
        editor.keys("Return")
        screen.wait_gone(PROGRAM)
        checks.expect(screen.find("Properties") is not None,
                      "%s is refused and the dialog stays open" % what)
    editor.keys("Escape")
    screen.wait_gone("Properties")


def paste_from_notepad(editor, screen, env, work):
    """Three lines written in Notepad, copied, then Ctrl+V in the view."""
    text = os.path.join(work, "objects.txt")
    with open(text, "w", newline="\r\n") as f:
        f.write("".join("\t".join(line) + "\n" for line in TYPED))
    notepad = subprocess.Popen([env["WINE"], "explorer", "/desktop=designer,1280x1024",
                                "notepad.exe", windows_path(text)], env=env,
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    caption = lambda name: name is not None and name.endswith("Notepad")
    window = screen.wait_window(caption)
    box = screen.rect(window)
    screen.xdotool("mousemove", box.x + box.width // 2, box.y + box.height // 2, "click", 1)
    time.sleep(0.3)
    editor.keys("ctrl+a", "ctrl+c")
    time.sleep(0.5)
    editor.keys("alt+F4")
    screen.wait_gone(caption)
    notepad.wait(timeout=30)
    editor.focus_view()
    editor.keys("ctrl+v")
    time.sleep(0.5)


def status_bar_at_1100_by_800(editor, screen, work, checks):
    editor.locate("resize", 1100, 800)
    time.sleep(0.5)  # the editor lays its windows out on its own thread
    rects = editor.locate()
    main, status, palette, remove = (rects.get(k) for k in ("main", "status", "palette", "remove"))
    checks.expect(main is not None and (main.width, main.height) != (1280, 1024),
                  "the main window was resized (%r)" % main)
    inside = lambda r, outer: r is not None and outer.x <= r.x and r.x + r.width <= outer.x + \
        outer.width and outer.y <= r.y and r.y + r.height <= outer.y + outer.height
    checks.expect(status is not None and inside(status, main) and
                  status.y + status.height == main.y + main.height,
                  "the status bar is at the bottom of the window (%r in %r)" % (status, main))
    checks.expect(inside(remove, palette) and inside(palette, main),
                  "the palette's controls are whole (%r in %r)" % (remove, palette))
    image = editor.shot_image(os.path.join(work, "1100x800.png"))
    pixels = [image.pixel(x, y) for y in range(status.y + 2, status.y + status.height - 2)
              for x in range(status.x + 2, min(status.x + 400, status.x + status.width))]
    dark = sum(1 for p in pixels if max(p) < 100)
    face = sum(1 for p in pixels if min(p) > 150 and max(p) - min(p) < 30)
    checks.expect(face > len(pixels) // 2 and dark > 20,
                  "the status bar shows its text (%d dark of %d pixels)" % (dark, len(pixels)))


def run(screen, env, work, checks, window_rects):
    dist = os.path.join(work, "dist")
    maps = os.path.join(dist, "maps")
    settings, objects = os.path.join(maps, "area1.ini"), os.path.join(maps, "area1.mob")
    settings_before = open(settings, "rb").read()
    names_before, records_before = read_mob(objects)
    log = os.path.join(work, "editor-output.txt")
    editor = Editor(screen, env, os.path.join(dist, "editor"), log, window_rects,
                    arguments=[windows_path(settings)])
    try:
        screen.wait_window("area1.ini - " + PROGRAM)
        properties_refusals(editor, screen, checks)

        # tree.ini is in the map's catalog already: chosen as TREE.INI, nothing is added.
        editor.menu("alt+i", "o")
        editor.answer_chooser("Import Object", os.path.join(dist, "objects", "TREE.INI"))
        time.sleep(0.3)

        editor.palette_click(PALETTE_LIST_ROWS[0])  # the list has the keyboard
        editor.keys("Tab")
        checks.expect(focus_of(editor) == ("ComboBox", 1010), "Tab leaves the list for Rotation")
        editor.keys("F6")
        checks.expect(focus_of(editor)[0] == "MapEditorView", "F6 gives the view the keyboard")

        paste_from_notepad(editor, screen, env, work)
        editor.keys("ctrl+s")
        screen.wait_for(lambda: len(read_mob(objects)[1]) > len(records_before),
                        "the objects saved", timeout=20)
        status_bar_at_1100_by_800(editor, screen, work, checks)
        editor.quit()
    finally:
        editor.close()

    checks.expect(open(settings, "rb").read() == settings_before,
                  "the map settings file is unchanged")
    names, records = read_mob(objects)
    checks.expect(names == names_before, "the catalog has no type twice (%d types)" % len(names))
    expected = [struct.pack("<Bff2xh4x", names.index(path.replace("TREE", "tree")), float(x),
                            float(y), int(rotation)) for path, x, y, rotation in TYPED]
    checks.expect(records == records_before + expected,
                  "the three typed objects were pasted where their lines put them")


def main():
    return run_with_options(__doc__, "first hour", run)


if __name__ == "__main__":
    sys.exit(main())
