#!/bin/sh
# Installs the Debian packages that building, running and testing Quorvale need.
# Usage: scripts/install-deps.sh [x11] [fuzz] [tidy]
#   no argument: what `make build`, `make test` and `make test-asan` need (g++ brings the
#   sanitizer runtimes); x11: an X server and xdotool for the test that drives the real
#   program (skipped without them, run by make test-asan); fuzz: clang and its libFuzzer
#   runtime; tidy: clang-tidy.
# Idempotent: returns at once when everything is there.
set -eu

PACKAGES="cmake make g++ qt6-base-dev qt6-base-dev-tools libgl-dev fonts-dejavu-core"
for extra in "$@"; do
    case "$extra" in
    x11) PACKAGES="$PACKAGES xvfb xauth xdotool" ;;
    fuzz) PACKAGES="$PACKAGES clang libclang-rt-14-dev" ;;
    tidy) PACKAGES="$PACKAGES clang-tidy" ;;
    *) echo "install-deps: unknown set: $extra" >&2; exit 2 ;;
    esac
done

missing=""
for p in $PACKAGES; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" ||
        missing="$missing $p"
done
[ -z "$missing" ] && exit 0

echo "Installing:$missing"
if [ "$(id -u)" -eq 0 ]; then
    SUDO=""
elif command -v sudo >/dev/null 2>&1; then
    SUDO="sudo"
else
    echo "install-deps: need root or sudo to install:$missing" >&2
    exit 1
fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
# shellcheck disable=SC2086
$SUDO apt-get install -y -qq --no-install-recommends $missing
