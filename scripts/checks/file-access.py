#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Reads an strace log (strace -f -y -e trace=%file) of one run of Velitar
and fails if the program wrote any file, read a file that is not part of the
system (libraries, fonts, Qt plugins, system configuration), or looked for
files of its own in the user's home, its working directory or next to its
executable.

    file-access.py LOG --program PATH --home DIR [--cwd DIR]

Lookups the toolkit makes on its own behalf in those places are known and
allowed one by one below (fontconfig's user configuration and caches, X
resources and cursor themes, Qt's logging rules, qt.conf and plugin
directories next to the executable, the runtime directory and its session
bus socket).
"""
import argparse
import os
import re
import sys

# Calls that create, change or remove what a path names.
WRITING = {
    "creat", "mkdir", "mkdirat", "rename", "renameat", "renameat2", "unlink", "unlinkat", "rmdir",
    "link", "linkat", "symlink", "symlinkat", "truncate", "chmod", "fchmodat", "chown", "fchownat",
    "lchown", "utime", "utimes", "utimensat", "futimesat", "mknod", "mknodat", "setxattr",
    "lsetxattr", "removexattr", "lremovexattr",
}
OPENING = {"open", "openat", "openat2"}
WRITE_FLAGS = re.compile(r"O_WRONLY|O_RDWR|O_CREAT|O_TRUNC|O_APPEND|O_TMPFILE")

# Where the system keeps what any program may read: libraries, Qt and its
# plugins, fonts and their caches, locales, X and D-Bus configuration.
SYSTEM = ("/usr/", "/lib/", "/lib64/", "/etc/", "/proc/", "/sys/", "/dev/", "/var/cache/fontconfig/",
          "/var/lib/dbus/machine-id", "/run/")

LINE = re.compile(r"^(\d+) +(?:<\.\.\. (\w+) resumed>|(\w+)\()(.*)$")


def calls(log):
    """Yields (syscall, argument text, result text) with interrupted calls joined."""
    pending = {}
    for raw in log:
        raw = raw.rstrip("\n")
        m = LINE.match(raw)
        if not m:
            continue
        pid, resumed, name, rest = m.groups()
        if resumed:
            if pid not in pending:
                continue
            name, head = pending.pop(pid)
            rest = head + rest
        elif rest.endswith("<unfinished ...>"):
            pending[pid] = (name, rest[: -len("<unfinished ...>")])
            continue
        args, _, result = rest.rpartition(") = ")
        yield name, args, result


TWO_PATHS = {"rename", "renameat", "renameat2", "link", "linkat", "symlink", "symlinkat"}


def paths(name, args):
    """The paths a call names (the first quoted argument, or the first two
    for rename, link and symlink), resolved against a directory descriptor
    shown as 3</some/dir> where there is one."""
    found = []
    for m in re.finditer(r'(?:(?:AT_FDCWD|(\d+)<([^>]*)>), )?"((?:[^"\\]|\\.)*)"', args):
        directory, path = m.group(2), m.group(3)
        if directory and not path.startswith("/"):
            path = os.path.join(directory, path)
        found.append(path)
    return found[:2] if name in TWO_PATHS else found[:1]


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("log")
    parser.add_argument("--program", required=True)
    parser.add_argument("--home", required=True, help="HOME and the XDG directories of the run live here")
    parser.add_argument("--cwd")
    parser.add_argument("--xauthority")
    a = parser.parse_args()

    program = os.path.realpath(a.program)
    program_dir = os.path.dirname(program)
    home = os.path.realpath(a.home)
    runtime = os.environ.get("XDG_RUNTIME_DIR", "")

    def toolkit_lookup(path):
        """A place the toolkit looks at for itself, never the program's own file."""
        rel = os.path.relpath(path, home) if path.startswith(home + "/") else None
        if rel is not None:
            # fontconfig: user configuration, fonts and caches
            if re.match(r"(\.fonts(\.conf(\.d)?)?|\.fontconfig|(\.config|config)/fontconfig|"
                        r"(\.cache|cache)/fontconfig|(\.local/share|data)/fonts)(/|$)", rel):
                return True
            # libX11 resources and the X cursor themes
            if re.match(r"\.Xdefaults(-.*)?$|\.Xresources$|\.icons(/|$)|(\.local/share|data)/icons(/|$)", rel):
                return True
            # Qt's logging rules
            if re.match(r"(\.config|config)/QtProject/qtlogging\.ini$", rel):
                return True
        if runtime and (path == runtime or path in (runtime + "/flatpak-info", runtime + "/bus")):
            return True  # Qt's runtime directory, the flatpak probe, the session bus socket
        if path == program_dir:
            return True  # Qt adds the executable's directory to its plugin paths
        if os.path.dirname(path) == program_dir:
            name = os.path.basename(path)
            # qt.conf and the plugin directories Qt looks for beside the executable
            return name in ("qt.conf", "qt6.conf") or name in (
                "accessible", "accessiblebridge", "iconengines", "imageformats", "platforminputcontexts",
                "platforms", "platformthemes", "styles", "xcbglintegrations", "egldeviceintegrations",
                "wayland-decoration-client", "wayland-graphics-integration-client", "wayland-shell-integration",
                "generic", "tls", "networkinformation")
        return False

    def ours(path):
        """Inside the places where a program keeps files of its own."""
        places = [home, program_dir] + ([os.path.realpath(a.cwd)] if a.cwd else [])
        return any(path == p or path.startswith(p + "/") for p in places)

    problems = []
    with open(a.log, encoding="utf-8", errors="replace") as log:
        for name, args, result in calls(log):
            if name == "getcwd":
                # Asks for the working directory's name (fontconfig 2.15 does, reading
                # its configuration), which looks for no file; a file looked for in
                # that directory afterwards is a call of its own and is judged below.
                continue
            succeeded = not result.startswith("-1")
            for path in paths(name, args):
                if not path or path == program or path in ("/proc/self/exe",):
                    continue
                absolute = path if path.startswith("/") else os.path.join(a.cwd or "/", path)
                if name in WRITING and succeeded:
                    problems.append(f"wrote: {name}({path}) = {result}")
                elif name in OPENING and WRITE_FLAGS.search(args) and succeeded and not path.startswith("/dev/"):
                    problems.append(f"opened for writing: {path} = {result}")
                elif ours(absolute) and not toolkit_lookup(absolute) and not (
                        name in ("readlink", "readlinkat") and program.startswith(absolute + "/")):
                    problems.append(f"looked for its own file: {name}({path}) = {result}")
                elif name in OPENING and succeeded and not absolute.startswith(SYSTEM) \
                        and not toolkit_lookup(absolute) and absolute != a.xauthority:
                    problems.append(f"read a file that is not the system's: {path}")

    if problems:
        print("\n".join(sorted(set(problems))))
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
