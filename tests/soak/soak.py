#!/usr/bin/python3
"""A long session of the real program on a private X server, as a heavy user drives it.

Random actions at about three a second (typing, Backspace, pastes, Copy, Clear All, mode
switches, the About dialog), driven by xdotool. A small model of the two panes predicts what
every Copy puts on the clipboard, and xclip reads what it did put there. The resident memory is
printed every minute; the run fails on the first copy that differs from the model, when the
program dies, or when memory after the warm-up grows by more than the allowed amount.

    soak.py PROGRAM [--minutes M] [--seed S] [--cycles N]

--cycles N replaces the random session with N rounds of a fixed pattern (type 12 characters,
two Backspaces, paste 20, Copy, Clear All, a mode switch every third round) and prints the heap
before and after: a quick, repeatable measure of how much memory a round leaves behind.
"""

import argparse
import collections
import os
import random
import select
import shutil
import signal
import subprocess
import sys
import tempfile
import time

# The first minutes fill the caches of fonts, glyphs and styles; growth is measured after them.
WARM_UP_MINUTES = 3
# Allowed growth of the resident memory from the end of the warm-up to the end of the run. A
# session reuses the same few buffers, so the heap returns to the same size; what remains is the
# allocator's placement, a few pages either way. Growth as filed (about 30 KiB a minute) crosses
# this within 20 minutes and does not stop.
ALLOWED_GROWTH_KIB = 512
ACTIONS_PER_SECOND = 3.0

ASCII_TYPED = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789 .,-"
HEX_TYPED = "0123456789ABCDEFabcdef "
# Inputs stay short of the 300-character limit, whose message box would stop the session: an
# ASCII input of 90 gives at most 269 hex characters.
ASCII_ROOM = 90
HEX_ROOM = 270


class Failure(Exception):
    pass


# ---- The model: the two panes and the mode, and what the converters make of them ----


def hex_text(text):
    codes = [format(ord(c), "X") for c in text]
    return " " + codes[0] if len(codes) == 1 else " ".join(codes)


def decoded(piece):
    if len(piece) == 2 and all(c in "0123456789ABCDEF" for c in piece):
        code = int(piece, 16)
        if code == 0x7F:
            return ""
        if 0x20 <= code < 0x7F:
            return chr(code)
    return "[!]"


def decode_hex(text):
    return "".join(decoded(text[i : i + 2]) for i in range(0, len(text), 3))


class Model:
    def __init__(self):
        self.ascii_mode = True
        self.text1 = ""
        self.text2 = ""

    @property
    def input(self):
        return self.text1 if self.ascii_mode else self.text2

    def set_input(self, text):
        # A key released in the input pane rebuilds the output pane from the whole input.
        if self.ascii_mode:
            self.text1 = text
            self.text2 = hex_text(text) if text else ""
        else:
            self.text2 = text
            self.text1 = decode_hex(text) if text else ""

    def output(self):
        return self.text2 if self.ascii_mode else self.text1


# ---- The X session ----


def run(*args, text=None, check=True):
    return subprocess.run(
        args, input=text, capture_output=True, text=True, timeout=30, check=check
    ).stdout


def start_x():
    for display in range(90, 140):
        if os.path.exists(f"/tmp/.X{display}-lock"):
            continue
        server = subprocess.Popen(
            ["Xvfb", f":{display}", "-screen", "0", "1024x768x24", "-nolisten", "tcp"],
            stdout=subprocess.DEVNULL,
            stderr=subprocess.DEVNULL,
        )
        os.environ["DISPLAY"] = f":{display}"
        for _ in range(100):
            if run("xdotool", "getdisplaygeometry", check=False):
                return server
            if server.poll() is not None:
                break
            time.sleep(0.1)
        server.kill()
        server.wait()
    raise Failure("no X server could be started")


