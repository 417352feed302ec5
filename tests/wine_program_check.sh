#!/bin/sh
# The real Windows program under Wine on the X server in DISPLAY: it opens in ASCII to HEX mode,
# converts what is typed, copies "41 42" to the clipboard (Wine shares the X clipboard), refuses
# a second copy with its message box, and opens again once the first copy was killed. Alt+X
# ends it with status 0. Started in each locale of languages.txt (Wine's system code page follows
# it), it turns a pasted sentence of that language into the codes of the language's code page.
# Usage: wine_program_check.sh PROGRAM.exe [RUNNER]   (RUNNER: how to start it, default wine)
# Exits 77 (skipped) without a display, xdotool or xclip.
set -u
program=$1
runner=${2:-$(dirname "$0")/../scripts/wine-exec.sh}

for tool in xdotool xclip xprop; do
    command -v "$tool" >/dev/null 2>&1 || { echo "skipped: needs $tool"; exit 77; }
done
[ -n "${DISPLAY:-}" ] || { echo "skipped: no DISPLAY"; exit 77; }

# A folder for the programs' output, and another that the second start takes for its TMP and
# TEMP: the single-copy lock lives in the user's local application data folder, whatever they say.
temp=$(mktemp -d)
mkdir "$temp/other"
other_temp=$(printf 'Z:%s/other' "$temp" | tr / '\\')
pids=""
cleanup() {
    for pid in $pids; do kill -9 "$pid" 2>/dev/null; done
    rm -rf "$temp"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*"
    exit 1
}
start() {
    [ $# -gt 0 ] || set -- "$program"
    "$runner" "$@" >>"$temp/output.log" 2>&1 &
    last=$!
    pids="$pids $last"
}
# The first window whose whole title is $1, waiting up to 30 s. (A search may fail on a window
# that goes away meanwhile, so it is asked again.)
window() {
    for _ in $(seq 150); do
        found=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1)
        [ -n "$found" ] && echo "$found" && return 0
        sleep 0.2
    done
}
clipboard() {
    for _ in $(seq 50); do
        [ "$(xclip -o -selection clipboard 2>/dev/null)" = "$1" ] && return 0
        sleep 0.2
    done
    return 1
}
# Gives the window the keyboard focus (no window manager does) and waits until it has it.
focus() {
    for _ in $(seq 50); do
        xdotool windowfocus "$1" 2>/dev/null
        [ "$(xdotool getwindowfocus 2>/dev/null)" = "$1" ] && sleep 0.5 && return 0
        sleep 0.2
    done
    return 1
}
ended() {
    for _ in $(seq 50); do
        kill -0 "$1" 2>/dev/null || return 0
        sleep 0.2
    done
    return 1
}

start
first=$last
main=$(window "Quorvale - ASCII to HEX mode")
[ -n "$main" ] || fail "no window 'Quorvale - ASCII to HEX mode'"
echo "ok: the window opens in ASCII to HEX mode"

# A fixed border: the window system is told the window's least and greatest size are its size.
hints=$(xprop -id "$main" WM_NORMAL_HINTS)
least=$(echo "$hints" | sed -n 's/.*minimum size: //p')
most=$(echo "$hints" | sed -n 's/.*maximum size: //p')
[ -n "$least" ] && [ "$least" = "$most" ] || fail "the window can be resized: $hints"
echo "ok: the window has a fixed size ($least)"

focus "$main" || fail "the window does not take the keyboard focus"
xdotool type --delay 80 AB
xdotool key --delay 80 alt+c
clipboard "41 42" || fail "the clipboard holds '$(xclip -o -selection clipboard 2>/dev/null)', not '41 42'"
echo "ok: AB converts, and Copy puts '41 42' on the clipboard"

# Started from cmd, where Wine's programs take TMP and TEMP (not from the Unix environment).
windows_program=$(printf 'Z:%s' "$(realpath "$program")" | tr / '\\')
start cmd /c "set TMP=$other_temp&& set TEMP=$other_temp&& $windows_program"
second=$last
box=$(window "Quorvale")
[ -n "$box" ] || fail "a second copy shows no message box"
focus "$box" || fail "the message box does not take the keyboard focus"
xdotool key Return
ended "$second" || fail "the second copy still runs after its message box was closed"
wait "$second"
status=$?
[ "$status" -eq 0 ] || fail "the refused copy ended with status $status"
kill -0 "$first" 2>/dev/null || fail "the first copy ended"
lock=$(find "${WINEPREFIX:-$HOME/.wine}/drive_c/users" -path '*/AppData/Local/Quorvale/quorvale-*.lock' 2>/dev/null)
[ -n "$lock" ] || fail "no lock file in the user's local application data folder"
echo "ok: a second copy, with TMP and TEMP elsewhere, is refused with a message box and ends with" \
    "status 0; the lock is ${lock##*/drive_c/}"

