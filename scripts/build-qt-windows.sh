#!/bin/sh
# Builds Qt for 64-bit Windows (mingw-w64, posix threads, shared libraries) from the qt6-base
# source package of Debian 13, inside the Windows build environment (scripts/windows-env.sh),
# and installs it into the cache. Only what the program and its tests load: Core, Gui, Widgets,
# Test, the windows, offscreen and minimal platform plugins and the Windows styles.
# Prints the installed Qt's folder, and nothing else, on standard output. A warm cache returns
# at once; a cold one takes about 40 minutes on two cores. The build folder is kept after a
# failure, so a second run goes on where the first stopped.
set -eu

repo=$(cd "$(dirname "$0")/.." && pwd)
if [ -z "${QUORVALE_IN_WINDOWS_ENV:-}" ]; then
    exec "$repo/scripts/windows-env.sh" "$repo/scripts/build-qt-windows.sh" "$@"
fi

cache=$QUORVALE_CACHE
toolchain=$repo/cmake/mingw-w64.cmake
source_version=$(apt-cache showsrc qt6-base | sed -n 's/^Version: //p' | sort -V | tail -n 1)
compiler=$(x86_64-w64-mingw32-g++-posix -dumpfullversion)
# Debian splits Qt's host layout, hence the second host path below. Wintab's headers are not in
# Debian's source, so no tablet events. Image formats but PNG and XPM, printing, SQL, network
# and XML are not used by the program.
configure_options="-release -shared -xplatform win32-g++ -qt-host-path /usr
    -nomake examples -nomake tests -no-opengl -no-dbus -no-feature-sql -no-feature-network
    -no-feature-concurrent -no-feature-printsupport -no-feature-xml -no-feature-vulkan
    -no-feature-tabletevent -no-gif -no-ico -no-libjpeg -no-feature-imageformat_ppm
    -no-feature-imageformat_xbm -no-feature-pdf -no-feature-textodfwriter
    -no-feature-testlib_selfcover -no-feature-sessionmanager"
# Everything that changes the result: the options, the toolchain, the source version and the
# compiler.
key=$( (echo $configure_options; cat "$toolchain"; echo "$source_version $compiler") |
    sha256sum | cut -c1-12)
prefix=$cache/qt-windows-$source_version-$key
if [ ! -e "$prefix/.complete" ]; then
    # One build of a key at a time: a second build waits for the first and takes its result.
    . "$repo/scripts/lib/chroot.sh"
    hold_lock 7 "$cache/qt-windows-$key.lock" "another build of Qt for Windows ($key) to end"
fi
if [ -e "$prefix/.complete" ]; then
    echo "$prefix"
    exit 0
fi

work=$cache/qt-windows-build-$key
mkdir -p "$work"
cd "$work"
if [ ! -d src ]; then
    echo "build-qt-windows: fetching qt6-base $source_version from Debian" >&2
    rm -rf fetch && mkdir fetch
    (cd fetch && apt-get source -qq "qt6-base=$source_version") >fetch.log 2>&1 || {
        cat fetch.log >&2
        echo "build-qt-windows: Debian's archive did not give qt6-base $source_version, the" \
            "newest version the build environment's package lists name. If the archive no" \
            "longer serves it, refresh the lists: remove $cache/env-trixie/.updated and build" \
            "again (the environment is then updated first)." >&2
        exit 1
    }
    mv fetch/qt6-base-*/ src
    rm -rf fetch
fi

cp "$toolchain" mingw-w64.cmake
if [ ! -e build/build.ninja ]; then
    echo "build-qt-windows: configuring" >&2
    rm -rf build && mkdir build
    # shellcheck disable=SC2086
    (cd build && ../src/configure -prefix "$prefix" $configure_options \
        -- -G Ninja -DCMAKE_TOOLCHAIN_FILE="$work/mingw-w64.cmake" \
        -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake) >configure.log 2>&1 || {
        tail -n 30 configure.log >&2
        exit 1
    }
fi
echo "build-qt-windows: building (about 40 minutes on two cores; log in $work/build.log)" >&2
cmake --build build --parallel "$(nproc)" >build.log 2>&1 || {
    grep -m 5 -B 2 -A 10 'error:\|FAILED' build.log >&2 || tail -n 30 build.log >&2
    exit 1
}
# Marked complete last, so an interrupted install is done again. Programs built with this Qt
# name the toolchain themselves (QT_CHAINLOAD_TOOLCHAIN_FILE): the one configured here is gone.
rm -rf "$prefix"
cmake --install build >install.log 2>&1
find "$prefix" -name '*.dll' -exec x86_64-w64-mingw32-strip --strip-unneeded {} +
touch "$prefix/.complete"
cd "$cache" && rm -rf "$work"
echo "$prefix"
