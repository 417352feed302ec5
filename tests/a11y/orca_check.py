#!/usr/bin/python3
"""Hears Quorvale as a screen-reader user does.

Starts a private desktop (Xvfb, a session bus, openbox, the AT-SPI bus and Orca with its debug
output on), then the program, drives it with xdotool and checks what Orca says (the "SPEECH
OUTPUT" lines of its debug output) and what the accessibility tree holds (pyatspi).

Usage: orca_check.py PROGRAM [--keep]   (--keep leaves the session's files for reading)
Runs with Debian's own /usr/bin/python3, which has pyatspi.
"""

import fcntl
import json
import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import termios
import threading
import time

TIMEOUT = 15  # seconds to wait for something to be said or to appear


class Failure(Exception):
    pass


class Desktop:
    """The processes of a headless desktop session, each ended by its own process group."""

    def __init__(self, workdir):
        self.workdir = workdir
        self.processes = []
        self.wm = None
        self.wm_starts = 0
        self.env = dict(os.environ)
        for name in ("DISPLAY", "WAYLAND_DISPLAY", "DBUS_SESSION_BUS_ADDRESS",
                     "AT_SPI_BUS_ADDRESS", "XDG_SESSION_TYPE"):
            self.env.pop(name, None)
        home = os.path.join(workdir, "home")
        runtime = os.path.join(workdir, "runtime")
        os.makedirs(home)
        os.makedirs(runtime, mode=0o700)
        self.env.update(HOME=home, XDG_RUNTIME_DIR=runtime, XDG_CONFIG_HOME=home + "/.config",
                        XDG_CACHE_HOME=home + "/.cache", XDG_DATA_HOME=home + "/.local/share")

    def spawn(self, argv, log, **kwargs):
        out = open(os.path.join(self.workdir, log), "wb")
        process = subprocess.Popen(argv, env=self.env, stdout=kwargs.pop("stdout", out),
                                   stderr=out, start_new_session=True, **kwargs)
        self.processes.append(process)
        return process

    def start_x(self):
        read_end, write_end = os.pipe()
        self.spawn(["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1024x768x24",
                    "-nolisten", "tcp"], "xvfb.log", pass_fds=(write_end,))
        os.close(write_end)
        with os.fdopen(read_end) as pipe:
            number = pipe.readline().strip()
        if not number:
            raise Failure("Xvfb did not start")
        self.env["DISPLAY"] = ":" + number

    def start_window_manager(self):
        """Starts openbox and waits until it manages the screen: activating and minimising a
        window go through it, and a check run before it is up fails for nothing."""
        self.wm_starts += 1
        self.wm = self.spawn(["openbox"], "openbox-%d.log" % self.wm_starts)
        deadline = time.monotonic() + 2 * TIMEOUT
        while True:
            supported = subprocess.run(["xprop", "-root", "-notype", "_NET_SUPPORTED"],
                                       env=self.env, stdout=subprocess.PIPE,
                                       stderr=subprocess.DEVNULL).stdout
            if b"_NET_ACTIVE_WINDOW" in supported:
                return
            if self.wm.poll() is not None:
                raise Failure("openbox ended with status %d" % self.wm.returncode)
            if time.monotonic() > deadline:
                raise Failure("openbox never took over the screen")
            time.sleep(0.1)

    def keep_window_manager(self):
        """Starts openbox again if it has ended; it takes over the windows already there.
        (About one session in thirty on a fresh Debian 12 had no window manager by the time
        the program's window came up, which then never became active.)"""
        if self.wm.poll() is None:
            return
        print("a11y: openbox ended with status %d; starting it again" % self.wm.returncode,
              file=sys.stderr)
        self.start_window_manager()

    def report(self):
        """The end of each log of the session, for a failure seen only in a CI's output."""
        if self.wm is not None and self.wm.poll() is not None:
            print("a11y: openbox had ended with status %d" % self.wm.returncode, file=sys.stderr)
        for name in sorted(os.listdir(self.workdir)):
            path = os.path.join(self.workdir, name)
            if not name.endswith((".log", ".out")) or not os.path.isfile(path):
                continue
            with open(path, "rb") as f:
                lines = f.read().decode(errors="replace").splitlines()[-15:]
            print("a11y: --- %s, its last lines ---" % name, file=sys.stderr)
            for line in lines:
                print("a11y:   " + line[:300], file=sys.stderr)

    def start_session_bus(self):
        bus = self.spawn(["dbus-daemon", "--session", "--nofork", "--print-address=1"],
                         "dbus.log", stdout=subprocess.PIPE)
        address = bus.stdout.readline().decode().strip()
        if not address:
            raise Failure("the session bus did not start")
        self.env["DBUS_SESSION_BUS_ADDRESS"] = address

    def start_orca(self):
        """Starts Orca with no speech server and returns a terminal that its debug output
        arrives on, a line at a time (into a file, Orca would hold it back in a buffer)."""
        prefs = os.path.join(self.env["HOME"], "orca")
        os.makedirs(prefs)
        with open(os.path.join(prefs, "user-settings.conf"), "w") as f:
            json.dump({"general": {"speechServerFactory": "", "enableBraille": False},
                       "profiles": {"default": {"profile": ["Default", "default"]}},
                       "pronunciations": {}, "keybindings": {}}, f)
        master, slave = os.openpty()
        attributes = termios.tcgetattr(slave)
        attributes[1] &= ~termios.OPOST  # lines as written
        termios.tcsetattr(slave, termios.TCSANOW, attributes)
        # Without --replace: Orca then refuses to start while another one of this user runs,
        # where --replace would kill it.
        self.spawn(["orca", "--user-prefs", prefs, "--debug-file", os.ttyname(slave)],
                   "orca.out")
        self.terminal = slave  # kept open until the end, so that reading never fails early
        return master

    def stop(self):
        for process in reversed(self.processes):
            if process.poll() is None:
                try:
                    os.killpg(process.pid, signal.SIGTERM)
                except ProcessLookupError:
                    pass
        deadline = time.monotonic() + 5
        for process in reversed(self.processes):
            try:
                process.wait(max(0.1, deadline - time.monotonic()))
            except subprocess.TimeoutExpired:
                os.killpg(process.pid, signal.SIGKILL)
                process.wait()


