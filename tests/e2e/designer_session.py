#!/usr/bin/env python3
"""A map designer's session with the real MapEditor.exe, under Wine in a
virtual desktop on an X display, driven with real input only (xdotool: menus
by their mnemonics, the file choosers by typing a path, Ctrl + clicks in the
view, the Delete key, the object palette).

First start: import two object types (Import > Objects, then the palette's
Add), move the palette aside, place five objects with chosen types and
rotations, drag one across another object, select and delete one, select two
with a rubber band, drag them together, turn them (R), undo and redo the turn
(Ctrl+Z, Ctrl+Y), copy them and paste the copy under the pointer (Ctrl+C,
Ctrl+V), save the objects and the map, quit. Second start: open the saved
map; the view after reopening is compared with the view before quitting;
move everything 100 cells with the arrow key, wait for the copy of the
unsaved work, and kill the editor. Third start: restore the copy, save with
Ctrl+S, quit. The saved files are compared byte by byte with what the
designer made.

    designer_session.py --dist DIR --work DIR --wine-prefix DIR

Uses DISPLAY when set; otherwise runs its own Xvfb. Exit status 0 when every
check passed. Screenshots and the editor's output stay in the work folder.
"""

import argparse
import glob
import os
import pwd
import shutil
import struct
import subprocess
import sys
import tempfile
import time

from xscreen import Image, Rect, Screen

PROGRAM = "Map Editor 1.4a"


def MAIN_CAPTION(name):
    """The main window's title: "<map>[*] - Map Editor 1.4a"."""
    return name is not None and name.endswith(" - " + PROGRAM)
PALETTE_CAPTION = "Objects"

# Places on the docked palette, from its client area's top-left corner (the
# controls row and the list rows as Wine lays out its dialog template).
PALETTE_ROTATION_BOX = (85, 13)
PALETTE_ADD_BUTTON = (237, 13)
PALETTE_LIST_ROWS = [(57, 32), (57, 45)]

# A point of the view that never holds an object: clicking it only gives the
# main window the keyboard.
EMPTY_VIEW_POINT = (900, 40)

STATUS_TEXT = Rect(0, 0, 80, 16)  # "Objects: %d", client coordinates


def windows_path(path):
    """Wine's name for a Unix path (drive Z: is the Unix root)."""
    return "Z:" + os.path.abspath(path).replace("/", "\\")


