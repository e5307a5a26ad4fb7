// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace velitar::ui {

// Ends the program at once: the event loop ends with status 0 and no window
// is asked to close.
void endProgram();

} // namespace velitar::ui
