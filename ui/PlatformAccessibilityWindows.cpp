// SPDX-License-Identifier: GPL-3.0-or-later
// When a window becomes active, Qt's UI Automation tells a screen reader
// twice that its control with the focus has the focus: once for the window's
// activation (Qt's windows platform names the window's focused control with
// it), and once more right after, when the toolkit gives that control the
// focus again as the window's focus widget. A screen reader would say the
// control twice each time a window comes up (measured with a UI Automation
// client: Exit three times when a test window opened, once of them UI
// Automation's own). The second report is not passed on: a focus event for
// the very control that the window's activation has just reported.
#include "ui/PlatformAccessibility.h"

#include "ui/Accessibility.h"

#include <QAccessible>

namespace velitar::ui {

namespace {

QAccessible::UpdateHandler passOn = nullptr;
// What the last activation of a window reported as focused, until the next
// focus event.
QAccessible::Id reported = 0;

// What a focus event for this control reports as focused: a control with
// parts, such as a list, reports its part with the focus, as Qt's windows
// platform does.
QAccessibleInterface* focusTarget(QAccessibleInterface* control)
{
    if (control->childCount() > 0) {
        if (QAccessibleInterface* part = control->focusChild())
            return part;
    }
    return control;
}

void oneReportPerFocusMove(QAccessibleEvent* event)
{
    QAccessibleInterface* iface = event->accessibleInterface();
    if (event->type() == QAccessible::Focus && iface) {
        const bool again = reported && QAccessible::uniqueId(focusTarget(iface)) == reported;
        reported = 0;
        if (again)
            return;
    } else if (event->type() == QAccessible::StateChanged && iface &&
               static_cast<QAccessibleStateChangeEvent*>(event)->changedStates().active &&
               iface->role() == QAccessible::Window && iface->state().active) {
        // The same conditions under which Qt's windows platform reports the
        // window's focused control.
        QAccessibleInterface* focused = iface->focusChild();
        reported = focused ? QAccessible::uniqueId(focused) : 0;
    }
    passOnAccessibilityEvent(passOn, event);
}

} // namespace

void adaptPlatformAccessibility() { passOn = QAccessible::installUpdateHandler(oneReportPerFocusMove); }

} // namespace velitar::ui