class Editor:
    """One run of MapEditor.exe in its own virtual desktop."""

    def __init__(self, screen, env, program_folder, log_path, window_rects, restore=False,
                 start_in=None, arguments=()):
        """Started with the program folder current (as a double-click does),
        or from `start_in` by its full name (as a shortcut without "Start in"
        or a prompt in another folder does)."""
        self.screen = screen
        self.env = env
        self.window_rects = window_rects
        self.log = open(log_path, "ab")
        wine = env["WINE"]
        program = "MapEditor.exe" if start_in is None else \
            windows_path(os.path.join(program_folder, "MapEditor.exe"))
        self.process = subprocess.Popen(
            [wine, "explorer", "/desktop=designer,1280x1024", program] + list(arguments),
            cwd=program_folder if start_in is None else start_in, env=env, stdout=self.log,
            stderr=subprocess.STDOUT)
        main = screen.wait_window(MAIN_CAPTION, timeout=90)
        if restore:
            # The offer to restore what a run that did not end cleanly kept:
            # Yes is its default button.
            screen.wait_window(PROGRAM, timeout=60)
            time.sleep(0.5)
            self.keys("Return")
            screen.wait_gone(PROGRAM)
        rects = screen.wait_for(self.locate, "the view and the docked palette")
        self.client = rects["view"]
        self.palette = rects["palette"]
        # The first frames are up once the red status text shows.
        screen.wait_for(lambda: self.red_status_pixels(self.shot_image()) > 10,
                        "the first frame with its status text", timeout=60)

    # Where things are ----------------------------------------------------

    def at(self, x, y):
        """Screen point of a client point of the view."""
        return self.client.x + x, self.client.y + y

    def palette_rect(self):
        return self.palette

    def locate(self, *request):
        """The screen rectangles of the main window's children, asked of the
        editor's own desktop (child windows have no X windows): None until
        the view and the palette are both there. `request` may ask the
        helper to resize the main window first ("resize", W, H)."""
        handle, path = tempfile.mkstemp(suffix=".txt")
        os.close(handle)
        try:
            subprocess.run([self.env["WINE"], "explorer", "/desktop=designer,1280x1024",
                            self.window_rects, windows_path(path)] + [str(r) for r in request],
                           env=self.env,
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=30)
            for _ in range(50):
                with open(path) as f:
                    text = f.read()
                # The program may still be writing: its last line, the
                # status text, ends the file.
                lines = text.split("\n")
                rects = {}
                for line in lines:
                    parts = line.split()
                    if line.startswith("status-text "):
                        rects["status-text"] = line[len("status-text "):]
                    elif line.startswith("focus "):
                        rects["focus"] = line[len("focus "):]
                    elif len(parts) == 5:
                        rects[parts[0]] = Rect(*(int(v) for v in parts[1:]))
                if "view" in rects and "palette" in rects and "status-text" in rects \
                        and text.endswith("\n"):
                    return rects
                time.sleep(0.1)
            return None
        finally:
            os.unlink(path)

    def shot_image(self, path=None):
        if path is None:
            handle, path = tempfile.mkstemp(suffix=".png")
            os.close(handle)
            try:
                return self.screen.shot(path)
            finally:
                os.unlink(path)
        return self.screen.shot(path)

    def red_status_pixels(self, image):
        count = 0
        for y in range(STATUS_TEXT.height):
            for x in range(STATUS_TEXT.width):
                r, g, b = image.pixel(self.client.x + x, self.client.y + y)
                count += r > 180 and g < 90 and b < 90
        return count

    # Input ---------------------------------------------------------------

    def click(self, x, y):
        self.screen.xdotool("mousemove", *self.at(x, y), "click", 1)

    def ctrl_click(self, x, y):
        self.screen.xdotool("mousemove", *self.at(x, y), "keydown", "ctrl", "click", 1,
                            "keyup", "ctrl")

    def drag(self, points):
        """Presses at the first point, moves through the others, releases."""
        self.screen.xdotool("mousemove", *self.at(*points[0]), "mousedown", 1)
        for point in points[1:]:
            self.screen.xdotool("mousemove", *self.at(*point))
            time.sleep(0.02)
        self.screen.xdotool("mouseup", 1)

    def keys(self, *names):
        self.screen.xdotool("key", "--delay", 60, *names)

    def focus_view(self):
        self.click(*EMPTY_VIEW_POINT)
        time.sleep(0.2)

    def menu(self, *keys):
        """A menu command by its keys, e.g. ("alt+f", "s")."""
        self.focus_view()
        self.keys(keys[0])
        time.sleep(0.4)
        self.keys(*keys[1:])

    def answer_chooser(self, title, path):
        self.screen.wait_window(title)
        time.sleep(0.5)  # the file name box takes the keyboard once shown
        self.screen.xdotool("type", "--delay", 20, windows_path(path))
        self.keys("Return")
        self.screen.wait_gone(title)

    # The palette ---------------------------------------------------------

    def status_text(self):
        """The status bar's first field: the pointer's map position."""
        return self.locate()["status-text"]

    def palette_point(self, offset):
        """A screen point on the docked palette."""
        return self.palette.x + offset[0], self.palette.y + offset[1]

    def palette_click(self, offset):
        self.screen.xdotool("mousemove", *self.palette_point(offset), "click", 1)
        time.sleep(0.2)

    def choose_rotation(self, rows_down):
        """Opens the rotation box and moves down that many rows from "0"."""
        self.palette_click(PALETTE_ROTATION_BOX)
        time.sleep(0.3)
        self.keys(*(["Down"] * rows_down + ["Return"]))
        time.sleep(0.2)

    # Files and the end ---------------------------------------------------

    def import_object_from_menu(self, path):
        self.menu("alt+i", "o")
        self.answer_chooser("Import Object", path)

    def import_object_from_palette(self, path):
        self.palette_click(PALETTE_ADD_BUTTON)
        self.answer_chooser("Import Object", path)

    def save_objects(self, path):
        # "Save Objects" has no mnemonic: the fourth item of File.
        self.menu("alt+f", "Down", "Down", "Down", "Return")
        self.answer_chooser("Save Object File", path)
        self.screen.wait_for(lambda: os.path.exists(path), path)

    def save_map(self, path):
        self.menu("alt+f", "s")
        self.answer_chooser("Save Map File", path)
        self.screen.wait_for(lambda: os.path.exists(path), path)

    def open_map(self, path):
        self.menu("alt+f", "m")
        self.answer_chooser("Open Map File", path)

    def still_view(self, path, differ_from=None):
        """A screenshot once the view holds still (and, if given, no longer
        shows the `differ_from` screenshot's view)."""
        previous = None
        for _ in range(40):
            image = self.shot_image(path)
            view = image.region(self.client)
            if differ_from is not None and view == differ_from.region(self.client):
                time.sleep(0.25)
                continue
            if view == previous:
                return image
            previous = view
            time.sleep(0.25)
        raise TimeoutError("the view never held still")

    def quit(self):
        self.menu("alt+f", "x")
        try:
            self.process.wait(timeout=30)
        finally:
            self.close()

    def close(self):
        if self.process.poll() is None:
            self.process.kill()  # only our own editor, by its process
            self.process.wait()
        self.log.close()


