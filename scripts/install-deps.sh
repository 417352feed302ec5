#!/bin/sh
# Installs the Debian packages that building, running and testing Quorvale need.
# Usage: scripts/install-deps.sh [x11] [fuzz] [tidy] [package] [autopkgtest] [reprotest]
#                               [screenshots] [bench] [a11y] [soak] [arm64]
#   no argument: what `make run`, `make test` and `make test-asan` need (g++ brings the
#   sanitizer runtimes; Xvfb, xdotool and a session bus drive the real program in the X11
#   tests). The groups add what those make targets need: fuzz, clang and its libFuzzer runtime;
#   tidy, clang-tidy; package, the .deb tools; autopkgtest and reprotest, the tools of
#   make autopkgtest and make check-reproducible; screenshots, imagemagick; bench, Google Benchmark;
#   a11y, Orca and the accessibility stack for make test-a11y; soak, the X tools of make soak;
#   arm64, the cross compiler, Qt's arm64 libraries (multiarch: adds the arm64 architecture to
#   dpkg) and the user-mode emulator for make package-arm64 and make test-arm64.
# Idempotent: returns at once when everything is there. Run by a user, it installs through sudo
# when the user may use it, else through su (asking for root's password) on a terminal.
set -eu

# Foreign architectures that the groups need dpkg to know.
ARCHITECTURES=""

# qt6-wayland lets the program run natively in a Wayland session; rsvg-convert renders the theme
# icons; the validators and the X tools are for the tests.
PACKAGES="cmake make g++ qt6-base-dev qt6-base-dev-tools qt6-wayland libgl-dev fonts-dejavu-core
    librsvg2-bin desktop-file-utils appstream xvfb xauth xdotool xclip x11-utils dbus-daemon"
for group in "$@"; do
    case $group in
    x11) PACKAGES="$PACKAGES xvfb xauth xdotool xclip dbus-daemon" ;;
    fuzz) PACKAGES="$PACKAGES clang libclang-rt-14-dev" ;;
    tidy) PACKAGES="$PACKAGES clang-tidy" ;;
    # dpkg-buildpackage and debhelper; lintian checks the result. The list above holds
    # debian/control's Build-Depends, and dpkg-buildpackage names any that is missing.
    package) PACKAGES="$PACKAGES build-essential debhelper lintian git" ;;
    autopkgtest) PACKAGES="$PACKAGES autopkgtest" ;;
    # reprotest with what its variations use: disorderfs (file order), faketime (time), sudo
    # (another user), locales-all (the other locale); diffoscope names what differs.
    reprotest) PACKAGES="$PACKAGES reprotest disorderfs faketime sudo locales-all diffoscope-minimal" ;;
    screenshots) PACKAGES="$PACKAGES imagemagick" ;;
    # Google Benchmark; XCB and a virtual X server for timing the start-up until the window is mapped.
    bench) PACKAGES="$PACKAGES libbenchmark-dev libxcb1-dev pkgconf xvfb xauth" ;;
    # Orca on a headless desktop: a session bus, the AT-SPI bus and a window manager;
    # Debian's own python3 reads the accessibility tree.
    a11y) PACKAGES="$PACKAGES orca at-spi2-core python3-pyatspi dbus-daemon openbox procps
        x11-utils xvfb xauth xdotool" ;;
    # Debian's own python3 drives the session; xclip reads and offers the clipboard.
    soak) PACKAGES="$PACKAGES python3 xvfb xdotool xclip" ;;
    # Debian's cross-building: the amd64 Qt tools (qt6-base-dev-tools, above) serve the arm64
    # libraries. Debian 13's qemu-user is the static emulator that qemu-user-static was in 12 (a
    # transitional package there). Then what the window check drives the program with, and the
    # benchmarks' arm64 libraries (make bench PRESET=arm64).
    arm64)
        case $(cat /etc/debian_version) in
        12.* | bookworm*) qemu="qemu-user-static" ;;
        *) qemu="qemu-user" ;;
        esac
        PACKAGES="$PACKAGES build-essential debhelper lintian git file crossbuild-essential-arm64
            qt6-base-dev:arm64 qt6-qpa-plugins:arm64 libgl-dev:arm64 $qemu
            xclip at-spi2-core python3-gi gir1.2-atspi-2.0
            libbenchmark-dev:arm64 libxcb1-dev:arm64 pkgconf:arm64"
        ARCHITECTURES="$ARCHITECTURES arm64" ;;
    *) echo "install-deps: unknown group $group" >&2; exit 2 ;;
    esac
done

missing=""
for p in $PACKAGES; do
    case " $missing " in *" $p "*) continue ;; esac
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" ||
        missing="$missing $p"
done
[ -z "$missing" ] && exit 0

if [ "$(id -u)" -ne 0 ]; then
    if command -v sudo >/dev/null 2>&1 &&
        { sudo -n true 2>/dev/null || id -nG | tr ' ' '\n' | grep -qx sudo; }; then
        echo "install-deps: installing with sudo:$missing"
        exec sudo "$0" "$@"
    elif [ -t 0 ]; then
        echo "install-deps: installing as root, su asks for root's password:$missing"
        # shellcheck disable=SC2016 # su's shell expands them
        exec su root -c 'exec "$0" "$@"' "$0" "$@"
    fi
    echo "install-deps: $(id -un) may not use sudo and has no terminal for su;" \
        "as root, run: apt-get install$missing" >&2
    exit 1
fi

echo "install-deps: installing:$missing"
export DEBIAN_FRONTEND=noninteractive
# dpkg refuses to change its architectures while another package manager holds its lock.
for arch in $ARCHITECTURES; do
    waited=0
    until dpkg --print-foreign-architectures | grep -qx "$arch" ||
        dpkg --add-architecture "$arch" 2>/dev/null; do
        [ "$waited" -lt 600 ] || { dpkg --add-architecture "$arch"; exit 1; }
        sleep 10
        waited=$((waited + 10))
    done
done
# At a desktop's first boot its package manager may be busy. apt-get waits for dpkg's lock
# (DPkg::Lock::Timeout) but not for the lock of the package lists, so waiting for that is here.
waited=0
while ! out=$(LC_ALL=C apt-get update -qq 2>&1); do
    case $out in
    *"Could not get lock"*) [ "$waited" -lt 600 ] || break ;;
    *) break ;;
    esac
    [ "$waited" -gt 0 ] ||
        echo "install-deps: another package manager holds the package lists; waiting up to 10 minutes"
    sleep 10
    waited=$((waited + 10))
done
[ -z "$out" ] || echo "$out" >&2
# shellcheck disable=SC2086
apt-get install -y -qq --no-install-recommends -o DPkg::Lock::Timeout=600 $missing
