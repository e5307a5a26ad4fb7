// SPDX-License-Identifier: GPL-3.0-or-later
// The keyboard: where the focus starts, the Tab order of every window in
// every state, keys in the answer lists (each answers once), Space and Enter
// on buttons, read-only text boxes, and a whole test taken without a mouse.
#include <QClipboard>
#include <QTextBlock>
#include <QTextLayout>
#include <QtTest>

#include "WidgetTestSupport.h"
#include "app/Forms.h"
#include "engine/ScoreSlots.h"
#include "ui/Appearance.h"

using namespace velitar;
using namespace velitar::testing;

namespace {

// The controls that take the focus, in Tab order.
const QStringList kCommonOrder = {"Command1", "List1",    "Text1",     "Command2", "List2",    "Text2",    "List3",
                                  "Command3", "Command4", "List4",     "Command5", "List5",    "Command6", "List6",
                                  "List7",    "Command7", "List8",     "Command8", "List9",    "Command9", "Command10",
                                  "List10",   "List11",   "Command11", "List12",   "Command12"};
const QStringList kVariant2Order = {"Command1", "List1",    "Text1",     "Command2",  "List2", "Text2",    "List3",
                                    "Command3", "Command4", "List4",     "Command5",  "List5", "Command6", "List6",
                                    "List7",    "Command7", "List8",     "Command8",  "List9", "Command9", "Command10",
                                    "List10",   "List11",   "Command11", "Command12", "List12"};
const QStringList kVariant5Order = {
    "Command1", "List1",     "Command2", "List2",  "Text2",     "List3",    "Command3",  "Command4", "List4",
    "Command5", "List5",     "Command6", "List6",  "List7",     "Command7", "List8",     "Command8", "List9",
    "Command9", "Command10", "List10",   "List11", "Command11", "List12",   "Command12", "Text1"};

QStringList orderOf(int variant)
{
    return variant == 2 ? kVariant2Order : variant == 5 ? kVariant5Order : kCommonOrder;
}

QString focusName()
{
    QWidget* w = QApplication::focusWidget();
    return w ? w->objectName() : QStringLiteral("(none)");
}

// Presses Tab (or Shift+Tab) from the focused control until the focus comes
// back, and lists the controls it stood on.
QStringList tabCycle(bool backward = false)
{
    QStringList names;
    QWidget* first = QApplication::focusWidget();
    for (int i = 0; i < 60 && QApplication::focusWidget(); ++i) {
        names << focusName();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, backward ? Qt::ShiftModifier : Qt::NoModifier);
        if (QApplication::focusWidget() == first)
            break;
    }
    return names;
}

QStringList visibleIn(QWidget* window, const QStringList& order)
{
    QStringList shown;
    for (const QString& name : order)
        if (control(window, name)->isVisible())
            shown << name;
    return shown;
}

