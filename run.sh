#!/bin/sh
# Installs what is missing, builds, and starts Planwarte on the bundled demo data.
# For now the program renders its calendar page as text (see README: "What runs so far").
set -eu
cd "$(dirname "$0")"
scripts/install-deps.sh
scripts/build.sh build

demo="$(pwd)/build/demo"
mkdir -p "$demo/temp"
export PLANWARTE_SETTINGS="${PLANWARTE_SETTINGS:-$demo/settings.reg}"
# The demo starts from the bundled settings (month view); later changes stay in the copy.
[ -f "$PLANWARTE_SETTINGS" ] || cp demo/settings.reg "$PLANWARTE_SETTINGS"
export TEMP="${TEMP:-$demo/temp}"

echo "== planwarte --render $*  (settings: $PLANWARTE_SETTINGS)"
status=0
build/bin/planwarte --render -o "$demo/calendar.htm" "$@" || status=$?
echo "== exit code $status"
echo "== page: $demo/calendar.htm ($(wc -c < "$demo/calendar.htm" 2>/dev/null || echo 0) bytes)"
echo "== settings file:"
cat "$PLANWARTE_SETTINGS" 2>/dev/null || echo "(none)"
echo "== trace log $TEMP/planwartedebug.log:"
cat "$TEMP/planwartedebug.log" 2>/dev/null || echo "(none)"
exit "$status"
