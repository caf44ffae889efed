#!/usr/bin/env python3
"""The release zip as a Windows user gets it, unpacked into a fresh temporary
folder: one top folder with editor/MapEditor.exe beside the start-up files
and mapcheck.exe, and a README.txt with CR LF line ends; mapcheck.exe finds
no problem in the sample map there, and MapEditor.exe started by its full
name from another folder (as a shortcut without "Start in" or a prompt
elsewhere does) draws the sample map with its status text, without a
message, and ends on File > Exit.

    release_zip.py --zip ZIP --work DIR --wine-prefix DIR

Uses DISPLAY when set; otherwise runs its own Xvfb. Exit status 0 when every
check passed; the screenshot and the editor's output stay in the work folder.
"""

import argparse
import os
import shutil
import subprocess
import sys
import tempfile
import zipfile

from designer_session import MAIN_CAPTION, Checks, Editor, start_xvfb, wine_environment
from xscreen import Screen

STARTUP_FILES = ["editor/MapEditor.exe", "maps/area1.bmp", "maps/area1-colormap.bmp",
                 "maps/detail-map.bmp", "art/ui/objectimage.bmp"]


def check_zip(archive, checks):
    """The top folder's name."""
    names = archive.namelist()
    top = names[0].split("/")[0]
    checks.expect(all(name.startswith(top + "/") for name in names), "one top folder " + top)
    for name in STARTUP_FILES + ["editor/mapcheck.exe", "README.txt"]:
        checks.expect(top + "/" + name in names, "the zip holds " + name)
    readme = archive.read(top + "/README.txt") if top + "/README.txt" in names else b""
    alone = readme.replace(b"\r\n", b"")
    checks.expect(readme.count(b"\r\n") > 10 and b"\n" not in alone and b"\r" not in alone,
                  "README.txt has CR LF line ends only")
    return top


def run_mapcheck(env, editor_folder, checks):
    """mapcheck.exe from the editor folder on the sample map, as a build
    pipeline on Windows would run it."""
    result = subprocess.run([env["WINE"], "mapcheck.exe", "..\\maps\\area1.ini"], env=env,
                            cwd=editor_folder, capture_output=True, timeout=60)
    checks.expect(result.returncode == 0 and not result.stdout,
                  "mapcheck.exe finds no problem in the sample map (status %d: %r)"
                  % (result.returncode, result.stdout + result.stderr))


def run_editor(screen, env, program, work, checks, window_rects):
    # The work folder holds no maps: the start-up names must lead from the
    # editor's own folder.
    editor = Editor(screen, env, program, os.path.join(work, "editor-output.txt"), window_rects,
                    start_in=work)
    try:  # Editor waited for the red status text of the first frame
        shot = editor.shot_image(os.path.join(work, "first-frame.png"))
        patch = {shot.pixel(editor.client.x + x, editor.client.y + y)
                 for x in range(40, 240, 4) for y in range(200, 400, 4)}
        checks.expect(len(patch) > 20, "the view shows the sample map, not the clear colour")
        checks.expect(screen.find("Map Editor 1.4a") is None,
                      "no message about the start-up files")
        editor.quit()
        checks.expect(screen.find(MAIN_CAPTION) is None, "the editor ended on File > Exit")
    finally:
        editor.close()


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    for option in ("--zip", "--work", "--wine-prefix", "--window-rects"):
        parser.add_argument(option, required=True)
    args = parser.parse_args()
    shutil.rmtree(args.work, ignore_errors=True)
    os.makedirs(args.work)
    checks = Checks()
    server, display = (None, os.environ["DISPLAY"]) if os.environ.get("DISPLAY") else start_xvfb()
    os.environ["DISPLAY"] = display
    try:
        with tempfile.TemporaryDirectory(prefix="mapeditor-zip-") as unpacked:
            with zipfile.ZipFile(args.zip) as archive:
                top = check_zip(archive, checks)
                archive.extractall(unpacked)
            env = wine_environment(os.path.abspath(args.wine_prefix))
            run_mapcheck(env, os.path.join(unpacked, top, "editor"), checks)
            run_editor(Screen(display), env, os.path.join(unpacked, top, "editor"), args.work,
                       checks, args.window_rects)
    except Exception as error:  # a step that never happened fails the run
        checks.expect(False, "%s: %s" % (type(error).__name__, error))
    finally:
        if server:
            server.terminate()
            server.wait()
    return 1 if checks.failures else 0


if __name__ == "__main__":
    sys.exit(main())
