#!/bin/sh
# Renders the six views of the demo calendar through the Standard design and takes screenshots
# of them in headless Chromium: at 1024x768 over a light wallpaper, at 1920x1080 over a dark one,
# and the month once more as the window with its frame. The results go to docs/screenshots/.
#
#     scripts/screenshots.sh [BUILD_FOLDER]     (default: build)
#
# Without the window frame the page background is the window's see-through key colour; here a
# style added to each page makes that background transparent over a wallpaper drawn in CSS,
# which is what the desktop shows.
set -eu

root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-"$root/build"}
out="$root/docs/screenshots"

if ! command -v chromium >/dev/null 2>&1; then
    if [ "$(id -u)" -eq 0 ]; then
        as_root=""
    elif command -v sudo >/dev/null 2>&1; then
        as_root="sudo"
    else
        echo "screenshots: chromium is missing and neither root nor sudo is available" >&2
        exit 1
    fi
    echo "screenshots: installing chromium"
    $as_root apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $as_root apt-get install -y -qq --no-install-recommends \
        chromium fonts-dejavu-core
fi

cmake -S "$root" -B "$build" -DPLANWARTE_BUILD_TESTS=ON >/dev/null
cmake --build "$build" -j2 --target render_demo >/dev/null

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$out"

# Flat shapes rather than smooth gradients keep the pictures small.
light_wallpaper='radial-gradient(circle at 12% 18%, #eef3f8 0 22%, rgba(0,0,0,0) 22.2%),
  radial-gradient(circle at 88% 85%, #efe4d2 0 28%, rgba(0,0,0,0) 28.2%), #d6e1ee'
dark_wallpaper='radial-gradient(circle at 18% 22%, #2e2766 0 24%, rgba(0,0,0,0) 24.2%),
  radial-gradient(circle at 84% 80%, #0f4a58 0 30%, rgba(0,0,0,0) 30.2%), #121729'

# Copies a page with its background keyed out over the given wallpaper.
keyed_page() {
    sed "s|<head>|<head><style>html { background: $(printf '%s' "$2" | tr '\n' ' ') fixed; }\
 body { background: transparent !important; }</style>|" "$1" >"$3"
}

shoot() {
    # $1 page, $2 width, $3 height, $4 png
    profile=$(mktemp -d)
    chromium --headless --no-sandbox --disable-gpu --disable-quic --no-first-run \
        --disable-background-networking --disable-component-update --disable-sync \
        --hide-scrollbars --user-data-dir="$profile" --window-size="$2,$3" \
        --screenshot="$4" "file://$1" >/dev/null 2>&1
    rm -rf "$profile"
    echo "screenshots: $4"
}

views="month week xdays today two_weeks three_weeks"
"$build/bin/render_demo" "$root/data" "$work/small" 1024 768 noframe
"$build/bin/render_demo" "$root/data" "$work/large" 1920 1080 noframe
"$build/bin/render_demo" "$root/data" "$work/framed" 1024 768 frame
for view in $views; do
    keyed_page "$work/small/$view.htm" "$light_wallpaper" "$work/small/$view-light.htm"
    shoot "$work/small/$view-light.htm" 1024 768 "$out/$view-1024x768-light.png"
    keyed_page "$work/large/$view.htm" "$dark_wallpaper" "$work/large/$view-dark.htm"
    shoot "$work/large/$view-dark.htm" 1920 1080 "$out/$view-1920x1080-dark.png"
done
shoot "$work/framed/month.htm" 1024 768 "$out/month-1024x768-frame.png"
