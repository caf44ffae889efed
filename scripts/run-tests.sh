#!/bin/sh
# Runs every test of both builds with one CTest summary: the Windows suites
# under Wine on an Xvfb display started (and stopped) here, the native suites
# under the sanitizers, and short fuzz runs.
#   $1  the build folder holding win/ and native/
set -eu
BUILD=$(cd "$1" && pwd)
WINE_BUILD_DIR="$BUILD/win"
. "$(dirname "$0")/wine-env.sh"

start_xvfb
trap 'wineserver -k 2>/dev/null || true; stop_xvfb' EXIT INT TERM
wine_prefix_ready

# One summary for both builds.
printf 'subdirs("win")\nsubdirs("native")\n' >"$BUILD/CTestTestfile.cmake"
cd "$BUILD"
ctest --output-on-failure -j "$(nproc)"
