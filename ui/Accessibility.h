// What a screen reader meets in the windows: every control has a Russian
// accessible name and the role of its kind (labels their text, buttons their
// caption, each answer list the question it answers, the two text boxes what
// they hold), and a description where the name alone does not say what the
// control is for.
//
// Qt itself raises the events a screen reader needs to announce what changes
// (measured with Qt 6.4): a label whose text changes raises NameChanged, a
// text box whose text is set raises text events, and a control that is shown
// raises ObjectShow. A label raises NameChanged only while it has no
// accessible name of its own, so labels are given descriptions, never names.
#pragma once

namespace velitar::ui {

class StartWindow;
class TestWindow;

void applyAccessibility(StartWindow& window);
void applyAccessibility(TestWindow& window);

} // namespace velitar::ui
