#!/bin/sh
# Builds the libFuzzer targets with clang and runs each for a short while:
# scripts/fuzz.sh [SECONDS_PER_TARGET]   (default 10)
# Seeds come from the test fixtures and fuzz/seeds/; what a run finds is left in
# build-fuzz/findings/.
set -eu
cd "$(dirname "$0")/.."
seconds="${1:-10}"
if ! command -v clang++ >/dev/null 2>&1; then
    echo "fuzz: clang++ is missing; skipped" >&2
    exit 0
fi
if [ ! -f build-fuzz/CMakeCache.txt ]; then
    CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DPLANWARTE_BUILD_FUZZ=ON -DPLANWARTE_BUILD_TESTS=OFF >/dev/null
fi
targets="reg_file_format_fuzz template_expander_fuzz ini_file_fuzz item_filter_fuzz \
ical_reader_fuzz mail_reader_fuzz"
# shellcheck disable=SC2086
cmake --build build-fuzz -j "$(nproc)" --target $targets

seeds() {
    case "$1" in
        reg_file_format_fuzz) echo demo ;;
        template_expander_fuzz) echo data/vorlagen ;;
        ini_file_fuzz) echo data/vorlagen ;;
        ical_reader_fuzz) echo tests/ical/fixtures ;;
        item_filter_fuzz) echo fuzz/seeds/item_filter ;;
        mail_reader_fuzz) echo fuzz/seeds/mail_reader ;;
        *) echo "" ;;
    esac
}

mkdir -p build-fuzz/findings
for target in $targets; do
    corpus="build-fuzz/corpus/$target"
    mkdir -p "$corpus"
    seed_folder=$(seeds "$target")
    if [ -n "$seed_folder" ]; then
        find "$seed_folder" -maxdepth 1 -type f -size -64k -exec cp {} "$corpus/" \;
    fi
    echo "fuzz: $target for ${seconds}s"
    "build-fuzz/bin/$target" -max_total_time="$seconds" -print_final_stats=0 \
        -artifact_prefix="build-fuzz/findings/$target-" "$corpus" >"build-fuzz/$target.log" 2>&1 || {
        echo "fuzz: $target found a fault; see build-fuzz/$target.log and build-fuzz/findings/" >&2
        tail -40 "build-fuzz/$target.log" >&2
        exit 1
    }
done
echo "fuzz: no findings"
