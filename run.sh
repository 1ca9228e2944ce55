#!/bin/sh
# Installs what is missing, builds, and starts Planwarte on the bundled demo data.
# Until the desktop window exists it renders the calendar page, then runs without window,
# speaking through espeak-ng (see README: "What runs so far"); Ctrl+C ends it.
set -eu
cd "$(dirname "$0")"
scripts/install-deps.sh
scripts/build.sh build

demo="$(pwd)/build/demo"
mkdir -p "$demo/temp" "$demo/config"
export PLANWARTE_SETTINGS="${PLANWARTE_SETTINGS:-$demo/settings.reg}"
# The demo starts from the bundled settings (month view); later changes stay in the copy.
[ -f "$PLANWARTE_SETTINGS" ] || cp demo/settings.reg "$PLANWARTE_SETTINGS"
export TEMP="${TEMP:-$demo/temp}"
# The demo calendars, tasks and mail are made here at the first run, dated from that day; a
# configuration folder of its own keeps the user's own khal or todoman setup out of the demo.
export XDG_DATA_HOME="$demo/data"
export XDG_CONFIG_HOME="$demo/config"

echo "== planwarte --list-folders"
build/bin/planwarte --list-folders
echo "== planwarte --render $*  (settings: $PLANWARTE_SETTINGS)"
status=0
build/bin/planwarte --render -o "$demo/calendar.htm" "$@" || status=$?
echo "== exit code $status"
echo "== page: $demo/calendar.htm ($(wc -c < "$demo/calendar.htm" 2>/dev/null || echo 0) bytes)"
if [ "$status" -eq 0 ] && command -v chromium >/dev/null 2>&1; then
    profile=$(mktemp -d)
    chromium --headless --no-sandbox --disable-gpu --no-first-run --hide-scrollbars \
        --user-data-dir="$profile" --window-size=1920,1080 \
        --screenshot="$demo/calendar.png" "file://$demo/calendar.htm" >/dev/null 2>&1 || true
    rm -rf "$profile"
    [ -f "$demo/calendar.png" ] && echo "== picture of the page: $demo/calendar.png"
fi
echo "== demo data: $XDG_DATA_HOME/planwarte/demo"
echo "== trace log $TEMP/planwartedebug.log:"
cat "$TEMP/planwartedebug.log" 2>/dev/null || echo "(none)"
[ "$status" -eq 0 ] || exit "$status"

export PLANWARTE_SPEECH_LOG="$demo/speech.log"
echo "== planwarte --headless: greets, tells the time, today's appointments and new mail,"
echo "   reads reminders, rebuilds $TEMP/calendar.htm on changes; what it says goes to"
echo "   $PLANWARTE_SPEECH_LOG. Ctrl+C ends it."
exec build/bin/planwarte --headless