class Speech:
    """What Orca says, read from its debug output as it comes and kept in a file; each
    expectation consumes what it matched."""

    LINE = re.compile(r"SPEECH OUTPUT: '(.*?)'(?: voice=\S+)?\s*(?:\{.*\})?\s*$")

    def __init__(self, terminal, path):
        self.heard = []
        self.used = 0
        self._lock = threading.Lock()
        self._lines = []
        self._last_output = time.monotonic()
        threading.Thread(target=self._collect, args=(terminal, path), daemon=True).start()

    def _collect(self, terminal, path):
        pending = b""
        with open(path, "wb") as log:
            while True:
                try:
                    data = os.read(terminal, 65536)
                except OSError:
                    return
                if not data:
                    return
                log.write(data)
                log.flush()
                *lines, pending = (pending + data).split(b"\n")
                spoken = [m.group(1).strip() for m in
                          map(self.LINE.search, (l.decode(errors="replace") for l in lines)) if m]
                with self._lock:
                    self._lines.extend(spoken)
                    self._last_output = time.monotonic()

    def _read(self):
        with self._lock:
            self.heard = list(self._lines)

    def expect(self, pattern, what=None, timeout=TIMEOUT):
        """Waits until Orca says something matching `pattern` and returns it."""
        regex = re.compile(pattern)
        deadline = time.monotonic() + timeout
        while True:
            self._read()
            for index in range(self.used, len(self.heard)):
                if regex.search(self.heard[index]):
                    self.used = index + 1
                    return self.heard[index]
            if time.monotonic() > deadline:
                raise Failure("Orca never said %s; it said: %s"
                              % (what or repr(pattern), self.heard[self.used:]))
            time.sleep(0.1)

    def idle(self, quiet=0.3):
        """Waits until Orca has written nothing for `quiet` seconds: it has handled every
        event so far. (Orca lagging behind may take a caret move in a pane that has just got
        the focus for the focus itself, and then not present the pane.)"""
        deadline = time.monotonic() + TIMEOUT
        while time.monotonic() < deadline:
            with self._lock:
                silent = time.monotonic() - self._last_output
            if silent >= quiet:
                return
            time.sleep(quiet - silent)

    def heard_soon(self, pattern, seconds):
        """Whether Orca says something matching `pattern` within `seconds`."""
        try:
            self.expect(pattern, timeout=seconds)
            return True
        except Failure:
            return False