kill -9 "$first"
wait "$first" 2>/dev/null
sleep 1
start
third=$last
main=$(window "Quorvale - ASCII to HEX mode")
[ -n "$main" ] || fail "no window after the first copy was killed"
focus "$main" || fail "the window does not take the keyboard focus"
xdotool key alt+x
ended "$third" || fail "Alt+X did not end the program"
wait "$third"
status=$?
[ "$status" -eq 0 ] || fail "Alt+X ended the program with status $status"
echo "ok: a killed copy does not block the next start; Alt+X ends it with status 0"

# Wine's ANSI code page follows the locale it is started in, where that locale is installed.
while IFS='|' read -r locale sentence codes; do
    case $locale in '#'*) continue ;; esac
    printf '%s' "$sentence" | xclip -selection clipboard
    LANG=$locale LC_ALL='' LC_CTYPE='' "$runner" "$program" >>"$temp/output.log" 2>&1 &
    last=$!
    pids="$pids $last"
    main=$(window "Quorvale - ASCII to HEX mode")
    [ -n "$main" ] || fail "no window in $locale"
    focus "$main" || fail "the window does not take the keyboard focus in $locale"
    xdotool key --delay 80 ctrl+v alt+c
    clipboard "$codes" ||
        fail "in $locale, '$sentence' gave '$(xclip -o -selection clipboard 2>/dev/null)', not '$codes'"
    xdotool key alt+x
    ended "$last" || fail "Alt+X did not end the program in $locale"
    echo "ok: in $locale, '$sentence' gives $codes"
done <"$(dirname "$0")/languages.txt"

# Dark app mode, as the user's registry holds it. Qt reports the dark scheme; the windowsvista
# style that it picks under Wine keeps its light palette, the windows11 style of Windows 11 turns
# dark. In both, every text of the About dialog keeps 4.5 : 1 against its background. Only the
# desktop's own scheme is asked for: the other rows set palettes of their own, which the dark
# mode of the Windows styles does not leave as set. The check comes with the build's tests, so an
# installed program (the installer's check) goes without it.
about_check="$(dirname "$program")/test_about.exe"
if [ -e "$about_check" ]; then
    personalize='HKCU\Software\Microsoft\Windows\CurrentVersion\Themes\Personalize'
    wine reg add "$personalize" /v AppsUseLightTheme /t REG_DWORD /d 0 /f >/dev/null 2>&1 ||
        fail "could not set dark app mode"
    unreadable=""
    for style in windowsvista windows11; do
        "$runner" --qtest "$about_check" -platform windows -style "$style" \
            "readableUnderEveryScheme:the desktop's own scheme" >"$temp/dark.log" 2>&1 ||
            { unreadable=$style; break; }
    done
    wine reg delete "$personalize" /v AppsUseLightTheme /f >/dev/null 2>&1
    [ -z "$unreadable" ] || { cat "$temp/dark.log"; fail "About's texts in dark app mode ($unreadable)"; }
    echo "ok: in dark app mode every text of the About dialog keeps 4.5 : 1 (windowsvista, windows11)"
else
    echo "skipped: dark app mode (no test_about.exe beside the program)"
fi

# What a Windows screen reader is told, through UI Automation: a client of our own
# (tests/uia/uia_check.cpp, named by QUORVALE_UIA_CHECK) reads each window's tree and follows the
# focus, and the announcements come from Wine's log: Qt hands each one to
# UiaRaiseNotificationEvent, which Wine 10 logs on the fixme channel. Every text is the one that
# the Linux screen-reader check (make test-a11y) expects, from a11y/spoken.txt. The client comes
# with the build's tests, so an installed program goes without this.
uia=${QUORVALE_UIA_CHECK:-}
if [ -z "$uia" ] || [ ! -e "$uia" ]; then
    echo "skipped: UI Automation (no QUORVALE_UIA_CHECK client)"
    exit 0
