// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/Accessibility.h"

#include <QAccessibleWidget>

#include "ui/PlatformAccessibility.h"
#include "ui/start/StartWindow.h"
#include "ui/test/TestWindow.h"

namespace velitar::ui {

namespace {

const QString kEcho = QStringLiteral("Выбранный ответ");
const QString kVerdict = QStringLiteral("Оценка ответа");
const QString kExit = QStringLiteral("Завершить программу");
// A plain arrow answers at once; this must be known before the first key.
const QString kListKeys = QStringLiteral("Стрелка сразу выбирает ответ. Чтобы просмотреть ответы, не выбирая, "
                                         "нажимайте Ctrl со стрелками, затем пробел или Enter.");

QString qs(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

// A text as it is read out: line breaks and runs of blanks as one blank.
QString spoken(const QString& text) { return text.simplified(); }

QString score(const QString& digits) { return QStringLiteral("Правильных ответов: %1.").arg(digits); }

// Qt's own interface of a control, passed on unchanged but where a subclass
// corrects it.
class QtInterface : public QAccessibleInterface {
public:
    explicit QtInterface(QAccessibleInterface* qt) : qt_(qt) {}

    QString text(QAccessible::Text t) const override { return qt_->text(t); }
    QAccessible::State state() const override { return qt_->state(); }
    bool isValid() const override { return qt_->isValid(); }
    QObject* object() const override { return qt_->object(); }
    QWindow* window() const override { return qt_->window(); }
    QList<QPair<QAccessibleInterface*, QAccessible::Relation>> relations(QAccessible::Relation match) const override
    {
        return qt_->relations(match);
    }
    QAccessibleInterface* focusChild() const override { return qt_->focusChild(); }
    QAccessibleInterface* childAt(int x, int y) const override { return qt_->childAt(x, y); }
    QAccessibleInterface* parent() const override { return qt_->parent(); }
    QAccessibleInterface* child(int index) const override { return qt_->child(index); }
    int childCount() const override { return qt_->childCount(); }
    int indexOfChild(const QAccessibleInterface* child) const override { return qt_->indexOfChild(child); }
    void setText(QAccessible::Text t, const QString& text) override { qt_->setText(t, text); }
    QRect rect() const override { return qt_->rect(); }
    QAccessible::Role role() const override { return qt_->role(); }
    QColor foregroundColor() const override { return qt_->foregroundColor(); }
    QColor backgroundColor() const override { return qt_->backgroundColor(); }
    void* interface_cast(QAccessible::InterfaceType type) override { return qt_->interface_cast(type); }
    void virtual_hook(int id, void* data) override { qt_->virtual_hook(id, data); }

protected:
    // Made by Qt for the same control and kept in Qt's own cache, which
    // deletes it with the control.
    QAccessibleInterface* qt_;
};

// Qt's interface of a list answers every text but the description with the
// list's name: its help text too, which a screen reader reads after the
// description as a hint (Orca 48 does, by default), so the question was heard
// twice. An answer list tells its name and description only.
class AnswerListInterface : public QtInterface {
public:
    using QtInterface::QtInterface;
    QString text(QAccessible::Text t) const override
    {
        return t == QAccessible::Name || t == QAccessible::Description ? qt_->text(t) : QString();
    }
};

// Qt reports a read-only line box as editable too. The score box is not: the
// user cannot change it. A screen reader reads what is inserted into an
// editable box that has the focus (Orca 48 does after an arrow key), so the
// score, set just before the focus comes to the box after the last answer,
// was heard again after the final caption.
class ScoreBoxInterface : public QtInterface {
public:
    using QtInterface::QtInterface;
    QAccessible::State state() const override
    {
        QAccessible::State state = qt_->state();
        state.editable = !state.readOnly;
        return state;
    }
};

// A plain top-level widget is exposed as a client area; the program's windows
// are exposed as windows (a frame over AT-SPI), as a main window is.
QAccessibleInterface* controlInterface(const QString&, QObject* object)
{
    if (qobject_cast<StartWindow*>(object) || qobject_cast<TestWindow*>(object))
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Window);
    static bool askingQt = false;
    const bool list = qobject_cast<ListBox*>(object) != nullptr;
    if (askingQt || (!list && !qobject_cast<TextBox*>(object)))
        return nullptr;
    askingQt = true; // while Qt makes its own, this factory has none
    QAccessibleInterface* qt = QAccessible::queryAccessibleInterface(object);
    askingQt = false;
    if (!qt)
        return nullptr;
    if (list)
        return new AnswerListInterface(qt);
    return new ScoreBoxInterface(qt);
}

// Installed before any window exists, so no control's interface is made without it.
void installControlInterfaces()
{
    QAccessible::installFactory(controlInterface);
    adaptPlatformAccessibility();
}
Q_CONSTRUCTOR_FUNCTION(installControlInterfaces)

QString openVariant(int variant) { return QStringLiteral("Открыть вариант %1").arg(variant); }

} // namespace

void applyAccessibility(StartWindow& w)
{
    // The name is the title bar's; the description says it in Russian.
    w.setAccessibleDescription(QStringLiteral("Тест \"Велитарь\": вопрос-разминка и выбор варианта теста"));
    w.Label2->setAccessibleDescription(QStringLiteral("Вопрос-разминка"));
    w.List1->setAccessibleName(spoken(w.Label2->text()));
    w.List1->setAccessibleDescription(kListKeys);
    w.Label3->setAccessibleDescription(kEcho);
    w.Label4->setAccessibleDescription(kVerdict);
    w.Command1->setAccessibleDescription(kExit);
    for (int n = 2; n <= 6; ++n)
        w.Command[n]->setAccessibleDescription(openVariant(n - 1));
}

void describeVerdict(StartWindow& w)
{
    const QString verdict = spoken(w.Label4->text());
    if (w.Command[2]->isVisibleTo(&w)) {
        w.Command[2]->setAccessibleDescription(
            QStringLiteral("%1 %2: кнопки от 1 до 5. %3").arg(verdict, w.Label5->text(), openVariant(1)));
    } else {
        w.Command1->setAccessibleDescription(QStringLiteral("%1 %2").arg(verdict, kExit));
    }
}

void applyAccessibility(TestWindow& w)
{
    // The window's name is its title and the variant it shows: a screen reader
    // says a window's name whenever the window becomes active, its description
    // not always (Orca 48 leaves it out when the window came up while no
    // control had the focus, as when the start window has just hidden).
    w.setAccessibleName(QStringLiteral("%1. %2").arg(w.windowTitle(), w.Label8->text()));
    w.Text1->setAccessibleName(QStringLiteral("Вопрос"));
    w.Text2->setAccessibleName(QStringLiteral("Число правильных ответов"));
    for (int k = 1; k < static_cast<int>(w.List.size()); ++k) {
        w.List[k]->setAccessibleName(spoken(qs(w.variant().question(k).prompt)));
        w.List[k]->setAccessibleDescription(kListKeys);
    }
    w.Label3->setAccessibleDescription(kEcho);
    w.Label2->setAccessibleDescription(kVerdict);
    w.Label6->setAccessibleDescription(QStringLiteral("Итог теста"));
    w.Label7->setAccessibleDescription(QStringLiteral("Итог теста"));
    w.Command1->setAccessibleDescription(kExit);
}

void describeAnswer(TestWindow& w, int n)
{
    if (n < kQuestionsPerVariant) {
        w.Command.at(static_cast<std::size_t>(n + 1))
            ->setAccessibleDescription(QStringLiteral("%1 %2").arg(spoken(w.Label2->text()), score(w.Text2->text())));
        return;
    }
    const Label* caption = w.Label6->isVisibleTo(&w) ? w.Label6 : w.Label7;
    w.Text2->setAccessibleDescription(
        QStringLiteral("%1 %2 %3").arg(spoken(w.Label2->text()), spoken(caption->text()), score(w.Text2->text())));
}

void describeMove(TestWindow& w, int n) { w.Command.at(static_cast<std::size_t>(n))->setAccessibleDescription({}); }

void passOnAccessibilityEvent(QAccessible::UpdateHandler before, QAccessibleEvent* event)
{
    if (before) {
        before(event);
        return;
    }
    const QAccessible::UpdateHandler installed = QAccessible::installUpdateHandler(nullptr);
    QAccessible::updateAccessibility(event);
    QAccessible::installUpdateHandler(installed);
}

} // namespace velitar::ui
