#!/usr/bin/env python3

# SPDX-FileCopyrightText: 2026 Pokopin developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

"""The installed game as a player meets it.

usage: install_e2e.py installed BUILD_DIR

Installs the build with `cmake --install` into a fresh prefix that nobody may
write to, starts the program through its desktop entry's Exec line as an
ordinary user (nobody, when the test runs as root) with an empty home, plays
a short game and checks that the entry lands in ~/.local/share/pokopin, that
SCORE hands that file to the viewer and that help comes from share/pokopin.
Exit status 0 passed, 1 failed, 77 skipped.
"""

import os
import pwd
import re
import shlex
import shutil
import struct
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "e2e"))
from e2e_support import GREETING_TITLE, MAIN_TITLE, Failure, Game, check, run, wait_until  # noqa: E402
from xvfb import Xvfb  # noqa: E402

APP_ID = "invalid.pokopin.Pokopin"


def icon_sizes():
    """The icon sizes the picture library lists, the one list the build reads too."""
    header = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "src", "art",
                          "pokopin_art.h")
    with open(header, encoding="utf-8") as f:
        m = re.search(r"kAppIconSizes = \{([0-9, \n]+)\}", f.read())
    if not m:
        sys.exit(f"{header}: no list of icon sizes")
    return [int(n) for n in m.group(1).split(",")]


ICON_SIZES = icon_sizes()
DATA_FILES = ["hue.wav", "bisi.wav", "hei.wav", "pon.wav", "pipo2.wav", "pipo1.wav",
              "moguana.mid", "mogu20.mid", "Help.html"]
EXPECTED = (["bin/pokopin",
             f"share/applications/{APP_ID}.desktop",
             f"share/metainfo/{APP_ID}.metainfo.xml",
             "share/man/man6/pokopin.6.gz",
             "share/doc/pokopin/copyright",
             "share/doc/pokopin/changelog.gz"]
            + [f"share/pokopin/{name}" for name in DATA_FILES]
            + [f"share/icons/hicolor/{n}x{n}/apps/{APP_ID}.png" for n in ICON_SIZES])


def png_size(path):
    with open(path, "rb") as f:
        head = f.read(24)
    if head[:8] != b"\x89PNG\r\n\x1a\n":
        raise Failure(f"{path} is not a PNG file")
    return struct.unpack(">II", head[16:24])


def tree(folder):
    return sorted(os.path.relpath(os.path.join(d, name), folder)
                  for d, dirs, files in os.walk(folder) for name in dirs + files)


class InstalledGame(Game):
    """A Game whose program is an installed copy run by an ordinary user."""

    def __init__(self, build_dir):
        self.scratch = tempfile.mkdtemp(prefix="pokopin-install-")
        os.chmod(self.scratch, 0o755)  # the player passes through it
        self.prefix = os.path.join(self.scratch, "prefix")
        r = subprocess.run(["cmake", "--install", build_dir, "--prefix", self.prefix],
                           stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)
        if r.returncode != 0:
            raise Failure(f"cmake --install failed:\n{r.stdout}")
        self.program = os.path.join(self.prefix, "bin", "pokopin")
        self.user = pwd.getpwnam("nobody") if os.geteuid() == 0 else None
        home = os.path.join(self.scratch, "home")
        self.folder = home  # the working folder: nowhere near the data
        self.score_file = os.path.join(home, ".local", "share", "pokopin", "Score.txt")
        self.bin = os.path.join(self.scratch, "bin")
        self.viewer_log = os.path.join(self.scratch, "viewer", "args")
        for folder in (home, self.bin, os.path.dirname(self.viewer_log)):
            os.makedirs(folder)
            self.give(folder)
        self.runtimes = 0
        runtime = self._new_runtime()
        self.xvfb = Xvfb()
        env = {k: v for k, v in os.environ.items()
               if not k.startswith("XDG_") and k not in ("SESSION_MANAGER", "DBUS_SESSION_BUS_ADDRESS")}
        env.update(DISPLAY=self.xvfb.display, HOME=home, XDG_RUNTIME_DIR=runtime,
                   QT_QPA_PLATFORM="xcb", SDL_AUDIODRIVER="dummy",
                   PATH=os.pathsep.join([self.bin, os.path.join(self.prefix, "bin"),
                                         env.get("PATH", "/usr/bin:/bin")]))
        self.env = env
        self.procs = []
        self.logs = []

    def give(self, path):
        """Hands a folder to the player."""
        if self.user:
            os.chown(path, self.user.pw_uid, self.user.pw_gid)

    def _new_runtime(self):
        runtime = super()._new_runtime()
        self.give(runtime)
        return runtime

    def lock_prefix(self, locked):
        for d, dirs, files in os.walk(self.prefix):
            for name in [d] + [os.path.join(d, f) for f in files]:
                mode = os.stat(name).st_mode & 0o7777
                os.chmod(name, mode & ~0o222 if locked else mode | 0o200)

    def start(self):
        # The desktop entry's command, found on PATH as a menu would find it.
        with open(os.path.join(self.prefix, "share", "applications", f"{APP_ID}.desktop"),
                  encoding="utf-8") as f:
            exec_line = next(line.split("=", 1)[1].strip() for line in f
                             if line.startswith("Exec="))
        command = shlex.split(exec_line)
        if self.user:
            command = ["setpriv", f"--reuid={self.user.pw_uid}", f"--regid={self.user.pw_gid}",
                       "--clear-groups", "--"] + command
        log = open(os.path.join(self.scratch, f"pokopin-{len(self.procs)}.log"), "wb")
        self.logs.append(log.name)
        proc = subprocess.Popen(command, cwd=self.folder, env=self.env, stdout=log,
                                stderr=subprocess.STDOUT, stdin=subprocess.DEVNULL)
        log.close()
        self.procs.append(proc)
        return proc

    def close(self, keep=False):
        if os.path.isdir(self.prefix):
            self.lock_prefix(False)
        super().close(keep)


