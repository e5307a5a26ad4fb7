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
# A scripted run takes about a second, under load a few; one that has not
# ended within RUN seconds hangs.
RUN = 60

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


def logged(name):
    """A log file of this session, named to the watchdog as one to show
    should the test hang."""
    path = os.path.join(os.environ["XDG_RUNTIME_DIR"], name)
    open(path, "w").close()
    if os.environ.get("VELITAR_WATCH_LOGS"):
        link = os.path.join(os.environ["VELITAR_WATCH_LOGS"], name)
        if not os.path.lexists(link):
            os.symlink(path, link)
    return path


def hung(what, proc, log_path):
    """A run that has not ended: where it and its session are (the
    watchdog's state.sh), and the end of its Wayland log; then it is ended."""
    print(f"TIMEOUT {what} has not ended within {RUN} s; where it is:", flush=True)
    if os.environ.get("VELITAR_WATCHED"):
        subprocess.run(["bash", os.path.join(os.path.dirname(__file__), "..", "watch", "state.sh"),
                        "VELITAR_WATCHED=" + os.environ["VELITAR_WATCHED"], os.environ.get("VELITAR_WATCH_LOGS", "")],
                       timeout=240)
    else:
        print("\n".join(read(log_path).splitlines()[-30:]))
    proc.kill()
    proc.wait()


assert os.environ.get("QT_QPA_PLATFORM") == "wayland" and "DISPLAY" not in os.environ
env = dict(os.environ, WAYLAND_DEBUG="client")

for run in [*TEST_WINDOWS, "warm-up"]:
    run_log = logged("scripted-run.log")
    with open(run_log, "w") as err:
        proc = subprocess.Popen([scripted_run, run], env=env, stdout=subprocess.PIPE, stderr=err, text=True)
        try:
            out, _ = proc.communicate(timeout=RUN)
        except subprocess.TimeoutExpired:
            hung(f"scripted run {run}", proc, run_log)
            check(False, f"scripted run {run} ended")
            sys.exit(1)
    expected = [START] + ([TEST_WINDOWS[run]] if run in TEST_WINDOWS else [])
    sizes = window_sizes(read(run_log))
    check(proc.returncode == 0 and sizes == expected,
          f"scripted run {run}: status {proc.returncode}, Wayland windows {sizes} (designed {expected})"
          + (f": {out.strip()}" if proc.returncode == 0 else "\n" + messages(read(run_log))))

# The program as a user starts it, ended with Exit.
log_path = logged("velitar.log")
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
            status = proc.wait(RUN)
        except subprocess.TimeoutExpired:
            hung("the program, after 'Выход',", proc, log_path)
            status = None
        check(status == 0, f"'Выход' ends the program with status {status}")
    else:
        check(False, "the start window shows 'Выход'")
finally:
    if proc.poll() is None:
        proc.kill()
        proc.wait()

sys.exit(1 if failures else 0)
