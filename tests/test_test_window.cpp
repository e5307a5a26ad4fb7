// SPDX-License-Identifier: GPL-3.0-or-later
// The five test windows taken through the real controls: what each window
// holds when it opens, full runs, and every option of every question.
#include <QtTest>

#include "WidgetTestSupport.h"
#include "app/Forms.h"
#include "engine/QuestionBank.h"
#include "ui/Appearance.h"

using namespace velitar;
using namespace velitar::testing;

namespace {

const QString kRight = QStringLiteral(" Ответ правильный.");
const QString kPassedTwoBlanks =
    QStringLiteral("Поздравляем! Тест пройден.  “Ибо трудящийся достоин награды за труды свои” (Лук.10:7).");
const QString kPassedOneBlank =
    QStringLiteral("Поздравляем! Тест пройден. “Ибо трудящийся достоин награды за труды свои” (Лук.10:7).");
const QString kFailed = QStringLiteral("Сожалеем, но тест не пройден.") + QString(67, ' ') +
                        QStringLiteral("Вы можете стать учеником велитаря...");

QString qs(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

QListWidget* list(QWidget* w, int k) { return control<QListWidget>(w, QStringLiteral("List%1").arg(k)); }
QPushButton* command(QWidget* w, int k) { return control<QPushButton>(w, QStringLiteral("Command%1").arg(k)); }
QString text2(QWidget* w) { return control<QLineEdit>(w, "Text2")->text(); }
QString label(QWidget* w, int k) { return control<QLabel>(w, QStringLiteral("Label%1").arg(k))->text(); }
QString text1(QWidget* w) { return control<QWidget>(w, "Text1")->property("text").toString(); }

// Answers question k with option `row`, moving to it first for k > 1.
void answer(QWidget* w, int k, int row)
{
    if (k > 1)
        QTest::mouseClick(command(w, k), Qt::LeftButton);
    clickItem(list(w, k), row);
}

} // namespace

class TestWindowTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { ui::applyProgramStyle(); }

    void opensInItsStartState_data()
    {
        QTest::addColumn<int>("variant");
        QTest::addColumn<QList<int>>("sizes");
        QTest::addColumn<QString>("firstPrompt");
        QTest::addRow("1") << 1 << QList<int>{4, 5, 5, 4, 4, 4, 4, 4, 4, 4, 4, 5}
                           << "1) Сугубая ектения начинается словами:";
        QTest::addRow("2") << 2 << QList<int>{4, 4, 4, 4, 4, 4, 4, 3, 4, 4, 4, 5}
                           << "1) Малая ектения начинается словами:\r\n \r\n";
        QTest::addRow("3") << 3 << QList<int>{4, 5, 4, 4, 4, 4, 4, 4, 4, 4, 3, 5}
                           << "1) Просительная ектения начинается словами:";
        QTest::addRow("4") << 4 << QList<int>{4, 5, 4, 4, 4, 3, 4, 4, 5, 4, 4, 5}
                           << "1) Сугубая ектения начинается словами:";
        QTest::addRow("5") << 5 << QList<int>{4, 4, 4, 4, 4, 4, 4, 4, 5, 4, 4, 5}
                           << "1) Великая (мирная) ектения начинается словами:";
    }
    void opensInItsStartState()
    {
        QFETCH(int, variant);
        QFETCH(QList<int>, sizes);
        QFETCH(QString, firstPrompt);
        Forms forms;
        ui::TestWindow* w = open(forms, variant);
        QVERIFY(w->isVisible());
        QCOMPARE(w->windowTitle(), QStringLiteral("Тест  \"Велитарь\""));
        QCOMPARE(label(w, 8), QStringLiteral("Вариант %1").arg(variant));
        QCOMPARE(text1(w), firstPrompt);
        QCOMPARE(text2(w), QString());
        QCOMPARE(label(w, 2), QString());
        QCOMPARE(label(w, 3), QString());
        QCOMPARE(label(w, 4), QStringLiteral("Правильных"));
        QCOMPARE(label(w, 5), QStringLiteral("    ответов"));
        for (int k = 1; k <= 12; ++k) {
            QCOMPARE(list(w, k)->count(), sizes[k - 1]); // filled once, never twice
            QCOMPARE(list(w, k)->isVisible(), k == 1);
            QVERIFY(list(w, k)->selectedItems().isEmpty());
            if (k >= 2) {
                QVERIFY(!command(w, k)->isVisible());
                QCOMPARE(command(w, k)->text(),
                         k < 12 ? QStringLiteral("Следующий вопрос") : QStringLiteral("Последний вопрос"));
            }
        }
        QVERIFY(!control(w, "Label6")->isVisible());
        QVERIFY(!control(w, "Label7")->isVisible());
        QCOMPARE(command(w, 1)->text(), QStringLiteral("Выход"));

        // The instance is reached again by its name, not made anew.
        QCOMPARE(&forms.testWindow(variant), w);
        QCOMPARE(list(w, 1)->count(), sizes[0]);
    }

