# SPDX-FileCopyrightText: 2026 Pokopin developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

"""A private X server on a free display number, for the end-to-end tests and
the benchmark."""
import os
import subprocess


class Xvfb:
    def __init__(self):
        r, w = os.pipe()
        # -noreset: the server would otherwise reset when its last client
        # leaves, and refuse the next program started in the same session.
        self.proc = subprocess.Popen(
            ["Xvfb", "-displayfd", str(w), "-screen", "0", "1024x768x24",
             "-nolisten", "tcp", "-noreset"],
            pass_fds=(w,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
            start_new_session=True)
        os.close(w)
        data = b""
        with os.fdopen(r, "rb") as f:
            while not data.endswith(b"\n"):
                chunk = f.read(1)
                if not chunk:
                    raise RuntimeError("Xvfb did not report its display")
                data += chunk
        self.display = ":" + data.decode().strip()

    def stop(self):
        if self.proc.poll() is None:
            self.proc.terminate()
            try:
                self.proc.wait(5)
            except subprocess.TimeoutExpired:
                self.proc.kill()
                self.proc.wait()
