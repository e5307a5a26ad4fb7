// SPDX-License-Identifier: GPL-3.0-or-later
// A test window: one class for all five variants, built from the variant's
// design and driven by the test flow.
#pragma once

#include <QWidget>
#include <array>

#include "engine/TestFlow.h"
#include "ui/Controls.h"
#include "ui/test/TestWindowDesign.h"

namespace velitar::ui {

class TestWindow : public QWidget, private TestControls {
    Q_OBJECT
public:
    // Creates the window in its designed state and runs its Form_Load.
    TestWindow(const TestVariant& variant, ScoreSlots& scores, QWidget* parent = nullptr);

    const TestVariant& variant() const { return flow_.variant(); }

    // The controls, by their designed names.
    MultiLineTextBox* Text1;
    TextBox* Text2;
    Label* Label2;
    Label* Label3;
    Label* Label4;
    Label* Label5;
    Label* Label6;
    Label* Label7;
    Label* Label8;
    Button* Command1;
    std::array<ListBox*, 13> List{};   // List[1] .. List[12]
    std::array<Button*, 13> Command{}; // Command[2] .. Command[12]

    void Command1_Click();
    void Command_Click(int n) { flow_.Command_Click(n); } // Command2_Click .. Command12_Click
    void List_Click(int n) { flow_.List_Click(n); }       // List1_Click .. List12_Click

    // A move button or an answer as the user gives it: the handler, then the
    // focus goes to the next step. A move button puts it on the list it has
    // shown; an answer to the move button it has shown or, after question 12,
    // to the score box, whose description is then the final caption.
    void move(int n);
    void answer(int n);

protected:
    void closeEvent(QCloseEvent* event) override;
    bool focusNextPrevChild(bool next) override;

private:
    void Form_Load() { flow_.Form_Load(); }

    // TestControls
    void AddItem(int list, std::string_view text) override;
    void setListVisible(int list, bool visible) override;
    std::string listText(int list) const override;
    int ListIndex(int list) const override;
    void setCommandVisible(int command, bool visible) override;
    void setText1(std::string_view text) override;
    void setText2(std::string_view text) override;
    void setLabel2Caption(std::string_view caption) override;
    std::string label2Caption() const override;
    void setLabel3Caption(std::string_view caption) override;
    void setLabel6Visible(bool visible) override;
    void setLabel7Visible(bool visible) override;

    TestFlow flow_;
    HandlerFocus focus_{this};
};

} // namespace velitar::ui
