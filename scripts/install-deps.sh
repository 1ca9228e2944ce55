#!/bin/sh
# Installs the Debian packages Planwarte needs to build, run and test, only those missing.
# Runs apt-get as root, or through sudo for another user.
set -eu

packages="build-essential cmake pkg-config libgtest-dev libgmock-dev libbenchmark-dev clang-format
          libical-dev libgmime-3.0-dev clang libclang-rt-14-dev
          espeak-ng libespeak-ng-dev libpcaudio-dev
          khal todoman"

missing=""
for package in $packages; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing="$missing $package"
    fi
done

if [ -z "$missing" ]; then
    exit 0
fi

if [ "$(id -u)" -eq 0 ]; then
    as_root=""
elif command -v sudo >/dev/null 2>&1; then
    as_root="sudo"
else
    echo "install-deps: these packages are missing and neither root nor sudo is available:$missing" >&2
    exit 1
fi

echo "install-deps: installing$missing"
$as_root apt-get update -qq
# shellcheck disable=SC2086
DEBIAN_FRONTEND=noninteractive $as_root apt-get install -y -qq --no-install-recommends $missing
