#!/bin/sh
# Configures and builds incrementally: scripts/build.sh BUILD_FOLDER [cmake options...]
# The options are applied at every call, so a folder configured earlier takes them too; without
# options an existing folder keeps its configuration (RelWithDebInfo for a new one).
set -eu
cd "$(dirname "$0")/.."
folder="$1"
shift
if [ ! -f "$folder/CMakeCache.txt" ]; then
    cmake -S . -B "$folder" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
elif [ "$#" -gt 0 ]; then
    cmake -S . -B "$folder" "$@" >/dev/null
fi
cmake --build "$folder" -j "$(nproc)"
