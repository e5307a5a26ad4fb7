// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/WindowIcon.h"

#include <QByteArray>
#include <QPixmap>
#include <QResource>
#include <algorithm>

namespace velitar::ui {

namespace {

// Little-endian fields, read only after their bounds are checked.
quint32 u16(const uchar* p) { return quint32(p[0]) | quint32(p[1]) << 8; }
quint32 u32(const uchar* p) { return u16(p) | u16(p + 2) << 16; }

constexpr qsizetype kDirectorySize = 6;
constexpr qsizetype kEntrySize = 16;
constexpr qsizetype kBitmapHeaderSize = 40;
constexpr quint32 kUncompressed = 0; // BI_RGB

} // namespace

QList<QImage> iconImagesWithAlpha(const uchar* data, qsizetype size)
{
    QList<QImage> images;
    if (!data || size < kDirectorySize || u16(data) != 0 || u16(data + 2) != 1)
        return images;
    const qsizetype count = u16(data + 4);
    if (size < kDirectorySize + count * kEntrySize)
        return images;
    for (qsizetype i = 0; i < count; ++i) {
        const uchar* entry = data + kDirectorySize + i * kEntrySize;
        const qsizetype bytes = u32(entry + 8);
        const qsizetype offset = u32(entry + 12);
        if (u16(entry + 6) != 32 || offset > size || bytes > size - offset || bytes < kBitmapHeaderSize)
            continue;
        const uchar* bitmap = data + offset;
        const qint32 width = qint32(u32(bitmap + 4));
        const qint32 doubledHeight = qint32(u32(bitmap + 8)); // colour rows, then the mask's
        if (u32(bitmap) != kBitmapHeaderSize || u16(bitmap + 14) != 32 || u32(bitmap + 16) != kUncompressed ||
            width <= 0 || width > 256 || doubledHeight != 2 * width)
            continue;
        const qint32 height = width;
        const qsizetype stride = qsizetype(width) * 4;
        if (bytes - kBitmapHeaderSize < stride * height)
            continue;
        // Rows are stored from the bottom up, each pixel as the bytes B, G,
        // R, A: read as a little-endian number, QImage's ARGB32 value.
        QImage image(width, height, QImage::Format_ARGB32);
        if (image.isNull())
            continue;
        const uchar* pixels = bitmap + kBitmapHeaderSize;
        for (qint32 y = 0; y < height; ++y) {
            const uchar* row = pixels + qsizetype(height - 1 - y) * stride;
            auto* out = reinterpret_cast<quint32*>(image.scanLine(y));
            for (qint32 x = 0; x < width; ++x)
                out[x] = u32(row + 4 * x);
        }
        images.append(image);
    }
    std::stable_sort(images.begin(), images.end(),
                     [](const QImage& a, const QImage& b) { return a.width() > b.width(); });
    return images;
}

QIcon loadWindowIcon(const QString& resource)
{
    const QResource file(resource);
    QByteArray unpacked;
    const uchar* data = file.data();
    qsizetype size = file.size();
    if (file.compressionAlgorithm() != QResource::NoCompression) {
        unpacked = file.uncompressedData();
        data = reinterpret_cast<const uchar*>(unpacked.constData());
        size = unpacked.size();
    }
    const QList<QImage> images = iconImagesWithAlpha(data, size);
    if (images.isEmpty())
        return QIcon(resource);
    // The pixmaps keep the file's straight alpha: the window system takes the
    // icon in that format (X's _NET_WM_ICON), so it is not premultiplied here
    // only to be converted back when the window is made.
    QIcon icon;
    for (const QImage& image : images)
        icon.addPixmap(QPixmap::fromImage(image, Qt::NoFormatConversion));
    return icon;
}

} // namespace velitar::ui
