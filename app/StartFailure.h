// SPDX-License-Identifier: GPL-3.0-or-later
// Telling the user that the window system could not be started, the way the
// platform tells such things: one line on stderr (StartFailure.cpp), or a
// message box on Windows, where a GUI program has no console
// (StartFailureWindows.cpp). Either ends the process with status 1.
#pragma once

#include <QString>

namespace velitar {

// qtReport: what Qt said before it gave up (its held messages and its fatal one).
[[noreturn]] void reportStartFailure(const QString& qtReport);

} // namespace velitar