# Expected files -------------------------------------------------------------

def object_file(names, records, scale):
    """An object placement file: "M4DO", the two counts, 128-byte names and
    17-byte records (type, x, y, two reserved bytes, rotation, four reserved
    bytes; little-endian, positions as fractions of the map's side)."""
    data = b"M4DO" + struct.pack("<ii", len(names), len(records))
    for name in names:
        data += name.encode("latin-1").ljust(128, b"\0")
    for type_index, px, py, rotation in records:
        data += struct.pack("<Bff2xh4x", type_index, px / scale, py / scale, rotation)
    return data


def settings_file(object_map):
    lines = ["[map]",
             "colormap=..\\maps\\area1-colormap.bmp",
             "heightmap=..\\maps\\area1.bmp",
             "detailmap=",
             "objectmap=" + object_map,
             "quad_depth=4",
             "spacing=10"]
    return "".join(line + "\r\n" for line in lines).encode("latin-1")


def bitmap_width(path):
    with open(path, "rb") as f:
        header = f.read(26)
    return struct.unpack_from("<i", header, 18)[0]


def first_difference(a, b):
    for i, (x, y) in enumerate(zip(a, b)):
        if x != y:
            return i
    return min(len(a), len(b))


class Checks:
    def __init__(self):
        self.failures = []

    def expect(self, condition, message):
        print(("ok    " if condition else "FAIL  ") + message, flush=True)
        if not condition:
            self.failures.append(message)

    def expect_bytes(self, path, expected, what):
        actual = open(path, "rb").read() if os.path.exists(path) else b""
        same = actual == expected
        detail = "" if same else " (%d bytes, %d expected, first difference at %d)" % (
            len(actual), len(expected), first_difference(actual, expected))
        self.expect(same, "%s is byte for byte what the designer made%s" % (what, detail))


# The session ------------------------------------------------------------------

