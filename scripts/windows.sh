#!/bin/sh
# The Windows program, cross-built on Debian and run under Wine, inside the Windows build
# environment (scripts/windows-env.sh) with the Qt that scripts/build-qt-windows.sh made.
# Usage: scripts/windows.sh build | test | run | package
#   build    cross-builds the program and its tests into build/windows/program
#   test     builds, runs every test under Wine on a virtual X server (CTest's summary), then
#            packages and checks the installer in a fresh Wine prefix
#   run      builds, then starts the program under Wine on the current display
#   package  builds the program's folder, the portable zip, the installer (NSIS), the MSI
#            package and the winget manifests (build/windows/winget) in build/windows
# QUORVALE_DOWNLOAD_BASE is the address the winget manifests give the installers under
# (default: the home page's).
set -eu

repo=$(cd "$(dirname "$0")/.." && pwd)
command=${1:-}
case $command in
build | test | run | package) ;;
*) echo "usage: $0 build|test|run|package" >&2; exit 2 ;;
esac
if [ -z "${QUORVALE_IN_WINDOWS_ENV:-}" ]; then
    if [ "$command" = run ]; then
        [ -n "${DISPLAY:-}" ] || { echo "windows: no DISPLAY to run the program on" >&2; exit 1; }
        export QUORVALE_SHARE_DISPLAY=1
    fi
    # Under sudo, what the build wrote into the tree goes back to the user who asked for it, also
    # after a failure or an interruption, so that their own `make clean` can remove it.
    if [ "$(id -u)" -eq 0 ] && [ -n "${SUDO_UID:-}" ] && [ "$SUDO_UID" != 0 ]; then
        give_back() {
            [ ! -d "$repo/build" ] || chown "$SUDO_UID:${SUDO_GID:-$SUDO_UID}" "$repo/build"
            [ ! -d "$repo/build/windows" ] ||
                chown -R "$SUDO_UID:${SUDO_GID:-$SUDO_UID}" "$repo/build/windows"
        }
        trap give_back EXIT
        trap 'exit 130' INT TERM HUP
        "$repo/scripts/windows-env.sh" "$0" "$@"
        exit
    fi
    exec "$repo/scripts/windows-env.sh" "$0" "$@"
fi

out=$repo/build/windows
mkdir -p "$out"
# One Windows build of this tree at a time: a second one (another terminal, CI beside a developer)
# waits instead of removing the first one's files.
. "$repo/scripts/lib/chroot.sh"
hold_lock 8 "$out/.lock" "another Windows build of this tree to end"
QUORVALE_WINDOWS_QT=$("$repo/scripts/build-qt-windows.sh")
export QUORVALE_WINDOWS_QT
# Wine's own prefix for this tree: made on first use (about 10 s), never shared with a user's.
export WINEPREFIX="$out/wine" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"

build() {
    # The helper that the build runs, built for this machine with the environment's own Qt.
    cmake -S "$repo" -B "$out/host" -G Ninja -DCMAKE_BUILD_TYPE=Release >"$out/host.log"
    cmake --build "$out/host" --target quorvale_xpm_to_png >>"$out/host.log"
    cmake -S "$repo" -B "$out/program" -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$QUORVALE_WINDOWS_QT/lib/cmake/Qt6/qt.toolchain.cmake" \
        -DQT_CHAINLOAD_TOOLCHAIN_FILE="$repo/cmake/mingw-w64.cmake" \
        -DQUORVALE_HOST_XPM_TO_PNG="$out/host/resources/quorvale_xpm_to_png" \
        -DCMAKE_CROSSCOMPILING_EMULATOR="$repo/scripts/wine-exec.sh;--qtest" >"$out/configure.log"
    cmake --build "$out/program" --parallel "$(nproc)"
}

