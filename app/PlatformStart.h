// SPDX-License-Identifier: GPL-3.0-or-later
// Starting the window system. Where no display can be reached, QApplication's
// constructor reports a fatal error and aborts with a core dump; while a
// PlatformStartGuard lives, Qt's messages are held back instead, and a fatal
// one ends the process with status 1 after telling the user (StartFailure.h).
#pragma once

namespace velitar {

class PlatformStartGuard {
public:
    PlatformStartGuard();
    ~PlatformStartGuard();
    PlatformStartGuard(const PlatformStartGuard&) = delete;
    PlatformStartGuard& operator=(const PlatformStartGuard&) = delete;

    // The window system has started: the held messages go out as usual.
    void release();

private:
    bool released_ = false;
};

} // namespace velitar