def run_session(screen, env, work, checks, window_rects):
    dist = os.path.join(work, "dist")
    program = os.path.join(dist, "editor")
    objects = os.path.join(dist, "objects")
    placed = os.path.join(work, "placed.mob")
    settings = os.path.join(work, "designer.ini")
    log = os.path.join(work, "editor-output.txt")
    # "6x" at start-up: one heightmap pixel spans twelve view pixels. The
    # points below are multiples of 3, so every map position is exact.
    scale = bitmap_width(os.path.join(dist, "maps", "area1.bmp")) * 12

    # Copies a killed run of an earlier test left would be offered first.
    shutil.rmtree(recovery_folder(env), ignore_errors=True)

    print("first start", flush=True)
    editor = Editor(screen, env, program, log, window_rects)
    try:
        editor.import_object_from_menu(os.path.join(objects, "tree.ini"))
        editor.import_object_from_palette(os.path.join(objects, "rock.ini"))

        # Two trees at rotation 0, three rocks at rotation 90.
        editor.palette_click(PALETTE_LIST_ROWS[0])
        editor.ctrl_click(480, 300)  # A
        editor.ctrl_click(720, 300)  # B
        editor.palette_click(PALETTE_LIST_ROWS[1])
        editor.choose_rotation(2)
        editor.ctrl_click(480, 600)  # C
        editor.ctrl_click(720, 600)  # D
        editor.ctrl_click(960, 450)  # E

        # D is dragged left right across C (placed before it), then down.
        path = [(x, 600) for x in range(720, 479, -24)] + [(468, 660), (456, 720)]
        editor.drag(path)

        # A is selected and deleted; nothing is selected afterwards.
        editor.click(480, 300)
        time.sleep(0.2)
        editor.keys("Delete")

        # A rubber band around B and E, then both dragged by (30, 60) with B.
        editor.drag([(700, 280), (840, 380), (980, 470)])
        editor.drag([(720, 300), (735, 330), (750, 360)])
        # Turned by 45 degrees, the turn undone and redone.
        editor.keys("r")
        editor.keys("ctrl+z")
        editor.keys("ctrl+y")
        # Copied, and pasted with the pointer at (600, 900): the pair's middle
        # (870, 435) lands there.
        editor.keys("ctrl+c")
        editor.screen.xdotool("mousemove", *editor.at(600, 900))
        time.sleep(0.2)
        editor.keys("ctrl+v")
        time.sleep(0.3)

        editor.save_objects(placed)
        editor.save_map(settings)
        # Nothing selected, as after reopening (selected labels are red).
        editor.focus_view()
        editor.keys("Escape")
        before_quit = editor.still_view(os.path.join(work, "1-before-quit.png"))
        editor.quit()
    finally:
        editor.close()

    names = ["..\\objects\\tree.ini", "..\\objects\\rock.ini"]
    records = [(0, 750, 360, 45), (1, 480, 600, 90), (1, 456, 720, 90), (1, 990, 510, 135),
               (0, 480, 825, 45), (1, 720, 975, 135)]
    checks.expect_bytes(placed, object_file(names, records, scale), "placed.mob")
    checks.expect_bytes(settings, settings_file(windows_path(placed)), "designer.ini")

    print("second start", flush=True)
    editor = Editor(screen, env, program, log, window_rects)
    try:
        started = editor.still_view(os.path.join(work, "2-started.png"))
        editor.open_map(settings)
        reopened = editor.still_view(os.path.join(work, "3-reopened.png"), differ_from=started)
        client = editor.client
        checks.expect(editor.red_status_pixels(reopened) > 10, "the status text shows")
        status = Rect(client.x, client.y, STATUS_TEXT.width, STATUS_TEXT.height)
        checks.expect(reopened.region(status) != started.region(status),
                      "the object count changed when the map was opened")
        checks.expect(reopened.region(client) == before_quit.region(client),
                      "the reopened map's view is the view before quitting")

        # The wheel zooms in at the pointer: the map point under it (as the
        # status bar shows it) stays under it.
        editor.screen.xdotool("mousemove", *editor.at(450, 450))
        time.sleep(0.3)
        under = editor.status_text()
        editor.screen.xdotool("click", "--repeat", 2, "--delay", 200, 4)
        time.sleep(0.5)
        editor.screen.xdotool("mousemove", *editor.at(451, 450), "mousemove", *editor.at(450, 450))
        time.sleep(0.3)
        zoomed = editor.still_view(os.path.join(work, "4-zoomed.png"), differ_from=reopened)
        checks.expect(under.startswith("x ") and editor.status_text() == under,
                      "the wheel zoom keeps %r under the pointer" % under)
        checks.expect(zoomed.region(client) != reopened.region(client), "the wheel zoomed in")

        # Everything selected and moved 100 cells to the right, one cell a
        # key: after the 100th change a copy of the unsaved work is kept.
        editor.focus_view()
        editor.keys("ctrl+a")
        editor.screen.xdotool("key", "--delay", 30, *(["Right"] * 100))
        moved = [(t, x + 1200, y, r) for (t, x, y, r) in records]
        expected = object_file(names, moved, scale)
        copy = os.path.join(recovery_folder(env), "session-*")
        screen.wait_for(lambda: copied_objects(copy) == expected, "the copy of the unsaved work",
                        timeout=30)
    finally:
        # Killed as a crash would end it: no question, no clean exit.
        subprocess.run(["wineserver", "-k"], env=env)
        editor.close()

    print("third start, after the kill", flush=True)
    editor = Editor(screen, env, program, log, window_rects, restore=True)
    try:
        checks.expect(screen.find("designer.ini* - " + PROGRAM) is not None,
                      "the restored work is the map's, with unsaved changes")
        editor.focus_view()
        editor.keys("ctrl+s")
        screen.wait_for(lambda: open(placed, "rb").read() == expected, "placed.mob saved",
                        timeout=20)
        editor.quit()
    finally:
        editor.close()
    checks.expect_bytes(placed, expected, "placed.mob saved after restoring")
    checks.expect(not glob.glob(copy), "a clean exit removes the copy")


