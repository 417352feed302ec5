#!/bin/sh
# The Windows installer in a fresh Wine prefix, as a user without administrator rights takes
# it: a silent install into the user's programs folder with a Start-menu shortcut and an Apps &
# features entry; the installed program works on its own DLLs; setup refuses to run while the
# program runs; a second install replaces the first; the silent uninstall from the Apps &
# features entry leaves no file, shortcut or registry entry of Quorvale behind.
# Usage: wine_installer_check.sh SETUP.exe VERSION   (on the X server in DISPLAY)
set -u
setup=$1
version=$2
here=$(cd "$(dirname "$0")" && pwd)

WINEPREFIX=$(mktemp -d)
# winemenubuilder would copy the Start-menu shortcut into this machine's own menus (and the
# registry), which a Windows installer cannot undo: Wine's doing, not the installer's.
export WINEPREFIX WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
unset WINEPATH
program_pid=""
cleanup() {
    [ -z "$program_pid" ] || kill -9 "$program_pid" 2>/dev/null
    wineserver -k 2>/dev/null
    rm -rf "$WINEPREFIX"
}
trap cleanup EXIT
fail() {
    printf "FAIL: %s\n" "$*"
    exit 1
}
step() { printf "ok: %s\n" "$*"; }
key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Quorvale'
# One value of the Apps & features entry, as `reg query` prints it.
# (Wine's reg prints a quote inside a value as \".)
value() {
    wine reg query "$key" /v "$1" 2>/dev/null | tr -d '\r' |
        sed -n "s/^ *$1 *REG_[A-Z_]* *//p" | sed 's/\\"/"/g'
}
# What of Quorvale the prefix holds: files and folders, then registry lines.
traces() {
    find "$WINEPREFIX/drive_c" -iname '*quorvale*'
    grep -il quorvale "$WINEPREFIX"/*.reg
}

wine wineboot --init >/dev/null 2>&1 || fail "wineboot could not make a prefix"
wineserver -w
[ -z "$(traces)" ] || fail "a fresh prefix already names Quorvale"

wine "$setup" /S
status=$?
[ "$status" -eq 0 ] || fail "setup /S ended with status $status"
folder=$(ls -d "$WINEPREFIX"/drive_c/users/*/AppData/Local/Programs/Quorvale 2>/dev/null)
[ -f "$folder/quorvale.exe" ] || fail "no quorvale.exe under AppData\\Local\\Programs\\Quorvale"
shortcut=$(ls "$WINEPREFIX"/drive_c/users/*/AppData/Roaming/Microsoft/Windows/Start\ Menu/Programs/Quorvale.lnk 2>/dev/null)
[ -n "$shortcut" ] || fail "no Start-menu shortcut Quorvale"
! ls "$WINEPREFIX"/drive_c/users/*/Desktop/Quorvale.lnk >/dev/null 2>&1 ||
    fail "a desktop shortcut that nobody asked for"
step "setup /S installs into AppData\\Local\\Programs\\Quorvale with a Start-menu shortcut"

[ "$(value DisplayName)" = Quorvale ] || fail "DisplayName is '$(value DisplayName)'"
[ "$(value DisplayVersion)" = "$version" ] || fail "DisplayVersion is '$(value DisplayVersion)'"
for name in Publisher DisplayIcon EstimatedSize UninstallString QuietUninstallString NoModify NoRepair; do
    [ -n "$(value "$name")" ] || fail "the Apps & features entry has no $name"
done
step "Apps & features entry: Quorvale $(value DisplayVersion) by $(value Publisher), $(($(value EstimatedSize))) KiB"

"$here/wine_program_check.sh" "$folder/quorvale.exe" wine || fail "the installed program"

# Setup while the program runs: refused before anything is touched.
wine "$folder/quorvale.exe" >/dev/null 2>&1 &
program_pid=$!
window=$(timeout 30 xdotool search --sync --onlyvisible --name '^Quorvale - ' | head -n 1)
[ -n "$window" ] || fail "the installed program opens no window"
before=$(ls -l --time-style=full-iso "$folder")
wine "$setup" /S
status=$?
[ "$status" -ne 0 ] || fail "setup /S succeeded while Quorvale was running"
[ "$(ls -l --time-style=full-iso "$folder")" = "$before" ] || fail "setup changed the folder while Quorvale was running"
# Alt+X once the window has the focus, which takes a moment without a window manager.
for _ in $(seq 20); do
    xdotool windowfocus "$window" 2>/dev/null && sleep 0.5 && xdotool key alt+x
    sleep 1
    kill -0 "$program_pid" 2>/dev/null || break
done
kill -0 "$program_pid" 2>/dev/null && fail "Alt+X does not end the installed program"
wait "$program_pid"
program_pid=""
step "setup /S while Quorvale runs ends with status $status and leaves the folder as it was"

wine "$setup" /S
status=$?
[ "$status" -eq 0 ] || fail "setup /S over the installed version ended with status $status"
[ -f "$folder/quorvale.exe" ] || fail "quorvale.exe is gone after installing again"
step "setup /S over the same version replaces it"

uninstall=$(value QuietUninstallString)
# "C:\...\uninstall.exe" /S: the quoted program, then its arguments.
uninstaller=$(printf "%s\n" "$uninstall" | sed -n 's/^"\([^"]*\)".*/\1/p')
[ -n "$uninstaller" ] || fail "QuietUninstallString is not a quoted program: $uninstall"
# shellcheck disable=SC2086 # the arguments as Windows splits them
wine "$uninstaller" ${uninstall#\"$uninstaller\"}
# The uninstaller goes on from a copy of itself in the temporary folder.
wineserver -w
left=$(traces)
[ -z "$left" ] || fail "left behind after the uninstall:
$left"
step "the silent uninstall ($uninstall) leaves nothing of Quorvale in the prefix"
