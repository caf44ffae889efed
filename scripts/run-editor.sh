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

"$WINE" explorer /desktop=editor,1280x1024 MapEditor.exe &
EDITOR_PID=$!

# The first frames are up when the main window exists and the screen then
# holds still for a second (the view is redrawn continuously, but with nothing
# moving every frame is the same).
for _ in $(seq 1 120); do
    xdotool search --name ' - Map Editor 1.4a$' >/dev/null 2>&1 && break
    sleep 0.5
done
previous="$SHOTS/.previous.png"
current="$SHOTS/.current.png"
sleep 2
import -window root "$previous"
for _ in $(seq 1 60); do
    sleep 1
    import -window root "$current"
    moving=$(compare -metric AE "$previous" "$current" null: 2>&1 || true)
    [ "$moving" = "0" ] && break
    cp "$current" "$previous"
done
rm -f "$previous" "$current"

# Wine's virtual desktop keeps the Direct3D surface of the main window above
# the X window of the palette, although in Windows' own order the owned
# palette is above its owner: raise the palette's X window so it shows. Then
# drag it by its caption away from the top-left corner, where it starts, so
# that the status text there shows too.
for window in $(xdotool search --name '^Objects$' 2>/dev/null); do
    xdotool windowraise "$window" 2>/dev/null || true
done
xdotool mousemove 100 32 mousedown 1 mousemove 500 400 mousemove 930 760 mouseup 1 \
    2>/dev/null || true
sleep 1
for window in $(xdotool search --name '^Objects$' 2>/dev/null); do
    xdotool windowraise "$window" 2>/dev/null || true
done
sleep 1
import -window root "$SHOT"


# Close it as a user would: File > Exit.
xdotool key alt+f 2>/dev/null || true
sleep 0.5
xdotool key x 2>/dev/null || true
for _ in $(seq 1 20); do
    kill -0 "$EDITOR_PID" 2>/dev/null || break
    sleep 0.5
done
echo "$SHOT"