class Session:
    def __init__(self, program):
        self.runtime = tempfile.mkdtemp(prefix="quorvale-soak-")
        self.server = start_x()
        env = dict(os.environ, XDG_RUNTIME_DIR=self.runtime, QT_QPA_PLATFORM="xcb")
        self.offering = None
        self.offered = []
        self.served = 0
        self.program = subprocess.Popen([program], env=env)
        self.window = self.find_window("^Quorvale - ASCII to HEX mode$")
        self.focus()

    def close(self):
        for offering in self.offered + [self.offering] if self.offering else self.offered:
            offering.kill()
            offering.wait()
        if self.program.poll() is None:
            self.program.terminate()
            self.program.wait(10)
        self.server.terminate()
        self.server.wait(10)
        shutil.rmtree(self.runtime, ignore_errors=True)

    def alive(self):
        if self.program.poll() is not None:
            raise Failure(f"the program ended with status {self.program.returncode}")

    def find_window(self, name):
        found = run("xdotool", "search", "--sync", "--onlyvisible", "--name", name, check=False)
        if not found:
            self.alive()
            raise Failure(f"no window named {name}")
        return found.split()[0]

    def focus(self):
        run("xdotool", "windowfocus", "--sync", self.window)

    # Keys go through the X server's test extension to the focused window, as a keyboard's do.
    # Sent to a window by its id instead, they carry their own modifier state, and after keys of
    # the other kind Qt drops the first shifted one.
    def key(self, *keys):
        run("xdotool", "key", *keys)

    def type(self, text):
        run("xdotool", "type", "--delay", "30", "--", text)

    def visible_windows(self):
        return set(run("xdotool", "search", "--onlyvisible", "--pid", str(self.program.pid),
                       check=False).split())

    def choose(self, menu, item):
        """Opens a menu of the menu bar by its access key, then chooses an item by its own once
        the menu is on screen (keys typed before that would go to the pane)."""
        before = self.visible_windows()
        for _ in range(3):
            self.key(f"alt+{menu}")
            try:
                self.wait_for(lambda: self.visible_windows() - before, "the menu", seconds=3)
                break
            except Failure:
                self.focus()
        else:
            raise Failure(f"the menu of Alt+{menu.upper()} did not open")
        self.key(item)

    def clipboard(self):
        return run("xclip", "-o", "-selection", "clipboard", check=False)

    def offer(self, text):
        """Puts text on the clipboard, served by xclip until the program takes the clipboard."""
        # The xclip serving the last text ends by itself when this one takes the clipboard; it is
        # not ended here, in case the program is still to read it.
        if self.offering:
            self.offered.append(self.offering)
        self.offered = [p for p in self.offered if p.poll() is None]
        self.offering = subprocess.Popen(
            ["xclip", "-i", "-selection", "clipboard", "-quiet", "-verbose"],
            stdin=subprocess.PIPE,
            stdout=subprocess.DEVNULL,
            stderr=subprocess.PIPE,
        )
        self.offering.stdin.write(text.encode())
        self.offering.stdin.close()
        self.served = -1
        self.log = ""
        self.wait_served(0)

    def wait_served(self, count):
        """Waits until xclip has handed the text over `count` times (0: until it owns the
        clipboard). Before waiting for request k it says so on stderr, k - 1 being served."""
        deadline = time.monotonic() + 10
        stream = self.offering.stderr.fileno()
        while self.served < count:
            self.alive()
            left = deadline - time.monotonic()
            if left <= 0 or not select.select([stream], [], [], left)[0]:
                raise Failure("timed out waiting for the clipboard to be read")
            chunk = os.read(stream, 4096)
            if not chunk:
                raise Failure("xclip ended before the clipboard was read")
            self.log += chunk.decode()
            self.served = self.log.count("Waiting for selection request number") - 1

    def wait_for(self, condition, what, seconds=10):
        deadline = time.monotonic() + seconds
        while not condition():
            self.alive()
            if time.monotonic() > deadline:
                raise Failure(f"timed out waiting for {what}")
            time.sleep(0.05)

    def memory(self):
        """Resident KiB of the whole process and of its [heap]."""
        total = heap = 0
        with open(f"/proc/{self.program.pid}/smaps") as smaps:
            in_heap = False
            for line in smaps:
                if line[0] in "0123456789abcdef" and "-" in line.split()[0]:
                    in_heap = line.rstrip().endswith("[heap]")
                elif line.startswith("Rss:"):
                    kib = int(line.split()[1])
                    total += kib
                    if in_heap:
                        heap += kib
        return total, heap


