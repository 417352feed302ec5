# shellcheck shell=sh
# What the scripts that work in a Debian chroot of their own share (the Windows build environment,
# the fresh-Debian check). Sourced; each caller runs in a mount namespace of its own, so these
# mounts end with it.

# chroot_mount ROOT: the kernel's file systems and the devices that apt, compilers and X use.
chroot_mount() {
    mount -t proc proc "$1/proc" &&
        mount -t sysfs sysfs "$1/sys" &&
        mount --bind /dev "$1/dev" &&
        mount --bind /dev/pts "$1/dev/pts" &&
        mount -t tmpfs shm "$1/dev/shm"
}

# chroot_no_services ROOT: packages installed inside start no service.
chroot_no_services() {
    printf '#!/bin/sh\nexit 101\n' >"$1/usr/sbin/policy-rc.d" &&
        chmod 755 "$1/usr/sbin/policy-rc.d"
}

# hold_lock FD FILE WHAT: an exclusive lock on FILE through descriptor FD (7 to 9) for as long as
# the shell keeps it open; when another process holds it, says what is awaited and waits.
hold_lock() {
    eval "exec $1>\"\$2\""
    flock -n "$1" && return 0
    echo "$(basename "$0"): waiting for $3" >&2
    flock "$1"
}
