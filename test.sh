#!/bin/sh
# Installs what is missing, builds, and runs every test: once in the normal build and once
# with the address and undefined-behaviour sanitizers.
set -eu
cd "$(dirname "$0")"
scripts/install-deps.sh
scripts/check-layers.sh

# Our own checks treat warnings as errors; an optimised build is where GCC's flow analysis
# warns most.
scripts/build.sh build -DCMAKE_BUILD_TYPE=Release -DPLANWARTE_WARNINGS_AS_ERRORS=ON
ctest --test-dir build --output-on-failure -j "$(nproc)"

scripts/build.sh build-asan -DPLANWARTE_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug \
    -DPLANWARTE_WARNINGS_AS_ERRORS=ON
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
    ctest --test-dir build-asan --output-on-failure -j "$(nproc)"

if command -v clang-format >/dev/null 2>&1; then
    scripts/check-format.sh
fi

# Every reader of outside input under libFuzzer for a short while.
scripts/fuzz.sh 10
