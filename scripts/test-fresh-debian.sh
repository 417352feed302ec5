#!/bin/sh
# Checks the README's two commands on a fresh Debian, as a new user would: debootstrap makes a
# minimal system of the release, a desktop's user with git and sudo clones the current commit
# there and runs the first command against a virtual X server until the window is up (then
# closes it by its Exit button), then the second. One line per step; exit 0 only when all pass.
# Usage: sudo scripts/test-fresh-debian.sh bookworm|trixie   (takes several minutes)
# DEBIAN_MIRROR chooses the mirror; the log goes to $TMPDIR (else /var/tmp).
# Everything it mounts lives in a mount namespace of its own, so no mount outlives it; the
# system it made is deleted at the end, also when a step fails or it is interrupted.
# With "package", the user runs `scripts/install-deps.sh package && make package` instead (the
# Debian package, lintian-clean or failing), and the last step prints the release's hardening
# features and hardening-check's verdict on the packaged program. With "arm64", the user runs
# `make package-arm64 && make test-arm64` after installing their packages.
set -eu

release=${1:-}
mode=${2:-readme}
case $release/$mode in
bookworm/readme | trixie/readme | bookworm/package | trixie/package) ;;
bookworm/arm64 | trixie/arm64) ;;
*) echo "usage: $0 bookworm|trixie [package|arm64]" >&2; exit 2 ;;
esac
[ "$(id -u)" -eq 0 ] || { echo "test-fresh-debian: needs root (debootstrap, chroot)" >&2; exit 2; }
repo=$(cd "$(dirname "$0")/.." && pwd)
. "$repo/scripts/lib/chroot.sh"

# The mounts below are private to this namespace and vanish with it, whatever happens.
if [ -z "${QUORVALE_FRESH_NS:-}" ]; then
    QUORVALE_FRESH_NS=1 exec unshare --mount --propagation private "$0" "$@"
fi

