// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/TestFlow.h"

#include <stdexcept>

namespace velitar {

namespace {

constexpr int kPassTotals[] = {12, 11};

void requireRange(int n, int first, int last, const char* what)
{
    if (n < first || n > last)
        throw std::out_of_range(what);
}

} // namespace

TestFlow::TestFlow(const TestVariant& variant, ScoreSlots& scores, TestControls& controls)
    : variant_(variant), slots_(scores), controls_(controls)
{
}

void TestFlow::Form_Load()
{
    for (int k = 1; k <= kQuestionsPerVariant; ++k) {
        for (std::string_view option : variant_.question(k).options)
            controls_.AddItem(k, option);
    }
}

void TestFlow::Command_Click(int n)
{
    requireRange(n, 2, kQuestionsPerVariant, "no move button with this number");
    controls_.setListVisible(n, true);
    controls_.setText1(variant_.question(n).prompt);
    controls_.setLabel3Caption(kBlankCaption);
    controls_.setLabel2Caption(kBlankCaption);
}

void TestFlow::List_Click(int n)
{
    requireRange(n, 1, kQuestionsPerVariant, "no answer list with this number");
    const int chosen = controls_.ListIndex(n);
    if (chosen < 0)
        return; // a list reports only selections; with none there is nothing to judge

    const Question& question = variant_.question(n);

    controls_.setLabel3Caption(controls_.listText(n));
    controls_.setLabel2Caption(chosen == question.correct ? kCorrectAnswerText : question.reproach);

    // The verdict is read back from the label, as the user sees it.
    const int verdict = controls_.label2Caption() == kCorrectAnswerText ? 1 : 0;

    int score = 0;
    if (n == 1) {
        score = verdict;
        slots_.setSlot(1, static_cast<std::int16_t>(score));
    } else if (n <= ScoreSlots::kLast) {
        score = slots_.slot(n - 1) + verdict;
        slots_.setSlot(n, static_cast<std::int16_t>(score));
    } else {
        score = slots_.slot(ScoreSlots::kLast) + verdict; // the running total
    }

    controls_.setText2(std::to_string(score));
    controls_.setListVisible(n, false);
    if (n >= 2)
        controls_.setCommandVisible(n, false);
    if (n < kQuestionsPerVariant) {
        controls_.setCommandVisible(n + 1, true);
        return;
    }

    bool passed = false;
    for (int total : kPassTotals)
        passed = passed || score == total;
    if (passed)
        controls_.setLabel6Visible(true);
    else
        controls_.setLabel7Visible(true);
}

} // namespace velitar
