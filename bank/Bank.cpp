// SPDX-License-Identifier: GPL-3.0-or-later
// The one question bank of the program: the five variants in order 1 to 5.
#include "bank/Variants.h"

namespace velitar {

const QuestionBank& questionBank()
{
    static constexpr QuestionBank bank{{
        &bank::variant1,
        &bank::variant2,
        &bank::variant3,
        &bank::variant4,
        &bank::variant5,
    }};
    return bank;
}

} // namespace velitar