    void multiLinePromptShowsItsLineBreaks()
    {
        Forms forms;
        ui::TestWindow* w = open(forms, 2);
        auto* box = control<QPlainTextEdit>(w, "Text1");
        QCOMPARE(text1(w).size(), 41);
        QCOMPARE(box->toPlainText(), QStringLiteral("1) Малая ектения начинается словами:\n \n"));
        answer(w, 1, 1);
        QTest::mouseClick(command(w, 2), Qt::LeftButton);
        QCOMPARE(text1(w),
                 QStringLiteral("2) Когда на Литургии поются Заповеди Блаженств (''Блаженны'', третий антифон)?"));
        QCOMPARE(box->toPlainText(), text1(w));
    }

    void allRightPasses_data()
    {
        QTest::addColumn<int>("variant");
        QTest::addColumn<QString>("passed");
        QTest::addRow("1") << 1 << kPassedTwoBlanks;
        QTest::addRow("2") << 2 << kPassedOneBlank;
        QTest::addRow("3") << 3 << kPassedTwoBlanks;
        QTest::addRow("4") << 4 << kPassedTwoBlanks;
        QTest::addRow("5") << 5 << kPassedOneBlank;
    }
    void allRightPasses()
    {
        QFETCH(int, variant);
        QFETCH(QString, passed);
        Forms forms;
        ui::TestWindow* w = open(forms, variant);
        const TestVariant& v = questionBank().variant(variant);
        for (int k = 1; k <= 12; ++k) {
            if (k > 1) {
                QTest::mouseClick(command(w, k), Qt::LeftButton);
                QCOMPARE(text1(w), qs(v.question(k).prompt));
                QCOMPARE(label(w, 2), QStringLiteral(" "));
                QCOMPARE(label(w, 3), QStringLiteral(" "));
            }
            const int row = v.question(k).correct;
            clickItem(list(w, k), row);
            QCOMPARE(label(w, 3), list(w, k)->item(row)->text());
            QCOMPARE(label(w, 2), kRight);
            QCOMPARE(text2(w), QString::number(k));
            QVERIFY(!list(w, k)->isVisible());
        }
        QVERIFY(control(w, "Label6")->isVisible());
        QVERIFY(!control(w, "Label7")->isVisible());
        QCOMPARE(label(w, 6), passed);
        QCOMPARE(label(w, 6).size(), passed == kPassedTwoBlanks ? 86 : 85);
        for (int k = 2; k <= 12; ++k)
            QVERIFY(!command(w, k)->isVisible());
    }

    void oneWrongStillPassesTwoWrongFail()
    {
        for (const QList<int>& wrong : QList<QList<int>>{{1}, {7}, {12}, {1, 12}, {5, 6}}) {
            Forms forms;
            ui::TestWindow* w = open(forms, 1);
            const TestVariant& v = questionBank().variant(1);
            for (int k = 1; k <= 12; ++k) {
                const int correct = v.question(k).correct;
                answer(w, k, wrong.contains(k) ? (correct + 1) % list(w, k)->count() : correct);
            }
            const bool passes = wrong.size() == 1;
            QCOMPARE(text2(w), QString::number(12 - wrong.size()));
            QCOMPARE(control(w, "Label6")->isVisible(), passes);
            QCOMPARE(control(w, "Label7")->isVisible(), !passes);
            if (!passes)
                QCOMPARE(label(w, 7), kFailed);
        }
    }

