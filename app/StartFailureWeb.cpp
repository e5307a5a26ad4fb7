// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/StartFailure.h"

#include <cstdio>
#include <emscripten.h>

namespace velitar {

// In a browser there is no display to name: the line goes to the page
// (its stderr), which tells the user in its own words, and the program ends
// with status 1, which tells the page that it did not start. (A plain exit
// would leave the page waiting: a program in a page ends only when forced.)
void reportStartFailure(const QString&)
{
    std::fputs("velitar: графическая платформа браузера не запускается, окно не может быть показано\n", stderr);
    std::fflush(stderr);
    emscripten_force_exit(1);
    __builtin_unreachable();
}

} // namespace velitar
