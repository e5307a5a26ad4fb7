#include "ui/Appearance.h"

#include <QApplication>
#include <QStyleFactory>
#include <cmath>

namespace velitar::ui {

void applyProgramStyle()
{
    if (QStyle* style = QStyleFactory::create(QStringLiteral("Windows")))
        QApplication::setStyle(style);
}

int pixelSize(double points) { return static_cast<int>(std::lround(points * 96.0 / 72.0)); }

QFont fontFor(const FontDesign& design)
{
    QFont font;
    switch (design.face) {
    case Face::SansSerif:
        font.setFamilies({QStringLiteral("Liberation Sans")});
        break;
    case Face::Verdana:
        font.setFamilies({QStringLiteral("DejaVu Sans")});
        break;
    case Face::Serif:
        font.setFamilies({QStringLiteral("Liberation Serif")});
        break;
    }
    font.setPixelSize(pixelSize(design.points));
    font.setBold(design.bold);
    font.setItalic(false);
    font.setUnderline(false);
    font.setStrikeOut(false);
    return font;
}

int listRowHeight(const FontDesign& design)
{
    const int px = pixelSize(design.points);
    return px + px / 4; // 13 px text: 16 px rows; 16 px text: 20 px rows
}

} // namespace velitar::ui
