// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/Appearance.h"

#include <QApplication>
#include <QColor>
#include <QDirIterator>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QHash>
#include <QPainter>
#include <QProxyStyle>
#include <QRawFont>
#include <QStyleFactory>
#include <QStyleOption>
#include <QtEndian>
#include <cmath>
#include <cstdio>

namespace velitar::ui {

namespace {

// Qt's "Windows" style, whose 3D edges are drawn in strips one window pixel
// wide instead of one-device-pixel lines, so that they scale with the window.
class ClassicStyle : public QProxyStyle {
public:
    explicit ClassicStyle(QStyle* windows) : QProxyStyle(windows) {}

    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget) const override
    {
        const QPalette& pal = option->palette;
        const QRect& r = option->rect;
        switch (element) {
        case PE_Frame:
            if (option->state & State_Sunken) {
                sunkenEdge(painter, r, pal);
                return;
            }
            break;
        case PE_FrameLineEdit:
            sunkenEdge(painter, r, pal);
            return;
        case PE_PanelLineEdit:
            if (const auto* frame = qstyleoption_cast<const QStyleOptionFrame*>(option);
                frame && frame->lineWidth > 0) {
                painter->fillRect(r.adjusted(2, 2, -2, -2), pal.brush(QPalette::Base));
                sunkenEdge(painter, r, pal);
                return;
            }
            break;
        case PE_PanelButtonCommand:
        case PE_PanelButtonBevel: {
            const QBrush face = pal.brush(QPalette::Button);
            if (option->state & (State_Sunken | State_On))
                shades(painter, r, pal.shadow().color(), pal.light().color(), pal.dark().color(), pal.button().color(),
                       &face);
            else
                shades(painter, r, pal.light().color(), pal.shadow().color(), pal.button().color(), pal.dark().color(),
                       &face);
            return;
        }
        default:
            break;
        }
        QProxyStyle::drawPrimitive(element, option, painter, widget);
    }

private:
    // The classic 3D edge: outer top-left, outer bottom-right, inner
    // top-left, inner bottom-right, each one pixel wide.
    static void shades(QPainter* p, const QRect& r, const QColor& outerTopLeft, const QColor& outerBottomRight,
                       const QColor& innerTopLeft, const QColor& innerBottomRight, const QBrush* fill = nullptr)
    {
        const int x = r.x(), y = r.y(), w = r.width(), h = r.height();
        if (w < 2 || h < 2)
            return;
        p->fillRect(x, y, 1, h - 1, outerTopLeft);
        p->fillRect(x, y, w - 1, 1, outerTopLeft);
        p->fillRect(x, y + h - 1, w, 1, outerBottomRight);
        p->fillRect(x + w - 1, y, 1, h, outerBottomRight);
        if (w <= 4 || h <= 4)
            return;
        p->fillRect(x + 1, y + 1, 1, h - 3, innerTopLeft);
        p->fillRect(x + 1, y + 1, w - 3, 1, innerTopLeft);
        p->fillRect(x + 1, y + h - 2, w - 2, 1, innerBottomRight);
        p->fillRect(x + w - 2, y + 1, 1, h - 2, innerBottomRight);
        if (fill)
            p->fillRect(x + 2, y + 2, w - 4, h - 4, *fill);
    }

    // The sunken edge of text and list boxes: grey and dark grey at the top
    // and left, white and the button face at the bottom and right.
    static void sunkenEdge(QPainter* p, const QRect& r, const QPalette& pal)
    {
        shades(p, r, pal.dark().color(), pal.light().color(), pal.shadow().color(), pal.midlight().color());
    }
};

} // namespace

void applyProgramStyle()
{
    // Once per process: each call would add the same families again.
    static const bool fontsAdded = [] {
        QDirIterator carried(QStringLiteral(":/fonts"), QDir::Files);
        while (carried.hasNext())
            QFontDatabase::addApplicationFont(carried.next());
        return true;
    }();
    Q_UNUSED(fontsAdded);
    // "Windows" paints a button's palette colour flat and exact and draws the
    // classic raised and sunken 3D borders; Fusion paints gradients.
    if (QStyle* windows = QStyleFactory::create(QStringLiteral("Windows")))
        QApplication::setStyle(new ClassicStyle(windows));
    // The system colours the design leaves to the system are the classic
    // ones, whatever the desktop's theme (a dark theme would otherwise paint
    // white text on the cream boxes).
    QApplication::setPalette(classicPalette());
}

void reportFontProblems()
{
    for (const QString& problem : fontProblems())
        std::fprintf(stderr, "velitar: %s\n", qPrintable(problem));
}

QString familyFor(Face face)
{
    switch (face) {
    case Face::SansSerif:
        return QStringLiteral("Liberation Sans"); // Arial's widths, full Cyrillic
    case Face::Verdana:
        return QStringLiteral("DejaVu Sans"); // Bitstream Vera's wide, Verdana-like forms
    case Face::Serif:
        return QStringLiteral("Liberation Serif"); // Times New Roman's widths
    }
    return {};
}

