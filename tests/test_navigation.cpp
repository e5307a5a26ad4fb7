// SPDX-License-Identifier: GPL-3.0-or-later
// The start window's warm-up question, the way to a test window, and ending
// the program, driven through the real windows.
#include <QtTest>

#include "WidgetTestSupport.h"
#include "app/Forms.h"
#include "ui/Appearance.h"

using namespace velitar;
using namespace velitar::testing;

namespace {

const QString kPraise =
    QStringLiteral(" Правильно, но вопрос простой...    Теперь Вы можете приступить к    собственно "
                   "тесту, выбрав один     из пяти вариантов.");
const QString kReproach = QStringLiteral(" Не верно. Спросите у свечницы     и вернитесь к тесту. ");
const QStringList kVariantControls = {"Label5", "Command2", "Command3", "Command4", "Command5", "Command6"};

// Records the Show, Hide and Close events of top-level windows, in order.
class WindowEvents : public QObject {
public:
    QStringList log;
    QString bothVisibleAt;
    QList<QWidget*> watched;
    WindowEvents() { qApp->installEventFilter(this); }
    bool eventFilter(QObject* object, QEvent* event) override
    {
        auto* widget = qobject_cast<QWidget*>(object);
        if (!widget || !widget->isWindow())
            return false;
        const char* kind = event->type() == QEvent::Show    ? "show"
                           : event->type() == QEvent::Hide  ? "hide"
                           : event->type() == QEvent::Close ? "close"
                                                            : nullptr;
        if (kind) {
            log << widget->objectName() + ' ' + kind;
            int visible = 0;
            for (QWidget* w : QApplication::topLevelWidgets())
                visible += w->isVisible() ? 1 : 0;
            if (visible > 1)
                bothVisibleAt = log.last();
        }
        return false;
    }
};

} // namespace

class NavigationTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { ui::applyProgramStyle(); }

    void startWindowAsksFirst()
    {
        Forms forms;
        QWidget* start = &forms.Form1();
        QVERIFY(showAndActivate(start));
        QCOMPARE(start->windowTitle(), QStringLiteral("\"Velitar\""));
        auto* list = control<QListWidget>(start, "List1");
        QCOMPARE(items(list), QStringList({"Лития", "Литания", "Литургия", "Парастас", "Полиелей"}));
        QVERIFY(list->selectedItems().isEmpty());
        QCOMPARE(control<QLabel>(start, "Label4")->text(), QString());
        QCOMPARE(control<QLabel>(start, "Label2")->text(),
                 QStringLiteral("Как называется главное христианское богослужение?"));
        for (const QString& name : kVariantControls)
            QVERIFY2(!control(start, name)->isVisible(), qPrintable(name));
        QCOMPARE(QApplication::focusWidget(), list);
    }

    void onlyLiturgyOpensTheVariants_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("option");
        QTest::addRow("Лития") << 0 << "Лития";
        QTest::addRow("Литания") << 1 << "Литания";
        QTest::addRow("Литургия") << 2 << "Литургия";
        QTest::addRow("Парастас") << 3 << "Парастас";
        QTest::addRow("Полиелей") << 4 << "Полиелей";
    }
    void onlyLiturgyOpensTheVariants()
    {
        QFETCH(int, row);
        QFETCH(QString, option);
        Forms forms;
        QWidget* start = &forms.Form1();
        QVERIFY(showAndActivate(start));
        clickItem(control<QListWidget>(start, "List1"), row);

        const bool right = row == 2;
        QCOMPARE(control<QLabel>(start, "Label3")->text(), option);
        QCOMPARE(control<QLabel>(start, "Label4")->text(), right ? kPraise : kReproach);
        QVERIFY(!control(start, "List1")->isVisible()); // the answer cannot be changed
        for (const QString& name : kVariantControls)
            QCOMPARE(control(start, name)->isVisible(), right);
        QVERIFY(control(start, "Command1")->isVisible());
    }

    void variantButtonOpensItsWindow_data()
    {
        QTest::addColumn<int>("button");
        QTest::addColumn<QString>("window");
        QTest::addRow("1") << 2 << "Form6";
        QTest::addRow("2") << 3 << "Form3";
        QTest::addRow("3") << 4 << "Form4";
        QTest::addRow("4") << 5 << "Form5";
        QTest::addRow("5") << 6 << "Form2";
    }
    void variantButtonOpensItsWindow()
    {
        QFETCH(int, button);
        QFETCH(QString, window);
        const int variant = button - 1;
        Forms forms;
        QWidget* start = &forms.Form1();
        QVERIFY(showAndActivate(start));
        clickItem(control<QListWidget>(start, "List1"), 2);
        auto* pressed = control<QPushButton>(start, QStringLiteral("Command%1").arg(button));
        QCOMPARE(pressed->text(), QString::number(variant));
        QVERIFY(!forms.testWindowLoaded(variant));

        WindowEvents events;
        QTest::mouseClick(pressed, Qt::LeftButton);

        QVERIFY(forms.testWindowLoaded(variant));
        QWidget* test = &forms.testWindow(variant);
        QCOMPARE(test->objectName(), window);
        QCOMPARE(control<QLabel>(test, "Label8")->text(), QStringLiteral("Вариант %1").arg(variant));
        QVERIFY(test->isVisible());
        QVERIFY(!start->isVisible());
        const int hidden = events.log.indexOf("Form1 hide");
        const int shown = events.log.indexOf(window + " show");
        QVERIFY2(hidden >= 0 && shown > hidden, qPrintable(events.log.join(", ")));
        QVERIFY2(events.bothVisibleAt.isEmpty(), qPrintable(events.bothVisibleAt));
        // No window of another variant was created.
        for (int other = 1; other <= kVariantCount; ++other)
            QCOMPARE(forms.testWindowLoaded(other), other == variant);
    }

    void exitAndCloseEndTheProgram_data()
    {
        QTest::addColumn<QString>("state");
        QTest::addColumn<bool>("titleBar");
        for (const char* state : {"asking", "passed", "failed", "mid-test", "after verdict"}) {
            QTest::addRow("%s, Exit", state) << state << false;
            QTest::addRow("%s, title bar", state) << state << true;
        }
    }
    void exitAndCloseEndTheProgram()
    {
        QFETCH(QString, state);
        QFETCH(bool, titleBar);
        Forms forms;
        QWidget* start = &forms.Form1();
        QVERIFY(showAndActivate(start));
        QWidget* current = start;
        if (state != "asking")
            clickItem(control<QListWidget>(start, "List1"), state == "failed" ? 0 : 2);
        if (state == "mid-test" || state == "after verdict") {
            click(start, "Command3");
            current = &forms.Form3();
            clickItem(control<QListWidget>(current, "List1"), 0);
        }
        if (state == "after verdict") {
            for (int k = 2; k <= 12; ++k) {
                click(current, QStringLiteral("Command%1").arg(k));
                clickItem(control<QListWidget>(current, QStringLiteral("List%1").arg(k)), 0);
            }
            QVERIFY(control(current, "Label7")->isVisible() || control(current, "Label6")->isVisible());
        }

        WindowEvents events;
        const int status = runEventLoopWith([&] {
            if (titleBar)
                current->close();
            else
                click(current, "Command1");
        });
        QCOMPARE(status, 0);
        if (titleBar)
            QCOMPARE(events.log.filter("close"), QStringList{current->objectName() + " close"});
        else
            QVERIFY2(events.log.filter("close").isEmpty(), qPrintable(events.log.join(", ")));
    }

    void keyboardAnswersTheWarmUpOnce()
    {
        Forms forms;
        ui::StartWindow* start = &forms.Form1();
        QVERIFY(showAndActivate(start));
        QSignalSpy answers(start->List1, &ui::ListBox::Click);
        QCOMPARE(QApplication::focusWidget(), start->List1);
        QTest::keyClick(start->List1, Qt::Key_Down); // the first arrow selects the first option
        QCOMPARE(answers.count(), 1);
        QCOMPARE(start->Label3->text(), QStringLiteral("Лития"));
        QCOMPARE(start->Label4->text(), kReproach);
        QVERIFY(!start->List1->isVisible());
    }

    void enterAndSpacePressTheFocusedButton_data()
    {
        QTest::addColumn<int>("key");
        QTest::addRow("Space") << int(Qt::Key_Space);
        QTest::addRow("Enter") << int(Qt::Key_Return);
    }
    void enterAndSpacePressTheFocusedButton()
    {
        QFETCH(int, key);
        Forms forms;
        QVERIFY(showAndActivate(&forms.Form1()));
        clickItem(forms.Form1().List1, 2);
        click(&forms.Form1(), "Command2");
        ui::TestWindow* test = &forms.Form6();
        QVERIFY(QTest::qWaitForWindowActive(test));
        QCOMPARE(QApplication::focusWidget(), test->Command1); // the focus starts on Exit
        const int status = runEventLoopWith([&] { QTest::keyClick(test->Command1, Qt::Key(key)); });
        QCOMPARE(status, 0);
    }
};

QTEST_MAIN(NavigationTest)
#include "test_navigation.moc"
