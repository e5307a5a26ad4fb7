// SPDX-License-Identifier: GPL-3.0-or-later
// What a screen reader meets in the windows: every control has a Russian
// accessible name and the role of its kind (labels their text, buttons their
// caption, each answer list the question it answers, the two text boxes what
// they hold), and a description where the name alone does not say what the
// control is for. A window's name is its title.
//
// Screen readers announce, when a control gets the focus, its name, role and
// description, but not a label whose text changes nor a text box that
// changes without the focus (measured with Orca). So what an answer brings
// is told by the control the focus goes to next: the move button's
// description is the verdict and the score, the score box's after the last
// question the final caption; each answer list is named by its question.
// These descriptions are set before the focus moves there.
#pragma once

#include <QAccessible>

namespace velitar::ui {

class StartWindow;
class TestWindow;

void applyAccessibility(StartWindow& window);
void applyAccessibility(TestWindow& window);

// After the warm-up answer: button "1" tells the praise and the invitation
// to choose, Exit the reproach.
void describeVerdict(StartWindow& window);
// After question n is answered: the move button it showed tells the verdict
// and the score; after question 12 the score box tells the final caption.
void describeAnswer(TestWindow& window, int n);
// After move button n is pressed: it no longer tells an old verdict.
void describeMove(TestWindow& window, int n);

// Passes an accessibility event on from one of the program's update handlers
// (they chain): to the handler installed before it, or where there is none to
// the platform, which takes the events while no handler is installed; the
// handler that was installed (the caller, or one installed after it that
// passes events on to it) then comes back.
void passOnAccessibilityEvent(QAccessible::UpdateHandler before, QAccessibleEvent* event);

} // namespace velitar::ui
