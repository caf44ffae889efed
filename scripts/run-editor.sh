#!/bin/sh
# Starts the built editor under Wine with its program directory current.
# With a display: runs it there until it is closed. Without one: runs it on
# Xvfb inside a Wine virtual desktop (where the main window is maximised as on
# a real desktop), saves a screenshot once the first frames are up, prints the
# screenshot's path, closes the editor and exits 0.
#   $1  the Windows build folder (holds dist/ and the Wine prefix)
set -eu
WINE_BUILD_DIR=$(cd "$1" && pwd)
DIST="$WINE_BUILD_DIR/dist"
. "$(dirname "$0")/wine-env.sh"
wine_prefix_ready
cd "$DIST/editor"

if [ -n "${DISPLAY:-}" ]; then
    exec "$WINE" MapEditor.exe
fi

SHOTS="$WINE_BUILD_DIR/screenshots"
mkdir -p "$SHOTS"
SHOT="$SHOTS/startup.png"
start_xvfb
trap 'wineserver -k 2>/dev/null || true; stop_xvfb' EXIT INT TERM

import -window root "$SHOTS/.empty.png"
"$WINE" explorer /desktop=editor,1280x1024 MapEditor.exe &
EDITOR_PID=$!

# The first frames are up when the screen has changed from the empty desktop
# and then holds still for a second (the view is redrawn continuously, but
# with nothing moving every frame is the same).
previous="$SHOTS/.previous.png"
current="$SHOTS/.current.png"
import -window root "$previous"
for _ in $(seq 1 90); do
    sleep 1
    import -window root "$current"
    changed=$(compare -metric AE "$SHOTS/.empty.png" "$current" null: 2>&1 || true)
    moving=$(compare -metric AE "$previous" "$current" null: 2>&1 || true)
    if [ "$changed" != "0" ] && [ "$moving" = "0" ]; then
        break
    fi
    cp "$current" "$previous"
done
sleep 1
import -window root "$SHOT"
rm -f "$SHOTS/.empty.png" "$previous" "$current"

# Close it as a user would: File > Exit.
xdotool key alt+f 2>/dev/null || true
sleep 0.5
xdotool key x 2>/dev/null || true
for _ in $(seq 1 20); do
    kill -0 "$EDITOR_PID" 2>/dev/null || break
    sleep 0.5
done
echo "$SHOT"
