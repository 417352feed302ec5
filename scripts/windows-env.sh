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
# NSIS and zip for the installer and the portable folder; msitools' wixl and msiinfo for the
# MSI package, Python's YAML reader for checking the winget manifests; openbox, a window manager
# for the checks that the keyboard goes where it must with one as without; the locales that the
# tests start the program in.
PACKAGES="ca-certificates dpkg-dev cmake ninja-build file zstd
    g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
    mingw-w64-x86-64-dev qt6-base-dev qt6-base-dev-tools g++ librsvg2-bin
    wine wine64 xvfb xauth xdotool xclip x11-utils procps icoutils nsis zip unzip
    wixl msitools python3-yaml openbox locales"

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

. "$repo/scripts/lib/chroot.sh"

# One command at a time makes or changes the environment.
hold_lock 9 "$cache/env-$release.lock" "another command that makes or updates $root"
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
    chroot_no_services "$root"
    touch "$root/.ready"
fi
chroot_mount "$root"

# apt inside the environment, its output in LOG; on failure the log's end is shown.
apt_in_env() {
    log=$1
    shift
    DEBIAN_FRONTEND=noninteractive chroot "$root" sh -c "$*" >"$log" 2>&1 || {
        tail -n 20 "$log" >&2
        return 1
    }
}
# shellcheck disable=SC2086
if [ "$(cat "$root/.packages" 2>/dev/null)" != "$(echo $PACKAGES)" ]; then
    echo "windows-env: installing the build environment's packages (log in $cache/env-install.log)" >&2
    apt_in_env "$cache/env-install.log" "apt-get update -qq &&
        apt-get install -y -qq --no-install-recommends $(echo $PACKAGES) && apt-get clean" || exit 1
    echo $PACKAGES >"$root/.packages"
    touch "$root/.updated"
fi
# Wine takes the Windows code page from the locale it is started in, and only from an installed
# one: the locales of the tests' sentences (tests/languages.txt) are generated.
locales=$(sed -n 's/^\([a-z]*_[A-Z]*\.UTF-8\)|.*/\1/p' "$repo/tests/languages.txt" | sort | tr '\n' ' ')
if [ "$(cat "$root/.locales" 2>/dev/null)" != "$locales" ]; then
    echo "windows-env: generating the locales $locales(log in $cache/env-locales.log)" >&2
    printf '%s UTF-8\n' $locales >"$root/etc/locale.gen"
    apt_in_env "$cache/env-locales.log" locale-gen || exit 1
    echo "$locales" >"$root/.locales"
fi
# Debian's security and point-release updates reach the environment when it is used: once its
# package lists are a day old they are fetched again and the upgrades installed. Offline, the
# build goes on with what it has and tries again next time. (A newer qt6-base source changes the
# key of Qt for Windows, which is then built again from it: scripts/build-qt-windows.sh.)
[ -e "$root/.updated" ] || touch -r "$root/.packages" "$root/.updated"
if [ -n "$(find "$root/.updated" -mmin +1440)" ]; then
    echo "windows-env: updating the build environment, its package lists are a day old" \
        "(log in $cache/env-update.log)" >&2
    if apt_in_env "$cache/env-update.log" \
        "apt-get update -qq && apt-get upgrade -y -qq && apt-get clean"; then
        touch "$root/.updated"
    else
        echo "windows-env: the update failed; going on with the environment as it is" >&2
    fi
fi
exec 9>&-

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
    ${QUORVALE_DOWNLOAD_BASE:+QUORVALE_DOWNLOAD_BASE=$QUORVALE_DOWNLOAD_BASE} \
    sh -c 'cd "$1" && shift && exec "$@"' sh "$PWD" "$@"
