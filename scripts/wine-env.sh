# Sourced by the scripts: the Wine environment of a build tree.
#   WINE_BUILD_DIR  the Windows build folder (holds the Wine prefix)
export WINEPREFIX="$WINE_BUILD_DIR/wineprefix"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="mscoree,mshtml="
WINE=/usr/lib/wine/wine64
[ -x "$WINE" ] || WINE=wine

# Creates the prefix on first use (about 10 s); later calls return at once.
# Its programs run in a virtual desktop: on a bare Xvfb, without a window
# manager, Wine waits up to two seconds for the X server to confirm every
# window it hides (each closed dialog or message box), and may give a
# maximised window back its dialog size.
wine_prefix_ready() {
    if [ ! -f "$WINEPREFIX/system.reg" ] || [ ! -f "$WINEPREFIX/.virtual-desktop" ]; then
        mkdir -p "$WINEPREFIX"
        "$WINE" wineboot --init >/dev/null 2>&1 || true
        "$WINE" reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
        "$WINE" reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1280x1024 /f \
            >/dev/null 2>&1
        wineserver -w
        touch "$WINEPREFIX/.virtual-desktop"
    fi
}

# Starts Xvfb on a free display and exports DISPLAY; XVFB_PID is its process.
start_xvfb() {
    fd_file=$(mktemp)
    Xvfb -displayfd 1 -screen 0 1280x1024x24 -nolisten tcp >"$fd_file" 2>/dev/null &
    XVFB_PID=$!
    for _ in $(seq 1 100); do
        [ -s "$fd_file" ] && break
        sleep 0.1
    done
    DISPLAY=":$(head -n 1 "$fd_file")"
    export DISPLAY
    rm -f "$fd_file"
}

stop_xvfb() {
    [ -n "${XVFB_PID:-}" ] && kill "$XVFB_PID" 2>/dev/null || true
    XVFB_PID=
}
