#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""What a screen reader gets from the running program over the accessibility
bus (AT-SPI): the windows and their controls with Russian names and roles, and
the events that announce the echo of an answer, the verdict and the final
caption; where the focus goes after each answer and move, and what the
control it goes to tells. Drives the program through AT-SPI (selects options,
presses buttons, ends with Exit); xdotool gives the shown window the keyboard,
as a window manager would, and presses the one Tab from Exit to question 1.

Usage (in a session with an accessibility bus, see with-session.sh):
    /usr/bin/python3 atspi-check.py PATH-TO-velitar
"""

import subprocess
import sys
import time

import pyatspi
from gi.repository import GLib

PRAISE = (" Правильно, но вопрос простой...    Теперь Вы можете приступить к    собственно тесту, "
          "выбрав один     из пяти вариантов.")
RIGHT = " Ответ правильный."

# Roles are compared by their constants: their names differ between
# at-spi2-core versions (a push button is "push button" in 2.46, "button" in 2.56).
BUTTON, FRAME, LABEL, LIST, TEXT = (pyatspi.ROLE_PUSH_BUTTON, pyatspi.ROLE_FRAME, pyatspi.ROLE_LABEL,
                                    pyatspi.ROLE_LIST, pyatspi.ROLE_TEXT)

failures = []
events = []


def check(condition, what):
    print(("ok   " if condition else "FAIL ") + what)
    if not condition:
        failures.append(what)
    return condition


def pump(seconds, until=None):
    """Runs the GLib main loop, which delivers AT-SPI events, until `until()`
    holds or the time is up; returns whether it held."""
    context = GLib.MainContext.default()
    end = time.monotonic() + seconds
    while True:
        while context.pending():
            context.iteration(False)
        if until is not None and until():
            return True
        if time.monotonic() >= end:
            return until is None
        time.sleep(0.01)


def record(event):
    source = event.source
    try:
        events.append((event.type, source.getRole(), source.name, source.description, event.detail1))
    except Exception:  # the object went away meanwhile
        pass


def saw(kind, role=None, name=None, description=None, detail=None):
    def matches(e):
        return (e[0].startswith(kind) and (role is None or e[1] == role) and (name is None or e[2] == name)
                and (description is None or e[3] == description) and (detail is None or e[4] == detail))
    return lambda: any(matches(e) for e in events)


def showing(obj):
    return obj.getState().contains(pyatspi.STATE_SHOWING)


def children(obj):
    return [obj[i] for i in range(obj.childCount)]


def find(parent, role, name=None, description=None):
    for child in children(parent):
        if ((role is None or child.getRole() == role) and (name is None or child.name == name)
                and (description is None or child.description == description)):
            return child
    return None


def text_of(obj):
    text = obj.queryText()
    return text.getText(0, text.characterCount)


def press(button):
    action = button.queryAction()
    names = [action.getName(i) for i in range(action.nActions)]
    action.doAction(names.index("Press"))


def choose(answer_list, row):
    answer_list.queryTable().addRowSelection(row)


def check_every_control_named(frame):
    """Every control has a name; a label still without text has a description."""
    unnamed = []
    for child in children(frame):
        if not child.name and not (child.getRole() == pyatspi.ROLE_LABEL and child.description):
            unnamed.append(child.getRoleName())
        if child.getRole() == pyatspi.ROLE_LIST:
            unnamed += ["list item" for item in children(child) if not item.name]
    check(not unnamed, f"every control of '{frame.name}' has a name (unnamed: {unnamed})")


def find_application(timeout):
    desktop = pyatspi.Registry.getDesktop(0)
    end = time.monotonic() + timeout
    while time.monotonic() < end:
        for app in desktop:
            if app is not None and app.name == "velitar":
                return app
        time.sleep(0.1)
    return None


def give_keyboard(pid):
    """Gives the keyboard to the program's shown window, as a window manager
    would when it is shown (there is none in this session)."""
    found = subprocess.run(["xdotool", "search", "--sync", "--onlyvisible", "--pid", str(pid), "--name", "Велитарь|Velitar"],
                           capture_output=True, text=True, timeout=10).stdout.split()
    for window in found:
        subprocess.run(["xdotool", "windowfocus", "--sync", window], timeout=10)


def focused(obj):
    return obj is not None and obj.getState().contains(pyatspi.STATE_FOCUSED)


def start_window(app, pid):
    frame = next((f for f in children(app) if f.name == '"Velitar"'), None)
    if not check(frame is not None and frame.getRole() == pyatspi.ROLE_FRAME,
                 "the start window is a frame named by its title '\"Velitar\"'"):
        return None
    answers = find(frame, LIST, "Как называется главное христианское богослужение?")
    check(answers is not None and showing(answers), "the warm-up answers are a list named by the question")
    check("Ctrl" in answers.description, "the list's description tells how to look at the options without answering")
    check([item.name for item in children(answers)] == ["Лития", "Литания", "Литургия", "Парастас", "Полиелей"],
          "its items are the five options")
    check(find(frame, LABEL, "Как называется главное христианское богослужение?") is not None,
          "the warm-up question is a label with its text")
    check(find(frame, None, "Выход", "Завершить программу") is not None, "Exit is a button 'Выход'")
    check_every_control_named(frame)
    give_keyboard(pid)
    check(pump(5, lambda: focused(answers)), "the focus starts on the list")

    events.clear()
    choose(answers, 2)
    check(pump(5, saw("object:property-change:accessible-name", LABEL, "Литургия", "Выбранный ответ")),
          "choosing 'Литургия' announces the echo of the option")
    check(pump(5, saw("object:property-change:accessible-name", LABEL, PRAISE, "Оценка ответа")),
          "and the praise")
    check(pump(5, saw("object:state-changed:showing", LABEL, "Выберите вариант", detail=1)),
          "and shows 'Выберите вариант'")
    for n in range(1, 6):
        check(pump(5, saw("object:state-changed:showing", None, str(n), None, 1)), f"and shows button '{n}'")
    one = find(frame, None, "1")
    check(pump(5, lambda: focused(one)) and one.description.startswith(" ".join(PRAISE.split()))
          and "Выберите вариант" in one.description,
          f"the focus is on button '1', which tells the praise (focused: {focused(one)}, '{one.description}')")
    return frame


def take_test(app, start, variant, pid):
    press(find(start, BUTTON, str(variant)))
    frame = None
    end = time.monotonic() + 10
    while frame is None and time.monotonic() < end:
        frame = next((f for f in children(app) if f.name.startswith('Тест  "Велитарь"') and showing(f)), None)
        pump(0.05)
    give_keyboard(pid)
    # Named by its title and its variant.
    if not check(frame is not None and frame.name == f'Тест  "Велитарь". Вариант {variant}'
                 and frame.getRole() == pyatspi.ROLE_FRAME, f"button '{variant}' shows the frame of variant {variant}"):
        return
    lists = [c for c in children(frame) if c.getRole() == pyatspi.ROLE_LIST]
    check(len(lists) == 12 and all(l.name.startswith(f"{k}) ") for k, l in enumerate(lists, 1)),
          "the twelve answer lists are named by their questions '1) ...' .. '12) ...'")
    question = find(frame, TEXT, "Вопрос")
    score = find(frame, TEXT, "Число правильных ответов")
    check(question is not None and text_of(question).startswith("1) "), "the question box 'Вопрос' reads question 1")
    check(score is not None and text_of(score) == "", "the score box 'Число правильных ответов' is empty")
    check_every_control_named(frame)

    right = 0
    for k in range(1, 13):
        if k > 1:
            button = next((b for b in children(frame) if b.getRole() == pyatspi.ROLE_PUSH_BUTTON
                           and b.name in ("Следующий вопрос", "Последний вопрос") and showing(b)), None)
            if not check(button is not None, f"the button to question {k} is there"):
                return
            press(button)
            pump(5, lambda: showing(lists[k - 1]) and focused(lists[k - 1]))
            check(button.description == "", f"question {k}: its button no longer tells the last verdict")
        if not check(showing(lists[k - 1]), f"question {k}: its list is shown"):
            return
        if k > 1:
            check(focused(lists[k - 1]) and " ".join(text_of(question).split()) == lists[k - 1].name,
                  f"question {k}: its list has the focus and is named by the question shown")
        else:
            subprocess.run(["xdotool", "key", "Tab"], timeout=10)  # from Exit, where the window opens
            check(pump(5, lambda: focused(lists[0])), "question 1: Tab from Exit gives its list the focus")
        events.clear()
        option = lists[k - 1][0].name
        choose(lists[k - 1], 0)
        check(pump(5, saw("object:property-change:accessible-name", LABEL, option, "Выбранный ответ")),
              f"question {k}: the echo '{option}' is announced")
        check(pump(5, saw("object:property-change:accessible-name", LABEL, None, "Оценка ответа")),
              f"question {k}: the verdict is announced")
        verdict = find(frame, LABEL, None, "Оценка ответа").name
        right += verdict == RIGHT
        # The score box takes the score without a text or caret event: a
        # screen reader would take a caret moving in it, with the focus on its
        # way there after question 12, for the focus itself. It is read when
        # the focus comes. What the answer shows last is sent after it.
        last = saw("object:state-changed:showing", LABEL, None, "Итог теста", 1) if k == 12 else \
            saw("object:state-changed:showing", BUTTON, None, None, 1)
        check(pump(5, last) and text_of(score) == str(right)
              and not saw("object:text", TEXT, "Число правильных ответов")(),
              f"question {k}: the score box reads {right}, and sent no text or caret event")
        told = f"{' '.join(verdict.split())} Правильных ответов: {right}."
        if k < 12:
            nxt = next((b for b in children(frame) if b.getRole() == pyatspi.ROLE_PUSH_BUTTON and showing(b)
                        and b.name != "Выход"), None)
            check(pump(5, lambda: focused(nxt)) and nxt.description == told,
                  f"question {k}: the focus is on the button it showed, telling '{told}' ('{nxt.description}')")
        else:
            caption = next(c for c in children(frame) if c.description == "Итог теста" and showing(c))
            told = told.replace(" Правильных", f" {' '.join(caption.name.split())} Правильных")
            check(pump(5, lambda: focused(score)) and score.description == told,
                  f"after question 12 the focus is on the score box, telling '{told}' ('{score.description}')")
    caption = "Поздравляем!" if right >= 11 else "Сожалеем"
    check(pump(5, lambda: any(e[0].startswith("object:state-changed:showing") and e[3] == "Итог теста"
                              and e[2].startswith(caption) and e[4] == 1 for e in events)),
          f"after question 12 the final caption '{caption}...' is shown and announced")


def main():
    program = subprocess.Popen([sys.argv[1]])
    try:
        app = find_application(15)
        if not check(app is not None, "the program is on the accessibility bus as 'velitar'"):
            return
        pyatspi.Registry.registerEventListener(record, "object:property-change:accessible-name",
                                               "object:state-changed:showing", "object:text-changed",
                                               "object:text-caret-moved")
        pump(0.5)  # the program learns of the listeners
        start = start_window(app, program.pid)
        if start is not None:
            take_test(app, start, 3, program.pid)
        exits = [f for f in children(app) if showing(f)]
        if check(len(exits) == 1, "one window is showing"):
            press(find(exits[0], BUTTON, "Выход"))
            try:
                status = program.wait(10)
            except subprocess.TimeoutExpired:
                status = None
            check(status == 0, f"'Выход' ends the program with status 0 (status {status})")
    finally:
        if program.poll() is None:
            program.kill()
            program.wait()
    if failures:
        print(f"{len(failures)} check(s) failed")
        sys.exit(1)
    print("all checks passed")


main()
