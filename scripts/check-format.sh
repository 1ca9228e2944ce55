#!/bin/sh
# Fails when a C++ file differs from what clang-format makes of it.
set -eu
cd "$(dirname "$0")/.."
git ls-files -co --exclude-standard '*.cpp' '*.h' | xargs clang-format --dry-run --Werror
