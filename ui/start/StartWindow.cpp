// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/start/StartWindow.h"

#include <QCloseEvent>

#include "ui/Accessibility.h"
#include "ui/Program.h"
#include "ui/WindowIcon.h"
#include "ui/start/StartWindowDesign.h"

namespace velitar::ui {

namespace {

QString qs(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

template <typename T> T* child(QWidget* window, const QString& name)
{
    return window->findChild<T*>(name, Qt::FindDirectChildrenOnly);
}

} // namespace

StartWindow::StartWindow(QWidget* parent) : QWidget(parent)
{
    applyWindowDesign(startWindowDesign(), this);
    setWindowIcon(loadWindowIcon(QStringLiteral(":/icons/velitar-start.ico")));
    Label1 = child<Label>(this, QStringLiteral("Label1"));
    Label2 = child<Label>(this, QStringLiteral("Label2"));
    Label3 = child<Label>(this, QStringLiteral("Label3"));
    Label4 = child<Label>(this, QStringLiteral("Label4"));
    Label5 = child<Label>(this, QStringLiteral("Label5"));
    List1 = child<ListBox>(this, QStringLiteral("List1"));
    Command1 = child<Button>(this, QStringLiteral("Command1"));
    for (int n = 2; n <= 6; ++n) {
        Command[n] = child<Button>(this, QStringLiteral("Command%1").arg(n));
        connect(Command[n], &QPushButton::clicked, this, [this, n] { Command_Click(n); });
    }
    connect(List1, &ListBox::Click, this, &StartWindow::answer);
    connect(Command1, &QPushButton::clicked, this, &StartWindow::Command1_Click);

    Form_Load();
    applyAccessibility(*this);
}

void StartWindow::Form_Load()
{
    for (std::string_view option : warmUpQuestion().options)
        List1->AddItem(qs(option));
}

void StartWindow::List1_Click()
{
    const WarmUpQuestion& q = warmUpQuestion();
    Label3->setText(List1->Text());
    if (List1->ListIndex() == q.correct) {
        Label4->setText(qs(q.praise));
        Label5->setVisible(true);
        for (int n = 2; n <= 6; ++n)
            Command[n]->setVisible(true);
    } else {
        Label4->setText(qs(q.reproach));
    }
    List1->setVisible(false);
}

void StartWindow::answer()
{
    const bool placed = focus_.run(
        [this] {
            List1_Click();
            describeVerdict(*this);
        },
        [this]() -> QWidget* { return Command[2]->isVisibleTo(this) ? Command[2] : Command1; });
    if (!placed)
        QWidget::focusNextPrevChild(true);
}

bool StartWindow::focusNextPrevChild(bool next) { return focus_.holding() || QWidget::focusNextPrevChild(next); }

void StartWindow::Command1_Click() { endProgram(); }

void StartWindow::Command_Click(int n) { emit variantChosen(n - 1); }

void StartWindow::closeEvent(QCloseEvent* event)
{
    event->accept();
    endProgram();
}

} // namespace velitar::ui
