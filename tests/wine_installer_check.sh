#!/bin/sh
# The Windows installer in a fresh Wine prefix, as a user without administrator rights takes
# it: a silent install into the user's programs folder with a Start-menu shortcut and an Apps &
# features entry; the installed program works on its own DLLs; setup and the registered quiet
# uninstall refuse with status 2 while the program runs; a later install replaces the earlier
# one and keeps its desktop shortcut and folder; the quiet uninstall leaves no file, shortcut or
# registry entry of Quorvale behind; a folder the user picked that holds their files gets a
# Quorvale folder of its own; a file that cannot be written fails a silent install.
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
# Runs a command line exactly as the registry holds it, from a batch file: cmd waits for the
# program and passes on its exit status.
run_registered() {
    printf '@%s\r\n@exit /b %%errorlevel%%\r\n' "$1" >"$WINEPREFIX/drive_c/registered.cmd"
    wine cmd /c 'C:\registered.cmd'
    set -- $?
    rm -f "$WINEPREFIX/drive_c/registered.cmd"
    return "$1"
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

# Setup and the registered quiet uninstall while the program runs: refused with status 2 before
# anything is touched.
uninstall=$(value QuietUninstallString)
wine "$folder/quorvale.exe" >/dev/null 2>&1 &
program_pid=$!
window=$(timeout 30 xdotool search --sync --onlyvisible --name '^Quorvale - ' | head -n 1)
[ -n "$window" ] || fail "the installed program opens no window"
before=$(ls -l --time-style=full-iso "$folder")
wine "$setup" /S
status=$?
[ "$status" -eq 2 ] || fail "setup /S ended with status $status while Quorvale was running"
run_registered "$uninstall"
status=$?
[ "$status" -eq 2 ] || fail "the quiet uninstall ($uninstall) ended with status $status while Quorvale was running"
[ "$(ls -l --time-style=full-iso "$folder")" = "$before" ] || fail "the folder changed while Quorvale was running"
# The program's lock file, in the user's local application data, named with the logon session.
lock=$(ls "${folder%/AppData/*}"/AppData/Local/Quorvale/quorvale-*.lock 2>/dev/null)
[ -f "$lock" ] || fail "no lock file in AppData\\Local\\Quorvale"
# Alt+X once the window has the focus, which takes a moment without a window manager.
for _ in $(seq 20); do
    xdotool windowfocus "$window" 2>/dev/null && sleep 0.5 && xdotool key alt+x
    sleep 1
    kill -0 "$program_pid" 2>/dev/null || break
done
kill -0 "$program_pid" 2>/dev/null && fail "Alt+X does not end the installed program"
wait "$program_pid"
program_pid=""
step "setup /S and the quiet uninstall while Quorvale runs end with status 2 and leave the folder as it was"

# A user who chose the desktop shortcut keeps it through every later silent install: first
# from an install that recorded no choice (1.0.4), where the shortcut itself tells, then from
# the choice recorded.
desktop=${folder%/AppData/*}/Desktop
cp "$shortcut" "$desktop/Quorvale.lnk"
wine reg delete "$key" /v DesktopShortcut /f >/dev/null 2>&1
for _ in 1 2; do
    wine "$setup" /S
    status=$?
    [ "$status" -eq 0 ] || fail "setup /S over the installed version ended with status $status"
    [ -f "$folder/quorvale.exe" ] || fail "quorvale.exe is gone after installing again"
    [ -f "$desktop/Quorvale.lnk" ] || fail "installing again lost the desktop shortcut"
done
step "setup /S over the installed version replaces it and keeps its desktop shortcut"

# The quiet uninstall, run exactly as registered. The copy it leaves in the temporary folder
# removes the uninstaller's own file and the folder once it has ended.
run_registered "$uninstall"
status=$?
[ "$status" -eq 0 ] || fail "the quiet uninstall ($uninstall) ended with status $status"
wineserver -w
left=$(traces)
[ -z "$left" ] || fail "left behind after the uninstall:
$left"
step "the quiet uninstall ($uninstall) leaves nothing of Quorvale in the prefix"

# A folder the user picked that holds their files: the program goes into a Quorvale folder of
# its own there, and a later install keeps that folder.
tools=$WINEPREFIX/drive_c/Tools
mkdir -p "$tools"
head -c 8M /dev/zero >"$tools/notes.txt"
for option in '/D=C:\Tools' ''; do
    # shellcheck disable=SC2086 # no option the second time
    wine "$setup" /S $option
    status=$?
    [ "$status" -eq 0 ] || fail "setup /S $option ended with status $status"
    [ -f "$tools/Quorvale/quorvale.exe" ] || fail "setup /S $option put no quorvale.exe into C:\\Tools\\Quorvale"
    [ "$(ls "$tools")" = "$(printf 'Quorvale\nnotes.txt')" ] || fail "setup /S $option wrote into C:\\Tools: $(ls "$tools")"
    [ "$(value InstallLocation)" = 'C:\Tools\Quorvale' ] || fail "InstallLocation is $(value InstallLocation)"
done
# The size in Apps & features is the program's own, within 10 % of what the folder holds.
size=$(($(value EstimatedSize)))
actual=$(du -sk --apparent-size "$tools/Quorvale" | cut -f1)
if [ $((size * 10)) -le $((actual * 9)) ] || [ $((size * 10)) -ge $((actual * 11)) ]; then
    fail "EstimatedSize is $size KiB, the program's folder $actual KiB"
fi
step "setup /S /D=C:\\Tools installs into C:\\Tools\\Quorvale ($size KiB), and again without /D"

# The uninstaller removes the lock file only when it is the program's own empty, plain file: a
# link at its place to a file of the user's stays, and so does that file (Wine shows such a link
# as the file it points to); so does everything of the user's around the program's folder.
mkdir -p "$(dirname "$lock")"
ln -s ../../../../../Tools/notes.txt "$lock"
run_registered "$(value QuietUninstallString)"
status=$?
[ "$status" -eq 0 ] || fail "the quiet uninstall from C:\\Tools\\Quorvale ended with status $status"
wineserver -w
[ -L "$lock" ] || fail "the uninstall removed a link at the lock file's place"
[ "$(ls "$tools")" = notes.txt ] || fail "after the uninstall C:\\Tools holds: $(ls "$tools")"
[ "$(wc -c <"$tools/notes.txt")" -eq 8388608 ] || fail "the user's notes.txt changed"
rm "$lock"
rmdir "$(dirname "$lock")"
step "the quiet uninstall from C:\\Tools\\Quorvale leaves the user's files and a link at the lock's place"

# A file that cannot be written (here a folder stands at its place) fails a silent install
# over an earlier one, after that one's uninstaller ran: never status 0, nor 2 (running).
wine "$setup" /S '/D=C:\Tools' || fail "setup /S /D=C:\\Tools failed"
rm "$tools/Quorvale/Qt6Core.dll"
mkdir "$tools/Quorvale/Qt6Core.dll"
wine "$setup" /S
status=$?
case $status in
0 | 2) fail "setup /S ended with status $status when it could not write Qt6Core.dll" ;;
esac
step "setup /S that cannot write a file ends with status $status"
