#!/bin/sh
# Longer fuzz runs: every libFuzzer target of the native build (files named
# *_fuzzer) for the given number of seconds each, on its growing corpus.
#   $1  the native build folder   $2  seconds per target
set -eu
NATIVE=$(cd "$1" && pwd)
SECONDS_EACH=${2:-300}
found=0
for target in $(find "$NATIVE/fuzz" -maxdepth 2 -type f -perm -u+x -name '*_fuzzer' | sort); do
    found=1
    name=$(basename "$target")
    corpus="$NATIVE/fuzz-corpus/$name"
    mkdir -p "$corpus"
    echo "== $name for ${SECONDS_EACH}s (corpus $corpus)"
    "$target" -max_total_time="$SECONDS_EACH" -rss_limit_mb=2048 -timeout=10 \
        -print_final_stats=1 "$corpus"
done
[ "$found" = 1 ] || echo "no fuzz targets built"
