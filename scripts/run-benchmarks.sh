#!/bin/sh
# Runs every benchmark program of the Windows build under Wine on Xvfb; each
# measures and prints its own table.
#   $1  the Windows build folder
set -eu
WINE_BUILD_DIR=$(cd "$1" && pwd)
. "$(dirname "$0")/wine-env.sh"
start_xvfb
trap 'wineserver -k 2>/dev/null || true; stop_xvfb' EXIT INT TERM
wine_prefix_ready
for bench in $(find "$WINE_BUILD_DIR/bench" -maxdepth 2 -name '*.exe' | sort); do
    echo "== $(basename "$bench")"
    (cd "$(dirname "$bench")" && "$WINE" "$bench")
done
