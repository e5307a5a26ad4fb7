// SPDX-License-Identifier: GPL-3.0-or-later
// Helpers for the tests of how the windows look: reading back what the real
// widgets paint and how their texts break into lines.
#pragma once

#include <QFontMetrics>
#include <QImage>
#include <QLabel>
#include <QTextLayout>
#include <QWidget>

#include "engine/QuestionBank.h"
#include "ui/Appearance.h"
#include "ui/Controls.h"

namespace velitar::testing {

inline QString qs(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

// The colour painted at a point given in the widget's own (logical) pixels,
// whatever the device pixel ratio of the grab.
inline QColor pixelAt(const QImage& image, QPoint logical)
{
    const qreal ratio = image.devicePixelRatio();
    return image.pixelColor(qFloor((logical.x() + 0.5) * ratio), qFloor((logical.y() + 0.5) * ratio));
}

inline QImage grabImage(QWidget* widget) { return widget->grab().toImage(); }

inline QString rgb(const QColor& c)
{
    return QStringLiteral("rgb(%1, %2, %3)").arg(c.red()).arg(c.green()).arg(c.blue());
}

// The lines a label shows its caption in: laid out as the label lays out its
// plain text (word wrap, as QPainter::drawText breaks it) in the label's own
// font and contents width. Blanks at a line's end are dropped.
inline QStringList labelLines(const QLabel* label, const QString& text)
{
    QString shown = text;
    shown.replace(QLatin1Char('\n'), QChar::LineSeparator);
    QTextLayout layout(shown, label->font());
    QTextOption option;
    option.setWrapMode(QTextOption::WordWrap);
    layout.setTextOption(option);
    QStringList lines;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(label->contentsRect().width());
        QString part = shown.mid(line.textStart(), line.textLength());
        while (part.endsWith(QLatin1Char(' ')) || part.endsWith(QChar::LineSeparator))
            part.chop(1);
        lines << part;
    }
    layout.endLayout();
    return lines;
}
inline QStringList labelLines(const QLabel* label) { return labelLines(label, label->text()); }

// The box a label's caption takes when drawn as the label draws it, from the
// top-left of its contents: as wide as the toolkit measures it, its lines
// ui::linePitch() apart.
inline QRect captionBox(const QLabel* label, const QString& text)
{
    QRect box = QFontMetrics(label->font())
                    .boundingRect(label->contentsRect(), int(label->alignment()) | Qt::TextWordWrap, text);
    const auto lines = labelLines(label, text).size();
    box.setHeight(int(lines - 1) * ui::linePitch(label->font()) + qCeil(QFontMetricsF(label->font()).height()));
    return box;
}

// Whether a caption shows whole in the label: no line cut at the bottom and
// no word sticking out at the side.
inline bool captionFits(const QLabel* label, const QString& text)
{
    const QRect box = captionBox(label, text);
    return label->contentsRect().contains(box);
}

inline QString describeFit(const QLabel* label, const QString& text)
{
    const QRect box = captionBox(label, text);
    const QRect room = label->contentsRect();
    return QStringLiteral("%1: \"%2\" takes %3x%4 px, room %5x%6 px")
        .arg(label->objectName(), text)
        .arg(box.width())
        .arg(box.height())
        .arg(room.width())
        .arg(room.height());
}

// Horizontal bands of rows that hold ink (pixels other than the background)
// inside a rectangle of a grab, one band per line of text: the top row of
// each, in the grab's own (device) pixels.
inline QList<int> inkBandTops(const QImage& image, const QRect& logicalRect, const QColor& background)
{
    const qreal ratio = image.devicePixelRatio();
    const QRect rect(qCeil(logicalRect.left() * ratio), qCeil(logicalRect.top() * ratio),
                     qFloor(logicalRect.width() * ratio), qFloor(logicalRect.height() * ratio));
    QList<int> tops;
    bool inBand = false;
    for (int y = rect.top(); y <= rect.bottom(); ++y) {
        bool ink = false;
        for (int x = rect.left(); x <= rect.right() && !ink; ++x)
            ink = image.pixelColor(x, y) != background;
        if (ink && !inBand)
            tops << y;
        inBand = ink;
    }
    return tops;
}
inline int inkBands(const QImage& image, const QRect& logicalRect, const QColor& background)
{
    return int(inkBandTops(image, logicalRect, background).size());
}

} // namespace velitar::testing
