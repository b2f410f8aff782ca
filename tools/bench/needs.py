# SPDX-FileCopyrightText: 2026 Pokopin developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

"""What the benchmark scripts need beyond the standard library, installed on
first use: the test command no longer brings numpy along. Debian's package
serves Debian's own Python, so a script started by another python3 found
on PATH is started again under /usr/bin/python3."""
import importlib
import os
import subprocess
import sys


def numpy():
    """The numpy module; installs Debian's python3-numpy first when it is missing."""
    try:
        return importlib.import_module("numpy")
    except ImportError:
        pass
    system = "/usr/bin/python3"
    if os.path.realpath(sys.executable) != os.path.realpath(system) and os.path.exists(system):
        os.execv(system, [system] + sys.argv)
    print("numpy is missing: installing python3-numpy", file=sys.stderr, flush=True)
    sudo = [] if os.geteuid() == 0 else ["sudo"]
    env = dict(os.environ, DEBIAN_FRONTEND="noninteractive")
    install = sudo + ["apt-get", "install", "-y", "--no-install-recommends", "python3-numpy"]
    if subprocess.run(install, env=env).returncode != 0:
        # A fresh machine may not have read the package lists yet.
        subprocess.run(sudo + ["apt-get", "update"], env=env, check=True)
        subprocess.run(install, env=env, check=True)
    importlib.invalidate_caches()
    return importlib.import_module("numpy")
