#!/bin/sh
# Builds the Debian package twice with reprotest and compares the results byte for byte: a
# control build, then one with the variations of Debian's reproducible-builds testing: build
# path, user and group, host and domain name, file order (disorderfs), time (faketime: a clock
# months ahead), locale, time zone, umask, kernel version and personality, number of CPUs,
# environment, home directory and PATH. Both builds leave out the tests (nocheck): they do not
# change what is packaged, and the time is halved.
# Usage: scripts/check-reproducible.sh DIR   (as root: the second build runs as another user)
# DIR receives the source package made from the working tree (committed and uncommitted changes
# to tracked files) and the packages built from it in DIR/results.
set -eu

dir=${1:?usage: $0 DIR}
[ "$(id -u)" -eq 0 ] ||
    { echo "check-reproducible: needs root (another user, host name, file system)" >&2; exit 2; }
repo=$(cd "$(dirname "$0")/.." && pwd)

# The mounts below are private to this namespace and vanish with it.
if [ -z "${QUORVALE_REPRO_NS:-}" ]; then
    QUORVALE_REPRO_NS=1 exec unshare --mount --propagation private "$0" "$@"
fi

# The second build's user, made for this check and removed after it.
builder=quorvale-reprotest
made_builder=""
cleanup() {
    [ -z "$made_builder" ] || userdel "$builder"
}
trap cleanup EXIT
trap 'exit 130' INT TERM HUP
if ! id -u "$builder" >/dev/null 2>&1; then
    useradd --system --user-group --no-create-home --home-dir /nonexistent \
        --shell /usr/sbin/nologin "$builder"
    made_builder=1
fi

# Stand-ins, seen only inside this namespace, in a small file system of its own.
private=$(mktemp -d)
mount -t tmpfs -o size=4m,mode=755 private "$private"
# That user mounts the shuffled file system (disorderfs). Debian's /dev/fuse is open to every
# user; a container's may be root's alone: then a copy open to all takes its place.
if [ "$(stat -c %a /dev/fuse)" != 666 ]; then
    mknod -m 666 "$private/fuse" c 10 229
    mount --bind "$private/fuse" /dev/fuse
fi
# reprotest 0.7.23 (Debian 12) calls sudo with "-h localhost", which sudo 1.9.13 refuses unless
# it lists privileges; then sudo is a wrapper that leaves those two words out.
if ! sudo -h localhost true 2>/dev/null; then
    cp -p /usr/bin/sudo "$private/sudo.real"
    # shellcheck disable=SC2016 # expanded by the wrapper
    printf '#!/bin/sh\n[ "$1 $2" != "-h localhost" ] || shift 2\nexec %s "$@"\n' \
        "$private/sudo.real" >"$private/sudo"
    chmod 755 "$private/sudo"
    mount --bind "$private/sudo" /usr/bin/sudo
fi

rm -rf "$dir"
mkdir -p "$dir/quorvale"
dir=$(cd "$dir" && pwd)
tree=$(git -C "$repo" stash create)
git -C "$repo" archive "${tree:-HEAD}" | tar -x -C "$dir/quorvale"
(cd "$dir" && dpkg-source --build quorvale >/dev/null)
dsc=$(cd "$dir" && ls quorvale_*.dsc)

# reprotest's variations are all on by default; the user and the host name need the names of
# another user and leave to use sudo (as root, sudo asks nothing).
cd "$dir"
reprotest --verbosity=1 --store-dir=results \
    --vary=user_group.available+="$builder:$builder",domain_host.use_sudo=1 \
    --auto-preset-expr '_.re_replace.build_command("dpkg-buildpackage",
        "DEB_BUILD_OPTIONS=nocheck dpkg-buildpackage -Pnocheck")' \
    "$dsc" -- null
# reprotest stops with an error and diffoscope's report at any difference; alike, the results
# of the second build are a link to the first's, and their digests are in SHA256SUMS.
echo "Both builds gave:"
cat results/SHA256SUMS