def installed(game):
    for path in EXPECTED:
        if not os.path.isfile(os.path.join(game.prefix, path)):
            raise Failure(f"{path} is not installed")
    check(True, f"all {len(EXPECTED)} files are installed")
    for n in ICON_SIZES:
        size = png_size(os.path.join(game.prefix, f"share/icons/hicolor/{n}x{n}/apps/{APP_ID}.png"))
        check(size == (n, n), f"the {n}x{n} icon is {size[0]}x{size[1]} pixels")
    game.lock_prefix(True)
    before = tree(game.prefix)

    game.install_command("xdg-open", f'#!/bin/sh\nprintf "%s\\n" "$@" >> "{game.viewer_log}"\n')
    proc = game.start()
    box = game.wait_window(GREETING_TITLE)
    check(not os.path.exists(os.path.dirname(game.score_file)),
          "no log folder yet: the greeting comes, and start-up creates nothing")
    game.keys(box, "Return")
    main = game.wait_window(MAIN_TITLE)

    game.tap(main, "space")
    time.sleep(0.5)
    game.keys(main, "q", "w", "e", "a", "s", "d", "z", "x", "c")
    time.sleep(1.2)
    game.tap(main, "space")
    entries = game.wait_entries(1, 10)
    check(len(entries) == 1, f"the short game is logged in {game.score_file}")
    print("entry:", entries[0])
    check(entries[0]["hit"] + entries[0]["miss"] > 0, "the keys whacked holes")
    folder = os.path.dirname(game.score_file)
    st = os.stat(folder)
    check(st.st_mode & 0o777 == 0o700, f"the log folder is private ({st.st_mode & 0o777:o})")
    if game.user:
        check(os.stat(game.score_file).st_uid == game.user.pw_uid, "the player owns the log")
    check(tree(game.prefix) == before, "nothing was written into the installed prefix")

    time.sleep(0.6)  # the end-of-game pause
    game.keys(main, "ctrl+s")
    game.tap(main, "F1")
    wait_until(lambda: os.path.exists(game.viewer_log)
               and len(open(game.viewer_log).read().split("\n")) > 2, 10,
               "the viewer to be called twice")
    with open(game.viewer_log) as f:
        args = [a.removeprefix("file://") for a in f.read().split("\n")[:-1]]
    print("viewer arguments:", args)
    check(args[0] == game.score_file, "SCORE hands the log in ~/.local/share/pokopin to the viewer")
    help_page = os.path.join(game.prefix, "share", "pokopin", "Help.html")
    check(args[1:] == [help_page], "HELP hands over the installed share/pokopin/Help.html")
    check(proc.poll() is None, "the program runs on")


if __name__ == "__main__":
    missing = [t for t in ("Xvfb", "xdotool", "xwininfo", "import", "cmake") if not shutil.which(t)]
    if os.geteuid() == 0 and not shutil.which("setpriv"):
        missing.append("setpriv")
    if missing:
        print("skipped: missing", " ".join(missing))
        sys.exit(77)
    sys.exit(run({"installed": installed}, InstalledGame))