mirror=${DEBIAN_MIRROR:-http://deb.debian.org/debian}
user=newuser
log=${TMPDIR:-/var/tmp}/quorvale-fresh-$release-$mode.log
checked="the README's commands"
[ "$mode" = package ] && checked="make package"
[ "$mode" = arm64 ] && checked="make package-arm64 and make test-arm64"
: >"$log"
began=$(date +%s)
work=""
root=""
xvfb=""

# The README's opening code block: the first line builds and starts, the second tests.
readme_command() {
    awk '/^```/ { block++; next } block == 1' "$repo/README.md" | sed -n "$1p" |
        sed 's/[[:space:]]*#.*//'
}
run_command=$(readme_command 1)
test_command=$(readme_command 2)

# TMPDIR names a directory of the host, not of the new system.
in_root() { chroot "$root" env -u TMPDIR "$@"; }
# Runs a shell command as the user in the home directory, with what a desktop's terminal has.
as_user() {
    chroot "$root" runuser -u "$user" -- env -i HOME="/home/$user" USER="$user" \
        LOGNAME="$user" SHELL=/bin/bash PATH=/usr/local/bin:/usr/bin:/bin LANG=C.UTF-8 \
        DISPLAY=":$display" XDG_RUNTIME_DIR="/run/user/$uid" \
        sh -c "cd && $1"
}

cleanup() {
    status=$?
    trap - EXIT INT TERM HUP
    set +e
    if [ -n "$root" ]; then
        # Whatever still runs inside the system it made (a build, the program).
        for p in /proc/[0-9]*; do
            [ "$(readlink "$p/root" 2>/dev/null)" = "$root" ] && kill -9 "${p#/proc/}" 2>/dev/null
        done
        for m in dev/shm dev/pts dev sys proc; do
            ! mountpoint -q "$root/$m" || umount "$root/$m" || umount -l "$root/$m"
        done
    fi
    [ -z "$xvfb" ] || kill "$xvfb" 2>/dev/null || true
    if [ -n "$work" ]; then
        if grep -q " $work/" /proc/self/mounts; then
            echo "test-fresh-debian: something is still mounted under $work; left in place" >&2
        else
            rm -rf --one-file-system "$work"
        fi
    fi
    exit "$status"
}
trap cleanup EXIT
trap 'echo; echo "FAIL: interrupted"; exit 130' INT TERM HUP

elapsed() { echo $(($(date +%s) - $1)); }
fail() {
    echo "FAILED ($(elapsed "$t0") s)"
    echo "--- last lines of $log:"
    tail -n 25 "$log"
    echo "FAIL: $checked on a fresh Debian $release, after $(elapsed "$began") s"
    exit 1
}
# step "what" command...: one line, the command's output in the log. The shell does not stop
# at a failure inside the command there, so the functions below chain their parts with &&.
step() {
    t0=$(date +%s)
    printf '%-58s ' "$1"
    shift
    echo "=== $*" >>"$log"
    if "$@" >>"$log" 2>&1; then echo "ok ($(elapsed "$t0") s)"; else fail; fi
}

echo "Fresh Debian $release, commit $(git -C "$repo" rev-parse --short HEAD)" \
    "(uncommitted changes are not part of it); log in $log"

host_tools() {
    missing=""
    command -v debootstrap >/dev/null || missing="$missing debootstrap"
    command -v Xvfb >/dev/null || missing="$missing xvfb"
    command -v xdotool >/dev/null || missing="$missing xdotool"
    [ -z "$missing" ] && return 0
    # shellcheck disable=SC2086
    apt-get update -qq && apt-get install -y -qq --no-install-recommends $missing
}
step "host: debootstrap, Xvfb and xdotool" host_tools

work=$(mktemp -d "${TMPDIR:-/var/tmp}/quorvale-fresh-$release.XXXXXX")
root=$work/root
step "debootstrap --variant=minbase $release" \
    debootstrap --variant=minbase "$release" "$root" "$mirror"

mount_system() {
    chroot_mount "$root" && chroot_no_services "$root" &&
        # The installer names the host in /etc/hosts; sudo looks for it there.
        printf '127.0.0.1\tlocalhost\n127.0.1.1\t%s\n' "$(hostname)" >"$root/etc/hosts"
}
step "/proc, /sys and /dev mounted, no services, host name" mount_system

# A desktop installed without a root password: the first user may use sudo. sudo asks for the
# user's password there; here nobody could type it.
make_user() {
    in_root apt-get update -qq &&
        DEBIAN_FRONTEND=noninteractive in_root apt-get install -y -qq git sudo &&
        in_root useradd --create-home --shell /bin/bash --groups sudo "$user" &&
        echo "$user ALL=(ALL:ALL) NOPASSWD: ALL" >"$root/etc/sudoers.d/$user" &&
        uid=$(in_root id -u "$user") &&
        install -d -m 700 -o "$uid" -g "$uid" "$root/run/user/$uid"
}
step "git and sudo, a user in group sudo" make_user

git -C "$repo" bundle create "$root/tmp/quorvale.bundle" HEAD >>"$log" 2>&1
chmod 644 "$root/tmp/quorvale.bundle"
display=""
step "git clone of the commit, as the user" as_user "git clone -q /tmp/quorvale.bundle quorvale"

if [ "$mode" = arm64 ]; then
    for command in "scripts/install-deps.sh package arm64" "make package-arm64" "make test-arm64"; do
        step "$command" as_user "cd quorvale && $command"
    done
    echo "PASS: $checked on a fresh Debian $release, in $(elapsed "$began") s"
    exit 0
fi
if [ "$mode" = package ]; then
    package_command="scripts/install-deps.sh package && make package"
    step "$package_command" as_user "cd quorvale && $package_command"
    # What this release's dpkg turns on by default, the flags the program was compiled with
    # (debian/rules adds to them), and what hardening-check finds in the packaged program.
    # shellcheck disable=SC2317 # run by step
    hardening() {
        DEBIAN_FRONTEND=noninteractive in_root apt-get install -y -qq --no-install-recommends \
            devscripts >/dev/null &&
            deb=$(cd "$root" && ls home/"$user"/quorvale/build/package/quorvale_*.deb) &&
            in_root dpkg-deb -x "/$deb" /tmp/installed && {
            # shellcheck disable=SC2016 # a dpkg-query format
            echo "dpkg $(in_root dpkg-query -W -f='${Version}' dpkg), default hardening:" \
                "$(in_root dpkg-buildflags --query-features hardening |
                    awk '/^Feature/ { f = $2 } /^Enabled: yes/ { printf "%s ", f }')"
            grep -o -- ' -g -O2 .* -c [^ ]*main\.cpp' "$log" | head -n 1 | sed 's/^/compiled:/'
            (cd "$root" && sha256sum "$deb")
            # Its verdict is reported, not judged here: it fails the program for any one
            # feature missing, and Debian 12 builds none with control-flow protection.
            in_root hardening-check /tmp/installed/usr/bin/quorvale || true
        } >"$work/hardening" 2>&1
    }
    step "hardening-check of the packaged program" hardening
    cat "$work/hardening"
    echo "PASS: $checked on a fresh Debian $release, in $(elapsed "$began") s"
    exit 0
fi

start_xvfb() {
    Xvfb -displayfd 3 -nolisten tcp -screen 0 1024x768x24 3>"$work/display" >>"$log" 2>&1 &
    xvfb=$!
    for _ in $(seq 50); do
        display=$(cat "$work/display")
        [ -n "$display" ] && return 0
        sleep 0.2
    done
    return 1
}
step "virtual X server" start_xvfb

# The first command builds for minutes before the window comes up.
window() { DISPLAY=":$display" xdotool search --name '^Quorvale - ' 2>/dev/null | head -n 1; }
t0=$(date +%s)
printf '%-58s ' "$run_command"
echo "=== $run_command" >>"$log"
as_user "cd quorvale && $run_command" >>"$log" 2>&1 &
run_pid=$!
wid=""
while [ -z "$wid" ] && kill -0 "$run_pid" 2>/dev/null && [ "$(elapsed "$t0")" -lt 3600 ]; do
    sleep 2
    wid=$(window)
done
[ -n "$wid" ] || fail
echo "window up ($(elapsed "$t0") s)"

close_window() {
    # Typed as a keyboard types (XTEST): the program ends as Alt+X goes down, and an event sent
    # to its window for the key's release would find the window gone.
    DISPLAY=":$display" xdotool windowfocus --sync "$wid" key alt+x || return 1
    for _ in $(seq 50); do
        kill -0 "$run_pid" 2>/dev/null || break
        sleep 0.2
    done
    ! kill -0 "$run_pid" 2>/dev/null && wait "$run_pid"
}
step "closed by its Exit button, ended with status 0" close_window

step "$test_command" as_user "cd quorvale && $test_command"
echo "PASS: the README's commands on a fresh Debian $release, in $(elapsed "$began") s"
