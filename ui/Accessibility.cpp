// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/Accessibility.h"

#include <QAccessibleWidget>

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

// A plain top-level widget is exposed as a client area; the program's windows
// are exposed as windows (a frame over AT-SPI), as a main window is.
QAccessibleInterface* windowInterface(const QString&, QObject* object)
{
    if (qobject_cast<StartWindow*>(object) || qobject_cast<TestWindow*>(object))
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Window);
    return nullptr;
}

// Installed before any window exists, so no window's interface is made without it.
void installWindowInterface() { QAccessible::installFactory(windowInterface); }
Q_CONSTRUCTOR_FUNCTION(installWindowInterface)

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
    w.setAccessibleDescription(QStringLiteral("Вариант %1").arg(w.variant().number));
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

} // namespace velitar::ui
