// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/Driver.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <functional>
#include <utility>

#include "app/Forms.h"
#include "engine/ScoreSlots.h"
#include "ui/Controls.h"

namespace velitar::model {

namespace {

// A status the program never ends with: the harness leaves the main loop
// with it after an action that did not end the program.
constexpr int kStillRunning = 0x5eed;

struct Outcome {
    bool ended;
    int status;
};

// Performs one user action inside the program's main event loop, where the
// running program receives its input, and tells whether the action ended the
// program and with which status.
//
// The program ends itself with QCoreApplication::exit(status), which tells
// every event loop of the thread to return that status. So the action runs
// inside QApplication::exec(), as in the program, and there inside a local
// QEventLoop: right after the action the local loop is still running exactly
// when nothing has asked the event loops to exit. Only then does the harness
// leave the main loop itself, with a status the program never uses. Leaving
// through QApplication::exec() also clears the "quit now" state that exit()
// leaves behind, so the next session's event loops run normally.
Outcome runInEventLoop(const std::function<void()>& action)
{
    bool running = true;
    int local = kStillRunning;
    QTimer::singleShot(0, qApp, [&] {
        QEventLoop loop;
        QTimer::singleShot(0, &loop, [&] {
            action();
            running = loop.isRunning();
            // The loops are to see the program's exit at once: on Windows a
            // nested processEvents() (QTest's, after a key) takes the event
            // dispatcher's interruption, and the loop would wait for the
            // system's next message.
            if (running)
                loop.exit(kStillRunning);
            else
                QAbstractEventDispatcher::instance()->interrupt();
        });
        local = loop.exec();
        if (running)
            QCoreApplication::exit(kStillRunning);
    });
    const int status = QApplication::exec();
    Q_UNUSED(local);
    return {!running, status};
}

// Lets the window system catch up: activation of a newly shown window and
// the focus that comes with it.
void settle(QWidget* window)
{
    QCoreApplication::processEvents();
    if (window && window->isVisible() && !window->isActiveWindow()) {
        window->activateWindow();
        if (!QTest::qWaitForWindowActive(window, 2000))
            qWarning("%s did not become active", qPrintable(window->objectName()));
    }
}

QString quoted(const QString& text) { return text.isNull() ? QStringLiteral("(none)") : '"' + text + '"'; }

Qt::Key keyFor(QChar c)
{
    if (c >= 'a' && c <= 'z')
        return Qt::Key(Qt::Key_A + (c.unicode() - 'a'));
    return Qt::Key(c.toUpper().unicode()); // Latin capitals, digits, punctuation, Cyrillic
}

Action typeCharacter(QChar c)
{
    const bool capital = c.isUpper();
    return Action::keyPress(keyFor(c), capital ? Qt::ShiftModifier : Qt::NoModifier, QString(c));
}

const QList<int> kTestVariants = {1, 2, 3, 4, 5};

} // namespace

// ---------------------------------------------------------------- Session

Session::Session() : forms_(std::make_unique<Forms>())
{
    QWidget* start = &forms_->Form1();
    watchLists(start);
    start->show();
    start->activateWindow();
    settle(start);
}

Session::~Session()
{
    forms_.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

QWidget* Session::window(const QString& name)
{
    if (name == QLatin1String("Form1"))
        return &forms_->Form1();
    for (int variant : kTestVariants) {
        if (ProgramModel::testWindowName(variant) == name)
            return forms_->testWindowLoaded(variant) ? &forms_->testWindow(variant) : nullptr;
    }
    return nullptr;
}

QWidget* Session::control(const QString& windowName, const QString& name)
{
    QWidget* w = window(windowName);
    return w ? w->findChild<QWidget*>(name) : nullptr;
}

void Session::watchLists(QWidget* w)
{
    if (watched_.contains(w->objectName()))
        return;
    watched_.insert(w->objectName());
    for (ui::ListBox* list : w->findChildren<ui::ListBox*>()) {
        const QString key = w->objectName() + '.' + list->objectName();
        clicks_[key] = 0;
        QObject::connect(list, &ui::ListBox::Click, list, [this, key] { ++clicks_[key]; });
    }
}

bool Session::hasBlankBelowOptions(const QString& listName)
{
    auto* list = qobject_cast<QListWidget*>(control(model_.shownWindow(), listName));
    if (!list || list->count() == 0)
        return false;
    const QRect last = list->visualItemRect(list->item(list->count() - 1));
    return list->viewport()->height() - last.bottom() > 4;
}

void Session::perform(const Action& action)
{
    QWidget* w = window(model_.shownWindow());
    QWindow* handle = w->windowHandle();
    const Outcome outcome = runInEventLoop([&] {
        switch (action.type) {
        case Action::Type::Click: {
            QWidget* c = control(w->objectName(), action.control);
            QTest::mouseClick(handle, Qt::LeftButton, {}, c->mapTo(w, c->rect().center()));
            break;
        }
        case Action::Type::ClickItem: {
            auto* list = qobject_cast<QListWidget*>(control(w->objectName(), action.control));
            const QRect item = list->visualItemRect(list->item(action.row));
            QTest::mouseClick(handle, Qt::LeftButton, {}, list->viewport()->mapTo(w, item.center()));
            break;
        }
        case Action::Type::ClickBlank: {
            auto* list = qobject_cast<QListWidget*>(control(w->objectName(), action.control));
            const QRect last = list->visualItemRect(list->item(list->count() - 1));
            const QPoint below(last.center().x(), (last.bottom() + list->viewport()->height()) / 2);
            QTest::mouseClick(handle, Qt::LeftButton, {}, list->viewport()->mapTo(w, below));
            break;
        }
        case Action::Type::ClickWindow: {
            // The first point, from the bottom left, where no control is.
            QPoint free(-1, -1);
            for (int y = w->height() - 3; y > 0 && free.x() < 0; y -= 5) {
                for (int x = 3; x < w->width() && free.x() < 0; x += 5) {
                    if (!w->childAt(x, y))
                        free = QPoint(x, y);
                }
            }
            QTest::mouseClick(handle, Qt::LeftButton, {}, free);
            break;
        }
        case Action::Type::Key: {
            // Keys go to the window that has the keyboard focus, as typed.
            QWindow* focused = QGuiApplication::focusWindow();
            QTest::sendKeyEvent(QTest::Click, focused ? focused : handle, Qt::Key(action.key), action.text,
                                action.modifiers);
            break;
        }
        case Action::Type::Close: {
            // What the title-bar button sends the window.
            QCloseEvent close;
            QCoreApplication::sendEvent(handle, &close);
            break;
        }
        }
    });
    programEnded_ = outcome.ended;
    exitStatus_ = outcome.status;
    if (!programEnded_)
        settle(window(model_.shownWindow()));
}

std::optional<Mismatch> Session::step(const Action& action)
{
    if (!model_.canDo(action))
        return std::nullopt;
    perform(action);
    model_.apply(action);

    if (programEnded_ && model_.ended()) {
        if (exitStatus_ != 0)
            return Mismatch{"exit status", QStringLiteral("the program ended with status %1, not 0").arg(exitStatus_)};
        return std::nullopt;
    }
    if (programEnded_)
        return Mismatch{"end", QStringLiteral("the program ended (status %1); the model says it goes on in %2")
                                   .arg(exitStatus_)
                                   .arg(model_.shownWindow())};
    if (model_.ended())
        return Mismatch{"end", QStringLiteral("the program goes on; the model says it has ended")};
    return compare();
}

std::optional<Mismatch> Session::compare()
{
    const QString shown = model_.shownWindow();

    // At most one window is visible: the one the model shows.
    QStringList visible;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->isVisible())
            visible << w->objectName();
    }
    if (visible != QStringList{shown})
        return Mismatch{
            "visible windows",
            QStringLiteral("program shows [%1]; model shows %2").arg(visible.join(QStringLiteral(", ")), shown)};

