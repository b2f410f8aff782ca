#!/usr/bin/env python3

# SPDX-FileCopyrightText: 2026 Pokopin developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

"""The built game as a screen reader sees it: its accessibility tree read
through AT-SPI under a private X server and a private session bus.

usage: pokopin_a11y.py check PATH/TO/pokopin
       pokopin_a11y.py dump PATH/TO/pokopin OUT_PREFIX

check: between games, no node of the board or the side panel is nameless
and no text is there twice; during a game a hole says when a mole is up; at
the end of a game the counters are announced (name-change events) with the
figures the score log got, and are named so. Exit status 0 passed, 1 failed,
77 skipped (no session bus, no accessibility bus or no pyatspi).

dump: writes the tree between games and during one to OUT_PREFIX_idle.txt
and OUT_PREFIX_game.txt, for reading.

The tree is read by the system's /usr/bin/python3, the interpreter Debian's
python3-pyatspi belongs to; this script re-runs itself under it inside
dbus-run-session.
"""

import os
import re
import shutil
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
SYSTEM_PYTHON = "/usr/bin/python3"
BUS_LAUNCHER = "/usr/libexec/at-spi-bus-launcher"
SKIP = 77

HOLE = re.compile("^\u7a74 ([1-9]): (\u7a7a|\u3082\u3050\u3089|\u30d2\u30c3\u30c8|\u30df\u30b9)$")
MOLE = "\u3082\u3050\u3089"  # もぐら
COUNTER = re.compile(r"^(COUNT|HIT|MISS|SCORE) (0|-?[1-9]\d*)$")
TIME = re.compile(r"^TIME \d+ sec$")
MODE = "GAME LEVEL \u304b\u3093\u305f\u3093"  # GAME LEVEL かんたん
RECORD = "SCORE RECORD"


def skip(reason):
    print("SKIP:", reason, flush=True)
    return SKIP


def outer(argv):
    """Checks what the reading needs, then runs the rest on a bus of its own."""
    if not shutil.which("dbus-run-session"):
        return skip("dbus-run-session is missing (package dbus)")
    if not os.access(BUS_LAUNCHER, os.X_OK):
        return skip(f"{BUS_LAUNCHER} is missing (package at-spi2-core)")
    probe = subprocess.run([SYSTEM_PYTHON, "-c", "import pyatspi"], capture_output=True,
                           text=True)
    if probe.returncode != 0:
        why = (probe.stderr.strip().splitlines() or [""])[-1]
        return skip(f"{SYSTEM_PYTHON} cannot import pyatspi (package python3-pyatspi): {why}")
    env = {k: v for k, v in os.environ.items() if k != "DBUS_SESSION_BUS_ADDRESS"}
    r = subprocess.run(["dbus-run-session", "--", SYSTEM_PYTHON, os.path.abspath(__file__),
                        "inner-" + argv[1], *argv[2:]], env=env)
    return r.returncode


# -- inside the private session bus, under the system's python3 -------------------