    // Each option of each question, in every variant: the right one gives the
    // correct-answer text and a point, every other the question's reproach.
    void everyOptionIsJudgedByItsQuestion_data()
    {
        QTest::addColumn<int>("variant");
        QTest::addColumn<int>("option");
        for (int v = 1; v <= kVariantCount; ++v)
            for (int option = 0; option < 5; ++option)
                QTest::addRow("variant %d, option %d", v, option) << v << option;
    }
    void everyOptionIsJudgedByItsQuestion()
    {
        QFETCH(int, variant);
        QFETCH(int, option);
        Forms forms;
        ui::TestWindow* w = open(forms, variant);
        const TestVariant& v = questionBank().variant(variant);
        int score = 0;
        for (int k = 1; k <= 12; ++k) {
            const Question& q = v.question(k);
            const int row = std::min(option, static_cast<int>(q.options.size()) - 1);
            answer(w, k, row);
            const bool right = row == q.correct;
            score += right ? 1 : 0;
            QCOMPARE(label(w, 3), qs(q.options[static_cast<std::size_t>(row)]));
            QCOMPARE(label(w, 2), right ? kRight : qs(q.reproach));
            QCOMPARE(text2(w), QString::number(score));
        }
        QCOMPARE(control(w, "Label6")->isVisible(), score >= 11);
        QCOMPARE(control(w, "Label7")->isVisible(), score < 11);
    }

    void repeatedMoveChangesNothing()
    {
        Forms forms;
        ui::TestWindow* w = open(forms, 3);
        answer(w, 1, 3);
        answer(w, 2, 0);
        QCOMPARE(label(w, 2), QStringLiteral("Неверно. Спросите у священника."));
        QTest::mouseClick(command(w, 3), Qt::LeftButton);
        const QString prompt = text1(w);
        for (int i = 0; i < 3; ++i) {
            QTest::mouseClick(command(w, 3), Qt::LeftButton);
            QCOMPARE(text1(w), prompt);
            QCOMPARE(text2(w), QStringLiteral("1"));
            QCOMPARE(label(w, 2), QStringLiteral(" "));
            QVERIFY(list(w, 3)->isVisible() && command(w, 3)->isVisible());
            QCOMPARE(list(w, 3)->count(), 4);
        }
    }

    void keyboardSelectionAnswersOnce()
    {
        Forms forms;
        ui::TestWindow* w = open(forms, 1);
        QVERIFY(QTest::qWaitForWindowActive(w));
        QSignalSpy answers(w->List[1], &ui::ListBox::Click);
        QCOMPARE(QApplication::focusWidget(), w->Command1);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), w->List[1]);
        QCOMPARE(answers.count(), 0); // taking the focus is no answer
        QTest::keyClick(w->List[1], Qt::Key_Down);
        QCOMPARE(answers.count(), 1);
        QCOMPARE(label(w, 3), QStringLiteral("''Паки и паки миром Господу помолимся.''"));
        QCOMPARE(label(w, 2), QStringLiteral("Неверно. Читайте Закон Божий."));
        QCOMPARE(text2(w), QStringLiteral("0"));
        QVERIFY(command(w, 2)->isVisible());

        QSignalSpy second(w->List[2], &ui::ListBox::Click);
        QTest::mouseClick(command(w, 2), Qt::LeftButton);
        clickItem(list(w, 2), 3);
        QCOMPARE(second.count(), 1);
        QCOMPARE(text2(w), QStringLiteral("1"));
    }
};

QTEST_MAIN(TestWindowTest)
#include "test_test_window.moc"