class Keyboard:
    """Keys sent with xdotool, each once Orca has caught up."""

    def __init__(self, env, speech):
        self.env = env
        self.speech = speech

    def xdotool(self, *args):
        subprocess.run(["xdotool", *args], env=self.env, check=True)

    def visible_window(self, name_pattern):
        return subprocess.run(["xdotool", "search", "--onlyvisible", "--name", name_pattern],
                              env=self.env, stdout=subprocess.DEVNULL).returncode == 0

    def keys(self, *names):
        """Presses each key; "alt+m" holds Alt around M, with time between the steps so that
        the key's release reaches the program before Alt's (a lone press and release of Alt
        would then open the menu bar)."""
        for name in names:
            self.speech.idle()
            *modifiers, key = name.split("+")
            for modifier in modifiers:
                self.xdotool("keydown", modifier)
                time.sleep(0.1)
            self.xdotool("key", key)
            for modifier in reversed(modifiers):
                time.sleep(0.1)
                self.xdotool("keyup", modifier)

    def type(self, text):
        for character in text:
            self.speech.idle()
            self.xdotool("type", character)


class Tree:
    """The program's accessibility tree, through pyatspi."""

    def __init__(self, env):
        os.environ.update(DISPLAY=env["DISPLAY"],
                          DBUS_SESSION_BUS_ADDRESS=env["DBUS_SESSION_BUS_ADDRESS"])
        import pyatspi  # after the environment names the session's buses
        self.at = pyatspi

    def application(self):
        deadline = time.monotonic() + TIMEOUT
        while time.monotonic() < deadline:
            for app in self.at.Registry.getDesktop(0):
                if app is not None and app.name == "Quorvale":
                    return app
            time.sleep(0.2)
        raise Failure("Quorvale never appeared on the accessibility bus")

    def all(self, root, role=None):
        found = []

        def walk(node):
            if role is None or node.getRole() == role:
                found.append(node)
            for i in range(node.childCount):
                child = node.getChildAtIndex(i)
                if child is not None:
                    walk(child)

        walk(root)
        return found

    def window(self, role, name_pattern):
        regex = re.compile(name_pattern)
        deadline = time.monotonic() + TIMEOUT
        while time.monotonic() < deadline:
            app = self.application()
            for i in range(app.childCount):
                child = app.getChildAtIndex(i)
                if child is not None and child.getRole() == role and regex.search(child.name):
                    return child
            time.sleep(0.2)
        raise Failure("no window named %r" % name_pattern)

    def panes(self):
        frame = self.window(self.at.ROLE_FRAME, "^Quorvale")
        return self.all(frame, self.at.ROLE_TEXT)

    def pane(self, name):
        for pane in self.panes():
            if pane.name == name:
                return pane
        raise Failure("no pane named %r" % name)

    def showing(self, node):
        return node.getState().contains(self.at.STATE_SHOWING)


def check(condition, message):
    if not condition:
        raise Failure(message)


def wait_until(condition, message):
    deadline = time.monotonic() + TIMEOUT
    while not condition():
        if time.monotonic() > deadline:
            raise Failure(message)
        time.sleep(0.1)


def announced(text):
    """What Orca says for a message of the program: Orca 43 heard it as a notification."""
    return r"^(notification )?%s\.?$" % re.escape(text)


