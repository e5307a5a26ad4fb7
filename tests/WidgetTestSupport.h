// SPDX-License-Identifier: GPL-3.0-or-later
// Small helpers for driving the real windows in tests.
#pragma once

#include <QApplication>
#include <QListWidget>
#include <QTest>
#include <QTimer>

#include "app/Forms.h"

namespace velitar::testing {

template <typename T = QWidget> T* control(QWidget* window, const QString& name)
{
    T* widget = window->findChild<T*>(name);
    if (!widget)
        qFatal("no control %s in %s", qPrintable(name), qPrintable(window->objectName()));
    return widget;
}

// Clicks an option of a list as a user does: on the viewport, in the item.
inline void clickItem(QListWidget* list, int row)
{
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(row)).center());
}

inline void click(QWidget* window, const QString& name) { QTest::mouseClick(control(window, name), Qt::LeftButton); }

inline QStringList items(QListWidget* list)
{
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts << list->item(i)->text();
    return texts;
}

// Runs the event loop with `action` queued; returns the loop's exit status,
// or -1 if nothing ended it within the time limit.
template <typename Action> int runEventLoopWith(Action action)
{
    QTimer::singleShot(0, action);
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [] { QCoreApplication::exit(-1); });
    guard.start(5000);
    return QApplication::exec();
}

// Shows the window and has it activated. Under Wine with openbox, with both
// cores busy, a window just shown beside another of the program's was now
// and then not active after five seconds (about once in a hundred), with
// nothing asking for it again: the request is repeated, four times at most.
inline bool showAndActivate(QWidget* window)
{
    window->show();
    for (int attempt = 0; attempt < 4; ++attempt) {
        window->activateWindow();
        if (QTest::qWaitForWindowActive(window, 5000))
            return true;
    }
    return false;
}

// Opens a variant from the start window as a user does: the right warm-up
// answer, then the variant's numbered button.
inline ui::TestWindow* open(Forms& forms, int variant)
{
    ui::StartWindow* start = &forms.Form1();
    start->show();
    clickItem(start->List1, 2);
    QTest::mouseClick(start->Command[variant + 1], Qt::LeftButton);
    return &forms.testWindow(variant);
}

} // namespace velitar::testing
