// SPDX-License-Identifier: GPL-3.0-or-later
// Many short random sequences of user actions on the real windows, each
// compared after every action with an independent model of the program.
//
//   VELITAR_MODEL_ACTIONS  how many actions in all (default 100000)
//   VELITAR_MODEL_SEED     the seed of the first sequence (default 1); sequence
//                          i uses seed + i, so a failing sequence is rerun alone
//                          with its own seed and VELITAR_MODEL_ACTIONS=1
#include <QtTest>
#include <map>

#include "engine/QuestionBank.h"
#include "model/Driver.h"
#include "ui/Appearance.h"

using namespace velitar::model;

namespace {

qint64 fromEnvironment(const char* name, qint64 fallback)
{
    bool ok = false;
    const qint64 value = qEnvironmentVariable(name).toLongLong(&ok);
    return ok ? value : fallback;
}

QString listing(const QList<Action>& actions)
{
    QString text;
    for (qsizetype i = 0; i < actions.size(); ++i)
        text += QStringLiteral("  %1. %2\n").arg(i + 1).arg(actions.at(i).describe());
    return text;
}

// What the sequences reached, to show that they went everywhere.
struct Coverage {
    std::map<QString, int> counts;
    void add(const QString& what) { ++counts[what]; }
    int operator[](const QString& what) const
    {
        const auto found = counts.find(what);
        return found == counts.end() ? 0 : found->second;
    }
    QString summary() const
    {
        QStringList lines;
        for (const auto& [what, count] : counts)
            lines << QStringLiteral("%1: %2").arg(what).arg(count);
        return lines.join(QStringLiteral(", "));
    }
};

void record(Coverage& coverage, const ProgramModel& model, const Action& last)
{
    if (model.variant() == 0) {
        coverage.add(model.startState() == StartState::Asking   ? QStringLiteral("left asking")
                     : model.startState() == StartState::Passed ? QStringLiteral("left passed")
                                                                : QStringLiteral("left failed"));
    } else if (model.testState() == TestState::Finished) {
        const QString window = model.testWindowName(model.variant());
        const bool passed = model.isShown(window, QStringLiteral("Label6"));
        coverage.add(QStringLiteral("variant %1 %2").arg(model.variant()).arg(passed ? "passed" : "failed"));
        coverage.add(QStringLiteral("total %1").arg(*model.expectedText(window, QStringLiteral("Text2"))));
    } else {
        coverage.add(QStringLiteral("variant %1 left at question %2").arg(model.variant()).arg(model.question()));
    }
    if (model.ended()) {
        coverage.add(last.type == Action::Type::Close ? QStringLiteral("ended by closing")
                     : last.type == Action::Type::Key ? QStringLiteral("ended by a key on Exit")
                                                      : QStringLiteral("ended by clicking Exit"));
    }
}

} // namespace

class ModelTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { velitar::ui::applyProgramStyle(); }

    // Short sequences along paths that random users seldom take, checked
    // against the same model.
    void rarePathsAgreeWithTheModel_data()
    {
        QTest::addColumn<QList<Action>>("actions");
        const auto key = [](int k) { return Action::keyPress(k); };
        const auto type = [](const QString& c) {
            const QChar ch = c.at(0);
            return Action::keyPress(ch.toUpper().unicode(), ch.isUpper() ? Qt::ShiftModifier : Qt::NoModifier, c);
        };
        const auto space = Action::keyPress(Qt::Key_Space, {}, QStringLiteral(" "));
        const auto backtab = Action::keyPress(Qt::Key_Backtab, Qt::ShiftModifier);

        // A character no option starts with, then one that some option does.
        QTest::newRow("warm-up: 'ж', then 'п'") << QList<Action>{type("ж"), type("п")};
        QTest::newRow("warm-up: Space, then 'л'") << QList<Action>{space, type("л")};
        QTest::newRow("warm-up: '1', Tab away and back, then 'П'")
            << QList<Action>{type("1"), key(Qt::Key_Tab), backtab, type("П")};

        // Up to question 12 of a variant, every answer right, by mouse.
        const auto toLastQuestion = [](int variant) {
            QList<Action> actions{Action::clickItem(QStringLiteral("List1"), 2),
                                  Action::click(QStringLiteral("Command%1").arg(variant + 1))};
            for (int k = 1; k <= 11; ++k) {
                actions << Action::clickItem(QStringLiteral("List%1").arg(k),
                                             velitar::questionBank().variant(variant).question(k).correct)
                        << Action::click(QStringLiteral("Command%1").arg(k + 1));
            }
            return actions;
        };
        for (int variant = 1; variant <= 5; ++variant) {
            QTest::addRow("variant %d, question 12: Tab from the score box", variant)
                << (toLastQuestion(variant)
                    << Action::click(QStringLiteral("Text2")) << key(Qt::Key_Tab) << key(Qt::Key_Tab));
            QTest::addRow("variant %d, question 12: Shift+Tab around from Exit", variant)
                << (toLastQuestion(variant) << backtab << backtab << backtab << backtab);
            QTest::addRow("variant %d, question 12: Tab from a click below the options", variant)
                << (toLastQuestion(variant) << Action::clickBlank(QStringLiteral("List12")) << key(Qt::Key_Tab));
            QTest::addRow("variant %d, question 12: arrows on the button", variant)
                << (toLastQuestion(variant) << Action::click(QStringLiteral("Command12")) << key(Qt::Key_Up)
                                            << key(Qt::Key_Left) << key(Qt::Key_Down) << key(Qt::Key_Right));
        }
    }
    void rarePathsAgreeWithTheModel()
    {
        QFETCH(QList<Action>, actions);
        const Replay run = replay(actions);
        if (run.mismatch)
            QFAIL(qPrintable(QStringLiteral("after action %1 (%2), %3: %4")
                                 .arg(run.performed.size())
                                 .arg(run.performed.last().describe(), run.mismatch->kind, run.mismatch->detail)));
        QVERIFY2(run.performed.size() == actions.size(), "an action could not be done");
    }

    void randomActionsAgreeWithTheModel()
    {
        const qint64 wanted = fromEnvironment("VELITAR_MODEL_ACTIONS", 100000);
        const quint64 firstSeed = static_cast<quint64>(fromEnvironment("VELITAR_MODEL_SEED", 1));

        Coverage coverage;
        qint64 actions = 0;
        quint64 sequences = 0;
        QElapsedTimer clock;
        clock.start();
        while (actions < wanted) {
            const quint64 seed = firstSeed + sequences++;
            RandomUser user(seed);
            QList<Action> done;
            std::optional<Mismatch> mismatch;
            {
                Session session;
                while (!session.ended() && done.size() < user.style().maxLength && !mismatch) {
                    const Action action = user.next(session);
                    if (!session.model().canDo(action))
                        continue;
                    done << action;
                    ++actions;
                    mismatch = session.step(action);
                }
                if (!mismatch)
                    record(coverage, session.model(), done.isEmpty() ? Action{} : done.last());
            }
            if (mismatch) {
                const Replay shortest = shrink(done, *mismatch);
                const QString report =
                    QStringLiteral("The program and the model disagree.\n"
                                   "Sequence seed %1 (rerun alone: VELITAR_MODEL_SEED=%1 VELITAR_MODEL_ACTIONS=1)\n"
                                   "Shortest sequence (%2 of %3 actions):\n%4"
                                   "After the last action, %5: %6\n")
                        .arg(seed)
                        .arg(shortest.performed.size())
                        .arg(done.size())
                        .arg(listing(shortest.performed), shortest.mismatch->kind, shortest.mismatch->detail);
                QFAIL(qPrintable(report));
            }
        }
        qInfo("%lld actions in %llu sequences, %.1f s", actions, sequences, clock.elapsed() / 1000.0);
        qInfo("reached: %s", qPrintable(coverage.summary()));

        // A run of the default size goes everywhere: every variant to a pass
        // and to a fail, the warm-up both ways, every way of ending.
        if (wanted >= 100000) {
            for (int variant = 1; variant <= 5; ++variant) {
                QVERIFY2(coverage[QStringLiteral("variant %1 passed").arg(variant)] > 0, "a variant never passed");
                QVERIFY2(coverage[QStringLiteral("variant %1 failed").arg(variant)] > 0, "a variant never failed");
            }
            for (const char* what : {"total 12", "total 11", "total 10", "left failed", "ended by closing",
                                     "ended by a key on Exit", "ended by clicking Exit"})
                QVERIFY2(coverage[QString::fromLatin1(what)] > 0, what);
        }
    }
};

QTEST_MAIN(ModelTest)
#include "test_model.moc"
