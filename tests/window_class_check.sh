#!/bin/sh
# Runs the program under a private Xvfb and checks that its window's WM_CLASS is the one the
# desktop entry announces, so docks and task bars group the window under the menu entry.
# Usage: window_class_check.sh <program> <desktop entry>; exits 77 (skipped) without X tools.
set -eu

program=$1
entry=$2
for tool in xvfb-run xdotool xprop; do
    command -v "$tool" >/dev/null 2>&1 || { echo "SKIP: $tool is not installed"; exit 77; }
done

if [ -z "${QUORVALE_IN_XVFB:-}" ]; then
    QUORVALE_IN_XVFB=1 exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$@"
fi

# Its own runtime directory, so a copy running on the desktop cannot hold the single-copy lock.
XDG_RUNTIME_DIR=$(mktemp -d)
chmod 700 "$XDG_RUNTIME_DIR"
export XDG_RUNTIME_DIR
"$program" &
pid=$!
trap 'kill "$pid" 2>/dev/null; rm -rf "$XDG_RUNTIME_DIR"' EXIT

window=$(timeout 20 xdotool search --sync --onlyvisible --pid "$pid" --name '^Quorvale' | head -n 1)
[ -n "$window" ] || { echo "FAIL: no window appeared"; exit 1; }

# WM_CLASS(STRING) = "instance", "class"
wm_class=$(xprop -id "$window" WM_CLASS)
instance=$(echo "$wm_class" | cut -d'"' -f2)
class=$(echo "$wm_class" | cut -d'"' -f4)
expected=$(sed -n 's/^StartupWMClass=//p' "$entry")
id=$(basename "$entry" .desktop)
echo "WM_CLASS instance=$instance class=$class; StartupWMClass=$expected; desktop id=$id"

status=0
[ "$class" = "$expected" ] || { echo "FAIL: class is not StartupWMClass"; status=1; }
# Docks that ignore StartupWMClass match the lower-cased class or the instance to the entry's id.
[ "$(echo "$class" | tr '[:upper:]' '[:lower:]')" = "$id" ] || { echo "FAIL: class is not the id"; status=1; }
[ "$instance" = "$id" ] || { echo "FAIL: instance is not the id"; status=1; }
exit "$status"