# A new prefix goes on setting itself up after wineboot returns; programs started meanwhile had
# their windows never activated, so its wineserver is waited for. The mark is written last: a
# prefix whose making was interrupted has none and is made again. Wine uses only a prefix its
# user owns (one that a sudo build gave back to its user is taken back).
wine_prefix() {
    if [ -e "$WINEPREFIX/.made" ]; then
        [ "$(stat -c %u "$WINEPREFIX")" = "$(id -u)" ] || chown -R "$(id -u):$(id -g)" "$WINEPREFIX"
        return 0
    fi
    echo "windows: making the Wine prefix $WINEPREFIX" >&2
    rm -rf "$WINEPREFIX"
    wine wineboot --init >/dev/null 2>&1
    wineserver -w
    touch "$WINEPREFIX/.made"
}

# The MSI package's tree of the program's folder below INSTALLDIR, for wixl: one component a
# folder (a per-user component's key path is a value under HKCU), each removing its folder.
# Arguments: the folder inside the program's folder ("" for itself), its Directory id and the
# indent; each component's id is appended to $out/msi/refs.
msi_tree() {
    rel=$1 id=$2 indent=$3
    dir=$folder${rel:+/$rel}
    printf '%s<Component Id="c_%s" Guid="*">\n' "$indent" "$id"
    printf '%s  <RegistryValue Root="HKCU" Key="Software\\Quorvale" Name="%s" Type="integer" Value="1" KeyPath="yes" />\n' \
        "$indent" "$id"
    find "$dir" -mindepth 1 -maxdepth 1 -type f -printf '%f\n' | LC_ALL=C sort | while read -r name; do
        printf '%s  <File Id="f_%s" Name="%s" Source="%s" />\n' "$indent" \
            "$(msi_id "${rel:+$rel/}$name")" "$name" "$dir/$name"
    done
    printf '%s  <RemoveFolder Id="rm_%s" On="uninstall" />\n%s</Component>\n' "$indent" "$id" "$indent"
    echo "c_$id" >>"$out/msi/refs"
    find "$dir" -mindepth 1 -maxdepth 1 -type d -printf '%f\n' | LC_ALL=C sort | while read -r name; do
        subid=$(msi_id "${rel:+$rel/}$name")
        printf '%s<Directory Id="d_%s" Name="%s">\n' "$indent" "$subid" "$name"
        (msi_tree "${rel:+$rel/}$name" "$subid" "$indent  ")
        printf '%s</Directory>\n' "$indent"
    done
}
# An MSI identifier made of a path inside the program's folder.
msi_id() { printf '%s' "$1" | tr -c 'A-Za-z0-9_.' _; }

# The MSI package of the program's folder as version $1 into the file $2 (wixl, with GLib's
# warnings fatal: wixl drops an attribute it does not know with a warning only). The product
# code is the version's own (packaging/windows/msi-codes.cmake).
msi() {
    eval "$(cmake -DVERSION="$1" -P "$repo/packaging/windows/msi-codes.cmake")"
    rm -rf "$out/msi"
    mkdir -p "$out/msi"
    { echo '<Include>'; msi_tree "" program "  "; echo '</Include>'; } >"$out/msi/msi-files.wxi"
    { echo '<Include>'; sed 's|.*|  <ComponentRef Id="&" />|' "$out/msi/refs"; echo '</Include>'; } \
        >"$out/msi/msi-refs.wxi"
    G_DEBUG=fatal-warnings wixl -a x64 -I "$out/msi" -o "$2" -D Version="$1" \
        -D ProductCode="$PRODUCT_CODE" -D UpgradeCode="$UPGRADE_CODE" \
        -D Icon="$out/program/packaging/windows/quorvale.ico" \
        -D Actions="$out/program/packaging/windows/msi_actions.dll" \
        -D HomePage=https://quorvale.example/ "$repo/packaging/windows/quorvale.wxs"
}

