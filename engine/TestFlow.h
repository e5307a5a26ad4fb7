// SPDX-License-Identifier: GPL-3.0-or-later
// The question-by-question flow of one test window: moving to a question,
// answering it, keeping the running score and showing the final verdict.
#pragma once

#include <string>
#include <string_view>

#include "engine/QuestionBank.h"
#include "engine/ScoreSlots.h"

namespace velitar {

// What the flow uses of a test window's controls: only their Visible,
// Caption, Text and ListIndex properties and the list operation AddItem.
// Lists and buttons are numbered as in the window (List1..List12,
// Command2..Command12).
class TestControls {
public:
    virtual ~TestControls() = default;

    virtual void AddItem(int list, std::string_view text) = 0;
    virtual void setListVisible(int list, bool visible) = 0;
    virtual std::string listText(int list) const = 0; // the selected item's text
    virtual int ListIndex(int list) const = 0;        // -1 when nothing is selected

    virtual void setCommandVisible(int command, bool visible) = 0;

    virtual void setText1(std::string_view text) = 0;
    virtual void setText2(std::string_view text) = 0;

    virtual void setLabel2Caption(std::string_view caption) = 0;
    virtual std::string label2Caption() const = 0;
    virtual void setLabel3Caption(std::string_view caption) = 0;
    virtual void setLabel6Visible(bool visible) = 0;
    virtual void setLabel7Visible(bool visible) = 0;
};

// What moving to a question puts into Label3 and Label2.
inline constexpr std::string_view kBlankCaption = " ";

class TestFlow {
public:
    TestFlow(const TestVariant& variant, ScoreSlots& scores, TestControls& controls);

    // Fills List1..List12 with the options of questions 1..12, in order.
    void Form_Load();

    // CommandN_Click, N = 2..12: move to question N.
    void Command_Click(int n);

    // ListN_Click, N = 1..12: answer question N with the selected option.
    void List_Click(int n);

    const TestVariant& variant() const { return variant_; }

private:
    const TestVariant& variant_;
    ScoreSlots& slots_;
    TestControls& controls_;
};

} // namespace velitar
