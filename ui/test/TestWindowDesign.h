// SPDX-License-Identifier: GPL-3.0-or-later
// The design of the five test windows: one common design and a table of the
// small ways in which the windows of variants 1..5 differ.
#pragma once

#include "engine/QuestionBank.h"
#include "ui/Design.h"

namespace velitar::ui {

// The full design of the test window that presents the given variant, in the
// state in which it is first shown.
WindowDesign testWindowDesign(const TestVariant& variant);

} // namespace velitar::ui
