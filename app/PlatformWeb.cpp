// SPDX-License-Identifier: GPL-3.0-or-later
// In a browser no window manager places a window that is shown, nor gives it
// the keyboard; the program does both here, as a desktop's window manager
// does. Each window stands in the middle of the page (the program's screen),
// so that it fits the page also where the page is only as wide as the widest
// window (a phone's, see packaging/web/page.js). Qt's platform there makes a window active as soon as it is made, while
// it is still hidden; the application, finding the control meant to have the focus hidden too, gave the focus to the
// next one in the tab order (on the start window Exit, not the warm-up list). So here a window is made active only once
// it is shown, as a desktop's window manager does, and its focus stays where the window put it.
//
// What an event from the browser (a key, a click, a tap) changes is painted before the browser draws its next
// frame. Qt's platform there paints from a task it queues (setTimeout), and after a key or a click Chromium draws its
// next frame before such a task runs: an answer's verdict appeared a frame late, 17 to 33 ms after its key. So the
// program paints as soon as Qt's handler of the event has returned, from a microtask, which runs before any task.
//
// A page's event loop never returns to main: when the program ends (Exit), its windows go and it is ended here, which
// the page hears and tells.
#include "ui/Program.h"

#include <emscripten.h>
#include <emscripten/bind.h>
#include <emscripten/val.h>

#include <QApplication>
#include <QEvent>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <algorithm>

namespace {

bool paintQueued = false;

void paintNow()
{
    paintQueued = false;
    QCoreApplication::sendPostedEvents(); // among them the windows' update requests
}

class PlaceShownWindows : public QObject {
public:
    bool eventFilter(QObject* object, QEvent* event) override
    {
        if (event->spontaneous() && !paintQueued) {
            paintQueued = true;
            emscripten::val::global("queueMicrotask")(emscripten::val::module_property("velitarPaintNow"));
        }
        if (!object->isWidgetType() || !static_cast<QWidget*>(object)->isWindow())
            return false;
        auto* window = static_cast<QWidget*>(object);
        // Before its platform window is made (the window's first events
        // come while it is being built).
        if (!window->testAttribute(Qt::WA_WState_Created))
            window->setAttribute(Qt::WA_ShowWithoutActivating);
        if (event->type() == QEvent::Show) {
            QRect frame = window->frameGeometry();
            const QRect page = window->screen()->availableGeometry();
            frame.moveCenter(page.center());
            window->move(std::max(frame.left(), page.left()), std::max(frame.top(), page.top()));
            QTimer::singleShot(0, window, [window] { window->activateWindow(); });
        }
        return false;
    }
};

void endInPage()
{
    for (QWidget* window : QApplication::topLevelWidgets())
        window->setVisible(false);
    emscripten_force_exit(0);
}

void installWindowPlacement()
{
    velitar::ui::setPlatformEnd(&endInPage);
    auto* filter = new PlaceShownWindows;
    filter->setParent(QCoreApplication::instance());
    QCoreApplication::instance()->installEventFilter(filter);
}

} // namespace

EMSCRIPTEN_BINDINGS(velitar_platform) { emscripten::function("velitarPaintNow", &paintNow); }

Q_COREAPP_STARTUP_FUNCTION(installWindowPlacement)