    // Only the chosen variant's window was ever created.
    for (int variant : kTestVariants) {
        if (forms_->testWindowLoaded(variant) != (variant == model_.variant()))
            return Mismatch{"created windows", QStringLiteral("test window of variant %1 is %2")
                                                   .arg(variant)
                                                   .arg(forms_->testWindowLoaded(variant) ? "created" : "not created")};
    }

    if (auto mismatch = compareWindow(QStringLiteral("Form1")))
        return mismatch;
    if (model_.variant() != 0) {
        if (auto mismatch = compareWindow(shown))
            return mismatch;
    }

    // The keyboard focus is in the shown window, on the control the model says.
    QWidget* focused = QApplication::focusWidget();
    const QString focus =
        focused ? focused->window()->objectName() + '.' + focused->objectName() : QStringLiteral("(nothing)");
    if (focus != shown + '.' + model_.focus())
        return Mismatch{"focus", QStringLiteral("program has %1; model has %2.%3").arg(focus, shown, model_.focus())};
    QWindow* focusWindow = QGuiApplication::focusWindow();
    if (!focusWindow || focusWindow != window(shown)->windowHandle())
        return Mismatch{"focus window", QStringLiteral("the shown window %1 does not have the keyboard").arg(shown)};

    // The running score in its slots.
    for (int k = ScoreSlots::kFirst; k <= ScoreSlots::kLast; ++k) {
        const std::optional<int> expected = model_.slot(k);
        if (expected && Module1::ScoreSlots.slot(k) != *expected)
            return Mismatch{
                QStringLiteral("slot %1").arg(k),
                QStringLiteral("program has %1; model has %2").arg(Module1::ScoreSlots.slot(k)).arg(*expected)};
    }
    return std::nullopt;
}

