#!/usr/bin/env python3
"""The release zip as a Windows user gets it: unpacked into a fresh
temporary folder far from the build tree, it holds one top folder with
editor/MapEditor.exe beside the start-up files and a README.txt with CR LF
line ends; MapEditor.exe started there (in a Wine virtual desktop, with the
editor folder current, as a double-click does) draws its first frame with
the sample map and ends on File > Exit.

    release_zip.py --zip ZIP --work DIR --wine-prefix DIR

Uses DISPLAY when set; otherwise runs its own Xvfb. Exit status 0 when every
check passed. The screenshot and the editor's output stay in the work folder.
"""

import argparse
import os
import shutil
import sys
import tempfile
import time
import zipfile

from designer_session import MAIN_CAPTION, Checks, Editor, start_xvfb, wine_environment
from xscreen import Rect, Screen

# What the editor opens at start, from its program folder.
STARTUP_FILES = ["editor/MapEditor.exe", "maps/area1.bmp", "maps/area1-colormap.bmp",
                 "maps/detail-map.bmp", "art/ui/objectimage.bmp"]

# A part of the view below the status text and left of where the palette
# starts: the sample colormap shows there, never the plain clear colour.
MAP_PATCH = Rect(40, 200, 200, 200)


def check_contents(archive, checks):
    names = archive.namelist()
    tops = {name.split("/")[0] for name in names}
    checks.expect(len(tops) == 1, "one top folder (%s)" % ", ".join(sorted(tops)))
    top = sorted(tops)[0]
    for name in STARTUP_FILES + ["README.txt"]:
        checks.expect(top + "/" + name in names, "the zip holds %s/%s" % (top, name))
    if top + "/README.txt" in names:
        readme = archive.read(top + "/README.txt")
        lines = readme.split(b"\r\n")
        checks.expect(len(lines) > 10 and not any(b"\n" in line or b"\r" in line
                                                  for line in lines),
                      "README.txt has CR LF line ends only")
        checks.expect(b"editor\\MapEditor.exe" in readme, "README.txt says what to start")
    return top


def distinct_colours(image, rect):
    return len({image.pixel(rect.x + x, rect.y + y)
                for y in range(0, rect.height, 4) for x in range(0, rect.width, 4)})


def run(screen, env, folder, work, checks):
    editor = Editor(screen, env, os.path.join(folder, "editor"),
                    os.path.join(work, "editor-output.txt"))
    try:
        shot = editor.shot_image(os.path.join(work, "first-frame.png"))
        checks.expect(editor.red_status_pixels(shot) > 10, "the first frame shows its status text")
        view = Rect(editor.client.x + MAP_PATCH.x, editor.client.y + MAP_PATCH.y,
                    MAP_PATCH.width, MAP_PATCH.height)
        checks.expect(distinct_colours(shot, view) > 20,
                      "the view shows the sample map (start-up files found)")
        editor.quit()
        checks.expect(editor.process.returncode is not None, "the editor ended on File > Exit")
        checks.expect(screen.find(MAIN_CAPTION) is None, "its main window is gone")
    finally:
        editor.close()


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--zip", required=True)
    parser.add_argument("--work", required=True, help="a folder for screenshots and output")
    parser.add_argument("--wine-prefix", required=True)
    args = parser.parse_args()

    shutil.rmtree(args.work, ignore_errors=True)
    os.makedirs(args.work)
    checks = Checks()
    started = time.monotonic()
    server = None
    with tempfile.TemporaryDirectory(prefix="mapeditor-zip-") as unpacked:
        with zipfile.ZipFile(args.zip) as archive:
            top = check_contents(archive, checks)
            archive.extractall(unpacked)
        display = os.environ.get("DISPLAY")
        if not display:
            server, display = start_xvfb()
            os.environ["DISPLAY"] = display
        try:
            env = wine_environment(os.path.abspath(args.wine_prefix))
            run(Screen(display), env, os.path.join(unpacked, top), args.work, checks)
        except Exception as error:  # a step that never happened fails the run
            checks.expect(False, "run: %s: %s" % (type(error).__name__, error))
        finally:
            if server:
                server.terminate()
                server.wait()
    print("%d failure(s) in %.0f s" % (len(checks.failures), time.monotonic() - started))
    return 1 if checks.failures else 0


if __name__ == "__main__":
    sys.exit(main())
