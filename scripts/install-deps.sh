#!/bin/sh
# Installs the Debian packages that building, running and testing Quorvale need.
# Usage: scripts/install-deps.sh [x11] [fuzz] [tidy] [package] [screenshots] [bench] [a11y]
#   no argument: what `make build`, `make test` and `make test-asan` need (g++ brings the
#   sanitizer runtimes; Xvfb and xdotool drive the real program in the X11 tests). The
#   groups add what those make targets need: fuzz, clang and its libFuzzer runtime; tidy,
#   clang-tidy; package, the .deb tools; screenshots, imagemagick; bench, Google Benchmark;
#   a11y, Orca and the accessibility stack for make test-a11y.
# Idempotent: returns at once when everything is there.
set -eu

# rsvg-convert renders the theme icons; the validators and the X tools are for the tests.
PACKAGES="cmake make g++ qt6-base-dev qt6-base-dev-tools libgl-dev fonts-dejavu-core
    librsvg2-bin desktop-file-utils appstream xvfb xauth xdotool x11-utils"
for group in "$@"; do
    case $group in
    x11) PACKAGES="$PACKAGES xvfb xauth xdotool" ;;
    fuzz) PACKAGES="$PACKAGES clang libclang-rt-14-dev" ;;
    tidy) PACKAGES="$PACKAGES clang-tidy" ;;
    # dpkg-buildpackage and debhelper; lintian checks the result. The list above holds
    # debian/control's Build-Depends, and dpkg-buildpackage names any that is missing.
    package) PACKAGES="$PACKAGES build-essential debhelper lintian git" ;;
    screenshots) PACKAGES="$PACKAGES imagemagick" ;;
    # Google Benchmark; XCB and a virtual X server for timing the start-up until the window is mapped.
    bench) PACKAGES="$PACKAGES libbenchmark-dev libxcb1-dev pkgconf xvfb xauth" ;;
    # Orca on a headless desktop: a session bus, the AT-SPI bus and a window manager;
    # Debian's own python3 reads the accessibility tree.
    a11y) PACKAGES="$PACKAGES orca at-spi2-core python3-pyatspi dbus-daemon openbox procps
        xvfb xauth xdotool" ;;
    *) echo "install-deps: unknown group $group" >&2; exit 2 ;;
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