std::optional<Mismatch> Session::compareWindow(const QString& name)
{
    QWidget* w = window(name);
    if (!watched_.contains(name)) {
        // First sight of a test window: every list holds its options once.
        watchLists(w);
        for (const QString& c : model_.controls(name)) {
            auto* list = qobject_cast<QListWidget*>(w->findChild<QWidget*>(c));
            if (!list)
                continue;
            QStringList items;
            for (int i = 0; i < list->count(); ++i)
                items << list->item(i)->text();
            if (items != model_.options(name, c))
                return Mismatch{name + '.' + c + QStringLiteral(" options"),
                                QStringLiteral("program has [%1]").arg(items.join(QStringLiteral(" | ")))};
        }
    }

    for (const QString& c : model_.controls(name)) {
        QWidget* widget = w->findChild<QWidget*>(c);
        if (!widget)
            return Mismatch{name + '.' + c, QStringLiteral("no such control")};
        const bool expected = model_.isShown(name, c);
        if (widget->isVisibleTo(w) != expected)
            return Mismatch{name + '.' + c + QStringLiteral(" visible"),
                            QStringLiteral("program has it %1; model has it %2")
                                .arg(expected ? "hidden" : "shown", expected ? "shown" : "hidden")};

        if (const std::optional<QString> text = model_.expectedText(name, c)) {
            QString actual;
            if (auto* label = qobject_cast<QLabel*>(widget))
                actual = label->text();
            else if (auto* line = qobject_cast<QLineEdit*>(widget))
                actual = line->text();
            else
                actual = widget->property("text").toString();
            if (actual != *text)
                return Mismatch{name + '.' + c + QStringLiteral(" text"),
                                QStringLiteral("program has %1; model has %2").arg(quoted(actual), quoted(*text))};
        }

        if (qobject_cast<QListWidget*>(widget)) {
            const int seen = clicks_.value(name + '.' + c);
            if (seen != model_.answers(name, c))
                return Mismatch{
                    name + '.' + c + QStringLiteral(" answers"),
                    QStringLiteral("the list answered %1 times; model: %2").arg(seen).arg(model_.answers(name, c))};
        }
    }
    return std::nullopt;
}

// ------------------------------------------------------------- RandomUser

RandomUser::RandomUser(std::uint64_t seed) : rng_(seed)
{
    static constexpr double kRight[] = {1.0, 0.92, 0.92, 0.8, 0.4, 0.0};
    static constexpr double kKeyboard[] = {0.05, 0.5, 0.95};
    style_.rightAnswers = kRight[uniform(0, 5)];
    style_.keyboard = kKeyboard[uniform(0, 2)];
    style_.maxLength = uniform(6, 120);
    // Half the sequences go straight to some question before they roam, so
    // that the late questions get as much attention as the early ones.
    style_.rush = chance(0.5) ? uniform(1, 25) : 0;
    style_.maxLength += style_.rush;
}

int RandomUser::pick(std::initializer_list<double> weights) { return std::discrete_distribution<int>(weights)(rng_); }

Action RandomUser::next(Session& session)
{
    if (steps_++ < style_.rush) {
        const double keyboard = std::exchange(style_.keyboard, 0.0);
        const Action action = progress(session);
        style_.keyboard = keyboard;
        return action;
    }
    switch (pick({0.65, 0.34, 0.01})) {
    case 0:
        return progress(session);
    case 1:
        return noise(session);
    default:
        return chance(0.6) ? Action::click(QStringLiteral("Command1")) : Action::close();
    }
}