def spoken_texts():
    """What a screen reader is told, by key: the list that the Windows check reads too."""
    with open(os.path.join(os.path.dirname(os.path.abspath(__file__)), "spoken.txt")) as f:
        rows = (line.rstrip("\n").split("\t", 1) for line in f if not line.startswith("#"))
        return {key: text.strip() for key, text in rows}


T = spoken_texts()
MARKER_NOTE = T["marker_note"]
ASCII_TIP = T["ascii_tip"]


def run_checks(desktop, keyboard, speech, tree, opened):
    def press(keys, *heard):
        """Presses the keys (blank-separated), then waits for Orca to say each of `heard`."""
        keyboard.keys(*keys.split())
        return [speech.expect(pattern) for pattern in heard][-1]

    def enter(text, *heard):
        keyboard.type(text)
        for pattern in heard:
            speech.expect(pattern)

    # The tree: upper pane first, the scratch label never presented.
    frame = tree.window(tree.at.ROLE_FRAME, "^Quorvale")
    check([p.name for p in tree.panes()] == [T["ascii_input"], T["hex_output"]],
          "panes in the tree: %s" % [p.name for p in tree.panes()])
    if not speech.heard_soon(r"^ASCII input text", 8):
        # Qt's bridge may still be starting when the window first becomes active, and then
        # Orca never hears of it: activate it once more, the main window by its title (a
        # hidden window of Qt's is called "Quorvale" too), through a window manager.
        desktop.keep_window_manager()
        keyboard.xdotool("search", "--name", "^Quorvale - ", "windowminimize", "--sync")
        keyboard.xdotool("search", "--name", "^Quorvale - ", "windowactivate", "--sync")
        speech.expect(r"^ASCII input text")

    # Results spoken as they appear.
    enter("AB", announced("41"), announced("42"))
    for label in tree.all(frame, tree.at.ROLE_LABEL):
        check(not tree.showing(label) and label.name == "",
              "a label is presented: %r" % label.name)
    press("alt+a", announced(T["cleared"]))

    # The marker appearing and going, in words; the upper pane describes it meanwhile.
    press("alt+m", r"HEX to ASCII")
    press("h", r"^HEX input text", announced(T["title_hex"]))
    shown = announced(T["marker_shown"])
    enter("41 4", shown, announced("A, " + T["marker_gone"]), shown)
    check(MARKER_NOTE in tree.pane(T["ascii_output"]).description, "the marker is not described")
    enter("2", announced("B, " + T["marker_gone"]))
    check(tree.pane(T["ascii_output"]).description == "", "the marker is still described")

    # After a switch back no pane describes the marker, and the tooltip is heard on focus.
    press("BackSpace", shown)
    press("alt+m", r"ASCII to HEX")
    press("a", r"^ASCII input text", re.escape(ASCII_TIP), announced(T["title_ascii"]))
    for pane in tree.panes():
        check(MARKER_NOTE not in pane.description, "%s describes the marker" % pane.name)

    # A marker in the input pane (decoded there by a key in the output pane) is described
    # along with the tooltip, not instead of it.
    press("alt+a", announced(T["cleared"]))
    enter("A", announced("41"))
    press("Tab Right", r"^HEX output text", shown)
    heard = press("shift+Tab", r"^ASCII input text", re.escape(ASCII_TIP))
    check(MARKER_NOTE in heard, "the marker is not described with the tooltip: %r" % heard)

    # A switch that leaves the focus in the upper pane: no focus event, yet each pane's
    # description follows its new role at once.
    press("alt+m", r"HEX to ASCII")
    press("h", r"^HEX input text", announced(T["title_hex"]))
    press("shift+Tab", r"^ASCII output text")
    press("alt+m", r"ASCII to HEX")
    press("a", announced(T["title_ascii"]))
    described = {p.name: p.description.strip() for p in tree.panes()}
    check(described == {T["ascii_input"]: ASCII_TIP, T["hex_output"]: ""},
          "descriptions after a switch without a focus change: %s" % described)

    # Copy and Clear All say what they did.
    press("alt+c", announced(T["copied"]))
    press("alt+a", announced(T["cleared"]))
    press("alt+c", announced(T["nothing_to_copy"]))

    # The About dialog: title, version, rights line and author heard on opening (Orca speaks a
    # dialog's name and its lines of three words or more); the link followed through its
    # accessible action.
    press("alt+p", r"About")
    press("a", r"^About dialog Quorvale, Version \d+\.\d+\.\d+ Copyright .* - \d{4}, \w+ ",
          r"^Ok (push )?button")
    dialog = tree.window(tree.at.ROLE_DIALOG, "^About$")
    links = tree.all(dialog, tree.at.ROLE_LINK)
    check(len(links) == 1, "links in the dialog: %d" % len(links))
    link = links[0]
    check(not link.getState().contains(tree.at.STATE_FOCUSABLE), "the link takes the focus")
    actions = link.queryAction()
    names = [actions.getName(i) for i in range(actions.nActions)]
    check(names == ["Press"], "the link's actions: %s" % names)
    address = link.name
    check(address.startswith("https://"), "the link is named %r" % address)
    actions.doAction(0)
    wait_until(lambda: os.path.exists(opened), "the address was never handed over")
    with open(opened) as f:
        check(f.read().strip() == address, "handed over something else than " + address)
    # Qt does not report a minimised window to screen readers; the window manager tells.
    wait_until(lambda: not keyboard.visible_window("^Quorvale - "),
               "the main window was not minimised")


