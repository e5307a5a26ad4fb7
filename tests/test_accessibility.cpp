// SPDX-License-Identifier: GPL-3.0-or-later
// What a screen reader finds in the windows, and the accessibility events
// that tell it what has changed. Runs with accessibility switched on (a real
// X server and accessibility bus, see desktop/with-session.sh): only then
// does Qt raise accessibility events at all.
#include <QAccessible>
#include <QtTest>

#include "WidgetTestSupport.h"
#include "app/Forms.h"
#include "ui/Appearance.h"
#include "windows/AccessibilityClient.h"

using namespace velitar;
using namespace velitar::testing;

namespace {

const QString kPraise =
    QStringLiteral(" Правильно, но вопрос простой...    Теперь Вы можете приступить к    собственно "
                   "тесту, выбрав один     из пяти вариантов.");
const QString kReproach = QStringLiteral(" Не верно. Спросите у свечницы     и вернитесь к тесту. ");
const QString kRight = QStringLiteral(" Ответ правильный.");
const QString kListKeys = QStringLiteral("Стрелка сразу выбирает ответ. Чтобы просмотреть ответы, не выбирая, "
                                         "нажимайте Ctrl со стрелками, затем пробел или Enter.");

// A text as a screen reader gets it in a name or description: line breaks
// and runs of blanks as one blank.
QString spoken(const QString& text) { return text.simplified(); }

QString focusName()
{
    QWidget* w = QApplication::focusWidget();
    return w ? w->objectName() : QStringLiteral("(none)");
}

struct Expected {
    QString control;
    QAccessible::Role role;
    QString name;
    QString description;
};

// One accessibility event as a screen reader would take it: which control,
// what happened, and what the control says at that moment.
struct Event {
    QString control;
    QAccessible::Event type;
    QString says;
};

QList<Event> events;

QString textOf(QAccessibleInterface* iface)
{
    if (QAccessibleTextInterface* text = iface->textInterface())
        return text->text(0, text->characterCount());
    return iface->text(QAccessible::Value);
}

void recordEvent(QAccessibleEvent* event)
{
    QObject* object = event->object();
    QAccessibleInterface* iface = event->accessibleInterface();
    if (!object || !iface)
        return;
    QString says;
    switch (event->type()) {
    case QAccessible::TextInserted:
    case QAccessible::TextRemoved:
    case QAccessible::TextUpdated:
    case QAccessible::ValueChanged:
        says = textOf(iface);
        break;
    case QAccessible::Focus: // what a screen reader says after the name
        says = iface->text(QAccessible::Description);
        break;
    default:
        says = iface->text(QAccessible::Name);
        break;
    }
    events.append({object->objectName(), event->type(), says});
}

bool isTextEvent(QAccessible::Event type)
{
    return type == QAccessible::TextInserted || type == QAccessible::TextRemoved || type == QAccessible::TextUpdated ||
           type == QAccessible::ValueChanged;
}

// The events raised for one control since the log was last cleared.
QList<Event> eventsOf(const QString& control)
{
    QList<Event> found;
    for (const Event& e : events)
        if (e.control == control)
            found.append(e);
    return found;
}

// Whether the control raised an event that leaves it saying `says`:
// NameChanged for a label, a text event for a text box, ObjectShow when shown.
bool announced(const QString& control, QAccessible::Event type, const QString& says)
{
    for (const Event& e : eventsOf(control)) {
        const bool kindMatches = type == QAccessible::TextUpdated ? isTextEvent(e.type) : e.type == type;
        if (kindMatches && e.says == says)
            return true;
    }
    return false;
}

// The events of a control before its focus event that a screen reader may
// take for the focus itself (its caret or selection moving, its text
// changing), and then ignore the focus event as nothing new.
QStringList raisedBeforeFocus(const QString& control)
{
    QStringList found;
    for (const Event& e : eventsOf(control)) {
        if (e.type == QAccessible::Focus)
            break;
        if (isTextEvent(e.type) || e.type == QAccessible::TextCaretMoved || e.type == QAccessible::TextSelectionChanged)
            found << QStringLiteral("%1 \"%2\"").arg(int(e.type), 0, 16).arg(e.says);
    }
    return found;
}

QString describe(const QString& control)
{
    QStringList lines;
    for (const Event& e : eventsOf(control))
        lines << QStringLiteral("%1 \"%2\"").arg(int(e.type), 0, 16).arg(e.says);
    return control + QStringLiteral(" raised: ") + (lines.isEmpty() ? QStringLiteral("nothing") : lines.join(", "));
}

QAccessibleInterface* accessible(QWidget* window, const QString& name)
{
    return QAccessible::queryAccessibleInterface(control(window, name));
}

void checkControls(QWidget* window, const QList<Expected>& expected)
{
    for (const Expected& e : expected) {
        QAccessibleInterface* iface = accessible(window, e.control);
        QVERIFY2(iface, qPrintable(e.control));
        QCOMPARE(iface->role(), e.role);
        QCOMPARE(iface->text(QAccessible::Name), e.name);
        QCOMPARE(iface->text(QAccessible::Description), e.description);
        // A help text is read as a hint after the description: none repeats the name.
        QVERIFY2(iface->text(QAccessible::Help).isEmpty(), qPrintable(e.control));
    }
}

// Every control of the window, hidden ones included, has a role of its kind
// and a name; a label that is still empty has a description instead.
void checkEveryControlIsNamed(QWidget* window)
{
    QAccessibleInterface* root = QAccessible::queryAccessibleInterface(window);
    QVERIFY(root);
    QVERIFY(!root->text(QAccessible::Name).isEmpty());
    const QList<QAccessible::Role> kinds = {QAccessible::StaticText, QAccessible::Button, QAccessible::List,
                                            QAccessible::EditableText};
    int controls = 0;
    for (int i = 0; i < root->childCount(); ++i) {
        QAccessibleInterface* child = root->child(i);
        const QString what = window->objectName() + '.' + child->object()->objectName();
        QVERIFY2(kinds.contains(child->role()), qPrintable(what));
        const bool named = !child->text(QAccessible::Name).isEmpty();
        const bool emptyLabel = child->role() == QAccessible::StaticText &&
                                qobject_cast<QLabel*>(child->object())->text().isEmpty() &&
                                !child->text(QAccessible::Description).isEmpty();
        QVERIFY2(named || emptyLabel, qPrintable(what + " has no name"));
        if (child->role() == QAccessible::List) {
            for (int row = 0; row < child->childCount(); ++row)
                QVERIFY2(!child->child(row)->text(QAccessible::Name).isEmpty(), qPrintable(what));
        }
        ++controls;
    }
    QVERIFY(controls > 0);
}

} // namespace

class AccessibilityTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        ui::applyProgramStyle();
        QAccessible::installUpdateHandler(recordEvent);
        askAsAccessibilityClient();
        QTRY_VERIFY2_WITH_TIMEOUT(QAccessible::isActive(),
                                  "accessibility is off: run this test through desktop/with-session.sh", 10000);
    }

    void cleanupTestCase() { QAccessible::installUpdateHandler(nullptr); }

    void startWindowControlsAreNamed()
    {
        Forms forms;
        QWidget* w = &forms.Form1();
        QAccessibleInterface* window = QAccessible::queryAccessibleInterface(w);
        QCOMPARE(window->role(), QAccessible::Window);
        // Its name is its title, as shown in the title bar.
        QCOMPARE(window->text(QAccessible::Name), QStringLiteral("\"Velitar\""));
        QCOMPARE(window->text(QAccessible::Description),
                 QStringLiteral("Тест \"Велитарь\": вопрос-разминка и выбор варианта теста"));
        checkControls(w,
                      {
                          {"Label1", QAccessible::StaticText, "Тест \"Велитарь\"", ""},
                          {"Label2", QAccessible::StaticText, "Как называется главное христианское богослужение?",
                           "Вопрос-разминка"},
                          {"Label3", QAccessible::StaticText, "", "Выбранный ответ"},
                          {"Label4", QAccessible::StaticText, "", "Оценка ответа"},
                          {"Label5", QAccessible::StaticText, "Выберите вариант", ""},
                          {"List1", QAccessible::List, "Как называется главное христианское богослужение?", kListKeys},
                          {"Command1", QAccessible::Button, "Выход", "Завершить программу"},
                          {"Command2", QAccessible::Button, "1", "Открыть вариант 1"},
                          {"Command3", QAccessible::Button, "2", "Открыть вариант 2"},
                          {"Command4", QAccessible::Button, "3", "Открыть вариант 3"},
                          {"Command5", QAccessible::Button, "4", "Открыть вариант 4"},
                          {"Command6", QAccessible::Button, "5", "Открыть вариант 5"},
                      });
        QAccessibleInterface* list = accessible(w, "List1");
        QStringList options;
        for (int row = 0; row < list->childCount(); ++row) {
            QCOMPARE(list->child(row)->role(), QAccessible::ListItem);
            QCOMPARE(list->child(row)->parent(), list);
            options << list->child(row)->text(QAccessible::Name);
        }
        QCOMPARE(options, QStringList({"Лития", "Литания", "Литургия", "Парастас", "Полиелей"}));
        checkEveryControlIsNamed(w);
    }

    void testWindowControlsAreNamed_data()
    {
        QTest::addColumn<int>("variant");
        for (int v = 1; v <= 5; ++v)
            QTest::addRow("variant %d", v) << v;
    }

    void testWindowControlsAreNamed()
    {
        QFETCH(int, variant);
        Forms forms;
        QWidget* w = &forms.testWindow(variant);
        QAccessibleInterface* window = QAccessible::queryAccessibleInterface(w);
        QCOMPARE(window->text(QAccessible::Name), QStringLiteral("Тест  \"Велитарь\". Вариант %1").arg(variant));
        QCOMPARE(window->text(QAccessible::Description), QString());
        checkControls(w, {
                             {"Text1", QAccessible::EditableText, "Вопрос", ""},
                             {"Text2", QAccessible::EditableText, "Число правильных ответов", ""},
                             {"Label2", QAccessible::StaticText, "", "Оценка ответа"},
                             {"Label3", QAccessible::StaticText, "", "Выбранный ответ"},
                             {"Label4", QAccessible::StaticText, "Правильных", ""},
                             {"Label5", QAccessible::StaticText, "    ответов", ""},
                             {"Command1", QAccessible::Button, "Выход", "Завершить программу"},
                             // Nothing to tell before an answer has shown them.
                             {"Command2", QAccessible::Button, "Следующий вопрос", ""},
                             {"Command11", QAccessible::Button, "Следующий вопрос", ""},
                             {"Command12", QAccessible::Button, "Последний вопрос", ""},
                         });
        QCOMPARE(accessible(w, "Label8")->text(QAccessible::Name), QStringLiteral("Вариант %1").arg(variant));
        QCOMPARE(accessible(w, "Label6")->text(QAccessible::Description), QStringLiteral("Итог теста"));
        QCOMPARE(accessible(w, "Label7")->text(QAccessible::Description), QStringLiteral("Итог теста"));
        // Each answer list is named by its question, every line of it.
        for (int k = 1; k <= 12; ++k) {
            QAccessibleInterface* list = accessible(w, QStringLiteral("List%1").arg(k));
            QCOMPARE(list->role(), QAccessible::List);
            const std::string_view text = forms.testWindow(variant).variant().question(k).prompt;
            const QString prompt = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
            QCOMPARE(list->text(QAccessible::Name), spoken(prompt));
            QVERIFY(list->text(QAccessible::Name).startsWith(QStringLiteral("%1) ").arg(k)));
            QCOMPARE(list->text(QAccessible::Description), kListKeys);
            QVERIFY(list->text(QAccessible::Help).isEmpty());
        }
        // The question box reads out the prompt, and is read-only.
        QAccessibleInterface* text1 = accessible(w, "Text1");
        QVERIFY(textOf(text1).startsWith(QStringLiteral("1) ")));
        QVERIFY(text1->state().readOnly);
        QVERIFY(accessible(w, "Text2")->state().readOnly);
        QVERIFY(!accessible(w, "Text2")->state().editable);
        checkEveryControlIsNamed(w);
    }

    void variant1AsksItsFirstQuestionAloud()
    {
        Forms forms;
        QCOMPARE(textOf(accessible(&forms.testWindow(1), "Text1")),
                 QStringLiteral("1) Сугубая ектения начинается словами:"));
        QCOMPARE(accessible(&forms.testWindow(1), "List1")->text(QAccessible::Name),
                 QStringLiteral("1) Сугубая ектения начинается словами:"));
    }

    void startWindowAnnouncesTheVerdict_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("option");
        QTest::addColumn<QString>("verdict");
        QTest::addColumn<bool>("variantsShown");
        QTest::addColumn<QString>("focus");
        QTest::addColumn<QString>("heard"); // the description of the control the focus goes to
        QTest::addRow("right")
            << 2 << "Литургия" << kPraise << true << "Command2"
            << "Правильно, но вопрос простой... Теперь Вы можете приступить к собственно тесту, "
               "выбрав один из пяти вариантов. Выберите вариант: кнопки от 1 до 5. Открыть вариант 1";
        QTest::addRow("wrong") << 4 << "Полиелей" << kReproach << false << "Command1"
                               << "Не верно. Спросите у свечницы и вернитесь к тесту. Завершить программу";
    }

    void startWindowAnnouncesTheVerdict()
    {
        QFETCH(int, row);
        QFETCH(QString, option);
        QFETCH(QString, verdict);
        QFETCH(bool, variantsShown);
        QFETCH(QString, focus);
        QFETCH(QString, heard);
        Forms forms;
        ui::StartWindow* w = &forms.Form1();
        QVERIFY(showAndActivate(w));
        events.clear();
        clickItem(w->List1, row);
        // The focus goes to the way on, which tells the verdict when it gets the focus.
        QCOMPARE(focusName(), focus);
        QVERIFY2(announced(focus, QAccessible::Focus, heard), qPrintable(describe(focus)));
        QVERIFY2(announced("Label3", QAccessible::NameChanged, option), qPrintable(describe("Label3")));
        QVERIFY2(announced("Label4", QAccessible::NameChanged, verdict), qPrintable(describe("Label4")));
        QVERIFY2(announced("List1", QAccessible::ObjectHide, "Как называется главное христианское богослужение?"),
                 qPrintable(describe("List1")));
        QCOMPARE(announced("Label5", QAccessible::ObjectShow, "Выберите вариант"), variantsShown);
        for (int n = 2; n <= 6; ++n)
            QCOMPARE(announced(QStringLiteral("Command%1").arg(n), QAccessible::ObjectShow, QString::number(n - 1)),
                     variantsShown);
    }

    // The score box without the focus raises no text or caret event, however
    // its text is set: through QLineEdit's own setText, through a signal,
    // and while another box's text is being set; other controls' events
    // still go through.
    void scoreBoxIsQuietWithoutFocusHoweverItsTextIsSet()
    {
        Forms forms;
        ui::TestWindow* w = open(forms, 1);
        QVERIFY(showAndActivate(w));
        ui::TextBox other(w);
        other.setObjectName("Other");
        QLineEdit* score = w->Text2;
        QObject::connect(score, &QLineEdit::textChanged, &other, &QLineEdit::setText); // nested
        QVERIFY(!score->hasFocus() && !other.hasFocus());
        events.clear();
        score->setText("7");
        QMetaObject::invokeMethod(score, "setText", Q_ARG(QString, "8"));
        w->Label3->setText("x");
        QCOMPARE(other.text(), QString("8"));
        QVERIFY2(eventsOf("Text2").isEmpty(), qPrintable(describe("Text2")));
        QVERIFY2(eventsOf("Other").isEmpty(), qPrintable(describe("Other")));
        QVERIFY2(announced("Label3", QAccessible::NameChanged, "x"), qPrintable(describe("Label3")));
    }

    // Every answer announces the echo and the verdict; the last one the
    // final caption. The focus follows: the move button an answer shows gets
    // it, telling the verdict and the score; the list it shows gets it next,
    // named by its question; after question 12 the score box, telling the
    // verdict, the final caption and the score. It never falls on Exit, and
    // the control it goes to raises nothing before it that a screen reader
    // could take for the focus, however question 12 is answered.
    void testWindowAnnouncesEveryAnswer_data()
    {
        QTest::addColumn<int>("variant");
        QTest::addColumn<QList<int>>("wrong"); // answered with the first wrong option
        QTest::addColumn<QString>("last");     // how question 12 is answered: a click, its first letter, or keys
        const QList<int> all = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
        // The score gains a digit with the last answer, 9 to 10.
        QTest::addRow("variant 1, questions 2 and 5 wrong, a click") << 1 << QList<int>{2, 5} << "click";
        QTest::addRow("variant 1, questions 2 and 5 wrong, Space on a framed option")
            << 1 << QList<int>{2, 5} << "Ctrl+Down,Ctrl+Up,Space";
        QTest::addRow("variant 1, all right, a plain arrow") << 1 << QList<int>{} << "Down";
        QTest::addRow("variant 4, all wrong, a first letter") << 4 << all << "letter";
    }

    void testWindowAnnouncesEveryAnswer()
    {
        QFETCH(int, variant);
        QFETCH(QList<int>, wrong);
        QFETCH(QString, last);
        Forms forms;
        ui::TestWindow* w = open(forms, variant);
        QVERIFY(showAndActivate(w));
        int score = 0;
        for (int k = 1; k <= 12; ++k) {
            const QString list = QStringLiteral("List%1").arg(k);
            if (k > 1) {
                events.clear();
                QTest::keyClick(w->Command[k], Qt::Key_Space);
                QCOMPARE(focusName(), list);
                QVERIFY2(announced(list, QAccessible::Focus, kListKeys), qPrintable(describe(list)));
                // The button no longer tells the verdict that is gone.
                QCOMPARE(accessible(w, QStringLiteral("Command%1").arg(k))->text(QAccessible::Description), QString());
                // The blanked echo and verdict are announced as well.
                QVERIFY2(announced("Label3", QAccessible::NameChanged, " "), qPrintable(describe("Label3")));
                QVERIFY2(announced("Label2", QAccessible::NameChanged, " "), qPrintable(describe("Label2")));
                QVERIFY2(announced(list, QAccessible::ObjectShow, spoken(w->Text1->text())),
                         qPrintable(describe(list)));
            } else {
                w->List[1]->setFocus(Qt::TabFocusReason);
            }
            const int correct = w->variant().question(k).correct;
            const int row = wrong.contains(k) ? (correct == 0 ? 1 : 0) : correct;
            score += row == correct ? 1 : 0;
            const QString option = w->List[k]->item(row)->text();
            events.clear();
            if (k < 12 || last == "click") {
                clickItem(w->List[k], row);
            } else if (last == "letter") {
                QTest::keyClick(w->List[k], option.at(0).toLatin1());
            } else {
                for (const QString& key : last.split(','))
                    QTest::keySequence(w->List[k], QKeySequence(key));
            }
            QCOMPARE(w->Label3->text(), option);
            QVERIFY2(announced("Label3", QAccessible::NameChanged, option), qPrintable(describe("Label3")));
            if (row == correct)
                QVERIFY2(announced("Label2", QAccessible::NameChanged, kRight), qPrintable(describe("Label2")));
            else
                QVERIFY2(announced("Label2", QAccessible::NameChanged, w->Label2->text()) &&
                             w->Label2->text() != kRight,
                         qPrintable(describe("Label2")));
            const QString told = QStringLiteral("%1 Правильных ответов: %2.").arg(spoken(w->Label2->text())).arg(score);
            const QString next = k < 12 ? QStringLiteral("Command%1").arg(k + 1) : QStringLiteral("Text2");
            QCOMPARE(focusName(), next);
            QVERIFY2(raisedBeforeFocus(next).isEmpty(), qPrintable(describe(next)));
            if (k < 12) {
                QVERIFY2(announced(next, QAccessible::ObjectShow, k + 1 < 12 ? "Следующий вопрос" : "Последний вопрос"),
                         qPrintable(describe(next)));
                QVERIFY2(announced(next, QAccessible::Focus, told), qPrintable(describe(next)));
            } else {
                const QString caption = spoken(w->findChild<QLabel*>(score >= 11 ? "Label6" : "Label7")->text());
                QVERIFY2(announced("Text2", QAccessible::Focus,
                                   QStringLiteral("%1 %2 Правильных ответов: %3.")
                                       .arg(spoken(w->Label2->text()), caption)
                                       .arg(score)),
                         qPrintable(describe("Text2")));
                // Read out when the focus comes: the score itself.
                QCOMPARE(textOf(accessible(w, "Text2")), QString::number(score));
            }
        }
        QCOMPARE(score, 12 - wrong.size());
        const QString shown = score >= 11 ? "Label6" : "Label7";
        const QString hidden = score >= 11 ? "Label7" : "Label6";
        QVERIFY2(announced(shown, QAccessible::ObjectShow, w->findChild<QLabel*>(shown)->text()),
                 qPrintable(describe(shown)));
        QVERIFY2(eventsOf(hidden).isEmpty(), qPrintable(describe(hidden)));
        QVERIFY(w->findChild<QLabel*>(shown)->text().startsWith(score >= 11 ? "Поздравляем!" : "Сожалеем"));
    }
};

QTEST_MAIN(AccessibilityTest)
#include "test_accessibility.moc"