fi
spoken_file=$(dirname "$0")/a11y/spoken.txt
spoken_windows=$(printf 'Z:%s' "$(realpath "$spoken_file")" | tr / '\\')
tab=$(printf '\t')
said() { sed -n "s/^$1$tab *//p" "$spoken_file" | sed 's/ *$//'; }
uia_check() {
    "$runner" "$uia" "$spoken_windows" "$@" >"$temp/uia.log" 2>&1 || {
        cat "$temp/uia.log"
        fail "UI Automation: $*"
    }
}
heard=0
# Waits for the next announcement and compares it with $1.
announced() {
    heard=$((heard + 1))
    for _ in $(seq 50); do
        got=$(sed -n 's/.*UiaRaiseNotificationEvent ([^,]*, [0-9]*, [0-9]*, L"\(.*\)", L"[^"]*"): stub.*/\1/p' \
            "$temp/uia-program.log" | sed -n "${heard}p")
        [ -n "$got" ] && break
        sleep 0.2
    done
    [ "$got" = "$1" ] || fail "announcement $heard is '$got', not '$1'"
}
# Alt and a menu's letter, then an item's letter.
menu_key() {
    xdotool key "alt+$1"
    sleep 0.5
    xdotool key "$2"
}
gone() {
    for _ in $(seq 50); do
        [ -z "$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null)" ] && return 0
        sleep 0.2
    done
    return 1
}

WINEDEBUG=-all,fixme+uiautomation "$runner" "$program" >"$temp/uia-program.log" 2>&1 &
fourth=$!
pids="$pids $fourth"
main=$(window "$(said title_ascii)")
[ -n "$main" ] || fail "no window for the UI Automation checks"
focus "$main" || fail "the window does not take the keyboard focus"
# The client's first look turns Qt's accessibility on.
uia_check main
echo "ok: UI Automation: names, control types, descriptions (also as help text), access keys" \
    "and enabled states of the main window; lblHIDDEN is not in the tree"

xdotool type --delay 150 AB
announced 41
announced 42
xdotool key alt+c
announced "$(said copied)"
xdotool key alt+a
announced "$(said cleared)"
xdotool key alt+c
announced "$(said nothing_to_copy)"
echo "ok: UI Automation: typing, Copy, Clear All and Copy with nothing to copy are announced"

"$runner" "$uia" "$spoken_windows" focus hex_output clear_all copy_hex exit ascii_input \
    exit copy_hex clear_all hex_output ascii_input >"$temp/focus.log" 2>&1 &
follower=$!
for _ in $(seq 75); do
    grep -q ready "$temp/focus.log" && break
    sleep 0.2
done
xdotool key --delay 300 Tab Tab Tab Tab Tab shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab
wait "$follower" || { cat "$temp/focus.log"; fail "UI Automation: the focus through Tab and Shift+Tab"; }
echo "ok: UI Automation: Tab and Shift+Tab move the focus in the order of Linux"

menu_key m h
announced "$(said title_hex)"
xdotool type --delay 150 "41 4"
announced "$(said marker_shown)"
announced "A, $(said marker_gone)"
announced "$(said marker_shown)"
xdotool type 2
announced "B, $(said marker_gone)"
echo "ok: UI Automation: the mode switch and the marker coming and going are announced"

# Back to ASCII to HEX with the focus left in the upper pane: no focus event, and yet each
# pane's description follows its new role.
xdotool key shift+Tab
menu_key m a
announced "$(said title_ascii)"
uia_check main
echo "ok: UI Automation: the panes' descriptions follow a switch that leaves the focus in place"

xdotool key alt+p
sleep 1
uia_check menu
xdotool key Escape
sleep 0.3
xdotool key Escape
echo "ok: UI Automation: the items of an open menu tell their letter alone"

# The About dialog by keys alone takes the keyboard, and the main window has it back after the
# dialog closes: first without a window manager, then with one.
about_by_keys() {
    menu_key p a
    [ -n "$(window "$(said about)")" ] || fail "About did not open ($1)"
    [ -z "${4:-}" ] || uia_check about
    xdotool key "$2"
    gone "$(said about)" || fail "About did not take the keyboard ($1): $2 did not press Ok"
    sleep 0.5
    xdotool type "$3"
}
about_by_keys "no window manager" Return C check
announced 43
echo "ok: UI Automation: the About dialog's tree"
command -v openbox >/dev/null 2>&1 || { echo "skipped: About with a window manager (no openbox)"; exit 0; }
openbox >/dev/null 2>&1 &
wm=$!
pids="$pids $wm"
for _ in $(seq 50); do
    xprop -root _NET_SUPPORTED 2>/dev/null | grep -q _NET_ACTIVE_WINDOW && break
    sleep 0.2
done
xdotool windowactivate --sync "$main" 2>/dev/null || focus "$main"
sleep 0.5
about_by_keys "a window manager" space D
announced 44
echo "ok: About takes the keyboard by Alt+P, A and gives it back when Enter or the space bar" \
    "presses Ok, without and with a window manager"
xdotool key alt+x
ended "$fourth" || fail "Alt+X did not end the program"
kill "$wm"
