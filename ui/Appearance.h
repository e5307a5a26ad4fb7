// How the designed fonts and colours are realised on this system.
#pragma once

#include <QFont>

#include "ui/Design.h"

namespace velitar::ui {

// The widget style the program paints with: one that paints palette colours
// exactly (buttons in their back colour) and draws classic sunken borders.
void applyProgramStyle();

// The font that stands in for a designed face and size at 96 dpi.
QFont fontFor(const FontDesign& design);

// Pixels per designed point size at 96 dpi, rounded as the design assumes.
int pixelSize(double points);

// Height of one list row for a list in the given font.
int listRowHeight(const FontDesign& design);

} // namespace velitar::ui