Action RandomUser::progress(Session& session)
{
    const ProgramModel& m = session.model();
    const bool keyboard = chance(style_.keyboard);
    QString target;
    int row = -1;
    if (m.variant() == 0) {
        if (m.startState() == StartState::Asking) {
            target = QStringLiteral("List1");
            // Most users know the warm-up answer.
            row = chance(0.8) ? 2 : std::array{0, 1, 3, 4}[static_cast<std::size_t>(uniform(0, 3))];
        } else if (m.startState() == StartState::Passed) {
            target = QStringLiteral("Command%1").arg(uniform(2, 6));
        }
    } else if (m.testState() == TestState::Asking) {
        target = QStringLiteral("List%1").arg(m.question());
        const Question& q = questionBank().variant(m.variant()).question(m.question());
        const int count = static_cast<int>(q.options.size());
        row = chance(style_.rightAnswers) ? q.correct : (q.correct + uniform(1, count - 1)) % count;
    } else if (m.testState() == TestState::Answered) {
        target = QStringLiteral("Command%1").arg(m.question() + 1);
    }
    if (target.isEmpty())
        return noise(session); // only Exit is left

    if (!keyboard)
        return row >= 0 ? Action::clickItem(target, row) : Action::click(target);

    if (m.focus() != target) {
        // Walk the focus towards the target.
        switch (pick({0.8, 0.15, 0.05})) {
        case 0:
            return Action::keyPress(Qt::Key_Tab);
        case 1:
            return Action::keyPress(Qt::Key_Backtab, Qt::ShiftModifier);
        default:
            return Action::keyPress(chance(0.5) ? Qt::Key_Down : Qt::Key_Up);
        }
    }
    if (row < 0)
        return chance(0.5) ? Action::keyPress(Qt::Key_Space, {}, QStringLiteral(" "))
                           : Action::keyPress(Qt::Key_Return, {}, QStringLiteral("\r"));
    return answerWithKeys(m, target, row);
}

Action RandomUser::answerWithKeys(const ProgramModel& m, const QString& list, int row)
{
    const QStringList options = m.options(m.shownWindow(), list);
    const int last = static_cast<int>(options.size()) - 1;
    const int moved = m.frame(list);
    const int framed = moved < 0 ? 0 : moved;
    QList<Action> ways;
    // Ctrl moves the focus frame towards the option, Space or Enter chooses it.
    if (framed == row) {
        ways << Action::keyPress(Qt::Key_Space, {}, QStringLiteral(" "))
             << Action::keyPress(Qt::Key_Return, {}, QStringLiteral("\r"));
    } else {
        ways << Action::keyPress(framed < row ? Qt::Key_Down : Qt::Key_Up, Qt::ControlModifier);
        if (row == 0 || row == last)
            ways << Action::keyPress(row == 0 ? Qt::Key_Home : Qt::Key_End, Qt::ControlModifier);
    }
    if (row == 0) {
        ways << Action::keyPress(Qt::Key_Home) << Action::keyPress(Qt::Key_PageUp);
        if (moved < 0)
            ways << Action::keyPress(Qt::Key_Down) << Action::keyPress(Qt::Key_Up);
    }
    if (row == last)
        ways << Action::keyPress(Qt::Key_End) << Action::keyPress(Qt::Key_PageDown);
    if (moved >= 0 && (row == moved + 1 || row == moved - 1))
        ways << Action::keyPress(row > moved ? Qt::Key_Down : Qt::Key_Up);
    // The first character of the option, when no earlier option starts with
    // it (searching from the top: the frame has not moved).
    const QChar first = options.at(row).at(0);
    bool earlier = false;
    for (int i = 0; i < row; ++i)
        earlier = earlier || options.at(i).startsWith(first, Qt::CaseInsensitive);
    if (!earlier && moved < 0) {
        ways << typeCharacter(first.toLower());
        if (first.isLetter())
            ways << typeCharacter(first.toUpper());
    }
    return ways.at(uniform(0, static_cast<int>(ways.size()) - 1));
}

Action RandomUser::anyCharacter()
{
    static const QString kCyrillic = QStringLiteral("абвгдеёжзийклмнопрстуфхцчшщъыьэюя");
    switch (pick({0.7, 0.15, 0.1, 0.05})) {
    case 0: {
        const QChar c = kCyrillic.at(uniform(0, static_cast<int>(kCyrillic.size()) - 1));
        return typeCharacter(chance(0.3) ? c.toUpper() : c);
    }
    case 1:
        return typeCharacter(QChar('a' + uniform(0, 25)));
    case 2:
        return typeCharacter(QChar('0' + uniform(0, 9)));
    default:
        return typeCharacter(QChar('\''));
    }
}

