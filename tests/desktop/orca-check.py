#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""What a blind user hears: the real screen reader (Orca, speaking Russian
through speech-dispatcher and espeak-ng, the audio going into a file) reads
the program while it is used by the keyboard alone, from the warm-up to the
final caption of a variant, with some answers wrong, and once with the wrong
warm-up answer. Every step is checked against what Orca sent to speech, the
`SPEECH OUTPUT:` lines of its debug log, by content.

Usage (in a desktop session of its own, see with-session.sh):
    /usr/bin/python3 orca-check.py PATH-TO-velitar [TRANSCRIPT]

Everything runs with a private home and runtime folder, a Russian locale
made here, and is stopped at the end, also when a check fails.
"""

import glob
import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import time

import pyatspi

PRAISE = ("Правильно, но вопрос простой... Теперь Вы можете приступить к собственно тесту, "
          "выбрав один из пяти вариантов.")
REPROACH = "Не верно. Спросите у свечницы и вернитесь к тесту."
RIGHT = "Ответ правильный."
PASSED = "Поздравляем! Тест пройден."
FAILED = "Сожалеем, но тест не пройден."
# Waiting: Orca has said all it will when its log has not grown for QUIET
# seconds; a step that brings nothing within STEP seconds fails.
QUIET = 0.8
STEP = 20

work = tempfile.mkdtemp(prefix="velitar-orca-")
log_path = os.path.join(work, "orca.log")
started = []  # processes started here, each the leader of its own group
heard = []  # every step: (keys, utterances)
step_offset = 0  # where in Orca's log the current step began


def flat(text):
    return " ".join(text.split())


class Failure(Exception):
    pass


def start(argv, env, **kwargs):
    process = subprocess.Popen(argv, env=env, start_new_session=True, **kwargs)
    started.append(process)
    return process


def stop(process):
    if process.poll() is None:
        try:
            os.killpg(process.pid, signal.SIGKILL)
        except ProcessLookupError:
            pass
    process.wait()


def stop_speech_dispatcher():
    """Orca started speech-dispatcher, which runs on its own with its pid in
    the private runtime folder; it and its speech module are stopped here."""
    for pid_file in glob.glob(os.path.join(os.environ.get("XDG_RUNTIME_DIR", work), "speech-dispatcher", "**",
                                           "*.pid"), recursive=True):
        try:
            pid = int(open(pid_file).read().split()[0])
            os.killpg(os.getpgid(pid), signal.SIGKILL)
        except (OSError, ValueError, IndexError):
            pass


def prepare():
    """A home of its own: the Russian locale, speech-dispatcher speaking
    Russian with espeak-ng into a file, openbox, Orca's default settings."""
    home = os.path.join(work, "home")
    config = os.path.join(home, ".config")
    os.makedirs(config)
    locales = os.path.join(work, "locale")
    os.makedirs(locales)
    subprocess.run(["localedef", "-i", "ru_RU", "-f", "UTF-8", os.path.join(locales, "ru_RU.UTF-8")],
                   check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    speechd = os.path.join(config, "speech-dispatcher")
    shutil.copytree("/etc/speech-dispatcher", speechd)
    conf = os.path.join(speechd, "speechd.conf")
    keys = ("DefaultModule", "DefaultLanguage", "AudioOutputMethod", "LogLevel", "LogDir")
    with open(conf) as f:
        lines = [line for line in f if not line.split() or line.split()[0] not in keys]
    os.makedirs(os.path.join(work, "speechd-log"))
    lines += ["DefaultModule espeak-ng\n", 'DefaultLanguage "ru"\n', 'AudioOutputMethod "alsa"\n',
              "LogLevel 5\n", f'LogDir "{work}/speechd-log"\n']
    with open(conf, "w") as f:
        f.writelines(lines)
    with open(os.path.join(home, ".asoundrc"), "w") as f:
        f.write(f'pcm.!default {{ type file slave.pcm "null" file "{work}/speech.raw" format "raw" }}\n')
    os.makedirs(os.path.join(work, "orca-prefs"))
    env = dict(os.environ, HOME=home, XDG_CONFIG_HOME=config, XDG_DATA_HOME=os.path.join(home, ".local/share"),
               XDG_CACHE_HOME=os.path.join(home, ".cache"), LOCPATH=locales, LANG="ru_RU.UTF-8", LANGUAGE="ru",
               LC_ALL="ru_RU.UTF-8")
    env.pop("QT_LINUX_ACCESSIBILITY_ALWAYS_ON", None)  # Qt follows the screen reader, as on a desktop
    return env


def speech(offset=0, echoes=True):
    """What Orca has sent to speech, from a byte offset of its log on; with
    echoes=False without its echo of the keys pressed, which it logs right
    after "Presenting keyboard event"."""
    if not os.path.exists(log_path):
        return []
    with open(log_path, "rb") as f:
        f.seek(offset)
        data = f.read().decode("utf-8", "replace")
    said, echo = [], False
    for m in re.finditer(r"Presenting keyboard event|SPEECH OUTPUT: '(.*)$", data, re.M):
        if m.group(1) is None:
            echo = True
            continue
        if echoes or not echo:
            said.append(flat(spoken(m.group(1))))
        echo = False
    return said


def spoken(line):
    """The text of a `SPEECH OUTPUT: 'text'` line, without the voice that may
    follow it: nothing (Orca 43) or a dictionary with dictionaries in it
    (Orca 48), "'text' {'established': False, 'family': {...}}"."""
    line = line.rstrip()
    if line.endswith("}"):
        depth = 0
        for i in range(len(line) - 1, -1, -1):
            depth += {"}": 1, "{": -1}.get(line[i], 0)
            if depth == 0:
                line = line[:i].rstrip()
                break
    return line[:-1] if line.endswith("'") else line


def log_size():
    try:
        return os.path.getsize(log_path)
    except OSError:
        return 0


def settle(offset, until, what):
    """Waits until what Orca said since offset satisfies until(), then until
    its log stays quiet; returns the utterances."""
    end = time.monotonic() + STEP
    size, since = log_size(), time.monotonic()
    done = False
    while True:
        time.sleep(0.05)
        now = time.monotonic()
        grown = log_size()
        if grown != size:
            size, since = grown, now
        said = speech(offset)
        done = done or until(said)
        if done and now - since >= QUIET:
            return said
        if now >= end:
            raise Failure(f"{what}: not heard within {STEP} s")


def text(expected):
    return expected() if callable(expected) else expected


def step(keys, what, expect=(), absent=(), once=()):
    """Presses keys (xdotool names), waits for Orca, and checks what it said:
    every text of expect is heard, none of absent, each of once no more than
    once, and no utterance twice. Returns the utterances."""
    global step_offset
    step_offset = log_size()
    for key in keys:
        subprocess.run(["xdotool", "key", "--clearmodifiers", key], check=True)
    said = settle(step_offset, lambda s: all(any(text(e) in u for u in s) for e in expect), what)
    heard.append((" ".join(keys) or "(none)", said))
    joined = " | ".join(said)
    for a in absent:
        if a in joined:
            raise Failure(f"{what}: heard '{a}'")
    for o in map(text, once):
        if joined.count(o) > 1:
            raise Failure(f"{what}: heard '{o}' {joined.count(o)} times")
    # A key pressed twice is echoed twice; anything else is said once.
    told = speech(step_offset, echoes=False)
    twice = [u for u in set(told) if told.count(u) > 1]
    if twice:
        raise Failure(f"{what}: heard twice: {twice}")
    print(f"ok   {what}")
    return said


def start_orca(env):
    # Orca's debug file is written line by line here, so that its log can be
    # followed while it runs.
    launcher = ("import builtins, runpy, sys\n"
                "plain = builtins.open\n"
                "def line_buffered(file, mode='r', *args, **kwargs):\n"
                "    if file == sys.argv[-1] and 'w' in mode:\n"
                "        kwargs['buffering'] = 1\n"
                "    return plain(file, mode, *args, **kwargs)\n"
                "builtins.open = line_buffered\n"
                "runpy.run_path('/usr/bin/orca', run_name='__main__')\n")
    prefs = os.path.join(work, "orca-prefs")
    orca = start(["/usr/bin/python3", "-c", launcher, "-u", prefs, "--debug-file", log_path], env,
                 stdout=subprocess.DEVNULL, stderr=open(os.path.join(work, "orca.err"), "w"))
    # Ready once it is on the accessibility bus and has greeted.
    end = time.monotonic() + 60
    while time.monotonic() < end:
        if orca.poll() is not None:
            raise Failure(f"Orca ended with status {orca.returncode}: " + open(os.path.join(work, "orca.err")).read())
        if speech():
            break
        time.sleep(0.1)
    else:
        err = open(os.path.join(work, "orca.err")).read()[-2000:]
        logged = open(log_path, errors="replace").read()[-2000:] if os.path.exists(log_path) else "(no debug log)"
        raise Failure(f"Orca did not start within 60 s\nits errors: {err}\nits log ends: {logged}")
    settle(0, lambda s: True, "Orca's start")
    return orca


def start_program(program, env, what, expect):
    global step_offset
    step_offset = log_size()
    velitar = start([program], env)
    said = settle(step_offset, lambda s: all(any(e in u for u in s) for e in expect), what)
    heard.append(("(start)", said))
    print(f"ok   {what}")
    return velitar, said


def test_window(variant):
    """The variant's window on the accessibility bus: what its question box
    shows, and the options of the list that is shown."""
    desktop = pyatspi.Registry.getDesktop(0)
    app = next(a for a in desktop if a is not None and a.name == "velitar")
    frame = next(f for f in app if f.name.endswith(f". Вариант {variant}"))
    box = next(c for c in frame if c.getRole() == pyatspi.ROLE_TEXT and c.name == "Вопрос")

    def question():
        t = box.queryText()
        return flat(t.getText(0, t.characterCount))

    def options():
        shown = next(c for c in frame if c.getRole() == pyatspi.ROLE_LIST
                     and c.getState().contains(pyatspi.STATE_SHOWING))
        return [flat(i.name) for i in shown]
    return question, options


def read_question_box(question):
    """The question box can be read line by line: Shift+Tab twice from the
    list reaches it, Down reads its second line, Tab twice goes back."""
    said = step(["shift+Tab", "shift+Tab"], "Shift+Tab twice reaches the question box", ["Вопрос"])
    first = " ".join(said)
    said = step(["Down"], "Down in the question box reads its second line", [])
    line = said[-1] if said else ""
    if not line or line in first or not question().rstrip(".").endswith(line.rstrip(".")):
        raise Failure(f"the second line of '{question()}' was not read (heard {said})")
    step(["Tab", "Tab"], "Tab twice goes back to the list", [question])


def warm_up_wrong(program, env):
    velitar, _ = start_program(program, env, "start window: the warm-up question is heard",
                               ["Как называется главное христианское богослужение?", "Ctrl"])
    step(["Down"], "a plain arrow answers 'Лития': the reproach and Exit are heard", [REPROACH, "Выход"],
         once=[REPROACH])
    step(["space"], "Space on Exit ends the program", [])
    end = time.monotonic() + 10
    while velitar.poll() is None and time.monotonic() < end:
        time.sleep(0.05)
    if velitar.returncode != 0:
        raise Failure(f"Exit: the program did not end with status 0 ({velitar.poll()})")


def take_variant(program, env, variant, transcript):
    velitar, said = start_program(program, env, "start window: its title and the warm-up question are heard",
                                  ["Velitar", "Как называется главное христианское богослужение?", "Ctrl"])
    step(["ctrl+Down"], "Ctrl+Down frames 'Литания' without answering", ["Литания"], absent=[PRAISE])
    step(["ctrl+Down"], "Ctrl+Down frames 'Литургия'", ["Литургия"], absent=[PRAISE])
    step(["space"], "Space answers: the praise, 'Выберите вариант' and button 1 are heard",
         [PRAISE, "Выберите вариант", "1"], once=[PRAISE])
    keys = ["Tab"] * (variant - 1) + ["space"]
    step(keys, f"button {variant} opens the variant: 'Вариант {variant}' and Exit are heard",
         [f"Вариант {variant}", "Выход"])
    question, shown_options = test_window(variant)
    score = 0
    for k in range(1, 13):
        if k == 1:
            step(["Tab"], "Tab from Exit reaches question 1, heard in full", [question, "Ctrl"], once=[question])
        else:
            step(["space"], f"one key after the answer, question {k} is heard in full", [question],
                 once=[question])
        options = shown_options()
        # Right answers, but wrong ones to questions 2, 5 and 9.
        right = RIGHT_ROWS[k - 1]
        if k in (2, 5, 9):
            row = 0 if right != 0 else 1
        else:
            row = right
        if k == 3:
            read_question_box(question)
        if row > 0:
            for framed in range(1, row + 1):
                step(["ctrl+Down"], f"question {k}: Ctrl+Down frames '{options[framed]}'", [options[framed]],
                     absent=[RIGHT])
            key = "space" if k % 2 else "Return"
        else:
            key = "Down"  # a plain arrow answers with the first option
        score += row == right
        verdict_expect = [RIGHT] if row == right else []
        total = f"Правильных ответов: {score}."
        said = step([key], f"question {k} answered: the verdict and score {score} are heard",
                    verdict_expect + [total], absent=[RIGHT] if row != right else [], once=[total])
        if row != right and not any(len(u) > 20 and RIGHT not in u for u in said):
            raise Failure(f"question {k}: no reproach heard")
        if k == 12:
            caption = PASSED if score >= 11 else FAILED
            if not any(caption in u for u in said):
                raise Failure(f"after question 12: the caption '{caption}' not heard")
            # The box's value may be read with it, once.
            bare = [u for u in said if u.rstrip(".") == str(score)]
            if len(bare) > 1:
                raise Failure(f"after question 12: the score heard on its own {len(bare)} times: {said}")
    with open(transcript, "w") as f:
        for keys, said in heard:
            f.write(f"[{keys}]\n")
            for u in said:
                f.write(f"    {u}\n")
    stop(velitar)


# The right option of each question of variant 1, counted from 0.
RIGHT_ROWS = [1, 3, 2, 2, 1, 2, 1, 3, 1, 3, 1, 0]


def main():
    program = sys.argv[1]
    variant = 1
    transcript = sys.argv[2] if len(sys.argv) > 2 else os.path.join(work, "transcript.txt")
    kept = os.path.splitext(transcript)[0] + "-orca-debug.log"
    status = 1
    try:
        env = prepare()
        ready = os.path.join(work, "wm-ready")
        start(["openbox", "--sm-disable", "--startup", f"touch {ready}"], env,
              stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        end = time.monotonic() + 20
        while not os.path.exists(ready) and time.monotonic() < end:
            time.sleep(0.05)
        if not os.path.exists(ready):
            raise Failure("openbox did not start")
        start_orca(env)
        take_variant(program, env, variant, transcript)
        warm_up_wrong(program, env)
        status = 0
        print("all checks passed")
    except Failure as failure:
        print(f"FAIL {failure}")
        print("Heard at that step:")
        print("\n".join("    " + u for u in speech(step_offset)))
        print(f"Orca's debug log: {kept}")
    finally:
        if os.path.exists(log_path):
            shutil.copy(log_path, kept)
        for process in reversed(started):
            stop(process)
        stop_speech_dispatcher()
        shutil.rmtree(work, ignore_errors=True)
    sys.exit(status)


main()
