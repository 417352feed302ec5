#!/bin/sh
# The Windows installer in a fresh Wine prefix, as a user without administrator rights takes
# it: a silent install into the user's programs folder with a Start-menu shortcut and an Apps &
# features entry; the installed program works on its own DLLs; setup and the registered quiet
# uninstall refuse with status 2 while the program runs; a later install replaces the earlier
# one and keeps its desktop shortcut and folder; the quiet uninstall leaves no file, shortcut or
# registry entry of Quorvale behind; a folder the user picked that holds their files gets a
# Quorvale folder of its own; a file that cannot be written fails a silent install.
# Before that, the MSI package's tables and the winget manifests, then the MSI package in the
# same prefix: install, no uninstall under the running program, upgrade, downgrade, uninstall,
# and each of the two installers refusing while the other's installation is there.
# Usage: wine_installer_check.sh SETUP.exe MSI OLDER.msi WINGET_DIR VERSION   (on the X server
# in DISPLAY)
set -u
setup=$1
msi=$2
older=$3
winget=$4
version=$5
here=$(cd "$(dirname "$0")" && pwd)

WINEPREFIX=$(mktemp -d)
# winemenubuilder would copy the Start-menu shortcut into this machine's own menus (and the
# registry), which a Windows installer cannot undo: Wine's doing, not the installer's.
export WINEPREFIX WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
unset WINEPATH
scratch=$(mktemp -d)
program_pid=""
cleanup() {
    [ -z "$program_pid" ] || kill -9 "$program_pid" 2>/dev/null
    wineserver -k 2>/dev/null
    rm -rf "$WINEPREFIX" "$scratch"
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
    wineserver -w
    find "$WINEPREFIX/drive_c" -iname '*quorvale*'
    grep -il quorvale "$WINEPREFIX"/*.reg
}
# msiexec's full exit status (a process's status under Wine keeps the low byte: 1603 reads 67).
msiexec() {
    printf '@msiexec %s\r\n@echo %%errorlevel%%>C:\\status.txt\r\n' "$*" >"$WINEPREFIX/drive_c/run.cmd"
    wine cmd /c 'C:\run.cmd' >/dev/null 2>&1
    tr -d '\r\n ' <"$WINEPREFIX/drive_c/status.txt"
    rm -f "$WINEPREFIX/drive_c/run.cmd" "$WINEPREFIX/drive_c/status.txt"
}
# Runs a command until its message box titled $1 shows, answers it with the key $2, prints the
# box's text (Wine's trace of it) and ends with the command's status (its low byte).
answer_box() {
    title=$1 key=$2
    shift 2
    WINEDEBUG=-all,trace+msgbox "$@" >/dev/null 2>"$scratch/msgbox.log" &
    pid=$!
    window=$(timeout 30 xdotool search --sync --onlyvisible --name "$title" | head -n 1)
    [ -z "$window" ] || xdotool key --window "$window" "$key" 2>/dev/null
    wait "$pid"
    set -- $?
    sed -n 's/.*MSGBOX_OnInit L"\(.*\)"\r*$/\1/p' "$scratch/msgbox.log" | sed 's/\\\\/\\/g'
    return "$1"
}
# The installed program's window, once it is there, and its end by Alt+X.
start_program() {
    wine "$1" >/dev/null 2>&1 &
    program_pid=$!
    window=$(timeout 30 xdotool search --sync --onlyvisible --name '^Quorvale - ' | head -n 1)
    [ -n "$window" ] || fail "the installed program opens no window"
}
# Alt+X once the window has the focus, which takes a moment without a window manager.
end_program() {
    for _ in $(seq 20); do
        xdotool windowfocus "$window" 2>/dev/null && sleep 0.5 && xdotool key alt+x
        sleep 1
        kill -0 "$program_pid" 2>/dev/null || break
    done
    kill -0 "$program_pid" 2>/dev/null && fail "Alt+X does not end the installed program"
    wait "$program_pid"
    program_pid=""
}

# The MSI package's tables, as Windows' validation (not to be had outside Windows) would look at
# them: each component has a key path, one in the user's profile a value under HKCU; each folder
# made in the profile is removed again; the package asks for no elevation (per user).
for table in Directory Component Registry RemoveFile Property; do
    msiinfo export "$msi" "$table" | tail -n +4 | tr -d '\r' >"$scratch/$table"
done
problems=$(cd "$scratch" && awk -F '\t' '
    FILENAME == "Directory" { parent[$1] = $2 } FILENAME == "Registry" { root[$1] = $2 }
    FILENAME == "RemoveFile" && $3 == "" && $5 >= 2 { removed[$4] = 1 }
    FILENAME == "Component" { dir[$1] = $3; attributes[$1] = $4; key[$1] = $6 }
    END {
        split("AppDataFolder LocalAppDataFolder ProgramMenuFolder DesktopFolder", list, " ")
        for (i in list) profile[list[i]] = 1
        for (c in dir) {
            if (key[c] == "") print "component " c " has no key path"
            made = ""
            for (d = dir[c]; d != "" && !(d in profile); d = parent[d]) made = made " " d
            if (d == "") continue
            if (int(attributes[c] / 4) % 2 == 0 || root[key[c]] != 1) print "component " c " has no HKCU key path"
            n = split(made, folders, " ")
            for (i = 1; i <= n; i++) if (!(folders[i] in removed)) print "folder " folders[i] " is never removed"
        }
    }' Directory Registry RemoveFile Component)
[ -z "$problems" ] || fail "the MSI package's tables: $problems"
word_count=$(msiinfo suminfo "$msi" | sed -n 's/^Source: \([0-9]*\).*/\1/p')
[ $((word_count & 8)) -eq 8 ] || fail "the MSI package's summary asks for elevation (word count $word_count)"
! grep -q '^ALLUSERS' "$scratch/Property" || fail "the MSI package sets ALLUSERS"
product_code=$(sed -n 's/^ProductCode\t//p' "$scratch/Property")
[ "$(sed -n 's/^ProductVersion\t//p' "$scratch/Property")" = "$version" ] || fail "the MSI package is not version $version"
step "MSI tables: $(wc -l <"$scratch/Component") components with key paths (HKCU in the profile), folders removed, no elevation"

# The winget manifests, held to winget's manifest schema 1.10.0 where it matters here.
python3 - "$winget" "$version" "$product_code" "$setup" "$msi" <<'EOF' || fail "the winget manifests"
import hashlib, os, re, sys, yaml
folder, version, product_code, *files = sys.argv[1:]
built = {os.path.basename(f): hashlib.sha256(open(f, "rb").read()).hexdigest() for f in files}
required = {"version": ["DefaultLocale"], "installer": ["Installers"],
            "defaultLocale": ["PackageLocale", "Publisher", "PackageName", "License", "ShortDescription"]}
part = r'[^.\s\\/:*?"<>|\x01-\x1f]{1,32}'
manifests = {}
for name in os.listdir(folder):
    m = yaml.safe_load(open(os.path.join(folder, name)))
    assert m["ManifestType"] in required and m["ManifestType"] not in manifests, name
    manifests[m["ManifestType"]] = m
    for field in ["PackageIdentifier", "PackageVersion", "ManifestVersion"] + required[m["ManifestType"]]:
        assert m.get(field) not in (None, ""), f"{name}: no {field}"
    assert re.fullmatch(part + r"(\." + part + "){1,7}", m["PackageIdentifier"]), f"{name}: identifier"
    assert m["PackageVersion"] == version and m["ManifestVersion"] == "1.10.0", f"{name}: versions"
assert len({m["PackageIdentifier"] for m in manifests.values()}) == 1 and len(manifests) == 3
installers = {i["InstallerType"]: i for i in manifests["installer"]["Installers"]}
assert sorted(installers) == ["msi", "nullsoft"], sorted(installers)
for kind, i in installers.items():
    assert i["Architecture"] == "x64" and i["Scope"] == "user", f"{kind}: architecture or scope"
    assert re.fullmatch(r"[Hh][Tt][Tt][Pp][Ss]?://.+", i["InstallerUrl"]), f"{kind}: address"
    assert re.fullmatch(r"[A-Fa-f0-9]{64}", i["InstallerSha256"]), f"{kind}: SHA-256 format"
    file = i["InstallerUrl"].rsplit("/", 1)[1]
    assert built.get(file) == i["InstallerSha256"].lower(), f"{kind}: SHA-256 is not {file}'s"
assert installers["nullsoft"]["ExpectedReturnCodes"] == [
    {"InstallerReturnCode": 2, "ReturnResponse": "packageInUse"}], "nullsoft: return codes"
assert installers["msi"]["ProductCode"] == product_code, "msi: ProductCode"
EOF
step "winget manifests: required fields and formats, scope user, status 2 packageInUse, the files' SHA-256"

wine wineboot --init >/dev/null 2>&1 || fail "wineboot could not make a prefix"
wineserver -w
[ -z "$(traces)" ] || fail "a fresh prefix already names Quorvale"

# The MSI package, silently, for this user: the NSIS installer's files, a Start-menu shortcut,
# an Apps & features entry (Wine's msiexec writes it under HKLM, Windows under HKCU), its icon.
msi_w=$(winepath -w "$msi")
status=$(msiexec /i "\"$msi_w\"" /qn ALLUSERS=1)
[ "$status" = 1603 ] && [ -z "$(traces)" ] || fail "msiexec /i /qn ALLUSERS=1 ended with status $status"
status=$(msiexec /i "\"$msi_w\"" /qn)
[ "$status" = 0 ] || fail "msiexec /i /qn ended with status $status"
folder=$(ls -d "$WINEPREFIX"/drive_c/users/*/AppData/Local/Programs/Quorvale)
profile=${folder%AppData/*}
[ "$(cd "$folder" && find . -type f | LC_ALL=C sort | xargs sha256sum)" = \
    "$(cd "$(dirname "$setup")/Quorvale" && find . -type f | LC_ALL=C sort | xargs sha256sum)" ] ||
    fail "the MSI package installed other files than the program's folder holds"
[ -f "${profile}AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Quorvale.lnk" ] || fail "the MSI package made no Start-menu shortcut"
[ ! -e "${profile}Desktop/Quorvale.lnk" ] || fail "a desktop shortcut that nobody asked for"
entry() { wine reg query "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\$product_code" /v "$1" 2>/dev/null | tr -d '\r' | sed -n "s/^ *$1 *REG_[A-Z_]* *//p"; }
[ "$(entry DisplayName) $(entry DisplayVersion) $(entry Publisher) $(entry URLInfoAbout)" = \
    "Quorvale $version Ansgrove https://quorvale.example/" ] || fail "the MSI package's entry: $(entry DisplayName) $(entry DisplayVersion) $(entry Publisher) $(entry URLInfoAbout)"
[ -s "${profile}AppData/Roaming/Microsoft/Installer/$product_code/quorvale.ico" ] || fail "no icon kept for the entry"
step "msiexec /i /qn installs the program's files into AppData\\Local\\Programs\\Quorvale, a Start-menu shortcut and an entry; ALLUSERS=1 is refused (1603)"
"$here/wine_program_check.sh" "$folder/quorvale.exe" wine || fail "the program installed from the MSI package"

# While the program runs: no uninstall (silently status 1603; with a user interface the user is
# asked, and Cancel gives 1602), and setup refuses while the MSI package's installation is there.
start_program "$folder/quorvale.exe"
before=$(ls -l --time-style=full-iso "$folder")
status=$(msiexec /x "$product_code" /qn)
[ "$status" = 1603 ] || fail "msiexec /x /qn ended with status $status while Quorvale was running"
text=$(answer_box 'Windows Installer' Escape wine msiexec /x "$product_code" /qb)
[ $? -eq $((1602 % 256)) ] && [ "$text" = "Quorvale is running. Close it, then choose Retry." ] ||
    fail "msiexec /x /qb while Quorvale runs, cancelled: '$text'"
[ "$(ls -l --time-style=full-iso "$folder")" = "$before" ] || fail "the folder changed while Quorvale was running"
end_program
wine "$setup" /S
status=$?
[ "$status" -eq 1 ] && [ ! -e "$folder/uninstall.exe" ] || fail "setup /S over the MSI package's installation ended with status $status"
text=$(answer_box 'Quorvale Setup' Return wine "$setup")
[ $? -eq 1 ] && [ "$text" = "Quorvale $version is installed from its MSI package (Quorvale-$version.msi). Uninstall it in Apps & features first, then run this setup again." ] ||
    fail "setup over the MSI package's installation says '$text'"
step "msiexec /x refuses while Quorvale runs (1603, 1602 cancelled), setup refuses the MSI package's installation (1)"

status=$(msiexec /x "$product_code" /qn)
left=$(traces)
[ "$status" = 0 ] && [ -z "$left" ] || fail "msiexec /x /qn ended with status $status, leaving: $left"
step "msiexec /x /qn leaves nothing of Quorvale in the prefix"

# From an older MSI package with the desktop shortcut to this one: one entry, the shortcut kept;
# back to the older one: refused.
older_w=$(winepath -w "$older")
status=$(msiexec /i "\"$older_w\"" /qn ADDLOCAL=Quorvale,DesktopShortcut)
[ "$status" = 0 ] && [ -f "${profile}Desktop/Quorvale.lnk" ] || fail "the older package with its desktop shortcut: status $status"
status=$(msiexec /i "\"$msi_w\"" /qn)
entries=$(wine reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall' /s | grep -c 'DisplayName *REG_SZ *Quorvale.$')
[ "$status" = 0 ] && [ "$entries" -eq 1 ] && [ "$(entry DisplayVersion)" = "$version" ] ||
    fail "the upgrade ended with status $status, $entries entries"
[ -f "${profile}Desktop/Quorvale.lnk" ] || fail "the upgrade lost the desktop shortcut"
text=$(answer_box 'Install Failed' Return wine msiexec /i "$older_w" /qb)
[ $? -eq $((1603 % 256)) ] && [ "$text" = "A newer version of Quorvale is already installed. Uninstall it first to install this one." ] ||
    fail "the downgrade was not refused, saying '$text'"
step "the upgrade from an older MSI package keeps one entry and the desktop shortcut; the downgrade is refused (1603)"
status=$(msiexec /x "$product_code" /qn)
left=$(traces)
[ "$status" = 0 ] && [ -z "$left" ] || fail "msiexec /x /qn after the upgrade ended with status $status, leaving: $left"
# (Wine's msiexec also removed the Desktop folder, empty now; Windows keeps it.)
mkdir -p "${profile}Desktop"

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

# The MSI package refuses while the NSIS installer's installation is there.
text=$(answer_box 'Install Failed' Return wine msiexec /i "$msi_w" /qb)
[ $? -eq $((1603 % 256)) ] && [ "$text" = "Quorvale $version is installed in $(value InstallLocation) by its setup program (Quorvale-$version-setup.exe). Uninstall it in Apps & features first, then install this MSI package." ] ||
    fail "msiexec /i over the setup's installation was not refused, saying '$text'"
step "msiexec /i refuses the setup's installation (1603)"


"$here/wine_program_check.sh" "$folder/quorvale.exe" wine || fail "the installed program"

# Setup and the registered quiet uninstall while the program runs: refused with status 2 before
# anything is touched.
uninstall=$(value QuietUninstallString)
start_program "$folder/quorvale.exe"
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
end_program
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
