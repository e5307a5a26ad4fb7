// SPDX-License-Identifier: GPL-3.0-or-later
#include <QApplication>

#include "app/Forms.h"
#include "app/PlatformStart.h"
#include "ui/Appearance.h"
#include "ui/Program.h"

int main(int argc, char* argv[])
{
    // Without a display the program says so in one line and ends with status 1.
    velitar::PlatformStartGuard guard;
    QApplication app(argc, argv);
    guard.release();
    QGuiApplication::setDesktopFileName(QStringLiteral("org.velitar.Velitar"));
    velitar::ui::applyProgramStyle();

    velitar::Forms forms;
    // Shown at its designed size everywhere (show() would fill the screen
    // where the platform shows windows so, as in a browser).
    forms.Form1().setVisible(true);
    velitar::ui::reportFontProblems();
    return velitar::ui::afterEventLoop(QApplication::exec());
}