Action RandomUser::noise(Session& session)
{
    const ProgramModel& m = session.model();
    const QString window = m.shownWindow();
    switch (pick({0.55, 0.22, 0.1, 0.08, 0.02})) {
    case 0: { // any key
        switch (pick({3, 2, 0.2, 0.2, 0.1, 1, 1, 1, 1, 0.6, 0.6, 0.3, 0.3, 0.3, 1, 3})) {
        case 0:
            return Action::keyPress(Qt::Key_Tab);
        case 1:
            return Action::keyPress(Qt::Key_Backtab, Qt::ShiftModifier);
        case 2:
            return Action::keyPress(Qt::Key_Space, {}, QStringLiteral(" "));
        case 3:
            return Action::keyPress(Qt::Key_Return, {}, QStringLiteral("\r"));
        case 4:
            return Action::keyPress(Qt::Key_Enter, Qt::KeypadModifier, QStringLiteral("\r"));
        case 5:
            return Action::keyPress(Qt::Key_Up);
        case 6:
            return Action::keyPress(Qt::Key_Down);
        case 7:
            return Action::keyPress(Qt::Key_Left);
        case 8:
            return Action::keyPress(Qt::Key_Right);
        case 9:
            return Action::keyPress(Qt::Key_Home);
        case 10:
            return Action::keyPress(Qt::Key_End);
        case 11:
            return Action::keyPress(Qt::Key_PageUp);
        case 12:
            return Action::keyPress(Qt::Key_PageDown);
        case 13:
            return Action::keyPress(Qt::Key_Escape, {}, QStringLiteral("\x1b"));
        case 14: {
            const int keys[] = {Qt::Key_Up, Qt::Key_Down, Qt::Key_Home, Qt::Key_End};
            return Action::keyPress(keys[uniform(0, 3)], Qt::ControlModifier);
        }
        default:
            return anyCharacter();
        }
    }
    case 1: { // any shown control but Exit, lists by one of their options
        QStringList shown;
        for (const QString& c : m.controls(window)) {
            if (c != QLatin1String("Command1") && m.isShown(window, c))
                shown << c;
        }
        const QString c = shown.at(uniform(0, static_cast<int>(shown.size()) - 1));
        if (c.startsWith(QLatin1String("List")))
            return Action::clickItem(c, uniform(0, static_cast<int>(m.options(window, c).size()) - 1));
        return Action::click(c);
    }
    case 2: { // a list below its options
        for (const QString& c : m.controls(window)) {
            if (c.startsWith(QLatin1String("List")) && m.isShown(window, c) && session.hasBlankBelowOptions(c))
                return Action::clickBlank(c);
        }
        return Action::clickWindow();
    }
    case 3:
        return Action::clickWindow();
    default: // Space or Enter, whatever has the focus
        return chance(0.5) ? Action::keyPress(Qt::Key_Space, {}, QStringLiteral(" "))
                           : Action::keyPress(Qt::Key_Return, {}, QStringLiteral("\r"));
    }
}

// ---------------------------------------------------------------- replay

Replay replay(const QList<Action>& actions)
{
    Replay result;
    Session session;
    for (const Action& action : actions) {
        if (session.ended() || !session.model().canDo(action))
            continue;
        result.performed << action;
        if ((result.mismatch = session.step(action)))
            return result;
    }
    return result;
}

Replay shrink(const QList<Action>& actions, const Mismatch& mismatch)
{
    Replay best{mismatch, actions};
    int budget = 3000; // replays
    for (qsizetype chunk = best.performed.size() / 2; chunk >= 1 && budget > 0; chunk /= 2) {
        bool removed = true;
        while (removed && budget > 0) {
            removed = false;
            for (qsizetype at = 0; at < best.performed.size() && budget > 0;) {
                QList<Action> candidate = best.performed;
                candidate.remove(at, qMin(chunk, candidate.size() - at));
                --budget;
                Replay r = replay(candidate);
                if (r.mismatch && r.mismatch->kind == mismatch.kind) {
                    best = r;
                    removed = true;
                } else {
                    at += chunk;
                }
            }
        }
    }
    return best;
}

} // namespace velitar::model
