// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/Design.h"

#include <stdexcept>

namespace velitar::ui {

const ControlDesign& WindowDesign::control(std::string_view controlName) const
{
    for (const ControlDesign& c : controls) {
        if (c.name == controlName)
            return c;
    }
    throw std::out_of_range("no control named " + std::string(controlName));
}

} // namespace velitar::ui
