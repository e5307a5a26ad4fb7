// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/Program.h"

#include <QApplication>
#include <QEvent>
#include <QEventLoop>
#include <QTimer>
#include <QVersionNumber>
#include <QWidget>
#include <QWindow>
#include <cstdio>
#include <cstdlib>

namespace velitar::ui {

namespace {

// Qt's Wayland platform before 6.5 (Debian 12's 6.4) has a fault the
// program steps around: it has a window's frame
// callback destroyed by two threads at once when the window's surface goes
// (on hiding the window, or at the end) just as the compositor answers the
// window's last frame: its thread for frame events destroys the answered
// callback while the surface's teardown destroys it too, and libwayland
// aborts the program (wl_proxy_unref: "proxy->refcount > 0"). Seen once in
// some hundred runs of the test windows under weston. So there, before a
// window's surface goes, the program lets the answer to its last frame come
// in first: it asks the window for an update, which that platform delivers
// only once no frame of the window awaits an answer, and takes the window
// away right then, before anything is drawn again. Another fault, of every
// version seen, is told at afterEventLoop.
bool olderWaylandPlatform()
{
    static const bool racy = QGuiApplication::platformName() == QLatin1String("wayland") &&
                             QVersionNumber::fromString(QString::fromLatin1(qVersion())) < QVersionNumber(6, 5);
    return racy;
}

// Waits, at most a second, for the window's update; the update
// is not drawn (the window is about to go). User input waits meanwhile.
void letLastFrameBeAnswered(QWindow& window)
{
    struct Catcher : QObject {
        QEventLoop loop;
        bool eventFilter(QObject*, QEvent* event) override
        {
            if (event->type() != QEvent::UpdateRequest)
                return false;
            loop.quit();
            return true;
        }
    } catcher;
    window.installEventFilter(&catcher);
    QTimer::singleShot(1000, &catcher.loop, &QEventLoop::quit);
    window.requestUpdate();
    catcher.loop.exec(QEventLoop::ExcludeUserInputEvents);
    window.removeEventFilter(&catcher);
}

// What ends the program beyond its event loop, where that is not enough.
void (*platformEnd)() = nullptr;

} // namespace

void hideWindow(QWidget& window)
{
    if (olderWaylandPlatform() && window.isVisible() && window.windowHandle())
        letLastFrameBeAnswered(*window.windowHandle());
    window.setVisible(false);
}

void endProgram()
{
    // The window's surface goes when the program ends.
    if (olderWaylandPlatform()) {
        for (QWidget* window : QApplication::topLevelWidgets())
            hideWindow(*window);
    }
    QCoreApplication::exit(0);
    if (platformEnd)
        platformEnd();
}

void setPlatformEnd(void (*end)()) { platformEnd = end; }

int afterEventLoop(int status)
{
    // The Wayland platform, when the application object goes, stops its
    // thread that reads the compositor's events and then waits for its thread
    // for frame events. If the first stopped just as the main thread had
    // prepared a read for it, that read is never made or cancelled, the
    // second waits in libwayland for it for ever, and the program never
    // ends (under weston with both cores busy: once in some thirty runs with
    // Qt 6.4, and with Qt 6.8 too, more rarely). Nothing is left to do once
    // the event loop has ended: the process ends here, and the system closes
    // the connection to the compositor.
    if (QGuiApplication::platformName() == QLatin1String("wayland")) {
        std::fflush(nullptr);
        std::_Exit(status);
    }
    return status;
}

} // namespace velitar::ui