QString packageFor(Face face)
{
    return face == Face::Verdana ? QStringLiteral("fonts-dejavu-core") : QStringLiteral("fonts-liberation2");
}

int pixelSize(double points) { return static_cast<int>(std::lround(points * 96.0 / 72.0)); }

double letterSpacingFor(Face face, int pixelSize)
{
    // MS Sans Serif is a bitmap face drawn anew for each size. At 13 px its
    // Cyrillic runs wider than Liberation Sans: the start window's verdict
    // breaks at its runs of blanks only with the letters 7 % further apart.
    // At the other sizes Liberation Sans's own widths fit every text.
    if (face == Face::SansSerif && pixelSize == 13)
        return 107.0;
    return 100.0;
}

QFont fontFor(const FontDesign& design)
{
    QFont font;
    font.setFamilies({familyFor(design.face)});
    const int px = pixelSize(design.points);
    font.setPixelSize(px);
    font.setBold(design.bold);
    font.setItalic(false);
    font.setUnderline(false);
    font.setStrikeOut(false);
    font.setStretch(QFont::Unstretched);
    // Unhinted outline glyphs at their design advances: the same line breaks
    // whatever hinting the machine's fontconfig asks for and at any scale
    // factor. (Light hinting breaks lines the same, but loading its glyphs
    // took three times as many FreeType calls, over 1 ms of the start.)
    font.setHintingPreference(QFont::PreferNoHinting);
    // Grey-scale edges, never a screen's subpixel (ClearType, LCD) colours:
    // the same pixels on every screen and system.
    font.setStyleStrategy(QFont::StyleStrategy(QFont::PreferOutline | QFont::NoSubpixelAntialias));
    const double spacing = letterSpacingFor(design.face, px);
    if (spacing != 100.0)
        font.setLetterSpacing(QFont::PercentageSpacing, spacing);
    return font;
}

int listRowHeight(const FontDesign& design)
{
    const int px = pixelSize(design.points);
    return px + px / 4; // 13 px text: 16 px rows; 16 px text: 20 px rows
}

int linePitch(const QFont& font)
{
    static QHash<QString, int> known;
    const QString key = font.key();
    if (const auto found = known.constFind(key); found != known.cend())
        return *found;
    const QRawFont raw = QRawFont::fromFont(font);
    const QByteArray hhea = raw.fontTable("hhea");
    const QByteArray head = raw.fontTable("head");
    int pitch = 0;
    if (hhea.size() >= 10 && head.size() >= 20) {
        const auto s16 = [](const QByteArray& table, int at) { return qFromBigEndian<qint16>(table.constData() + at); };
        const int unitsPerEm = qFromBigEndian<quint16>(head.constData() + 18);
        const int units = s16(hhea, 4) - s16(hhea, 6) + s16(hhea, 8); // ascender - descender + line gap
        if (unitsPerEm > 0)
            pitch = static_cast<int>(std::ceil(raw.pixelSize() * units / unitsPerEm - 1e-9));
    }
    if (pitch <= 0) // not an outline font with such tables: the toolkit's own line spacing
        pitch = static_cast<int>(std::ceil(QFontMetricsF(font).lineSpacing()));
    known.insert(key, pitch);
    return pitch;
}

QStringList fontProblems()
{
    QStringList problems;
    // The installed families are listed once; only a missing family is
    // resolved, to say what stands in for it. (Asking the database family by
    // family would resolve every name as a possible alias: slow at start.)
    const QStringList installed = QFontDatabase::families();
    for (Face face : {Face::SansSerif, Face::Verdana, Face::Serif}) {
        if (installed.contains(familyFor(face), Qt::CaseInsensitive))
            continue;
        const QString resolved = QFontInfo(fontFor({face, 12})).family();
        problems << QStringLiteral("the font family \"%1\" is not installed (Debian package %2); \"%3\" is used "
                                   "instead and the windows' texts will not break as designed")
                        .arg(familyFor(face), packageFor(face), resolved);
    }
    return problems;
}

QPalette classicPalette()
{
    const QColor face(212, 208, 200);
    const QColor black(0, 0, 0);
    const QColor white(255, 255, 255);
    const QColor grey(128, 128, 128);
    QPalette palette(black, face, white, grey, QColor(160, 160, 160), black, white, white, face);
    palette.setColor(QPalette::Midlight, face);
    palette.setColor(QPalette::Shadow, QColor(64, 64, 64));
    palette.setColor(QPalette::ButtonText, black);
    palette.setColor(QPalette::Highlight, QColor(0, 0, 128));
    palette.setColor(QPalette::HighlightedText, white);
    palette.setColor(QPalette::ToolTipBase, QColor(255, 255, 225));
    palette.setColor(QPalette::ToolTipText, black);
    palette.setColor(QPalette::PlaceholderText, grey);
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        palette.setColor(QPalette::Disabled, role, grey);
    return palette;
}

QColor borderColour() { return QColor(0, 0, 0); }

} // namespace velitar::ui
