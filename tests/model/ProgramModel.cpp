// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/ProgramModel.h"

#include <QKeySequence>

#include "engine/QuestionBank.h"

namespace velitar::model {

namespace {

QString qs(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

// The start window: the warm-up question, its right option and its verdicts.
const QStringList kWarmUpOptions = {"Лития", "Литания", "Литургия", "Парастас", "Полиелей"};
constexpr int kWarmUpRight = 2;
const QString kPraise = QStringLiteral(" Правильно, но вопрос простой...    Теперь Вы можете приступить к    "
                                       "собственно тесту, выбрав один     из пяти вариантов.");
const QString kReproach = QStringLiteral(" Не верно. Спросите у свечницы     и вернитесь к тесту. ");

// The start window's controls in tab-index order (labels never take the focus).
const QStringList kStartOrder = {"List1",  "Label1",   "Label2",   "Label3",   "Label4",   "Command1",
                                 "Label5", "Command2", "Command3", "Command4", "Command5", "Command6"};

// A test window's controls in tab-index order, as variants 1, 3 and 4 have it.
const QStringList kTestOrder = {"Command1", "List1",     "Text1",    "Label2",    "Label3",   "Command2",  "List2",
                                "Text2",    "List3",     "Command3", "Label4",    "Label5",   "Command4",  "List4",
                                "Label6",   "Label7",    "Command5", "List5",     "Command6", "List6",     "List7",
                                "Command7", "List8",     "Command8", "List9",     "Command9", "Command10", "List10",
                                "List11",   "Command11", "List12",   "Command12", "Label8"};

// The variants open from the start window's buttons "1" .. "5".
const QStringList kTestWindows = {"Form6", "Form3", "Form4", "Form5", "Form2"};

const QString kCorrect = QStringLiteral(" Ответ правильный.");
const QString kBlank = QStringLiteral(" ");
const QString kPassedFirst = QStringLiteral("Поздравляем! Тест пройден.");
const QString kPassedQuote = QStringLiteral("“Ибо трудящийся достоин награды за труды свои” (Лук.10:7).");
const QString kFailed = QStringLiteral("Сожалеем, но тест не пройден.") + QString(67, ' ') +
                        QStringLiteral("Вы можете стать учеником велитаря...");

const Question& bankQuestion(int variant, int k) { return questionBank().variant(variant).question(k); }

int number(const QString& control, const char* prefix)
{
    return control.startsWith(QLatin1String(prefix)) ? control.mid(static_cast<qsizetype>(strlen(prefix))).toInt() : 0;
}

} // namespace

QString Action::describe() const
{
    switch (type) {
    case Type::Click:
        return QStringLiteral("click %1").arg(control);
    case Type::ClickItem:
        return QStringLiteral("click %1 option %2").arg(control).arg(row);
    case Type::ClickBlank:
        return QStringLiteral("click %1 below its options").arg(control);
    case Type::ClickWindow:
        return QStringLiteral("click the window where there is no control");
    case Type::Close:
        return QStringLiteral("close the window with its title-bar button");
    case Type::Key: {
        QString name = QKeySequence(static_cast<int>(modifiers) | key).toString();
        if (!text.isEmpty() && !text.at(0).isSpace())
            name = QStringLiteral("'%1'").arg(text);
        return QStringLiteral("key %1").arg(name);
    }
    }
    return {};
}

ProgramModel::ProgramModel() : focus_(QStringLiteral("List1")) {}

QString ProgramModel::testWindowName(int variant) { return kTestWindows.at(variant - 1); }

QString ProgramModel::shownWindow() const
{
    if (ended_)
        return {};
    return variant_ == 0 ? QStringLiteral("Form1") : testWindowName(variant_);
}

QStringList ProgramModel::controls(const QString& window) const
{
    return window == QLatin1String("Form1") ? kStartOrder : kTestOrder;
}

ProgramModel::Kind ProgramModel::kindOf(const QString& control)
{
    if (control.startsWith(QLatin1String("Label")))
        return Kind::Label;
    if (control.startsWith(QLatin1String("List")))
        return Kind::List;
    if (control.startsWith(QLatin1String("Text")))
        return Kind::TextBox;
    return Kind::Button;
}

bool ProgramModel::isShown(const QString& window, const QString& control) const
{
    if (!controls(window).contains(control))
        return false; // no such control in that window
    if (window == QLatin1String("Form1")) {
        if (control == QLatin1String("List1"))
            return start_ == StartState::Asking;
        if (control == QLatin1String("Label5") || number(control, "Command") >= 2)
            return start_ == StartState::Passed;
        return true; // Label1 .. Label4, Command1
    }
    if (variant_ == 0 || window != testWindowName(variant_))
        return false; // never opened in this run

    const int list = number(control, "List");
    const int command = number(control, "Command");
    if (list > 0)
        return test_ == TestState::Asking && list == k_;
    if (command >= 2) {
        if (test_ == TestState::Asking)
            return command == k_;
        return test_ == TestState::Answered && command == k_ + 1;
    }
    if (control == QLatin1String("Label6"))
        return test_ == TestState::Finished && total_ >= 11;
    if (control == QLatin1String("Label7"))
        return test_ == TestState::Finished && total_ < 11;
    return true; // Text1, Text2, Label2 .. Label5, Label8, Command1
}

std::optional<QString> ProgramModel::expectedText(const QString& window, const QString& control) const
{
    if (window == QLatin1String("Form1")) {
        if (control == QLatin1String("Label3"))
            return startEcho_;
        if (control == QLatin1String("Label4"))
            return startVerdict_;
        return std::nullopt;
    }
    if (variant_ == 0 || window != testWindowName(variant_))
        return std::nullopt;
    if (control == QLatin1String("Text1"))
        return prompt_;
    if (control == QLatin1String("Text2"))
        return score_;
    if (control == QLatin1String("Label2"))
        return verdict_;
    if (control == QLatin1String("Label3"))
        return echo_;
    if (control == QLatin1String("Label8"))
        return QStringLiteral("Вариант %1").arg(variant_);
    if (control == QLatin1String("Label6")) {
        // Variants 2 and 5 have one blank after "пройден.", the others two.
        const int blanks = (variant_ == 2 || variant_ == 5) ? 1 : 2;
        return kPassedFirst + QString(blanks, ' ') + kPassedQuote;
    }
    if (control == QLatin1String("Label7"))
        return kFailed;
    return std::nullopt;
}

int ProgramModel::answers(const QString& window, const QString& list) const
{
    if (window == QLatin1String("Form1"))
        return list == QLatin1String("List1") ? warmUpAnswers_ : 0;
    if (variant_ == 0 || window != testWindowName(variant_))
        return 0;
    return answers_.at(static_cast<std::size_t>(number(list, "List")));
}

std::optional<int> ProgramModel::slot(int k) const { return slots_.at(static_cast<std::size_t>(k)); }

QStringList ProgramModel::options(const QString& window, const QString& list) const
{
    if (window == QLatin1String("Form1"))
        return kWarmUpOptions;
    const int variant = static_cast<int>(kTestWindows.indexOf(window)) + 1;
    QStringList texts;
    for (std::string_view option : bankQuestion(variant, number(list, "List")).options)
        texts << qs(option);
    return texts;
}

QList<ProgramModel::Stop> ProgramModel::focusOrder() const
{
    QList<Stop> order;
    if (variant_ == 0) {
        for (const QString& name : kStartOrder)
            order.append({name, kindOf(name) != Kind::Label});
        return order;
    }
    QStringList names = kTestOrder;
    if (variant_ == 2) {
        // List12 comes last, after Label8.
        names.removeOne(QStringLiteral("List12"));
        names.append(QStringLiteral("List12"));
    } else if (variant_ == 5) {
        // Text1 is second to last, just before Label8.
        names.removeOne(QStringLiteral("Text1"));
        names.insert(names.size() - 1, QStringLiteral("Text1"));
    }
    // Every list is a Tab stop, List12 of variant 3 too: without it the last
    // question of that variant could not be reached from the keyboard.
    for (const QString& name : names)
        order.append({name, kindOf(name) != Kind::Label});
    return order;
}

QString ProgramModel::neighbour(const QString& from, bool forward) const
{
    const QList<Stop> order = focusOrder();
    qsizetype at = 0;
    while (at < order.size() && order.at(at).name != from)
        ++at;
    const qsizetype n = order.size();
    for (qsizetype step = 1; step < n; ++step) {
        const Stop& candidate = order.at(((forward ? at + step : at - step) % n + n) % n);
        if (candidate.tabStop && visibleNow(candidate.name))
            return candidate.name;
    }
    return from;
}

bool ProgramModel::canDo(const Action& action) const
{
    if (ended_)
        return false;
    switch (action.type) {
    case Action::Type::Click:
        return visibleNow(action.control) && kindOf(action.control) != Kind::List;
    case Action::Type::ClickItem:
        return kindOf(action.control) == Kind::List && visibleNow(action.control) && action.row >= 0 &&
               action.row < options(shownWindow(), action.control).size();
    case Action::Type::ClickBlank:
        return kindOf(action.control) == Kind::List && visibleNow(action.control);
    case Action::Type::ClickWindow:
    case Action::Type::Key:
    case Action::Type::Close:
        return true;
    }
    return false;
}

bool ProgramModel::apply(const Action& action)
{
    if (!canDo(action))
        return false;
    switch (action.type) {
    case Action::Type::Click:
        // A button or a text box takes the focus when it is clicked; a label
        // never does and ignores the click.
        if (kindOf(action.control) == Kind::Label)
            break;
        focus_ = action.control;
        if (kindOf(action.control) == Kind::Button)
            press(action.control);
        break;
    case Action::Type::ClickItem:
        focus_ = action.control;
        answer(action.control, action.row);
        break;
    case Action::Type::ClickBlank:
        focus_ = action.control;
        break;
    case Action::Type::ClickWindow:
        break;
    case Action::Type::Close:
        ended_ = true;
        break;
    case Action::Type::Key:
        key(action);
        break;
    }
    return true;
}

void ProgramModel::press(const QString& button)
{
    const int n = number(button, "Command");
    if (n == 1) {
        ended_ = true; // Exit, from any window and any state
        return;
    }
    if (variant_ == 0) {
        // "1" .. "5": the start window hides and the variant's window opens
        // with question 1 asked and the focus on Exit.
        variant_ = n - 1;
        frames_.clear(); // a new window: no list's frame has moved
        test_ = TestState::Asking;
        k_ = 1;
        prompt_ = qs(bankQuestion(variant_, 1).prompt);
        focus_ = QStringLiteral("Command1");
        return;
    }
    moveTo(n);
}

void ProgramModel::moveTo(int n)
{
    // Shows question n; pressed again while it waits, it changes nothing.
    if (test_ == TestState::Answered && n == k_ + 1) {
        test_ = TestState::Asking;
        k_ = n;
    }
    prompt_ = qs(bankQuestion(variant_, n).prompt);
    echo_ = kBlank;
    verdict_ = kBlank;
    focus_ = QStringLiteral("List%1").arg(n); // the focus goes to the list shown
}

void ProgramModel::answer(const QString& list, int row)
{
    if (variant_ == 0)
        answerWarmUp(row);
    else
        answerQuestion(number(list, "List"), row);
}

void ProgramModel::answerWarmUp(int row)
{
    ++warmUpAnswers_;
    startEcho_ = kWarmUpOptions.at(row);
    if (row == kWarmUpRight) {
        startVerdict_ = kPraise;
        start_ = StartState::Passed; // Label5 and the five buttons appear ...
    } else {
        startVerdict_ = kReproach;
        start_ = StartState::Failed;
    }
    // ... before the list disappears. The focus, if it was there, goes to
    // the way on: button "1" after the praise, Exit after the reproach.
    if (focus_ == QLatin1String("List1"))
        focus_ = start_ == StartState::Passed ? QStringLiteral("Command2") : QStringLiteral("Command1");
}

void ProgramModel::answerQuestion(int n, int row)
{
    const Question& q = bankQuestion(variant_, n);
    ++answers_.at(static_cast<std::size_t>(n));
    echo_ = qs(q.options[static_cast<std::size_t>(row)]);
    const bool right = row == q.correct;
    verdict_ = right ? kCorrect : qs(q.reproach);
    const int previous = n == 1 ? 0 : *slots_.at(static_cast<std::size_t>(n - 1));
    const int score = previous + (right ? 1 : 0);
    if (n <= 11)
        slots_.at(static_cast<std::size_t>(n)) = score;
    score_ = QString::number(score);

    // The list disappears, then the button that showed it, then the next
    // button appears. If one of the two had the focus, it goes to the next
    // step: the new button, or after question 12 the score box.
    const bool hadFocus = focus_ == QStringLiteral("List%1").arg(n) || focus_ == QStringLiteral("Command%1").arg(n);
    if (hadFocus)
        focus_ = n < 12 ? QStringLiteral("Command%1").arg(n + 1) : QStringLiteral("Text2");
    if (n < 12) {
        test_ = TestState::Answered;
    } else {
        test_ = TestState::Finished;
        total_ = score;
    }
}

void ProgramModel::key(const Action& action)
{
    const int k = action.key;
    const bool shift = action.modifiers.testFlag(Qt::ShiftModifier);
    if (k == Qt::Key_Backtab || (k == Qt::Key_Tab && shift)) {
        focus_ = neighbour(focus_, false);
        return;
    }
    if (k == Qt::Key_Tab) {
        focus_ = neighbour(focus_, true);
        return;
    }

    switch (kindOf(focus_)) {
    case Kind::Button:
        // Space and Enter press the focused button.
        if (k == Qt::Key_Space || k == Qt::Key_Return || k == Qt::Key_Enter)
            press(focus_);
        // The arrow keys move the focus as Tab and Shift+Tab do.
        else if (k == Qt::Key_Left || k == Qt::Key_Up)
            focus_ = neighbour(focus_, false);
        else if (k == Qt::Key_Right || k == Qt::Key_Down)
            focus_ = neighbour(focus_, true);
        break;
    case Kind::List: {
        // A visible list never has a selection: its first selection answers
        // and hides it. Until then a focus frame stands on the first option,
        // or where Ctrl with a moving key has put it. Plain moving keys
        // choose at once: before the frame was moved an arrow, Home or Page
        // Up the first option and End or Page Down the last; after it, the
        // option next to the frame or the first or last. With Ctrl they only
        // move the frame; Space and Enter choose the framed option. A
        // character chooses the next option that starts with it, after the
        // frame once it was moved, else from the top.
        const QString list = focus_;
        const QStringList texts = options(shownWindow(), list);
        const int n = static_cast<int>(texts.size());
        const int moved = frame(list);
        const int framed = moved < 0 ? 0 : moved;
        int next = -1;
        bool last = false;
        switch (k) {
        case Qt::Key_Up:
        case Qt::Key_Left:
            next = std::max(framed - 1, 0);
            break;
        case Qt::Key_Down:
        case Qt::Key_Right:
            next = std::min(framed + 1, n - 1);
            break;
        case Qt::Key_Home:
        case Qt::Key_PageUp:
            next = 0;
            break;
        case Qt::Key_End:
        case Qt::Key_PageDown:
            next = n - 1;
            last = true;
            break;
        case Qt::Key_Space:
        case Qt::Key_Return:
        case Qt::Key_Enter:
            answer(list, framed);
            return;
        default:
            if (!action.text.isEmpty() && action.text.at(0).isPrint() && !action.text.at(0).isSpace() &&
                !action.modifiers.testFlag(Qt::ControlModifier)) {
                const int from = moved < 0 ? 0 : moved + 1;
                for (int i = 0; i < n; ++i) {
                    const int row = (from + i) % n;
                    if (texts.at(row).startsWith(action.text, Qt::CaseInsensitive)) {
                        answer(list, row);
                        break;
                    }
                }
            }
            return;
        }
        if (action.modifiers.testFlag(Qt::ControlModifier))
            frames_[list] = next;
        else
            answer(list, moved >= 0 ? next : (last ? n - 1 : 0));
        break;
    }
    case Kind::TextBox: // read-only: keys change nothing
    case Kind::Label:
        break;
    }
}

} // namespace velitar::model
