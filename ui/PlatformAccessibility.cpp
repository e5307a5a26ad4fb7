// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/PlatformAccessibility.h"

namespace velitar::ui {

void adaptPlatformAccessibility() {}

} // namespace velitar::ui
