// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/Program.h"

#include <QCoreApplication>

namespace velitar::ui {

void endProgram() { QCoreApplication::exit(0); }

} // namespace velitar::ui
