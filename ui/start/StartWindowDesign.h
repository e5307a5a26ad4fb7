// SPDX-License-Identifier: GPL-3.0-or-later
// The start window: its design and the warm-up question it asks.
#pragma once

#include <array>
#include <string_view>

#include "ui/Design.h"

namespace velitar::ui {

struct WarmUpQuestion {
    std::array<std::string_view, 5> options; // in list order
    int correct;                             // the option that opens the variants
    std::string_view praise;                 // verdict for the right option
    std::string_view reproach;               // verdict for any other option
};

const WarmUpQuestion& warmUpQuestion();

WindowDesign startWindowDesign();

} // namespace velitar::ui