def recovery_folder(env):
    """Where the editor keeps copies of unsaved work in this Wine prefix."""
    users = os.path.join(env["WINEPREFIX"], "drive_c", "users")
    return os.path.join(users, pwd.getpwuid(os.getuid()).pw_name, "AppData", "Local",
                        "Map Editor", "Recovery")


def copied_objects(pattern):
    """The objects of the one complete copy matching the pattern, or None."""
    for folder in glob.glob(pattern):
        if os.path.exists(os.path.join(folder, "names.txt")):
            with open(os.path.join(folder, "objects.mob"), "rb") as f:
                return f.read()
    return None


def wine_environment(prefix):
    env = dict(os.environ)
    env["WINEPREFIX"] = prefix
    env["WINEDEBUG"] = env.get("WINEDEBUG", "-all")
    env["WINEDLLOVERRIDES"] = "mscoree,mshtml="
    env["WINE"] = "/usr/lib/wine/wine64" if os.access("/usr/lib/wine/wine64", os.X_OK) else "wine"
    if not os.path.exists(os.path.join(prefix, "system.reg")):
        os.makedirs(prefix, exist_ok=True)
        subprocess.run([env["WINE"], "wineboot", "--init"], env=env,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        subprocess.run(["wineserver", "-w"], env=env)
    return env


def start_xvfb():
    read_end, write_end = os.pipe()
    server = subprocess.Popen(["Xvfb", "-displayfd", str(write_end), "-screen", "0",
                               "1280x1024x24", "-nolisten", "tcp"],
                              pass_fds=(write_end,), stderr=subprocess.DEVNULL)
    os.close(write_end)
    with os.fdopen(read_end) as pipe:
        number = pipe.readline().strip()
    return server, ":" + number


def run_with_options(doc, name, run):
    """The main program of an end-to-end run: reads --dist, --work,
    --wine-prefix and --window-rects, copies the program folder into a fresh
    work folder, starts Xvfb unless DISPLAY is set, calls
    run(screen, env, work, checks, window_rects) and returns the exit
    status: 0 when every check passed."""
    parser = argparse.ArgumentParser(description=doc.split("\n\n")[0])
    parser.add_argument("--dist", required=True, help="the program folder layout (dist/)")
    parser.add_argument("--work", required=True, help="a folder for this run")
    parser.add_argument("--wine-prefix", required=True)
    parser.add_argument("--window-rects", required=True,
                        help="the program that tells where the editor's child windows are")
    args = parser.parse_args()

    shutil.rmtree(args.work, ignore_errors=True)
    os.makedirs(args.work)
    shutil.copytree(args.dist, os.path.join(args.work, "dist"))

    server = None
    display = os.environ.get("DISPLAY")
    if not display:
        server, display = start_xvfb()
        os.environ["DISPLAY"] = display
    checks = Checks()
    started = time.monotonic()
    try:
        run(Screen(display), wine_environment(args.wine_prefix), args.work, checks,
            args.window_rects)
    except Exception as error:  # a step that never happened fails the run
        checks.expect(False, "%s: %s: %s" % (name, type(error).__name__, error))
    finally:
        if server:
            server.terminate()
            server.wait()
    print("%d failure(s) in %.0f s; screenshots and files in %s" % (
        len(checks.failures), time.monotonic() - started, args.work))
    return 1 if checks.failures else 0


def main():
    return run_with_options(__doc__, "session", run_session)


if __name__ == "__main__":
    sys.exit(main())
