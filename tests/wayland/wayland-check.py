#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""The program in a Wayland session (run inside with-session.sh, for the
accessibility bus, and with-weston.sh, for the compositor): it connects as a
native Wayland client, its windows have their designed client sizes, and Exit
ends it with status 0.

  wayland-check.py VELITAR SCRIPTED_RUN

The scripted runs take each variant from the warm-up to Exit in-process; the
program itself is started as a user starts it and its Exit button is pressed
through the accessibility bus, since a headless compositor has no input
devices. WAYLAND_DEBUG makes libwayland-client log every request, among them
each window's geometry."""
import os
import re
import subprocess
import sys
import time

import pyatspi

program, scripted_run = sys.argv[1:3]
failures = 0

START = (305, 321)
# The client areas of the five test windows, in pixels.
TEST_WINDOWS = {"1": (545, 422), "2": (545, 422), "3": (546, 423), "4": (553, 420), "5": (545, 420)}


def check(ok, what):
    global failures
    print(("ok   " if ok else "FAIL ") + what)
    failures += 0 if ok else 1


def read(path):
    with open(path) as file:
        return file.read()


def window_sizes(log):
    """The first geometry each Wayland surface is given, in order (libwayland
    1.21 logs objects as name@id, 1.23 as name#id)."""
    sizes = {}
    for surface, w, h in re.findall(r"-> xdg_surface[@#](\d+)\.set_window_geometry\(0, 0, (\d+), (\d+)\)", log):
        sizes.setdefault(surface, (int(w), int(h)))
    return list(sizes.values())


def messages(log):
    """What a run said besides the Wayland requests and events."""
    return "\n".join(line for line in log.splitlines() if not line.startswith("["))[-2000:]


assert os.environ.get("QT_QPA_PLATFORM") == "wayland" and "DISPLAY" not in os.environ
env = dict(os.environ, WAYLAND_DEBUG="client")

for run in [*TEST_WINDOWS, "warm-up"]:
    done = subprocess.run([scripted_run, run], env=env, capture_output=True, text=True, timeout=120)
    expected = [START] + ([TEST_WINDOWS[run]] if run in TEST_WINDOWS else [])
    sizes = window_sizes(done.stderr)
    check(done.returncode == 0 and sizes == expected,
          f"scripted run {run}: status {done.returncode}, Wayland windows {sizes} (designed {expected})"
          + (f": {done.stdout.strip()}" if done.returncode == 0 else "\n" + messages(done.stderr)))

# The program as a user starts it, ended with Exit.
log_path = os.path.join(os.environ["XDG_RUNTIME_DIR"], "velitar.log")
with open(log_path, "w") as log:
    proc = subprocess.Popen([program], env=env, stderr=log)
try:
    deadline = time.monotonic() + 20
    app = None
    while app is None and time.monotonic() < deadline and proc.poll() is None:
        app = next((a for a in pyatspi.Registry.getDesktop(0) if a is not None and a.name == "velitar"), None)
        if app is None:
            time.sleep(0.05)
    check(app is not None, "the program is on the accessibility bus")
    exit_button = None
    if app is not None:
        exit_button = pyatspi.findDescendant(
            app, lambda a: a.getRole() == pyatspi.ROLE_PUSH_BUTTON and a.name == "Выход" and
            a.getState().contains(pyatspi.STATE_SHOWING))
        # Shown means its window is mapped: wait for the frame that carries the geometry.
        while time.monotonic() < deadline and not window_sizes(read(log_path)):
            time.sleep(0.05)
    sizes = window_sizes(read(log_path))
    check(sizes == [START], f"the start window is a Wayland window of {sizes} (designed {[START]})")
    if exit_button is not None:
        exit_button.queryAction().doAction(0)
        try:
            status = proc.wait(10)
        except subprocess.TimeoutExpired:
            status = None
        check(status == 0, f"'Выход' ends the program with status {status}")
    else:
        check(False, "the start window shows 'Выход'")
finally:
    if proc.poll() is None:
        proc.kill()
        proc.wait()

sys.exit(1 if failures else 0)
