// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QIcon>
#include <QImage>
#include <QList>
#include <QString>

namespace velitar::ui {

// The images of a multi-image icon file (.ico) that carry their own alpha
// channel (32 bits per pixel, uncompressed bitmaps), largest first. Returns
// nothing for data it does not understand, and never reads outside it.
QList<QImage> iconImagesWithAlpha(const uchar* data, qsizetype size);

// A window icon from one of the program's .ico resources. The images with
// alpha are taken straight out of the resource, which needs neither an image
// plugin nor a decoder; a file without them goes to Qt's own reader.
QIcon loadWindowIcon(const QString& resource);

} // namespace velitar::ui
