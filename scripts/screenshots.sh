#!/bin/sh
# Renders the real program in both modes, typed into as a person would, as PNG files:
#   <out>/ascii-to-hex.png   text typed in the upper pane, its codes below
#   <out>/hex-to-ascii.png   codes typed in the lower pane, the text above in red for a [!]
# Usage: screenshots.sh [out dir, default docs] [program, default build/quorvale]
# Without a display it runs itself under Xvfb. QT_SCALE_FACTOR and the like pass through.
set -eu

out=${1:-docs}
program=${2:-build/quorvale}

for tool in xdotool import; do
    command -v "$tool" >/dev/null 2>&1 || { echo "screenshots: $tool is missing (scripts/install-deps.sh screenshots)" >&2; exit 1; }
done
if [ -z "${DISPLAY:-}" ]; then
    command -v xvfb-run >/dev/null 2>&1 || { echo "screenshots: no display and no xvfb-run" >&2; exit 1; }
    exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$out" "$program"
fi

mkdir -p "$out"
work=$(mktemp -d)
# A runtime directory of its own: a copy already running must not hold the single-copy lock.
XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"
export XDG_RUNTIME_DIR
"$program" &
pid=$!
trap 'kill "$pid" 2>/dev/null || true; rm -rf "$work"' EXIT

# Waits for a window title; the program sets it as the last step of each change of mode.
wait_for_title() {
    timeout 20 xdotool search --sync --onlyvisible --pid "$pid" --name "^$1\$" | head -n 1
}

# Waits until two captures in a row agree and differ from the last settled one, so what
# follows sees the effect of the keys just sent and not a half-painted frame.
# With "any", a picture like the last settled one also counts.
settle() {
    tries=0
    import -window "$window" ppm:"$work/last.ppm"
    while :; do
        sleep 0.3
        import -window "$window" ppm:"$work/now.ppm"
        if cmp -s "$work/now.ppm" "$work/last.ppm" &&
            { [ "${1:-}" = any ] || ! cmp -s "$work/now.ppm" "$work/settled.ppm"; }; then
            break
        fi
        tries=$((tries + 1))
        [ "$tries" -lt 30 ] || { echo "screenshots: the window did not settle" >&2; exit 1; }
        mv "$work/now.ppm" "$work/last.ppm"
    done
    mv "$work/now.ppm" "$work/settled.ppm"
}

# Saves the window as it looks without the keyboard focus: the blinking text cursor would
# otherwise be in some pictures and not in others. No time stamps in the PNG either, so an
# unchanged window gives an unchanged file.
save() {
    xdotool windowfocus --sync "$root"
    # Qt deactivates a window 400 ms after it loses the focus, in case the focus comes back.
    sleep 0.6
    settle any
    convert "$work/settled.ppm" -define png:exclude-chunks=date,time "$1"
    xdotool windowfocus --sync "$window"
}

root=$(xdotool search --maxdepth 0 --name '' | head -n 1)
window=$(wait_for_title "Quorvale - ASCII to HEX mode")
[ -n "$window" ] || { echo "screenshots: the window did not appear" >&2; exit 1; }
# Without a window manager the keyboard reaches the window only once it is given the focus.
xdotool windowfocus --sync "$window"
import -window "$window" ppm:"$work/settled.ppm"

xdotool type --delay 40 "Hello, World!"
settle
save "$out/ascii-to-hex.png"

# Mode > HEX to ASCII by its mnemonics, as from the keyboard.
xdotool key --delay 150 alt+m h
[ -n "$(wait_for_title "Quorvale - HEX to ASCII mode")" ] || { echo "screenshots: the mode did not change" >&2; exit 1; }
# Clear All, so the codes of the first picture do not stay in the lower pane. The button has
# the focus until its click ends, so typing waits for the panes to clear.
xdotool key alt+a
settle
# 07 (the bell) is not printable: the text turns red and shows [!] in its place.
xdotool type --delay 40 "48 65 6C 6C 6F 2C 20 57 6F 72 6C 64 21 07"
settle
save "$out/hex-to-ascii.png"

echo "screenshots: wrote $out/ascii-to-hex.png and $out/hex-to-ascii.png"
