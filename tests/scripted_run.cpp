// SPDX-License-Identifier: GPL-3.0-or-later
// One whole run of the program with a scripted user, for the memory and
// file-access checks (valgrind, strace) and the sanitizer build.
//
//   velitar_scripted_run 1..5     warm-up right, variant N from its first to
//                                 its last question, then Exit
//   velitar_scripted_run warm-up  warm-up wrong, then Exit
//
// It starts as the program does (QApplication, the program's style, the
// start window shown, the event loop) and ends with the event loop's status,
// which Exit makes 0; a run that did not go as it should ends with 1.
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <cstdio>

#include "app/Forms.h"
#include "engine/QuestionBank.h"
#include "ui/Appearance.h"
#include "ui/Program.h"

namespace {

template <typename T = QWidget> T* control(QWidget* window, const char* name)
{
    T* widget = window->findChild<T*>(QString::fromLatin1(name));
    if (!widget)
        qFatal("no control %s in %s", name, qPrintable(window->objectName()));
    return widget;
}

void clickOption(QWidget* window, const QString& listName, int row)
{
    auto* list = control<QListWidget>(window, qPrintable(listName));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(row)).center());
}

bool failed(const char* what)
{
    std::fprintf(stderr, "velitar_scripted_run: %s\n", what);
    QCoreApplication::exit(1);
    return false;
}

// The user of a whole run: answers, moves on, and presses Exit at the end.
bool takeTest(velitar::Forms& forms, int variant)
{
    QWidget* start = &forms.Form1();
    clickOption(start, QStringLiteral("List1"), 2); // "Литургия"
    QTest::mouseClick(control(start, qPrintable(QStringLiteral("Command%1").arg(variant + 1))), Qt::LeftButton);
    QWidget* test = &forms.testWindow(variant);
    if (start->isVisible() || !test->isVisible() || !QTest::qWaitForWindowExposed(test))
        return failed("the variant's window did not replace the start window");

    // Odd variants pass with one wrong answer, even ones fail with three;
    // questions 4 and 9 are answered with the keyboard where Home or End
    // reaches the option.
    const velitar::TestVariant& content = velitar::questionBank().variant(variant);
    int right = 0;
    for (int k = 1; k <= velitar::kQuestionsPerVariant; ++k) {
        if (k > 1)
            QTest::mouseClick(control(test, qPrintable(QStringLiteral("Command%1").arg(k))), Qt::LeftButton);
        const QString list = QStringLiteral("List%1").arg(k);
        const velitar::Question& question = content.question(k);
        const bool wrong = (variant % 2 == 1) ? k == 7 : (k == 2 || k == 5 || k == 11);
        const int options = static_cast<int>(question.options.size());
        const int row = wrong ? (question.correct + 1) % options : question.correct;
        auto* box = control<QListWidget>(test, qPrintable(list));
        if ((k == 4 || k == 9) && (row == 0 || row == options - 1)) {
            // With the keyboard: Tab to the list, then Home or End.
            for (int tabs = 0; tabs < 40 && test->focusWidget() != box; ++tabs)
                QTest::keyClick(test->focusWidget() ? test->focusWidget() : test, Qt::Key_Tab);
            QTest::keyClick(box, row == 0 ? Qt::Key_Home : Qt::Key_End);
        } else {
            clickOption(test, list, row);
        }
        if (box->isVisible())
            return failed("an answered list is still shown");
        right += row == question.correct;
    }
    if (control<QLineEdit>(test, "Text2")->text() != QString::number(right))
        return failed("the score is not the number of right answers");
    const bool passed = right >= 11;
    if (control(test, "Label6")->isVisible() != passed || control(test, "Label7")->isVisible() == passed)
        return failed("the wrong final caption is shown");
    std::printf("variant %d: %d right, %s\n", variant, right, passed ? "passed" : "failed");
    QTest::mouseClick(control(test, "Command1"), Qt::LeftButton);
    return true;
}

bool failWarmUp(velitar::Forms& forms)
{
    QWidget* start = &forms.Form1();
    clickOption(start, QStringLiteral("List1"), 0); // "Лития"
    if (control(start, "List1")->isVisible() || control(start, "Command2")->isVisible())
        return failed("a wrong warm-up answer left the way open");
    std::printf("warm-up: wrong answer\n");
    QTest::mouseClick(control(start, "Command1"), Qt::LeftButton);
    return true;
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    const QString what = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    const int variant = what.toInt();
    if (what != QLatin1String("warm-up") && (variant < 1 || variant > velitar::kVariantCount)) {
        std::fprintf(stderr, "usage: velitar_scripted_run 1..5 | warm-up\n");
        return 2;
    }
    velitar::ui::applyProgramStyle();

    velitar::Forms forms;
    forms.Form1().show();
    QTimer::singleShot(0, &app, [&] {
        if (!QTest::qWaitForWindowExposed(&forms.Form1()))
            failed("the start window was not shown");
        else if (variant > 0)
            takeTest(forms, variant);
        else
            failWarmUp(forms);
        // Exit ends the event loop at once; if it did not, say so.
        QTimer::singleShot(10000, &app, [] { failed("Exit did not end the program"); });
    });
    return velitar::ui::afterEventLoop(QApplication::exec());
}
