#include "ui/Accessibility.h"

#include <QAccessibleWidget>

#include "ui/start/StartWindow.h"
#include "ui/test/TestWindow.h"

namespace velitar::ui {

namespace {

const QString kEcho = QStringLiteral("Выбранный ответ");
const QString kVerdict = QStringLiteral("Оценка ответа");
const QString kExit = QStringLiteral("Завершить программу");

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

} // namespace

void applyAccessibility(StartWindow& w)
{
    // The title bar shows the name in Latin letters; a screen reader says it in Russian.
    w.setAccessibleName(QStringLiteral("Тест \"Велитарь\""));
    w.setAccessibleDescription(QStringLiteral("Вопрос-разминка и выбор варианта теста"));
    w.Label2->setAccessibleDescription(QStringLiteral("Вопрос-разминка"));
    w.List1->setAccessibleName(QStringLiteral("Ответы на вопрос-разминку"));
    w.Label3->setAccessibleDescription(kEcho);
    w.Label4->setAccessibleDescription(kVerdict);
    w.Command1->setAccessibleDescription(kExit);
    for (int n = 2; n <= 6; ++n)
        w.Command[n]->setAccessibleDescription(QStringLiteral("Открыть вариант %1").arg(n - 1));
}

void applyAccessibility(TestWindow& w)
{
    w.setAccessibleDescription(QStringLiteral("Вариант %1").arg(w.variant().number));
    w.Text1->setAccessibleName(QStringLiteral("Вопрос"));
    w.Text2->setAccessibleName(QStringLiteral("Число правильных ответов"));
    for (int k = 1; k < static_cast<int>(w.List.size()); ++k)
        w.List[k]->setAccessibleName(QStringLiteral("Ответы на вопрос %1").arg(k));
    for (int k = 2; k < static_cast<int>(w.Command.size()); ++k)
        w.Command[k]->setAccessibleDescription(QStringLiteral("Перейти к вопросу %1").arg(k));
    w.Label3->setAccessibleDescription(kEcho);
    w.Label2->setAccessibleDescription(kVerdict);
    w.Label6->setAccessibleDescription(QStringLiteral("Итог теста"));
    w.Label7->setAccessibleDescription(QStringLiteral("Итог теста"));
    w.Command1->setAccessibleDescription(kExit);
}

} // namespace velitar::ui
