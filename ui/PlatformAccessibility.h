// SPDX-License-Identifier: GPL-3.0-or-later
// What the platform's accessibility interface needs from the program beyond
// the accessible objects of Accessibility.cpp, set up before any window
// exists: on Windows, that UI Automation hears of each focus move once
// (PlatformAccessibilityWindows.cpp); nothing on Linux, where the
// accessibility bus gets Qt's events as they are (PlatformAccessibility.cpp).
#pragma once

namespace velitar::ui {

void adaptPlatformAccessibility();

} // namespace velitar::ui
