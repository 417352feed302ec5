#!/bin/sh
# Installs the Debian packages that building, running and testing Quorvale need; with the
# argument "bench", also those of the benchmarks (make bench).
# Idempotent: returns at once when everything is there.
set -eu

PACKAGES="cmake make g++ qt6-base-dev qt6-base-dev-tools libgl-dev fonts-dejavu-core"
# Google Benchmark; XCB and a virtual X server for timing the start-up until the window is mapped.
BENCH_PACKAGES="libbenchmark-dev libxcb1-dev pkgconf xvfb xauth"

case "${1:-}" in
"") ;;
bench) PACKAGES="$PACKAGES $BENCH_PACKAGES" ;;
*)
    echo "usage: $0 [bench]" >&2
    exit 2
    ;;
esac

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