# The program's folder, the portable zip of it, the installer and the MSI package made from
# it, and the winget manifests of both.
package() {
    version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$out/program/CMakeCache.txt")
    folder=$out/Quorvale
    rm -rf "$folder"
    cmake --install "$out/program" --prefix "$folder" >"$out/install.log"
    # The compiler's run-time DLLs come with their symbols (libstdc++ 25 MB, 2 MB without).
    find "$folder" \( -name '*.exe' -o -name '*.dll' \) -exec x86_64-w64-mingw32-strip --strip-unneeded {} +
    # What the uninstaller removes: every file of the folder, then its folders, deepest first
    # (a folder that holds something of the user's stays).
    (cd "$folder" && find . -type f | sort | sed 's|^\./||; s|/|\\|g; s|.*|    Delete "$INSTDIR\\&"|') \
        >"$out/uninstall-files.nsh"
    (cd "$folder" && find . -mindepth 1 -type d | sort -r | sed 's|^\./||; s|/|\\|g; s|.*|    RMDir "$INSTDIR\\&"|') \
        >"$out/uninstall-dirs.nsh"
    rm -f "$out/Quorvale-$version-portable.zip"
    (cd "$out" && zip -qr "Quorvale-$version-portable.zip" Quorvale)
    eval "$(cmake -DVERSION="$version" -P "$repo/packaging/windows/msi-codes.cmake")"
    makensis -V2 -DVERSION="$version" -DFILE_VERSION="$version.0" -DPROGRAM="$folder" \
        -DUPGRADE_CODE="$UPGRADE_CODE" \
        -DUNFILES="$out/uninstall-files.nsh" -DUNDIRS="$out/uninstall-dirs.nsh" \
        -DICON="$out/program/packaging/windows/quorvale.ico" -DLICENSE="$repo/LICENSE" -DOUTFILE="$out/Quorvale-$version-setup.exe" \
        "$repo/packaging/windows/quorvale.nsi"
    msi "$version" "$out/Quorvale-$version.msi"
    "$repo/packaging/windows/winget-manifests.sh" "$out/winget" "$version" \
        "$out/Quorvale-$version-setup.exe" "$out/Quorvale-$version.msi" "$PRODUCT_CODE" \
        "$UPGRADE_CODE" "${QUORVALE_DOWNLOAD_BASE:-https://quorvale.example/}"
    echo "Portable: build/windows/Quorvale-$version-portable.zip ($(du -k "$out/Quorvale-$version-portable.zip" | cut -f1) KiB)"
    echo "Installer: build/windows/Quorvale-$version-setup.exe ($(du -k "$out/Quorvale-$version-setup.exe" | cut -f1) KiB)"
    echo "MSI package: build/windows/Quorvale-$version.msi ($(du -k "$out/Quorvale-$version.msi" | cut -f1) KiB, product code $PRODUCT_CODE)"
    echo "winget manifests: build/windows/winget ($(ls "$out/winget" | tr '\n' ' '))"
}

build
case $command in
test)
    wine_prefix
    # One virtual X server serves Wine and the tests of the real program. One test at a time:
    # run side by side under Wine, windows now and then missed their activation. (A wineserver
    # kept running across the tests with -p made them hang.)
    xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" \
        ctest --test-dir "$out/program" --output-on-failure --timeout 300
    package
    # An MSI package of the same files as an earlier version, to upgrade from.
    mkdir -p "$out/older"
    msi 1.0.3 "$out/older/Quorvale-1.0.3.msi"
    echo "The installer and the MSI package in a fresh Wine prefix:"
    xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" \
        "$repo/tests/wine_installer_check.sh" "$out/Quorvale-$version-setup.exe" \
        "$out/Quorvale-$version.msi" "$out/older/Quorvale-1.0.3.msi" "$out/winget" "$version"
    ;;
package) package ;;
run)
    wine_prefix
    exec "$repo/scripts/wine-exec.sh" "$out/program/quorvale.exe"
    ;;
esac
