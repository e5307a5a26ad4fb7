// SPDX-License-Identifier: GPL-3.0-or-later
// Form1, the start window: the warm-up question and the five variant buttons.
#pragma once

#include <QWidget>
#include <array>

#include "ui/Controls.h"

namespace velitar::ui {

class StartWindow : public QWidget {
    Q_OBJECT
public:
    explicit StartWindow(QWidget* parent = nullptr);

    Label* Label1;
    Label* Label2;
    Label* Label3;
    Label* Label4;
    Label* Label5;
    ListBox* List1;
    Button* Command1;
    std::array<Button*, 7> Command{}; // Command[2] .. Command[6]: variants 1 .. 5

    void List1_Click();
    void Command1_Click();
    void Command_Click(int n); // Command2_Click .. Command6_Click

signals:
    // A numbered button was pressed: open the test of this variant (1..5).
    void variantChosen(int variant);

protected:
    void closeEvent(QCloseEvent* event) override;
    bool focusNextPrevChild(bool next) override;

private:
    void Form_Load();
    // The answer as the user gives it: List1_Click, then the focus goes to
    // button "1" after the praise and to Exit after the reproach.
    void answer();

    HandlerFocus focus_{this};
};

} // namespace velitar::ui
