# SPDX-FileCopyrightText: 2026 Pokopin developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

"""Driving the built game under a private X server: a fresh program folder per
test, the windows seen from outside, keys and clicks through xdotool, and a
strict reader of the score log."""

import datetime
import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tools"))
from xvfb import Xvfb  # noqa: E402

MAIN_TITLE = "Pokopin\uff01"
GREETING_TITLE = "Welcome!"
EXIT_TITLE = "Pokopin\u306e\u7d42\u4e86"  # Pokopinの終了
TITLE_WINDOW_SIZE = (500, 250)
CLIENT_SIZE = (640, 480)
GAME_SECONDS = 24

# Environment of the X tools: names arrive as UTF-8.
TOOL_ENV = dict(os.environ, LC_ALL="C.UTF-8")


class Failure(Exception):
    pass


def check(condition, message):
    if not condition:
        raise Failure(message)
    print("ok:", message, flush=True)


def wait_until(predicate, timeout, what, interval=0.05, fail=True):
    """Polls predicate() until it returns something true. After timeout
    seconds: fails, or with fail=False returns the last (false) value."""
    deadline = time.monotonic() + timeout
    while True:
        value = predicate()
        if value:
            return value
        if time.monotonic() > deadline:
            if fail:
                raise Failure(f"timed out after {timeout:.0f} s waiting for {what}")
            return value
        time.sleep(interval)


