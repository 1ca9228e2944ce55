#!/bin/sh
# Makes the bench data (once), builds the bench in Release and runs it at scale 1 and 10:
# the month page cold and warm beside khal listing the same 42 days. Prints the medians, the
# ratio to khal and the peak memory of each scale.
#
#   bench/run.sh [REPETITIONS]     (default 7)
#
# GEN_VDIR names the data generator (default: ../shared/tools/gen_vdir.py beside the repository);
# BUILD names the build folder (default: build-bench).
set -eu

here=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$here")
build=${BUILD:-$root/build-bench}
generator=${GEN_VDIR:-$root/../shared/tools/gen_vdir.py}
repetitions=${1:-7}

# khal is what the page is compared with; without it only the page is measured.
if ! command -v khal >/dev/null 2>&1; then
    if [ "$(id -u)" = 0 ]; then
        apt-get install -y khal
    elif command -v sudo >/dev/null 2>&1; then
        sudo apt-get install -y khal
    fi
fi

mkdir -p "$build/data" "$build/temp"
for scale in 1 10; do
    if [ ! -f "$build/data/x$scale/manifest.json" ]; then
        python3 "$generator" --out "$build/data/x$scale" --scale "$scale" --force
    fi
done

cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DPLANWARTE_BUILD_BENCH=ON \
    -DPLANWARTE_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" --target month_page_bench -j2

# Berlin time, as the data's zones are written for; the trace and khal's cache go to temp.
export TZ=Europe/Berlin TEMP="$build/temp"
for scale in 1 10; do
    "$build/bin/month_page_bench" --benchmark_repetitions="$repetitions" \
        --benchmark_out="$build/result-x$scale.json" --benchmark_out_format=json \
        "$build/data/x$scale" | tee "$build/result-x$scale.txt"
done

# The page build rests before each task as long as the calendar source asks (the iCalendar
# source asks for no rest); "net" is the time without those pauses, "cpu" the main thread's
# processor time.
python3 - "$build" <<'EOF'
import json, re, sys
build = sys.argv[1]
print()
print("%-6s %-5s %12s %10s %8s %8s %10s %8s %8s" % ("scale", "build", "planwarte ms",
      "pauses ms", "net ms", "cpu ms", "khal ms", "ratio", "net/khal"))
for scale in ("x1", "x10"):
    runs = json.load(open("%s/result-%s.json" % (build, scale)))["benchmarks"]
    medians = {}
    for run in runs:
        # "MonthPage/cold/x1/iterations:1/manual_time" and the like: kind, mode, scale.
        key = "/".join(run.get("run_name", run["name"]).split("/")[:3])
        # A benchmark with a single repetition has no aggregates: its run is its median.
        if run.get("aggregate_name") == "median" or run.get("repetitions", 1) == 1:
            medians[key] = run
    for mode in ("cold", "warm"):
        page = medians.get("MonthPage/%s/%s" % (mode, scale))
        khal = medians.get("KhalList/%s/%s" % (mode, scale))
        if not page:
            continue
        wall, pauses, cpu = page["real_time"], page.get("pauses_ms", 0.0), page["cpu_time"]
        khal_ms = khal["real_time"] if khal else None
        ratio = lambda value: "%.1f%%" % (100.0 * value / khal_ms) if khal_ms else "-"
        print("%-6s %-5s %12.1f %10.1f %8.1f %8.1f %10s %8s %8s" % (
            scale, mode, wall, pauses, wall - pauses, cpu,
            "%.1f" % khal_ms if khal_ms else "-", ratio(wall), ratio(wall - pauses)))
    peak = re.search(r"peak memory.*", open("%s/result-%s.txt" % (build, scale)).read())
    print("       %s" % (peak.group(0) if peak else "peak memory: -"))
EOF
