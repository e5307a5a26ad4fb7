#!/usr/bin/python3
"""What a screen reader gets from the running program over the accessibility
bus (AT-SPI): the windows and their controls with Russian names and roles, and
the events that announce the echo of an answer, the verdict, the score and the
final caption. Drives the program through AT-SPI alone: selects options,
presses buttons, and ends with Exit.

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
        if (child.getRole() == role and (name is None or child.name == name)
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
        if not child.name and not (child.getRole() == LABEL and child.description):
            unnamed.append(child.getRoleName())
        if child.getRole() == LIST:
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


def start_window(app):
    frame = next((f for f in children(app) if f.name == 'Тест "Велитарь"'), None)
    if not check(frame is not None and frame.getRole() == FRAME, "the start window is a frame named 'Тест \"Велитарь\"'"):
        return None
    answers = find(frame, LIST, "Ответы на вопрос-разминку")
    check(answers is not None and showing(answers), "the warm-up answers are a list 'Ответы на вопрос-разминку'")
    check([item.name for item in children(answers)] == ["Лития", "Литания", "Литургия", "Парастас", "Полиелей"],
          "its items are the five options")
    check(find(frame, LABEL, "Как называется главное христианское богослужение?") is not None,
          "the warm-up question is a label with its text")
    check(find(frame, BUTTON, "Выход", "Завершить программу") is not None, "Exit is a push button 'Выход'")
    check_every_control_named(frame)

    events.clear()
    choose(answers, 2)
    check(pump(5, saw("object:property-change:accessible-name", LABEL, "Литургия", "Выбранный ответ")),
          "choosing 'Литургия' announces the echo of the option")
    check(pump(5, saw("object:property-change:accessible-name", LABEL, PRAISE, "Оценка ответа")),
          "and the praise")
    check(pump(5, saw("object:state-changed:showing", LABEL, "Выберите вариант", detail=1)),
          "and shows 'Выберите вариант'")
    for n in range(1, 6):
        check(pump(5, saw("object:state-changed:showing", BUTTON, str(n), f"Открыть вариант {n}", 1)),
              f"and shows button '{n}'")
    return frame


def take_test(app, start, variant):
    press(find(start, BUTTON, str(variant)))
    frame = None
    end = time.monotonic() + 10
    while frame is None and time.monotonic() < end:
        frame = next((f for f in children(app) if f.description == f"Вариант {variant}" and showing(f)), None)
        pump(0.05)
    if not check(frame is not None and frame.name == 'Тест  "Велитарь"' and frame.getRole() == FRAME,
                 f"button '{variant}' shows the frame of variant {variant}"):
        return
    lists = [find(frame, LIST, f"Ответы на вопрос {k}") for k in range(1, 13)]
    check(all(lists), "the twelve answer lists are named 'Ответы на вопрос 1' .. 'Ответы на вопрос 12'")
    question = find(frame, TEXT, "Вопрос")
    score = find(frame, TEXT, "Число правильных ответов")
    check(question is not None and text_of(question).startswith("1) "), "the question box 'Вопрос' reads question 1")
    check(score is not None and text_of(score) == "", "the score box 'Число правильных ответов' is empty")
    check_every_control_named(frame)

    right = 0
    for k in range(1, 13):
        if k > 1:
            button = next((b for b in children(frame) if b.getRole() == BUTTON
                           and b.description == f"Перейти к вопросу {k}"), None)
            if not check(button is not None and showing(button), f"the button to question {k} is there"):
                return
            press(button)
            pump(5, lambda: showing(lists[k - 1]))
        if not check(showing(lists[k - 1]), f"question {k}: its list is shown"):
            return
        events.clear()
        option = lists[k - 1][0].name
        choose(lists[k - 1], 0)
        check(pump(5, saw("object:property-change:accessible-name", LABEL, option, "Выбранный ответ")),
              f"question {k}: the echo '{option}' is announced")
        check(pump(5, saw("object:property-change:accessible-name", LABEL, None, "Оценка ответа")),
              f"question {k}: the verdict is announced")
        verdict = find(frame, LABEL, None, "Оценка ответа").name
        right += verdict == RIGHT
        check(pump(5, lambda: saw("object:text-changed", TEXT, "Число правильных ответов")()
                   and text_of(score) == str(right)),
              f"question {k}: the score {right} is announced")
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
                                               "object:state-changed:showing", "object:text-changed")
        pump(0.5)  # the program learns of the listeners
        start = start_window(app)
        if start is not None:
            take_test(app, start, 3)
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
