// SPDX-License-Identifier: GPL-3.0-or-later
// How the designed fonts and colours are realised on this system.
//
// The designed faces (MS Sans Serif, Verdana, Times New Roman) are not on a
// Linux desktop. Each stands in for one family from Debian's font packages
// (scripts/packages/fonts.txt), named explicitly so that fontconfig never
// picks a look-alike of its own. Sizes are pixels at the designed 96 dpi, and
// glyphs are placed at their design widths (no horizontal hinting), so a text
// breaks into the same lines on every machine and at every scale factor.
#pragma once

#include <QFont>
#include <QPalette>
#include <QString>
#include <QStringList>

#include "ui/Design.h"

namespace velitar::ui {

// The widget style the program paints with: one that paints palette colours
// exactly (buttons in their back colour) and draws classic sunken borders,
// with the classic system colours (classicPalette below). Where the program
// carries the families it is laid out in (the resource folder :/fonts, built
// in for Windows), they are added to the application's fonts first.
void applyProgramStyle();

// Reports, on standard error, any designed face whose stand-in family is not
// installed. Listing the families loads the font database, which the first
// painted text needs anyway: called once the start window is shown, it does
// not hold back the window's mapping.
void reportFontProblems();

// The family that stands in for a designed face, and the Debian package
// that brings it.
QString familyFor(Face face);
QString packageFor(Face face);

// The font that stands in for a designed face and size at 96 dpi.
QFont fontFor(const FontDesign& design);

// Letter spacing, in percent of the normal advance, that gives a stand-in
// family the line widths the design's own face has at that pixel size.
double letterSpacingFor(Face face, int pixelSize);

// Pixels per designed point size at 96 dpi, rounded as the design assumes.
int pixelSize(double points);

// The distance from one line of a label's text to the next, in whole
// pixels: the font family's own ascent, descent and line gap (its 'hhea'
// table) at the font's pixel size, rounded up. Liberation Sans: 13 px at
// 11 px, 15 at 13, 19 at 16, 21 at 18. It is the program's choice, not the
// toolkit's, whose idea of the line gap differs from one version to another.
int linePitch(const QFont& font);

// Height of one list row for a list in the given font.
int listRowHeight(const FontDesign& design);

// One line per designed face whose font resolves to another family than
// its stand-in (the stand-in is not installed); empty when all is well.
QStringList fontProblems();

// The classic system colours: black text, grey 3D edges, button face
// RGB(212, 208, 200), navy selection.
QPalette classicPalette();

// The colour of single-line borders: the system's window frame colour.
QColor borderColour();

} // namespace velitar::ui