// Tabs forward until the named control has the focus.
bool tabTo(QWidget* window, const QString& name)
{
    QWidget* target = control(window, name);
    for (int i = 0; i < 40; ++i) {
        if (QApplication::focusWidget() == target)
            return true;
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    return QApplication::focusWidget() == target;
}

// A typed character, as a keyboard with that layout sends it.
void typeText(QWidget* widget, const QString& text)
{
    const auto key = Qt::Key(text.toUpper().at(0).unicode());
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(widget, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(widget, &release);
}

void sendKey(QWidget* widget, const QString& key)
{
    if (key.size() == 1)
        typeText(widget, key);
    else
        QTest::keyClick(widget, Qt::Key(QKeySequence::fromString(key)[0].key()));
}

} // namespace

class KeyboardTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { ui::applyProgramStyle(); }

    void focusStartsAsDesigned()
    {
        for (int v = 1; v <= kVariantCount; ++v) {
            Forms forms;
            QVERIFY(showAndActivate(&forms.Form1()));
            QCOMPARE(focusName(), QStringLiteral("List1"));
            QCOMPARE(forms.Form1().List1->currentRow(), -1); // focused, nothing chosen
            clickItem(forms.Form1().List1, 2);
            forms.openVariant(v);
            QVERIFY(QTest::qWaitForWindowActive(&forms.testWindow(v)));
            QCOMPARE(QApplication::focusWidget(), forms.testWindow(v).Command1);
        }
    }

    void startWindowTabOrder()
    {
        Forms forms;
        ui::StartWindow* start = &forms.Form1();
        QVERIFY(showAndActivate(start));
        QCOMPARE(tabCycle(), QStringList({"List1", "Command1"}));
        QCOMPARE(tabCycle(true), QStringList({"List1", "Command1"}));
        QCOMPARE(start->List1->currentRow(), -1); // passing through chose nothing

        clickItem(start->List1, 2); // passed: the list goes, the buttons come
        start->Command1->setFocus(Qt::TabFocusReason);
        QCOMPARE(tabCycle(), QStringList({"Command1", "Command2", "Command3", "Command4", "Command5", "Command6"}));
        QCOMPARE(tabCycle(true), QStringList({"Command1", "Command6", "Command5", "Command4", "Command3", "Command2"}));

        Forms other;
        QVERIFY(showAndActivate(&other.Form1()));
        clickItem(other.Form1().List1, 0); // failed: Exit alone
        other.Form1().Command1->setFocus(Qt::TabFocusReason);
        QCOMPARE(tabCycle(), QStringList({"Command1"}));
    }

    void testWindowTabOrder_data()
    {
        QTest::addColumn<int>("variant");
        for (int v = 1; v <= kVariantCount; ++v)
            QTest::addRow("variant %d", v) << v;
    }
    void testWindowTabOrder()
    {
        // In every state of the test, Tab visits the visible controls in the
        // window's order, and Shift+Tab the other way round.
        QFETCH(int, variant);
        const QStringList order = orderOf(variant);
        ScoreSlots scores;
        ui::TestWindow window(questionBank().variant(variant), scores);
        QVERIFY(showAndActivate(&window));
        auto check = [&](const QString& state) {
            window.Command1->setFocus(Qt::TabFocusReason);
            const QStringList expected = visibleIn(&window, order);
            const QStringList forward = tabCycle();
            QVERIFY2(forward == expected,
                     qPrintable(QStringLiteral("%1: %2").arg(state, forward.join(QLatin1Char(' ')))));
            QStringList backward = expected.mid(1);
            std::reverse(backward.begin(), backward.end());
            backward.prepend(QStringLiteral("Command1"));
            QCOMPARE(tabCycle(true), backward);
        };
        check(QStringLiteral("asking 1"));
        QCOMPARE(visibleIn(&window, order), variant == 5 ? QStringList({"Command1", "List1", "Text2", "Text1"})
                                                         : QStringList({"Command1", "List1", "Text1", "Text2"}));
        for (int k = 1; k <= kQuestionsPerVariant; ++k) {
            if (k > 1) {
                QTest::mouseClick(window.Command[static_cast<std::size_t>(k)], Qt::LeftButton);
                check(QStringLiteral("asking %1").arg(k));
            }
            clickItem(window.List[static_cast<std::size_t>(k)], 0);
            check(QStringLiteral("answered %1").arg(k));
        }
    }

    void list12OfVariant3IsReachable()
    {
        ScoreSlots scores;
        ui::TestWindow window(questionBank().variant(3), scores);
        QVERIFY(showAndActivate(&window));
        for (int k = 1; k <= 11; ++k) {
            if (k > 1)
                QTest::mouseClick(window.Command[static_cast<std::size_t>(k)], Qt::LeftButton);
            clickItem(window.List[static_cast<std::size_t>(k)], 0);
        }
        QTest::mouseClick(window.Command[12], Qt::LeftButton);
        QCOMPARE(window.List[12]->focusPolicy(), Qt::StrongFocus);
        window.Command1->setFocus(Qt::TabFocusReason);
        QVERIFY(tabTo(&window, QStringLiteral("List12")));
        QTest::keyClick(window.List[12], Qt::Key_Down);
        QVERIFY(window.Label6->isVisible() || window.Label7->isVisible());
    }

    void listKeysAnswerOnce_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<int>("row"); // -1: nothing chosen
        QTest::addRow("Down") << "Down" << 0;
        QTest::addRow("Up") << "Up" << 0;
        QTest::addRow("Home") << "Home" << 0;
        QTest::addRow("End") << "End" << 4;
        QTest::addRow("П") << "П" << 3;
        QTest::addRow("п") << "п" << 3;
        QTest::addRow("л") << "л" << 0;
        QTest::addRow("Ш, no option") << "Ш" << -1;
        QTest::addRow("Left") << "Left" << 0;
    }
    void listKeysAnswerOnce()
    {
        QFETCH(QString, key);
        QFETCH(int, row);
        Forms forms;
        ui::StartWindow* start = &forms.Form1();
        QVERIFY(showAndActivate(start));
        QSignalSpy answers(start->List1, &ui::ListBox::Click);
        sendKey(start->List1, key);
        const QStringList options{"Лития", "Литания", "Литургия", "Парастас", "Полиелей"};
        if (row < 0) {
            QCOMPARE(answers.count(), 0);
            QVERIFY(start->List1->isVisible());
            QCOMPARE(start->List1->currentRow(), -1);
            QCOMPARE(start->Label3->text(), QString());
            // The next arrow still chooses the first option.
            QTest::keyClick(start->List1, Qt::Key_Down);
            row = 0;
        }
        QCOMPARE(answers.count(), 1);
        QCOMPARE(start->Label3->text(), options[row]);
        QVERIFY(!start->List1->isVisible());
    }

    void testListKeys()
    {
        // Reached with Tab, a test list has nothing current either: End takes
        // the last option, a letter the first option that starts with it.
        for (int v = 1; v <= kVariantCount; ++v) {
            for (const char* key : {"End", "Down", "letter"}) {
                ScoreSlots scores;
                ui::TestWindow window(questionBank().variant(v), scores);
                QVERIFY(showAndActivate(&window));
                QCOMPARE(QApplication::focusWidget(), window.Command1);
                QTest::keyClick(window.Command1, Qt::Key_Tab);
                ui::ListBox* list = window.List[1];
                QCOMPARE(QApplication::focusWidget(), list);
                QCOMPARE(list->currentRow(), -1);
                QVERIFY(list->selectedItems().isEmpty());
                QSignalSpy answers(list, &ui::ListBox::Click);
                int expected = 0;
                if (qstrcmp(key, "End") == 0) {
                    QTest::keyClick(list, Qt::Key_End);
                    expected = list->count() - 1;
                } else if (qstrcmp(key, "Down") == 0) {
                    QTest::keyClick(list, Qt::Key_Down);
                } else {
                    // The first letter of the last option (after any quotes).
                    const QString last = list->item(list->count() - 1)->text();
                    const QString letter = last.left(1);
                    for (expected = 0; !list->item(expected)->text().startsWith(letter, Qt::CaseInsensitive);)
                        ++expected;
                    typeText(list, letter.toLower());
                }
                QCOMPARE(answers.count(), 1);
                QCOMPARE(window.Label3->text(), list->item(expected)->text());
                QVERIFY(!list->isVisible());
                QVERIFY(window.Command[2]->isVisible());
            }
        }
    }

    void lettersSearchOneByOne()
    {
        // Each letter searches on its own, from after the current option.
        ui::ListBox list;
        for (const char* option : {"Лития", "Литания", "Парастас", "Литургия"})
            list.AddItem(QString::fromUtf8(option));
        list.show();
        QSignalSpy answers(&list, &ui::ListBox::Click);
        typeText(&list, QStringLiteral("л"));
        QCOMPARE(list.currentRow(), 0);
        typeText(&list, QStringLiteral("л")); // the next one starting with Л
        QCOMPARE(list.currentRow(), 1);
        typeText(&list, QStringLiteral("П"));
        QCOMPARE(list.currentRow(), 2);
        typeText(&list, QStringLiteral("л")); // after Парастас
        QCOMPARE(list.currentRow(), 3);
        typeText(&list, QStringLiteral("л")); // round to the top
        QCOMPARE(list.currentRow(), 0);
        typeText(&list, QStringLiteral("ж")); // nothing starts with Ж
        QCOMPARE(list.currentRow(), 0);
        QCOMPARE(answers.count(), 5);
        QCOMPARE(list.ListIndex(), 0);
    }

    void mouseAnswersOnce()
    {
        Forms forms;
        QVERIFY(showAndActivate(&forms.Form1()));
        QSignalSpy answers(forms.Form1().List1, &ui::ListBox::Click);
        clickItem(forms.Form1().List1, 4);
        QCOMPARE(answers.count(), 1);
        QCOMPARE(forms.Form1().Label3->text(), QStringLiteral("Полиелей"));
    }

    void ctrlMovesTheFrameAndSpaceOrEnterChooses_data()
    {
        QTest::addColumn<QList<int>>("keys"); // Ctrl+key presses before choosing
        QTest::addColumn<int>("choose");      // Space or Enter
        QTest::addColumn<QString>("chosen");
        QTest::addRow("Space on the first") << QList<int>{} << int(Qt::Key_Space) << "Лития";
        QTest::addRow("two down, Space") << QList<int>{Qt::Key_Down, Qt::Key_Down} << int(Qt::Key_Space) << "Литургия";
        QTest::addRow("down, down, up, Enter")
            << QList<int>{Qt::Key_Down, Qt::Key_Down, Qt::Key_Up} << int(Qt::Key_Return) << "Литания";
        QTest::addRow("up at the top stays") << QList<int>{Qt::Key_Up} << int(Qt::Key_Enter) << "Лития";
        QTest::addRow("End, Space") << QList<int>{Qt::Key_End} << int(Qt::Key_Space) << "Полиелей";
        QTest::addRow("End, down stays, Home, down")
            << QList<int>{Qt::Key_End, Qt::Key_Down, Qt::Key_Home, Qt::Key_Down} << int(Qt::Key_Space) << "Литания";
    }
    void ctrlMovesTheFrameAndSpaceOrEnterChooses()
    {
        QFETCH(QList<int>, keys);
        QFETCH(int, choose);
        QFETCH(QString, chosen);
        Forms forms;
        ui::StartWindow* start = &forms.Form1();
        QVERIFY(showAndActivate(start));
        QSignalSpy answers(start->List1, &ui::ListBox::Click);
        for (int key : keys)
            QTest::keyClick(start->List1, Qt::Key(key), Qt::ControlModifier);
        QCOMPARE(answers.count(), 0); // moving the frame chooses nothing
        QVERIFY(start->List1->isVisible());
        QCOMPARE(start->Label3->text(), QString());
        QTest::keyClick(start->List1, Qt::Key(choose));
        QCOMPARE(answers.count(), 1);
        QCOMPARE(start->Label3->text(), chosen);
        QVERIFY(!start->List1->isVisible());
        QCOMPARE(start->Command[2]->isVisible(), chosen == QStringLiteral("Литургия"));
    }

    void theFocusFrameFollowsCtrl()
    {
        Forms forms;
        ui::StartWindow* start = &forms.Form1();
        QVERIFY(showAndActivate(start));
        ui::ListBox* list = start->List1;
        // Pixels off the list's background down the left edge of a row: the
        // dotted focus frame, which the text never reaches.
        auto framed = [list](int row) {
            const QImage image = list->viewport()->grab().toImage();
            const QRect rect = list->visualItemRect(list->item(row));
            const QColor base = list->palette().color(QPalette::Base);
            const int dpr = qRound(image.devicePixelRatio());
            int marks = 0;
            for (int y = rect.top() * dpr; y < (rect.bottom() + 1) * dpr; ++y)
                marks += image.pixelColor(rect.left() * dpr, y) != base ? 1 : 0;
            return marks > 0;
        };
        QVERIFY(framed(0));
        QVERIFY(!framed(1));
        QTest::keyClick(list, Qt::Key_Down, Qt::ControlModifier);
        QVERIFY(!framed(0));
        QVERIFY(framed(1));
    }

    void aPlainArrowAfterCtrlChoosesTheNextOption()
    {
        Forms forms;
        ui::StartWindow* start = &forms.Form1();
        QVERIFY(showAndActivate(start));
        QSignalSpy answers(start->List1, &ui::ListBox::Click);
        QTest::keyClick(start->List1, Qt::Key_Down, Qt::ControlModifier);
        QTest::keyClick(start->List1, Qt::Key_Down);
        QCOMPARE(answers.count(), 1);
        QCOMPARE(start->Label3->text(), QStringLiteral("Литургия"));
    }

    void spaceAndEnterPressTheFocusedButton_data()
    {
        QTest::addColumn<int>("key");
        QTest::addRow("Space") << int(Qt::Key_Space);
        QTest::addRow("Return") << int(Qt::Key_Return);
        QTest::addRow("Enter") << int(Qt::Key_Enter);
    }
    void spaceAndEnterPressTheFocusedButton()
    {
        QFETCH(int, key);
        ScoreSlots scores;
        ui::TestWindow window(questionBank().variant(4), scores);
        QVERIFY(showAndActivate(&window));
        clickItem(window.List[1], 0);
        window.Command1->setFocus(Qt::TabFocusReason);
        QVERIFY(tabTo(&window, QStringLiteral("Command2")));
        QSignalSpy clicked(window.Command[2], &QPushButton::clicked);
        QTest::keyClick(window.Command[2], Qt::Key(key));
        QCOMPARE(clicked.count(), 1);
        QVERIFY(window.List[2]->isVisible());
        QCOMPARE(window.Label3->text(), QStringLiteral(" "));
        // A held-down Enter presses once.
        QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QString(), true);
        QApplication::sendEvent(window.Command[2], &repeat);
        QCOMPARE(clicked.count(), 1);

        // On the start window, the numbered buttons open their variants.
        Forms forms;
        QVERIFY(showAndActivate(&forms.Form1()));
        clickItem(forms.Form1().List1, 2);
        forms.Form1().Command1->setFocus(Qt::TabFocusReason);
        QVERIFY(tabTo(&forms.Form1(), QStringLiteral("Command4")));
        QTest::keyClick(forms.Form1().Command[4], Qt::Key(key));
        QVERIFY(forms.testWindowLoaded(3));
        QVERIFY(forms.Form4().isVisible());
        QVERIFY(!forms.Form1().isVisible());
    }

    void labelsNeverTakeTheFocus()
    {
        ScoreSlots scores;
        ui::TestWindow window(questionBank().variant(1), scores);
        QVERIFY(showAndActivate(&window));
        for (ui::Label* label : window.findChildren<ui::Label*>()) {
            QCOMPARE(label->focusPolicy(), Qt::NoFocus);
            QTest::mouseClick(label, Qt::LeftButton);
            QCOMPARE(QApplication::focusWidget(), window.Command1);
        }
    }

    void textBoxesCannotBeChanged()
    {
        ScoreSlots scores;
        ui::TestWindow window(questionBank().variant(1), scores);
        QVERIFY(showAndActivate(&window));
        // Question 3, whose prompt takes two lines of the question box.
        clickItem(window.List[1], 0);
        QTest::mouseClick(window.Command[2], Qt::LeftButton);
        clickItem(window.List[2], 0);
        QTest::mouseClick(window.Command[3], Qt::LeftButton);
        const QString prompt = window.Text1->text();
        const QString shown = window.Text1->toPlainText();
        const QString score = window.Text2->text();
        QCOMPARE(score, QStringLiteral("0"));
        QApplication::clipboard()->setText(QStringLiteral("вставка"));
        for (QWidget* box : {static_cast<QWidget*>(window.Text1), static_cast<QWidget*>(window.Text2)}) {
            window.Command1->setFocus(Qt::TabFocusReason);
            QVERIFY(tabTo(&window, box->objectName()));
            // Taking the focus selects nothing; in the question box a text
            // cursor goes down to the second line, so that it can be read.
            if (box == window.Text1) {
                QVERIFY(!window.Text1->textCursor().hasSelection());
                QCOMPARE(window.Text1->textCursor().position(), 0);
                QTest::keyClick(box, Qt::Key_Down);
                const QTextCursor cursor = window.Text1->textCursor();
                QCOMPARE(cursor.block().layout()->lineForTextPosition(cursor.positionInBlock()).lineNumber(), 1);
            } else {
                QVERIFY(!window.Text2->hasSelectedText());
            }
            QTest::keyClick(box, Qt::Key_End);
            QTest::keyClicks(box, QStringLiteral("abc 1"));
            typeText(box, QStringLiteral("ж"));
            QTest::keyClick(box, Qt::Key_Backspace);
            QTest::keyClick(box, Qt::Key_Home);
            QTest::keyClick(box, Qt::Key_Delete);
            QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
            QTest::keyClick(box, Qt::Key_Insert, Qt::ShiftModifier);
            QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
            QTest::keyClick(box, Qt::Key_X, Qt::ControlModifier);
            QTest::keyClick(box, Qt::Key_Delete);
            QTest::keyClick(box, Qt::Key_Z, Qt::ControlModifier);
            QTest::keyClick(box, Qt::Key_Return);
            QTest::mouseDClick(box == window.Text1 ? window.Text1->viewport() : box, Qt::LeftButton);
        }
        QCOMPARE(window.Text1->text(), prompt);
        QCOMPARE(window.Text1->toPlainText(), shown);
        QCOMPARE(window.Text2->text(), score);
        QCOMPARE(window.Text2->displayText(), score);
    }

    void aWholeTestWithoutAMouse_data()
    {
        QTest::addColumn<int>("variant");
        for (int v = 1; v <= kVariantCount; ++v)
            QTest::addRow("variant %d", v) << v;
    }
    void aWholeTestWithoutAMouse()
    {
        // From the Exit button the window opens on, Tab to question 1; then
        // after each answer the focus is on the button it showed, and one
        // key there puts it on the next question's list. After question 12
        // it is on the score box; never on Exit.
        QFETCH(int, variant);
        Forms forms;
        QVERIFY(showAndActivate(&forms.Form1()));
        Forms& passed = forms;
        // Литургия is the third option: Ctrl+Down twice moves the frame, Space chooses.
        QTest::keyClick(forms.Form1().List1, Qt::Key_Down, Qt::ControlModifier);
        QTest::keyClick(forms.Form1().List1, Qt::Key_Down, Qt::ControlModifier);
        QTest::keyClick(forms.Form1().List1, Qt::Key_Space);
        QVERIFY(forms.Form1().Command[2]->isVisible());
        QCOMPARE(focusName(), QStringLiteral("Command2"));
        QVERIFY(tabTo(&passed.Form1(), QStringLiteral("Command%1").arg(variant + 1)));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
        ui::TestWindow* window = &passed.testWindow(variant);
        QVERIFY(QTest::qWaitForWindowActive(window));
        QCOMPARE(QApplication::focusWidget(), window->Command1);

        int answered = 0;
        QTest::keyClick(window->Command1, Qt::Key_Tab);
        for (int k = 1; k <= kQuestionsPerVariant; ++k) {
            if (k > 1) {
                QCOMPARE(focusName(), QStringLiteral("Command%1").arg(k));
                QTest::keyClick(QApplication::focusWidget(), k % 2 ? Qt::Key_Return : Qt::Key_Space);
            }
            ui::ListBox* list = window->List[static_cast<std::size_t>(k)];
            QCOMPARE(QApplication::focusWidget(), list);
            QSignalSpy answers(list, &ui::ListBox::Click);
            // The right option, reached with Ctrl+Down and chosen with Space or Enter.
            const int right = questionBank().variant(variant).question(k).correct;
            for (int i = 0; i < right; ++i)
                QTest::keyClick(list, Qt::Key_Down, Qt::ControlModifier);
            QTest::keyClick(list, k % 2 ? Qt::Key_Space : Qt::Key_Return);
            QCOMPARE(answers.count(), 1);
            answered += int(answers.count());
            QVERIFY(!list->isVisible());
            QCOMPARE(window->Text2->text(), QString::number(k));
        }
        QCOMPARE(answered, 12);
        QCOMPARE(QApplication::focusWidget(), window->Text2);
        QVERIFY(window->Label6->isVisible());
        QVERIFY(!window->Label7->isVisible());
    }
};

QTEST_MAIN(KeyboardTest)
#include "test_keyboard.moc"
