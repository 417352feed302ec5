#!/bin/sh
# Runs a command inside the Windows build environment: a minimal Debian 13 made by debootstrap
# that holds mingw-w64, Qt's host tools, Wine and NSIS, all from Debian's archive. The repository
# and the cache appear inside at the same paths as outside, so build trees work from both sides.
# Usage: scripts/windows-env.sh COMMAND [ARG...]   (as root: debootstrap, chroot and mounts)
# The environment is made once and kept in the cache ($QUORVALE_CACHE, else
# ~/.cache/quorvale); packages added to the list below are installed on the next use.
# Mounts live in a mount namespace of their own, so none outlives the command.
set -eu

release=trixie
# Cross compilers (posix threads) and their tools; Qt's host tools of the same version as the
# Windows Qt; Debian's source tools for Qt's source; Wine on a virtual X server for the tests;
# NSIS and zip for the installer and the portable folder.
PACKAGES="ca-certificates dpkg-dev cmake ninja-build file zstd
    g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
    mingw-w64-x86-64-dev qt6-base-dev qt6-base-dev-tools g++ librsvg2-bin
    wine wine64 xvfb xauth xdotool xclip x11-utils procps icoutils nsis zip unzip"

[ "$(id -u)" -eq 0 ] || { echo "windows-env: needs root (debootstrap, chroot, mounts)" >&2; exit 2; }
[ $# -gt 0 ] || { echo "usage: $0 COMMAND [ARG...]" >&2; exit 2; }

cache=${QUORVALE_CACHE:-${XDG_CACHE_HOME:-${HOME:-/root}/.cache}/quorvale}
repo=$(cd "$(dirname "$0")/.." && pwd)
root=$cache/env-$release
mirror=${DEBIAN_MIRROR:-http://deb.debian.org/debian}

if [ -z "${QUORVALE_WINDOWS_NS:-}" ]; then
    mkdir -p "$cache"
    QUORVALE_WINDOWS_NS=1 exec unshare --mount --propagation private "$0" "$@"
fi

# One command at a time makes or changes the environment.
exec 9>"$cache/env-$release.lock"
flock 9
# A half-made environment (an interrupted debootstrap) is made again from scratch.
if [ ! -e "$root/.ready" ]; then
    echo "windows-env: making the Debian $release build environment in $root (a few minutes)" >&2
    rm -rf --one-file-system "$root"
    command -v debootstrap >/dev/null || {
        apt-get update -qq && apt-get install -y -qq --no-install-recommends debootstrap >&2
    }
    debootstrap --variant=minbase "$release" "$root" "$mirror" >"$cache/debootstrap.log" 2>&1 || {
        tail -n 20 "$cache/debootstrap.log" >&2
        exit 1
    }
    # Qt's source comes from the same archive, security fixes included.
    cat >"$root/etc/apt/sources.list" <<SOURCES
deb $mirror $release main
deb-src $mirror $release main
deb $mirror $release-updates main
deb-src $mirror $release-updates main
deb ${mirror%/debian}/debian-security $release-security main
deb-src ${mirror%/debian}/debian-security $release-security main
SOURCES
    printf '#!/bin/sh\nexit 101\n' >"$root/usr/sbin/policy-rc.d"
    chmod 755 "$root/usr/sbin/policy-rc.d"
    touch "$root/.ready"
fi
# shellcheck disable=SC2086
if [ "$(cat "$root/.packages" 2>/dev/null)" != "$(echo $PACKAGES)" ]; then
    echo "windows-env: installing the build environment's packages (log in $cache/env-install.log)" >&2
    mount -t proc proc "$root/proc"
    { chroot "$root" apt-get update -qq &&
        DEBIAN_FRONTEND=noninteractive chroot "$root" \
            apt-get install -y -qq --no-install-recommends $PACKAGES &&
        chroot "$root" apt-get clean; } >"$cache/env-install.log" 2>&1 || {
        tail -n 20 "$cache/env-install.log" >&2
        exit 1
    }
    umount "$root/proc"
    echo $PACKAGES >"$root/.packages"
fi
exec 9>&-

mount -t proc proc "$root/proc"
mount -t sysfs sysfs "$root/sys"
mount --bind /dev "$root/dev"
mount --bind /dev/pts "$root/dev/pts"
mount -t tmpfs shm "$root/dev/shm"
mount -t tmpfs tmp "$root/tmp"
# The X server of the caller, for running the program on the current display; otherwise the
# environment's X servers stay apart from the caller's.
if [ -n "${QUORVALE_SHARE_DISPLAY:-}" ] && [ -d /tmp/.X11-unix ]; then
    mkdir -p "$root/tmp/.X11-unix"
    mount --bind /tmp/.X11-unix "$root/tmp/.X11-unix"
fi
for dir in "$repo" "$cache"; do
    mkdir -p "$root$dir"
    mount --bind "$dir" "$root$dir"
done

exec chroot "$root" /usr/bin/env -i PATH=/usr/local/bin:/usr/bin:/bin HOME=/root LANG=C.UTF-8 \
    TERM="${TERM:-dumb}" ${QUORVALE_SHARE_DISPLAY:+DISPLAY=${DISPLAY:-}} \
    QUORVALE_CACHE="$cache" QUORVALE_IN_WINDOWS_ENV=1 ${CI:+CI=$CI} \
    sh -c 'cd "$1" && shift && exec "$@"' sh "$PWD" "$@"