class Window:
    def __init__(self, wid, name, x, y, width, height):
        self.id, self.name = wid, name
        self.x, self.y, self.width, self.height = x, y, width, height

    def __repr__(self):
        return f"<window {self.id} {self.name!r} {self.width}x{self.height}+{self.x}+{self.y}>"

    def client_origin(self):
        """Top-left of the 640 x 480 client area: below the menu bar, which
        takes whatever height the window has beyond the client area."""
        return self.x + (self.width - CLIENT_SIZE[0]), self.y + (self.height - CLIENT_SIZE[1])

    def hole_centre(self, k):
        ox, oy = self.client_origin()
        return ox + 32 + 144 * (k % 3) + 50, oy + 40 + 134 * (k // 3) + 50


class Game:
    """One test's world: an X server, a program folder holding a copy of the
    program and its data files (but no Score.txt), and a private HOME and
    runtime folder, so the single-instance lock is this test's own."""

    def __init__(self, program):
        program = os.path.abspath(program)
        self.scratch = tempfile.mkdtemp(prefix="pokopin-e2e-")
        self.folder = os.path.join(self.scratch, "program")
        shutil.copytree(os.path.dirname(program), self.folder,
                        ignore=shutil.ignore_patterns("Score.txt"))
        self.program = os.path.join(self.folder, os.path.basename(program))
        self.score_file = os.path.join(self.folder, "Score.txt")
        self.bin = os.path.join(self.scratch, "bin")
        os.makedirs(self.bin)
        home = os.path.join(self.scratch, "home")
        os.makedirs(home)
        self.runtimes = 0
        runtime = self._new_runtime()
        self.xvfb = Xvfb()
        env = dict(os.environ)
        env.update(DISPLAY=self.xvfb.display, HOME=home, XDG_RUNTIME_DIR=runtime,
                   QT_QPA_PLATFORM="xcb", SDL_AUDIODRIVER="dummy",
                   XDG_CONFIG_HOME=os.path.join(home, ".config"),
                   XDG_DATA_HOME=os.path.join(home, ".local", "share"),
                   PATH=self.bin + os.pathsep + env.get("PATH", "/usr/bin:/bin"))
        env.pop("SESSION_MANAGER", None)
        env.pop("DBUS_SESSION_BUS_ADDRESS", None)
        self.env = env
        self.procs = []
        self.logs = []

    def _new_runtime(self):
        self.runtimes += 1
        runtime = os.path.join(self.scratch, f"runtime{self.runtimes}")
        os.makedirs(runtime, mode=0o700)
        return runtime

    def fresh_runtime(self):
        """A new runtime folder, so that the next start is free of any lock left behind."""
        self.env["XDG_RUNTIME_DIR"] = self._new_runtime()

    def install_command(self, name, script):
        """Puts a stand-in command ahead of the system's on the program's PATH."""
        path = os.path.join(self.bin, name)
        with open(path, "w") as f:
            f.write(script)
        os.chmod(path, 0o755)

    # -- processes ---------------------------------------------------------

    def start(self):
        log = open(os.path.join(self.scratch, f"pokopin-{len(self.procs)}.log"), "wb")
        self.logs.append(log.name)
        # Sounds are found by bare name, so the program runs in its own folder.
        proc = subprocess.Popen([self.program], cwd=self.folder, env=self.env,
                                stdout=log, stderr=subprocess.STDOUT, stdin=subprocess.DEVNULL)
        log.close()
        self.procs.append(proc)
        return proc

    def sanitizer_reports(self):
        """Reports of the address, leak or undefined-behaviour checkers in the
        program's output (a sanitizer build)."""
        found = []
        for name in self.logs:
            with open(name, "rb") as f:
                text = f.read().decode("utf-8", "replace")
            found += [line for line in text.splitlines()
                      if "Sanitizer" in line and "ERROR" in line or "runtime error:" in line]
        return found

    def close(self, keep=False):
        for p in self.procs:
            if p.poll() is None:
                p.kill()
                p.wait()
        self.xvfb.stop()
        if keep:
            print(f"test files kept in {self.scratch}")
            for name in self.logs:
                with open(name, "rb") as f:
                    text = f.read().decode("utf-8", "replace")
                if text.strip():
                    print(f"--- {name}\n{text[-4000:]}")
        else:
            shutil.rmtree(self.scratch, ignore_errors=True)

    # -- X -----------------------------------------------------------------

    def x(self, *args, check_rc=True):
        r = subprocess.run(list(args), env=dict(TOOL_ENV, DISPLAY=self.xvfb.display),
                           stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True, timeout=30)
        if check_rc and r.returncode != 0:
            raise Failure(f"{' '.join(args)} failed: {r.stderr.strip()}")
        return r.stdout

    def windows(self):
        """Top-level windows that are on screen (mapped and viewable)."""
        out = self.x("xwininfo", "-root", "-children")
        found = []
        for line in out.splitlines():
            m = re.match(r'\s+(0x[0-9a-f]+) (?:"(.*)"|\(has no name\)):', line)
            if not m:
                continue
            wid = m.group(1)
            info = self.x("xwininfo", "-id", wid, check_rc=False)
            if "Map State: IsViewable" not in info:
                continue
            ax = int(re.search(r"Absolute upper-left X:\s+(-?\d+)", info).group(1))
            ay = int(re.search(r"Absolute upper-left Y:\s+(-?\d+)", info).group(1))
            w = int(re.search(r"Width:\s+(\d+)", info).group(1))
            h = int(re.search(r"Height:\s+(\d+)", info).group(1))
            found.append(Window(wid, m.group(2) or "", ax, ay, w, h))
        return found

    def window(self, title):
        for w in self.windows():
            if w.name == title:
                return w
        return None

    def wait_window(self, title, timeout=20):
        return wait_until(lambda: self.window(title), timeout, f'a window titled "{title}"',
                          interval=0.1)

    def wait_gone(self, title, timeout=10):
        wait_until(lambda: self.window(title) is None, timeout, f'"{title}" to close',
                   interval=0.1)

    def focus(self, window):
        # No window manager: give the window the input focus directly.
        self.x("xdotool", "windowfocus", "--sync", window.id)

    def keys(self, window, *keys, delay_ms=60):
        self.focus(window)
        self.x("xdotool", "key", "--delay", str(delay_ms), *keys)

    def press(self, *keys):
        """Keys to whatever holds the keyboard now, such as an open menu."""
        self.x("xdotool", "key", "--delay", "60", *keys)

    def tap(self, window, key, hold=0.05):
        """A key pressed and released, with the release a little later."""
        self.focus(window)
        self.x("xdotool", "keydown", key)
        time.sleep(hold)
        self.x("xdotool", "keyup", key)

    def click_holes(self, window, holes, gap=0.07):
        """Clicks the given holes, one after the other, in one xdotool call.
        A hole comes round again only after the double-click interval (400 ms),
        so that every press starts a click of its own."""
        cmd = ["xdotool"]
        for k in holes:
            x, y = window.hole_centre(k)
            cmd += ["mousemove", str(x), str(y), "click", "--delay", "0", "1",
                    "sleep", str(gap)]
        self.x(*cmd)

    def grab(self, window, x, y, width, height):
        """Raw RGB pixels of a rectangle of a window, in window coordinates."""
        r = subprocess.run(["import", "-window", window.id, "-crop", f"{width}x{height}+{x}+{y}",
                            "+repage", "-depth", "8", "rgb:-"],
                           env=dict(TOOL_ENV, DISPLAY=self.xvfb.display),
                           stdout=subprocess.PIPE, stderr=subprocess.PIPE, timeout=30)
        if r.returncode != 0 or len(r.stdout) != width * height * 3:
            raise Failure(f"cannot grab the window: {r.stderr.decode(errors='replace').strip()}")
        return r.stdout

    def watch_maps(self):
        """Starts counting windows mapped on the screen from now on."""
        proc = subprocess.Popen(["xev", "-root", "-event", "substructure"],
                                env=dict(TOOL_ENV, DISPLAY=self.xvfb.display),
                                stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
        # xev reports nothing until it listens; give it a moment to select its events.
        time.sleep(0.5)
        return proc

    def stop_watch(self, proc):
        proc.terminate()
        out, _ = proc.communicate(5)
        return sum(1 for line in out.splitlines() if line.startswith("MapNotify"))

    def open_to_main(self, proc=None):
        """Starts the program (unless proc is given) and gets it to its main
        window, answering the first-run greeting when it comes."""
        proc = proc or self.start()
        deadline = time.monotonic() + 25
        while time.monotonic() < deadline:
            main = self.window(MAIN_TITLE)
            if main:
                return proc, main
            box = self.window(GREETING_TITLE)
            if box:
                self.keys(box, "Return")
                main = self.wait_window(MAIN_TITLE)
                return proc, main
            if proc.poll() is not None:
                raise Failure(f"the program ended with status {proc.returncode} "
                              "before its window showed")
            time.sleep(0.1)
        raise Failure("the main window did not show")

    # -- score log ---------------------------------------------------------

    def score_bytes(self):
        try:
            with open(self.score_file, "rb") as f:
                return f.read()
        except FileNotFoundError:
            return None

    def score_entries(self):
        data = self.score_bytes()
        return [] if data is None else parse_score_log(data)

    def finished_entries(self):
        """How many entries the log holds up to their closing empty line; unlike
        score_entries(), safe while an entry is being written."""
        data = self.score_bytes()
        return 0 if data is None else data.count(ENTRY_END)

    def wait_entries(self, count, timeout):
        wait_until(lambda: self.finished_entries() >= count, timeout,
                   f"{count} score log entr{'y' if count == 1 else 'ies'}", interval=0.2)
        return self.score_entries()


# Weekday names from Monday, as datetime.weekday() counts: 月 火 水 木 金 土 日.
WEEKDAYS = ["\u6708", "\u706b", "\u6c34", "\u6728", "\u91d1", "\u571f", "\u65e5"]
LINE1 = f"Pokopin Version {os.environ['POKOPIN_VERSION_TEXT']} Score Record"
# 2000年5月3日 水曜日 14時5分9秒: no leading zeros anywhere.
LINE2 = re.compile(r"^(\d{4})\u5e74([1-9]\d?)\u6708([1-9]\d?)\u65e5 (.)\u66dc\u65e5 "
                   r"(0|[1-9]\d?)\u6642(0|[1-9]\d?)\u5206(0|[1-9]\d?)\u79d2$")
# ☆ふつう ☆PlayTime 25秒  ☆COUNT 50 ☆HIT 12 ☆MISS 3 ☆SCORE 312
LINE3 = re.compile(r"^\u2606(\u304b\u3093\u305f\u3093|\u3075\u3064\u3046|\u3080\u305a\u3044"
                   r"|\u3069\u3080\u305a) \u2606PlayTime (0|[1-9]\d*)\u79d2 "
                   r" \u2606COUNT (0|[1-9]\d*) \u2606HIT (0|[1-9]\d*) \u2606MISS (0|[1-9]\d*)"
                   r" \u2606SCORE (0|-?[1-9]\d*)$")
ENTRY_END = b"-" * 74 + b"\r\n\r\n"


def parse_score_log(data):
    """The entries of a score log, each a dict; fails on any byte out of place."""
    if not data.endswith(b"\r\n"):
        raise Failure(f"score log does not end with CR LF: {data[-20:]!r}")
    raw_lines = data.split(b"\r\n")[:-1]
    for raw in raw_lines:
        if b"\r" in raw or b"\n" in raw:
            raise Failure(f"score log line with a stray CR or LF: {raw!r}")
    try:
        lines = [raw.decode("shift_jis") for raw in raw_lines]
    except UnicodeDecodeError as e:
        raise Failure(f"score log is not Shift-JIS: {e}")
    if len(lines) % 5:
        raise Failure(f"score log has {len(lines)} lines, not a multiple of five")
    entries = []
    for i in range(0, len(lines), 5):
        l1, l2, l3, l4, l5 = lines[i:i + 5]
        if l1 != LINE1:
            raise Failure(f"entry line 1 is {l1!r}")
        m2 = LINE2.match(l2)
        if not m2:
            raise Failure(f"entry line 2 is {l2!r}")
        year, month, day = (int(v) for v in m2.group(1, 2, 3))
        when = datetime.datetime(year, month, day, *(int(v) for v in m2.group(5, 6, 7)))
        if WEEKDAYS[when.weekday()] != m2.group(4):
            raise Failure(f"entry line 2 names the wrong weekday: {l2!r}")
        m3 = LINE3.match(l3)
        if not m3:
            raise Failure(f"entry line 3 is {l3!r}")
        if l4 != "-" * 74:
            raise Failure(f"entry line 4 is {l4!r}")
        if l5 != "":
            raise Failure(f"entry line 5 is {l5!r}")
        entries.append(dict(when=when, mode=m3.group(1), playtime=int(m3.group(2)),
                            count=int(m3.group(3)), hit=int(m3.group(4)),
                            miss=int(m3.group(5)), score=int(m3.group(6))))
    return entries


def highest_score(hits):
    """Every hit in one unbroken combo: 1 + 4 + 9 + ..."""
    return hits * (hits + 1) * (2 * hits + 1) // 6


def run(cases, make_game=None):
    """Command line: CASE PROGRAM. Runs one case on a fresh Game (or what
    make_game(PROGRAM) gives) and cleans up."""
    if len(sys.argv) != 3 or sys.argv[1] not in cases:
        print(f"usage: {sys.argv[0]} {{{'|'.join(cases)}}} PATH/TO/pokopin", file=sys.stderr)
        return 2
    game = (make_game or Game)(sys.argv[2])
    ok = False
    started = time.monotonic()
    try:
        cases[sys.argv[1]](game)
        for p in game.procs:
            end_process(p)
        reports = game.sanitizer_reports()
        check(not reports, "no sanitizer reports" + "".join("\n  " + r for r in reports))
        ok = True
    except Failure as e:
        print("FAIL:", e, flush=True)
    except (OSError, subprocess.SubprocessError) as e:
        print("FAIL: the test could not go on:", e, flush=True)
    finally:
        game.close(keep=not ok)
    print(f"{'passed' if ok else 'failed'} in {time.monotonic() - started:.1f} s")
    return 0 if ok else 1


def end_process(proc):
    if proc.poll() is None:
        proc.send_signal(signal.SIGKILL)
        proc.wait()