def start_accessibility_bus():
    """Starts the accessibility bus; False when it does not come up."""
    launcher = subprocess.Popen([BUS_LAUNCHER, "--launch-immediately"],
                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    deadline = time.monotonic() + 15
    while time.monotonic() < deadline:
        r = subprocess.run(["dbus-send", "--session", "--print-reply", "--dest=org.a11y.Bus",
                            "/org/a11y/bus", "org.a11y.Bus.GetAddress"], capture_output=True,
                           text=True)
        if r.returncode == 0 and "unix:" in r.stdout:
            return launcher
        if launcher.poll() is not None:
            break
        time.sleep(0.1)
    launcher.kill()
    return None


class Node:
    def __init__(self, role, name, showing, children):
        self.role, self.name, self.showing, self.children = role, name, showing, children

    def walk(self):
        yield self
        for c in self.children:
            yield from c.walk()

    def lines(self, depth=0):
        out = [f"{'  ' * depth}[{self.role}] {self.name!r}{'' if self.showing else ' (hidden)'}"]
        for c in self.children:
            out += c.lines(depth + 1)
        return out


def read_tree(acc, depth=0):
    import pyatspi
    children = []
    if depth < 12:
        for i in range(acc.childCount):
            child = acc.getChildAtIndex(i)
            if child is not None:
                children.append(read_tree(child, depth + 1))
    return Node(acc.getRoleName(), acc.name or "",
                acc.getState().contains(pyatspi.STATE_SHOWING), children)


class Reader:
    def __init__(self, game, main_title):
        import pyatspi
        self.pyatspi = pyatspi
        self.game = game
        self.main_title = main_title
        self.events = []

    def frame(self):
        desktop = self.pyatspi.Registry.getDesktop(0)
        for i in range(desktop.childCount):
            app = desktop.getChildAtIndex(i)
            if app is None:
                continue
            for k in range(app.childCount):
                f = app.getChildAtIndex(k)
                if f is not None and f.getRoleName() == "frame" and f.name == self.main_title:
                    return f
        return None

    def tree(self):
        f = self.frame()
        return read_tree(f) if f is not None else None

    def pump(self, seconds):
        """Runs the event loop for a while, so that listened events arrive."""
        from gi.repository import GLib
        context = GLib.MainContext.default()
        deadline = time.monotonic() + seconds
        while time.monotonic() < deadline:
            if not context.iteration(False):
                time.sleep(0.01)

    def listen_for_names(self):
        def heard(event):
            self.events.append(event.source.name if event.source is not None else "")
        self.pyatspi.Registry.registerEventListener(heard,
                                                    "object:property-change:accessible-name")
        self._heard = heard

    def wait_tree(self, predicate, timeout, what):
        from e2e_support import Failure
        deadline = time.monotonic() + timeout
        last = None
        while time.monotonic() < deadline:
            last = self.tree()
            if last is not None and predicate(last):
                return last
            self.pump(0.1)
        raise Failure(f"timed out after {timeout:.0f} s waiting for {what}; the tree was:\n"
                      + ("\n".join(last.lines()) if last else "(no window)"))


def board_and_panel(frame):
    """The subtrees below the window's client area: everything but the menu bar."""
    client = [c for c in frame.children if c.role != "menu bar"]
    out = []
    for c in client:
        out += c.children
    return out


def scope_nodes(frame):
    return [n for top in board_and_panel(frame) for n in top.walk()]


def names_of(frame, pattern):
    return [n.name for n in scope_nodes(frame) if n.showing and pattern.match(n.name)]


def check_readable(frame, when):
    from e2e_support import check
    nodes = [n for n in scope_nodes(frame) if n.showing]
    check(len(board_and_panel(frame)) == 2 and len(nodes) > 2,
          f"{when}: the board and the panel are in the tree")
    nameless = [n.role for n in nodes if not n.name.strip()]
    check(not nameless, f"{when}: no nameless node on the board or the panel {nameless}")
    texts = [n.name for n in nodes]
    twice = sorted({t for t in texts if texts.count(t) > 1})
    check(not twice, f"{when}: no text is there twice {twice}")
    holes = [HOLE.match(n.name) for n in nodes if n.name.startswith("\u7a74 ")]
    check(sorted(int(m.group(1)) for m in holes if m) == list(range(1, 10)),
          f"{when}: the nine holes are named after their places")
    check(len(names_of(frame, TIME)) == 1, f"{when}: one node tells the time")
    check(MODE in texts, f"{when}: the mode is told: {MODE}")
    check(RECORD in texts, f"{when}: the recording mark is there while recording")
    counters = sorted(m.group(1) for m in map(COUNTER.match, texts) if m)
    check(counters == ["COUNT", "HIT", "MISS", "SCORE"],
          f"{when}: each counter is named with its figure")


def counter_names(frame):
    return sorted(names_of(frame, COUNTER))


def session(program, mode, out_prefix=None):
    sys.path.insert(0, HERE)
    import e2e_support as e2e

    launcher = start_accessibility_bus()
    if launcher is None:
        return skip("the accessibility bus did not come up")

    def make_game(path):
        game = e2e.Game(path)
        game.env["DBUS_SESSION_BUS_ADDRESS"] = os.environ["DBUS_SESSION_BUS_ADDRESS"]
        game.env["QT_LINUX_ACCESSIBILITY_ALWAYS_ON"] = "1"
        return game

    def case(game):
        reader = Reader(game, e2e.MAIN_TITLE)
        _, main = game.open_to_main()
        idle = reader.wait_tree(lambda t: len(scope_nodes(t)) > 2, 20, "the window's tree")
        if mode == "dump":
            dumps = {"idle": idle}
        else:
            check_readable(idle, "between games")
            reader.listen_for_names()

        game.tap(main, "space")
        has_mole = lambda t: any(MOLE in n for n in names_of(t, HOLE))  # noqa: E731
        if mode == "dump":
            reader.pump(3)
            tree = reader.tree()
            dumps["game"] = tree
            for name, t in dumps.items():
                with open(f"{out_prefix}_{name}.txt", "w", encoding="utf-8") as f:
                    f.write("\n".join(t.lines()) + "\n")
                print(f"wrote {out_prefix}_{name}.txt")
            return
        playing = reader.wait_tree(has_mole, 15, "a hole that says a mole is up")
        e2e.check(True, "a hole says " + next(n for n in names_of(playing, HOLE) if MOLE in n))
        check_readable(playing, "during a game")

        reader.events.clear()
        game.tap(main, "space")
        entry = game.wait_entries(1, 15)[-1]
        final = sorted([f"COUNT {entry['count']}", f"HIT {entry['hit']}",
                        f"MISS {entry['miss']}", f"SCORE {entry['score']}"])
        after = reader.wait_tree(lambda t: counter_names(t) == final, 10,
                                 f"the counters to read {final}")
        check_readable(after, "after the game")
        reader.pump(1)
        missed = [n for n in final if n not in reader.events]
        e2e.check(not missed, f"the end of the game announces the final figures {final} "
                              f"(not heard: {missed})")

    sys.argv = [sys.argv[0], "case", program]
    try:
        return e2e.run({"case": case}, make_game)
    finally:
        launcher.terminate()
        launcher.wait()


def main(argv):
    if len(argv) >= 3 and argv[1] in ("check", "dump"):
        if argv[1] == "dump" and len(argv) != 4:
            return usage()
        return outer(argv)
    if len(argv) >= 3 and argv[1] in ("inner-check", "inner-dump"):
        return session(argv[2], argv[1][len("inner-"):], argv[3] if len(argv) > 3 else None)
    return usage()


def usage():
    print(__doc__.split("\n\n")[1], file=sys.stderr)
    return 2


if __name__ == "__main__":
    sys.exit(main(sys.argv))
