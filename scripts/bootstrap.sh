#!/bin/sh
# Installs every Debian package that building, running and testing the editor
# needs, and only those that are missing. Idempotent; quick when all is there.
set -eu

PACKAGES="
make cmake g++ clang libclang-rt-14-dev
mingw-w64
wine wine64
xvfb xauth libgl1-mesa-dri
imagemagick xdotool
libstb-dev googletest nlohmann-json3-dev
python3
"

missing=""
for package in $PACKAGES; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing="$missing $package"
    fi
done

if [ -z "$missing" ]; then
    exit 0
fi

echo "bootstrap: installing$missing"
if [ "$(id -u)" -ne 0 ]; then
    SUDO=sudo
else
    SUDO=
fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq $missing >/dev/null
echo "bootstrap: done"