# ---- Actions: each drives the program and updates the model ----


class Driver:
    def __init__(self, session, rng):
        self.s = session
        self.rng = rng
        self.model = Model()
        self.copies = 0
        self.actions = 0
        self.recent = collections.deque(maxlen=15)

    def done(self, action):
        self.actions += 1
        self.recent.append(action)

    def room(self):
        return (ASCII_ROOM if self.model.ascii_mode else HEX_ROOM) - len(self.model.input)

    def make_room(self, needed):
        if self.room() < needed:
            self.clear_all()

    def typed_text(self, n):
        alphabet = ASCII_TYPED if self.model.ascii_mode else HEX_TYPED
        return "".join(self.rng.choice(alphabet) for _ in range(n))

    def type_chars(self, n):
        self.make_room(n)
        text = self.typed_text(n)
        self.s.type(text)
        self.model.set_input(self.model.input + (text if self.model.ascii_mode else text.upper()))
        self.done(f"type {text!r}")

    def backspace(self, times=1):
        self.s.key(*["BackSpace"] * times)
        kept = self.model.input
        self.model.set_input(kept[: max(0, len(kept) - times)])
        self.done(f"Backspace x{times}")

    def paste(self, n):
        self.make_room(n)
        if self.model.ascii_mode:
            text = self.typed_text(n)
        else:
            # Pastes pass no key filter: whole codes, lower case and stray characters alike.
            text = "".join(self.rng.choice(HEX_TYPED + "x") for _ in range(n))
        self.s.offer(text)
        # The hex pane's key filter discards Ctrl+V as the control character it types.
        self.s.key("ctrl+v" if self.model.ascii_mode and self.rng.random() < 0.5 else "shift+Insert")
        # The paste is in once the program has read the clipboard; the release of V that
        # converts it comes before any later key.
        self.s.wait_served(1)
        self.model.set_input(self.model.input + text)
        self.done(f"paste {text!r}")

    def copy(self):
        expected = self.model.output()
        self.s.key("alt+c")
        self.done("Copy")
        if not expected:
            return  # nothing to copy: the clipboard stays as it was
        # The copy lands once the program has handled the keys before it; a wrong text never
        # turns into the model's.
        got = []
        try:
            self.s.wait_for(lambda: got.append(self.s.clipboard()) or got[-1] == expected, "")
        except Failure:
            raise Failure(
                f"copy {self.copies + 1}: clipboard {got[-1]!r}, model {expected!r} "
                f"(upper pane {self.model.text1!r}, lower pane {self.model.text2!r})"
            ) from None
        self.copies += 1
        # Alt went down in the input pane, which has the focus again when it comes up: like any
        # key released there, it converts the pane.
        self.model.set_input(self.model.input)

    def clear_all(self):
        self.s.key("alt+a")
        self.model.text1 = self.model.text2 = ""
        self.done("Clear All")

    def switch_mode(self):
        ascii_mode = not self.model.ascii_mode
        self.s.choose("m", "a" if ascii_mode else "h")
        name = "ASCII to HEX" if ascii_mode else "HEX to ASCII"
        self.s.wait_for(
            lambda: run("xdotool", "getwindowname", self.s.window).strip()
            == f"Quorvale - {name} mode",
            "the mode switch",
        )
        self.model.ascii_mode = ascii_mode
        # The caret stays where the program left it: after the text, where the inputs go on.
        self.done("mode " + ("ASCII to HEX" if ascii_mode else "HEX to ASCII"))

    def about(self):
        self.s.choose("p", "a")
        dialog = self.s.find_window("^About$")
        run("xdotool", "windowfocus", "--sync", dialog)
        self.s.key("alt+o")
        self.s.wait_for(
            lambda: not run("xdotool", "search", "--onlyvisible", "--name", "^About$", check=False),
            "the About dialog to close",
        )
        # With no window manager nothing gives the focus back to the main window; Qt also
        # holds a lost focus for 400 ms before it lets go of the closed dialog.
        time.sleep(0.5)
        self.s.focus()
        self.done("About")

    def random_action(self):
        choice = self.rng.choices(
            ["type", "backspace", "paste", "copy", "clear", "mode", "about"],
            weights=[40, 15, 10, 15, 8, 8, 4],
        )[0]
        if choice == "type":
            self.type_chars(self.rng.randint(1, 8))
        elif choice == "backspace":
            self.backspace(self.rng.randint(1, 3))
        elif choice == "paste":
            self.paste(self.rng.randint(1, 30))
        elif choice == "copy":
            self.copy()
        elif choice == "clear":
            self.clear_all()
        elif choice == "mode":
            self.switch_mode()
        else:
            self.about()

    def cycle(self, number):
        self.type_chars(12)
        self.backspace(2)
        self.paste(20)
        self.copy()
        self.clear_all()
        if number % 3 == 2:
            self.switch_mode()


