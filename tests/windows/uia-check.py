#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""What a Windows screen reader is told: a UI Automation client (uia-focus.exe)
records every focus event while velitar.exe is taken by keys through the
warm-up and variant 1 (Ctrl with arrows, then Space or Enter; a plain arrow;
the first letter of an option), and once with the wrong warm-up answer. After
each key the controls reported are checked, in their order: their control
type, name and full description (the verdict and the score on the move
button, the final caption and the total on the score box, each question as
its list's name). Each focus move is reported once.

UI Automation itself (Wine's, as Windows' is said to) reports a window's
focused control once more when the window first takes the focus, and then
the window: in a step that brings up a window, its focused control may be
reported twice in a row, once of them UI Automation's own. Any other repeat
is the program's.

A step whose events do not come tells what else there was to see: the keys
Wine's X11 driver took from the X server in it (the program runs with
WINEDEBUG=+key), any event that came in a second STEP, and a screenshot (the
current option is framed), so that a key lost on its way is told from a move
the program made and did not report.

Usage (in the session of with-wine.sh):
    python3 uia-check.py PATH-TO-velitar.exe PATH-TO-uia_focus.exe TRANSCRIPT
    (a failed step's screenshot is TRANSCRIPT with .png for its ending)
"""

import os
import re
import shutil
import subprocess
import sys
import tempfile
import time

PRAISE = ("Правильно, но вопрос простой... Теперь Вы можете приступить к собственно тесту, "
          "выбрав один из пяти вариантов.")
REPROACH = "Не верно. Спросите у свечницы и вернитесь к тесту."
RIGHT = "Ответ правильный."
FAILED = "Сожалеем, но тест не пройден."
HINT = ("Стрелка сразу выбирает ответ. Чтобы просмотреть ответы, не выбирая, нажимайте Ctrl со стрелками, "
        "затем пробел или Enter.")
EXIT = "Завершить программу"
QUESTIONS = {1: "1) Сугубая ектения начинается словами:",
             2: "2) Что держит диакон в трёх перстах, возглашая ектении?",
             12: "12) Какой член Символа Веры говорит о Святом Духе?"}
# The right option of each question of variant 1, counted from 0, and the one
# chosen: right, but wrong to questions 2 and 5 (a plain Down chooses the
# first option), as the screen-reader test on Linux answers.
RIGHT_ROWS = [1, 3, 2, 2, 1, 2, 1, 3, 1, 3, 1, 0]
ROWS = [0 if k in (2, 5) else right for k, right in enumerate(RIGHT_ROWS, 1)]
# A step has brought all it will when no event has come for QUIET seconds
# after the last one expected; one that brings them not within STEP fails.
QUIET = 1.0
STEP = 20

FIELDS = ("ms", "pid", "type", "name", "description", "help", "status", "value")
work = tempfile.mkdtemp(prefix="velitar-uia-")
events_path = os.path.join(work, "events.txt")
heard = []  # every step: (keys, reports)
started = []
key_log = os.path.join(work, "keys.txt")  # the program's standard error: Wine's key trace
screenshot = None


class Failure(Exception):
    pass


class Expect:
    """A report expected: its control type, its name (text, a pattern, or any
    name but an empty one), texts its description has, or the whole of it."""

    def __init__(self, type, name=None, has=(), description=None):
        self.type, self.name, self.has, self.description = type, name, has, description

    def matches(self, r):
        name = (r["name"] != "" if self.name is None else
                re.fullmatch(self.name, r["name"]) is not None if isinstance(self.name, re.Pattern) else
                r["name"] == self.name)
        return (r["type"] == self.type and name and all(t in r["description"] for t in self.has) and
                (self.description is None or r["description"] == self.description))

    def __str__(self):
        name = self.name.pattern if isinstance(self.name, re.Pattern) else self.name or "(a name)"
        return f"{self.type} «{name}»" + (f" telling {list(self.has)}" if self.has else "")


def windows_path(path):
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def events():
    try:
        with open(events_path, encoding="utf-8") as f:
            lines = f.read().split("\n")[:-1]
    except FileNotFoundError:
        return []
    return [dict(zip(FIELDS, line.split("\t"))) for line in lines if line.count("\t") == len(FIELDS) - 1]


def shown(r):
    extra = "; ".join(f"{k}: {r[k]}" for k in ("description", "help", "status", "value") if r[k] not in ("", "-"))
    return f"{r['type']} «{r['name']}»" + (f" — {extra}" if extra else "")


def keys_taken():
    """The key presses and releases Wine's X11 driver took, in order, with
    the X window each went to."""
    try:
        with open(key_log, encoding="utf-8", errors="replace") as f:
            return [("press" if t == "2" else "release", f"keycode {k} to X window {w}") for t, w, k in
                    re.findall(r"X11DRV_KeyEvent type (\d), window (\w+), state \w+, keycode (\d+)", f.read())]
    except FileNotFoundError:
        return []


def wine_errors():
    """The errors Wine reported in the program (a thread blocked on a lock
    among them), each once."""
    try:
        with open(key_log, encoding="utf-8", errors="replace") as f:
            return list(dict.fromkeys(line.strip() for line in f if ":err:" in line))
    except FileNotFoundError:
        return []


def runs(reports):
    """Consecutive reports of the same control as one: (report, times)."""
    out = []
    for r in reports:
        key = (r["type"], r["name"], r["description"])
        if out and out[-1][0] == key:
            out[-1][2] += 1
        else:
            out.append([key, r, 1])
    return [(r, n) for _, r, n in out]


def step(keys, what, expect, window=None):
    """Presses keys (xdotool names), waits for the focus events they bring,
    and checks them: the controls of expect, in that order, each reported
    once; in a step that brings up the window of caption window, the first
    may be reported twice (see above)."""
    offset, taken = len(events()), len(keys_taken())
    for key in keys:
        subprocess.run(["xdotool", "key", "--clearmodifiers", key], check=True)
    end = time.monotonic() + STEP
    count, since = offset, time.monotonic()
    while True:
        time.sleep(0.05)
        now = time.monotonic()
        got = events()
        if len(got) != count:
            count, since = len(got), now
        reports = got[offset:]
        if len(runs(reports)) >= len(expect) and now - since >= QUIET:
            break
        if now >= end:
            time.sleep(STEP)
            late = events()[offset + len(reports):]
            heard.append((" ".join(keys) or "(start)", reports + late))
            subprocess.run(["import", "-window", "root", screenshot], check=False)
            shutil.copy(key_log, os.path.splitext(screenshot)[0] + "-wine.log")
            focus = subprocess.run("printf 'focus %x active %x' $(xdotool getwindowfocus) $(xdotool getactivewindow)",
                                   shell=True, capture_output=True, text=True).stdout
            raise Failure(f"{what}: {len(expect)} controls not reported within {STEP} s; reported: "
                          f"{[shown(r) for r in reports]}; in {STEP} s more: {[shown(r) for r in late]}; "
                          f"the keys Wine took: {[' '.join(k) for k in keys_taken()[taken:]]}; "
                          f"the screen: {screenshot}; X {focus}; X windows: {x_windows()}; "
                          f"Wine's errors in the program: {wine_errors() or 'none'}")
    heard.append((" ".join(keys) or "(start)", reports))
    told = runs(reports)
    problems = []
    for i, (r, n) in enumerate(told):
        if n > (2 if window and i == 0 else 1):
            problems.append(f"{shown(r)} reported {n} times in a row")
    if len(told) != len(expect) or not all(e.matches(r) for e, (r, _) in zip(expect, told)):
        problems.append(f"expected {[str(e) for e in expect]}")
    if problems:
        raise Failure(f"{what}: " + "; ".join(problems) + "\n    reported:\n" +
                      "\n".join(f"      {shown(r)}" for r in reports))
    print(f"ok   {what}")
    if window:
        made_active(window)
    return reports


def x_windows():
    """The X windows with a name: {id in hexadecimal: name}."""
    out = subprocess.run("for w in $(xdotool search --name .); do printf '%x\\t%s\\n' $w \"$(xdotool getwindowname $w)\"; done",
                         shell=True, capture_output=True, text=True).stdout
    return dict(line.split("\t", 1) for line in out.splitlines() if "\t" in line)


def made_active(title):
    """Waits for the window manager to make the window of that caption, which
    the program has just activated, its active window too. On a busy machine
    it sometimes does not: the window stays inactive, and the keys meant for
    it are lost. A user then clicks the window; here it is activated as a
    pager would, and the focus events that brings are kept in the transcript."""
    begun = time.monotonic()
    end = begun + STEP
    window = None
    while window is None or time.monotonic() < begun + 5:
        active = subprocess.run(["xdotool", "getactivewindow", "getwindowname"], capture_output=True, text=True)
        if active.stdout.rstrip("\n") == title:
            return
        if time.monotonic() >= begun + 5:
            window = next((w for w, name in x_windows().items() if name == title), None)
        if time.monotonic() >= end:
            raise Failure(f"«{title}» was not made active nor found among the X windows within {STEP} s; "
                          f"the active window: «{active.stdout.strip()}»; X windows: {x_windows()}")
        time.sleep(0.1)
    offset = len(events())
    subprocess.run(["xdotool", "windowactivate", "--sync", "0x" + window], check=False, timeout=STEP)
    count, since, end = offset, time.monotonic(), time.monotonic() + STEP
    while time.monotonic() < end and time.monotonic() - since < QUIET * 2:
        time.sleep(0.05)
        if len(events()) != count:
            count, since = len(events()), time.monotonic()
    heard.append((f"(the window manager had not activated «{title}» within 5 s: activated)", events()[offset:]))
    print(f"     the window manager had not activated «{title}» within 5 s: activated it")


def start_program(program):
    with open(key_log, "w") as log:
        process = subprocess.Popen(["wine", program], stdout=subprocess.DEVNULL, stderr=log,
                                   env=dict(os.environ, WINEDEBUG="+key"))
    started.append(process)
    step([], "start window: the warm-up question is reported as its list's name, then the window",
         [Expect("list", "Как называется главное христианское богослужение?", description=HINT),
          Expect("window", '"Velitar"')], window='"Velitar"')
    return process


def answer(k, score):
    """Question k answered as planned: the verdict and the score on the move
    button (after question 12 the caption and the total on the score box)."""
    row = ROWS[k - 1]
    right = row == RIGHT_ROWS[k - 1]
    total = f"Правильных ответов: {score}."
    if k == 12:
        step(["ctrl+Down"], "question 12: Ctrl+Down frames «9-й»", [Expect("list item", "9-й")])
        step(["ctrl+Up"], "question 12: Ctrl+Up frames «8-й»", [Expect("list item", "8-й")])
        step(["8"], "question 12 answered by its first character: the score box tells the verdict, "
             "the final caption and the total",
             [Expect("edit", "Число правильных ответов", has=(RIGHT, FAILED, total))])
        return
    button = "Следующий вопрос" if k < 11 else "Последний вопрос"
    told = Expect("button", button, has=(RIGHT, total) if right else ("Неверно.", total))
    if row == 0:
        step(["Down"], f"question {k}: a plain Down answers with the first option: the option, then "
             f"«{button}» with the reproach and score {score}", [Expect("list item"), told])
        return
    for n in range(row):
        step(["ctrl+Down"], f"question {k}: Ctrl+Down frames option {n + 2}", [Expect("list item")])
    key = "space" if k % 2 else "Return"
    step([key], f"question {k} answered ({key}): «{button}» tells the verdict and score {score}", [told])


def take_variant(program):
    velitar = start_program(program)
    step(["ctrl+Down"], "Ctrl+Down frames «Литания»", [Expect("list item", "Литания")])
    step(["ctrl+Down"], "Ctrl+Down frames «Литургия»", [Expect("list item", "Литургия")])
    step(["space"], "Space answers: «1» tells the praise", [Expect("button", "1", has=(PRAISE, "Выберите вариант"))])
    step(["space"], "«1» opens variant 1: Exit, then the window",
         [Expect("button", "Выход", description=EXIT), Expect("window", re.compile(r'Тест +"Велитарь"\. Вариант 1'))],
         window='Тест  "Велитарь"')
    score = 0
    for k in range(1, 13):
        name = QUESTIONS.get(k, re.compile(rf"{k}\) \S.*"))
        if k == 1:
            step(["Tab"], "Tab from Exit reaches question 1, its list named by it", [Expect("list", name, description=HINT)])
        else:
            step(["space"], f"one key after the answer, question {k} is its list's name",
                 [Expect("list", name, description=HINT)])
        score += ROWS[k - 1] == RIGHT_ROWS[k - 1]
        answer(k, score)
    velitar.kill()
    velitar.wait()


def warm_up_wrong(program):
    velitar = start_program(program)
    step(["Down"], "a plain Down answers «Лития»: the option, then Exit with the reproach",
         [Expect("list item", "Лития"), Expect("button", "Выход", has=(REPROACH, EXIT))])
    subprocess.run(["xdotool", "key", "--clearmodifiers", "space"], check=True)
    try:
        status = velitar.wait(timeout=20)
    except subprocess.TimeoutExpired:
        raise Failure("Space on Exit: the program did not end within 20 s")
    if status != 0:
        raise Failure(f"Space on Exit: the program ended with status {status}")
    print("ok   Space on Exit ends the program with status 0")


def main():
    global screenshot
    program, client, transcript = sys.argv[1:4]
    screenshot = os.path.splitext(transcript)[0] + ".png"
    if os.path.exists(screenshot):
        os.remove(screenshot)
    stop = os.path.join(work, "stop")
    status = 1
    try:
        listener = subprocess.Popen(["wine", client, windows_path(events_path), windows_path(stop)],
                                    stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        started.append(listener)
        end = time.monotonic() + 60
        while not os.path.exists(events_path) or "ready" not in open(events_path, encoding="utf-8").read():
            if time.monotonic() > end or listener.poll() is not None:
                raise Failure("the UI Automation client did not start listening within 60 s")
            time.sleep(0.1)
        take_variant(program)
        warm_up_wrong(program)
        status = 0
        print("all checks passed")
    except Failure as failure:
        print(f"FAIL {failure}")
    finally:
        with open(transcript, "w", encoding="utf-8") as f:
            for keys, reports in heard:
                f.write(f"[{keys}]\n")
                for r in reports:
                    f.write(f"    {shown(r)}\n")
        open(stop, "w").close()
        for process in reversed(started):
            try:
                process.wait(timeout=10)
            except subprocess.TimeoutExpired:
                process.kill()
                process.wait()
        shutil.rmtree(work, ignore_errors=True)
    sys.exit(status)


main()
