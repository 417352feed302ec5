#!/bin/sh
# Pasting while nothing owns the X clipboard, in the real program on a real X server: there Qt
# hands the pane mime data without any format, which the offscreen platform of the other tests
# never does. Both panes, by Shift+Insert, Ctrl+V and the middle button; then the program must
# still take typing and end cleanly by its Exit button. Then, started in each locale of
# languages.txt, the program turns a pasted sentence of that language into the codes of the
# language's Windows code page, which Copy puts on the clipboard.
# It runs on a private session bus, as on a desktop: without one, Qt 6.8 leaves its portal
# watcher unfreed at exit, and the sanitizer build reports it.
# Usage: x11_empty_clipboard.sh PROGRAM
#   (exit 77: skipped, no Xvfb, xdotool, xclip or dbus-run-session)
set -u
program="$1"
languages="$(dirname "$0")/languages.txt"

for tool in xvfb-run xdotool xclip dbus-run-session; do
    command -v "$tool" >/dev/null 2>&1 || { echo "skipped: needs $tool"; exit 77; }
done
if [ -z "${QUORVALE_X_SERVER:-}" ]; then
    QUORVALE_X_SERVER=1 exec dbus-run-session -- \
        xvfb-run -a -s "-screen 0 1024x768x24 -nolisten tcp" "$0" "$@"
fi

fail() {
    echo "FAIL: $*" >&2
    kill "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
    exit 1
}

runtime="$(mktemp -d)"
trap 'rm -rf "$runtime"' EXIT
XDG_RUNTIME_DIR="$runtime" QT_QPA_PLATFORM=xcb "$program" &
pid=$!

window() { timeout 30 xdotool search --sync --name "^Quorvale - $1 mode\$" | head -n 1; }

wid="$(window "ASCII to HEX")"
[ -n "$wid" ] || fail "no window"
paste_everyhow() {
    xdotool windowfocus --sync "$wid"
    xdotool key --window "$wid" shift+Insert
    xdotool key --window "$wid" ctrl+v
    xdotool mousemove --window "$wid" 60 40 click 2
    sleep 0.5
    kill -0 "$pid" 2>/dev/null || fail "the program died pasting in $1"
}
paste_everyhow "the upper pane"

xdotool key --window "$wid" alt+m h
[ -n "$(window "HEX to ASCII")" ] || fail "no HEX to ASCII mode"
paste_everyhow "the lower pane"

xdotool type --window "$wid" "41 42"
xdotool key --window "$wid" alt+x
status=0
wait "$pid" || status=$?
[ "$status" -eq 0 ] || fail "the program ended with status $status"
echo "pasting with an empty clipboard: fine"

# The locale's name alone chooses the page: it need not be installed.
while IFS='|' read -r locale sentence codes; do
    case $locale in '#'*) continue ;; esac
    printf '%s' "$sentence" | xclip -selection clipboard
    XDG_RUNTIME_DIR="$runtime" QT_QPA_PLATFORM=xcb LANG="$locale" LC_ALL= LC_CTYPE= \
        "$program" 2>/dev/null &
    pid=$!
    wid="$(window "ASCII to HEX")"
    [ -n "$wid" ] || fail "no window in $locale"
    xdotool windowfocus --sync "$wid"
    xdotool key --window "$wid" ctrl+v
    xdotool key --window "$wid" alt+c
    copied=""
    for _ in $(seq 25); do
        copied="$(xclip -o -selection clipboard)"
        [ "$copied" = "$codes" ] && break
        sleep 0.2
    done
    [ "$copied" = "$codes" ] || fail "in $locale, '$sentence' gave '$copied', not '$codes'"
    xdotool key --window "$wid" alt+x
    wait "$pid" || fail "the program ended with status $? in $locale"
    echo "$locale: $codes"
done <"$languages"