def kib(value):
    return f"{value / 1024:.2f} MiB"


def soak(driver, minutes):
    session = driver.s
    samples = []
    start = time.monotonic()
    next_action = start
    next_sample = start
    end = start + minutes * 60
    while True:
        now = time.monotonic()
        if now >= next_sample:
            total, heap = session.memory()
            samples.append(total)
            print(
                f"minute {len(samples) - 1:4d}: RSS {kib(total)}, heap {kib(heap)}, "
                f"{driver.actions} actions, {driver.copies} copies checked",
                flush=True,
            )
            next_sample += 60
        if now >= end:
            break
        if now < next_action:
            time.sleep(min(next_action, next_sample, end) - now)
            continue
        driver.random_action()
        next_action += 1 / ACTIONS_PER_SECOND
        next_action = max(next_action, time.monotonic() - 1)
    session.alive()
    if len(samples) <= WARM_UP_MINUTES + 1:
        print(f"memory: run shorter than the {WARM_UP_MINUTES}-minute warm-up, not judged")
        return
    base = samples[WARM_UP_MINUTES]
    growth = samples[-1] - base
    peak = max(samples[WARM_UP_MINUTES:]) - base
    print(f"memory after warm-up: {kib(base)} -> {kib(samples[-1])}, growth {growth} KiB, "
          f"peak {peak} KiB above (allowed {ALLOWED_GROWTH_KIB} KiB)")
    if growth > ALLOWED_GROWTH_KIB:
        raise Failure(f"resident memory grew {growth} KiB after the warm-up")


def cycles(driver, count):
    session = driver.s
    # A few rounds first, so that fonts and caches are in place.
    for number in range(6):
        driver.cycle(number)
    time.sleep(0.5)
    before = session.memory()
    for number in range(count):
        driver.cycle(number)
    time.sleep(0.5)
    after = session.memory()
    print(f"{count} rounds: RSS {before[0]} -> {after[0]} KiB ({after[0] - before[0]:+d}), "
          f"heap {before[1]} -> {after[1]} KiB ({after[1] - before[1]:+d}), "
          f"{driver.copies} copies checked")


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("program")
    parser.add_argument("--minutes", type=float, default=10)
    parser.add_argument("--seed", type=int, default=None)
    parser.add_argument("--cycles", type=int, default=0)
    args = parser.parse_args()
    # Ended from outside, the session still takes its X server and program down with it.
    signal.signal(signal.SIGTERM, lambda *_: sys.exit("soak: ended by SIGTERM"))
    seed = args.seed if args.seed is not None else random.randrange(1 << 31)
    print(f"soak: seed {seed}", flush=True)

    try:
        session = Session(os.path.abspath(args.program))
    except Failure as failure:
        print(f"FAIL: {failure}", file=sys.stderr)
        return 1
    driver = Driver(session, random.Random(seed))
    try:
        if args.cycles:
            cycles(driver, args.cycles)
        else:
            soak(driver, args.minutes)
    except (Failure, subprocess.SubprocessError) as failure:
        print(f"FAIL (seed {seed}): {failure}", file=sys.stderr)
        print("the last actions, oldest first:", *driver.recent, sep="\n  ", file=sys.stderr)
        return 1
    finally:
        session.close()
    print(f"soak: {driver.actions} actions, {driver.copies} copies equal to the model")
    return 0


if __name__ == "__main__":
    sys.exit(main())
