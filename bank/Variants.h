// SPDX-License-Identifier: GPL-3.0-or-later
// The five variants of the test, one translation unit each. The bank
// (questionBank()) lists them in variant order.
#pragma once

#include "engine/QuestionBank.h"

namespace velitar::bank {

extern const TestVariant variant1; // taken in Form6
extern const TestVariant variant2; // taken in Form3
extern const TestVariant variant3; // taken in Form4
extern const TestVariant variant4; // taken in Form5
extern const TestVariant variant5; // taken in Form2

} // namespace velitar::bank
