// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/test/TestWindow.h"

#include <QCloseEvent>

#include "ui/Accessibility.h"
#include "ui/Program.h"
#include "ui/WindowIcon.h"

namespace velitar::ui {

namespace {

QString qs(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

template <typename T> T* child(QWidget* window, const QString& name)
{
    T* widget = window->findChild<T*>(name, Qt::FindDirectChildrenOnly);
    Q_ASSERT(widget);
    return widget;
}

} // namespace

TestWindow::TestWindow(const TestVariant& variant, ScoreSlots& scores, QWidget* parent)
    : QWidget(parent), flow_(variant, scores, *this)
{
    applyWindowDesign(testWindowDesign(variant), this);
    setWindowIcon(loadWindowIcon(QStringLiteral(":/icons/velitar-test.ico")));

    Text1 = child<MultiLineTextBox>(this, QStringLiteral("Text1"));
    Text2 = child<TextBox>(this, QStringLiteral("Text2"));
    Label2 = child<Label>(this, QStringLiteral("Label2"));
    Label3 = child<Label>(this, QStringLiteral("Label3"));
    Label4 = child<Label>(this, QStringLiteral("Label4"));
    Label5 = child<Label>(this, QStringLiteral("Label5"));
    Label6 = child<Label>(this, QStringLiteral("Label6"));
    Label7 = child<Label>(this, QStringLiteral("Label7"));
    Label8 = child<Label>(this, QStringLiteral("Label8"));
    Command1 = child<Button>(this, QStringLiteral("Command1"));
    for (int k = 1; k <= kQuestionsPerVariant; ++k) {
        List[k] = child<ListBox>(this, QStringLiteral("List%1").arg(k));
        connect(List[k], &ListBox::Click, this, [this, k] { answer(k); });
    }
    for (int k = 2; k <= kQuestionsPerVariant; ++k) {
        Command[k] = child<Button>(this, QStringLiteral("Command%1").arg(k));
        connect(Command[k], &QPushButton::clicked, this, [this, k] { move(k); });
    }
    connect(Command1, &QPushButton::clicked, this, &TestWindow::Command1_Click);

    Form_Load();
    applyAccessibility(*this);
}

void TestWindow::Command1_Click() { endProgram(); }

void TestWindow::move(int n)
{
    Command_Click(n);
    describeMove(*this, n);
    List.at(static_cast<std::size_t>(n))->setFocus(Qt::OtherFocusReason);
}

void TestWindow::answer(int n)
{
    const bool placed = focus_.run(
        [this, n] {
            List_Click(n);
            describeAnswer(*this, n);
        },
        [this, n]() -> QWidget* {
            return n < kQuestionsPerVariant ? static_cast<QWidget*>(Command.at(static_cast<std::size_t>(n + 1)))
                                            : static_cast<QWidget*>(Text2);
        });
    if (!placed)
        QWidget::focusNextPrevChild(true);
}

bool TestWindow::focusNextPrevChild(bool next) { return focus_.holding() || QWidget::focusNextPrevChild(next); }

void TestWindow::closeEvent(QCloseEvent* event)
{
    event->accept();
    endProgram();
}

void TestWindow::AddItem(int list, std::string_view text)
{
    List.at(static_cast<std::size_t>(list))->AddItem(qs(text));
}

void TestWindow::setListVisible(int list, bool visible)
{
    List.at(static_cast<std::size_t>(list))->setVisible(visible);
}

std::string TestWindow::listText(int list) const
{
    return List.at(static_cast<std::size_t>(list))->Text().toStdString();
}

int TestWindow::ListIndex(int list) const { return List.at(static_cast<std::size_t>(list))->ListIndex(); }

void TestWindow::setCommandVisible(int command, bool visible)
{
    Command.at(static_cast<std::size_t>(command))->setVisible(visible);
}

void TestWindow::setText1(std::string_view text) { Text1->setText(qs(text)); }

void TestWindow::setText2(std::string_view text) { Text2->setText(qs(text)); }

void TestWindow::setLabel2Caption(std::string_view caption) { Label2->setText(qs(caption)); }

std::string TestWindow::label2Caption() const { return Label2->text().toStdString(); }

void TestWindow::setLabel3Caption(std::string_view caption) { Label3->setText(qs(caption)); }

void TestWindow::setLabel6Visible(bool visible) { Label6->setVisible(visible); }

void TestWindow::setLabel7Visible(bool visible) { Label7->setVisible(visible); }

} // namespace velitar::ui
