// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QWidget;

namespace velitar::ui {

// Ends the program at once: the event loop ends with status 0 and no window
// is asked to close.
void endProgram();

// Where ending the event loop does not end the program (in a browser, whose
// page runs the loop and never returns to main), the platform's part of the
// program sets here what ends it, once, at start.
void setPlatformEnd(void (*end)());

// What main returns once the event loop has ended with the given status.
// Where the window system's teardown may hang (see Program.cpp), the process
// ends here instead, having written out what it printed.
int afterEventLoop(int status);

// Hides a top-level window (the way from one window to the next).
void hideWindow(QWidget& window);

} // namespace velitar::ui