def main():
    if len(sys.argv) < 2:
        print(__doc__, file=sys.stderr)
        return 2
    program = os.path.abspath(sys.argv[1])
    keep = "--keep" in sys.argv[2:]
    # Orca runs once per user: checks started at the same time take turns.
    turn = open(os.path.join(tempfile.gettempdir(), "quorvale-a11y-%d.lock" % os.getuid()), "w")
    fcntl.flock(turn, fcntl.LOCK_EX)
    if subprocess.run(["pgrep", "-u", str(os.getuid()), "-x", "orca"],
                      stdout=subprocess.DEVNULL).returncode == 0:
        print("a11y: another Orca runs for this user; end it first", file=sys.stderr)
        return 1
    workdir = tempfile.mkdtemp(prefix="quorvale-a11y.")
    desktop = Desktop(workdir)
    debug_file = os.path.join(workdir, "orca-debug.log")
    opened = os.path.join(workdir, "opened-address")

    # The program hands the address to xdg-open; this one only writes it down.
    stub = os.path.join(workdir, "bin")
    os.makedirs(stub)
    with open(os.path.join(stub, "xdg-open"), "w") as f:
        f.write('#!/bin/sh\nprintf "%%s\\n" "$1" > "%s"\n' % opened)
    os.chmod(os.path.join(stub, "xdg-open"), 0o755)

    started = time.monotonic()
    status = 1
    try:
        desktop.start_x()
        desktop.start_session_bus()
        desktop.start_window_manager()
        desktop.spawn(["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"],
                      "at-spi.log")
        speech = Speech(desktop.start_orca(), debug_file)
        speech.expect(r"Screen reader on", "that it started")  # Orca first: it needs a window
        env = dict(desktop.env, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1",
                   PATH=stub + os.pathsep + desktop.env.get("PATH", ""))
        desktop.processes.append(subprocess.Popen(
            [program], env=env, start_new_session=True,
            stdout=open(os.path.join(workdir, "program.log"), "wb"), stderr=subprocess.STDOUT))
        tree = Tree(desktop.env)
        run_checks(desktop, Keyboard(desktop.env, speech), speech, tree, opened)
        status = 0
        print("a11y: all checks passed in %.1f s" % (time.monotonic() - started))
    except (Failure, subprocess.CalledProcessError) as failure:
        print("a11y: FAILED: %s" % failure, file=sys.stderr)
        desktop.report()
        keep = True
    finally:
        desktop.stop()
        if keep:
            print("a11y: the session's files are in " + workdir, file=sys.stderr)
        else:
            shutil.rmtree(workdir, ignore_errors=True)
    return status


if __name__ == "__main__":
    sys.exit(main())
