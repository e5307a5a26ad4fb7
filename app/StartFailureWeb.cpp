// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/StartFailure.h"

#include <cstdio>
#include <cstdlib>

namespace velitar {

// In a browser there is no display to name: the line goes to the page
// (its stderr), which tells the user in its own words, and the status 1
// says that the program did not start.
void reportStartFailure(const QString&)
{
    std::fputs("velitar: графическая платформа браузера не запускается, окно не может быть показано\n", stderr);
    std::fflush(stderr);
    std::_Exit(1);
}

} // namespace velitar
