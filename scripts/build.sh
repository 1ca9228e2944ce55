#!/bin/sh
# Configures once and builds incrementally: scripts/build.sh BUILD_FOLDER [cmake options...]
set -eu
cd "$(dirname "$0")/.."
folder="$1"
shift
if [ ! -f "$folder/CMakeCache.txt" ]; then
    cmake -S . -B "$folder" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
fi
cmake --build "$folder" -j "$(nproc)"
