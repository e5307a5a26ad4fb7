// SPDX-License-Identifier: GPL-3.0-or-later
// The constant content of the five tests: variants, questions, options,
// right answers and reproach texts. Nothing here changes while the program
// runs; the texts are UTF-8 and exact to the character.
#pragma once

#include <array>
#include <span>
#include <string_view>

namespace velitar {

// The verdict put into the verdict label for a right answer, in every window.
inline constexpr std::string_view kCorrectAnswerText = " Ответ правильный.";

struct Question {
    std::string_view prompt;                   // as shown in Text1, "1) ..."
    std::span<const std::string_view> options; // in list order, ListIndex i = options[i]
    int correct;                               // 0-based index of the right option
    std::string_view reproach;                 // verdict for any other option
};

inline constexpr int kQuestionsPerVariant = 12;
inline constexpr int kVariantCount = 5;

struct TestVariant {
    int number;              // 1..5, shown as "Вариант N"
    std::string_view window; // the test window that presents it: Form6, Form3, ...
    std::array<Question, kQuestionsPerVariant> questions;

    // Question k, counted from 1 as in the window (List1 .. List12).
    const Question& question(int k) const { return questions.at(static_cast<std::size_t>(k - 1)); }
};

struct QuestionBank {
    std::array<const TestVariant*, kVariantCount> variants;

    // Variant n, counted from 1.
    const TestVariant& variant(int n) const { return *variants.at(static_cast<std::size_t>(n - 1)); }
};

// The one bank of the program (defined in bank/).
const QuestionBank& questionBank();

} // namespace velitar
