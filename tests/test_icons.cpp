// SPDX-License-Identifier: GPL-3.0-or-later
// The two window icons: the .ico files the build makes, read back byte by
// byte (directory, BMP headers, palettes, colour bitmaps and masks) and
// compared with the renderings they were packed from; and the icons the real
// windows carry.
#include <QtTest>

#include <QFile>
#include <QFileInfo>
#include <QIcon>
#include <QImage>
#include <QImageReader>
#include <QProcess>
#include <QTemporaryDir>

#include "app/Forms.h"
#include "ui/WindowIcon.h"

using namespace velitar;

namespace {

const QString kStartIco = QStringLiteral(VELITAR_START_ICO);
const QString kTestIco = QStringLiteral(VELITAR_TEST_ICO);

struct Layout {
    int size;
    int bits;
};

// The eleven images of each icon, in file order.
const QList<Layout> kLayout = {{48, 8},  {32, 8},  {16, 8},  {96, 24}, {32, 24}, {96, 32},
                               {64, 32}, {48, 32}, {32, 32}, {24, 32}, {16, 32}};

struct Entry {
    // ICONDIRENTRY
    int width = 0, height = 0, colourCount = 0, reserved = 0, planes = 0, bitCount = 0;
    quint32 bytes = 0, offset = 0;
    // BITMAPINFOHEADER
    quint32 headerSize = 0;
    qint32 bmpWidth = 0, bmpHeight = 0;
    int bmpPlanes = 0, bmpBits = 0;
    quint32 compression = 0, sizeImage = 0, coloursUsed = 0;
    // What the entry shows, top row first: colours (alpha only in 32-bit
    // entries, else 255), palette indices (8-bit) and the AND mask.
    QList<QRgb> palette;
    QImage image;
    QList<int> indices;
    QList<bool> masked;
    quint32 bmpBytes = 0; // header, palette, colour bitmap and mask as read
};

struct Ico {
    int reserved = -1, type = -1;
    QList<Entry> entries;
    qsizetype fileSize = 0;
    QString error;
};

// Little-endian reads that record the first read past the end.
class Bytes {
public:
    explicit Bytes(const QByteArray& data) : data_(data) {}
    bool ok() const { return ok_; }
    quint32 u8(qsizetype at) { return in(at, 1) ? quint8(data_[at]) : 0; }
    quint32 u16(qsizetype at) { return u8(at) | u8(at + 1) << 8; }
    quint32 u32(qsizetype at) { return u16(at) | u16(at + 2) << 16; }

private:
    bool in(qsizetype at, qsizetype n)
    {
        ok_ = ok_ && at >= 0 && at + n <= data_.size();
        return ok_;
    }
    const QByteArray& data_;
    bool ok_ = true;
};

Entry readEntry(Bytes& b, qsizetype dir)
{
    Entry e;
    e.width = int(b.u8(dir)) == 0 ? 256 : int(b.u8(dir));
    e.height = int(b.u8(dir + 1)) == 0 ? 256 : int(b.u8(dir + 1));
    e.colourCount = int(b.u8(dir + 2));
    e.reserved = int(b.u8(dir + 3));
    e.planes = int(b.u16(dir + 4));
    e.bitCount = int(b.u16(dir + 6));
    e.bytes = b.u32(dir + 8);
    e.offset = b.u32(dir + 12);

    const qsizetype at = e.offset;
    e.headerSize = b.u32(at);
    e.bmpWidth = qint32(b.u32(at + 4));
    e.bmpHeight = qint32(b.u32(at + 8));
    e.bmpPlanes = int(b.u16(at + 12));
    e.bmpBits = int(b.u16(at + 14));
    e.compression = b.u32(at + 16);
    e.sizeImage = b.u32(at + 20);
    e.coloursUsed = b.u32(at + 32);
    if (!b.ok() || e.bmpWidth <= 0 || e.bmpWidth > 256 || e.bmpHeight <= 0 || e.bmpHeight > 512 ||
        !QList<int>{8, 24, 32}.contains(e.bmpBits))
        return e;

    const int w = e.bmpWidth, h = e.bmpHeight / 2;
    qsizetype pos = at + e.headerSize;
    const int paletteSize = e.bmpBits == 8 ? (e.coloursUsed ? int(e.coloursUsed) : 256) : 0;
    for (int i = 0; i < paletteSize; ++i, pos += 4)
        e.palette << qRgb(int(b.u8(pos + 2)), int(b.u8(pos + 1)), int(b.u8(pos)));

    const qsizetype colourStride = (qsizetype(w) * e.bmpBits + 31) / 32 * 4;
    const qsizetype maskStride = (w + 31) / 32 * 4;
    const qsizetype maskStart = pos + colourStride * h;
    e.image = QImage(w, h, QImage::Format_ARGB32);
    e.masked.fill(false, w * h);
    if (e.bmpBits == 8)
        e.indices.fill(0, w * h);
    for (int row = 0; row < h; ++row) {
        const int y = h - 1 - row; // rows are stored bottom-up
        const qsizetype line = pos + colourStride * row;
        for (int x = 0; x < w; ++x) {
            QRgb colour = 0;
            if (e.bmpBits == 8) {
                const int index = int(b.u8(line + x));
                e.indices[y * w + x] = index;
                colour = index < e.palette.size() ? e.palette[index] : qRgba(0, 0, 0, 0);
            } else if (e.bmpBits == 24) {
                const qsizetype p = line + 3 * x;
                colour = qRgb(int(b.u8(p + 2)), int(b.u8(p + 1)), int(b.u8(p)));
            } else {
                const qsizetype p = line + 4 * x;
                colour = qRgba(int(b.u8(p + 2)), int(b.u8(p + 1)), int(b.u8(p)), int(b.u8(p + 3)));
            }
            e.image.setPixel(x, y, colour);
            e.masked[y * w + x] = b.u8(maskStart + maskStride * row + x / 8) & (0x80 >> (x % 8));
        }
    }
    e.bmpBytes = quint32(maskStart + maskStride * h - at);
    return e;
}

Ico readIco(const QString& path)
{
    Ico ico;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        ico.error = QStringLiteral("cannot open %1").arg(path);
        return ico;
    }
    const QByteArray data = file.readAll();
    ico.fileSize = data.size();
    Bytes b(data);
    ico.reserved = int(b.u16(0));
    ico.type = int(b.u16(2));
    const int count = int(b.u16(4));
    for (int i = 0; i < count && b.ok(); ++i)
        ico.entries << readEntry(b, 6 + 16 * i);
    if (!b.ok())
        ico.error = QStringLiteral("%1 ends inside a structure it declares").arg(path);
    return ico;
}

// The rendering an image of the icon was packed from: NAME-SIZE.png next to NAME.ico.
QImage rendering(const QString& ico, int size)
{
    const QFileInfo info(ico);
    QImage image(QStringLiteral("%1/%2-%3.png").arg(info.absolutePath(), info.completeBaseName()).arg(size));
    return image.convertToFormat(QImage::Format_ARGB32);
}

QString at(int index) { return QStringLiteral("image %1").arg(index); }

QImage iconImage(const QIcon& icon, int size) { return icon.pixmap(QSize(size, size)).toImage(); }

void addIconRows()
{
    QTest::addColumn<QString>("path");
    QTest::newRow("start") << kStartIco;
    QTest::newRow("test") << kTestIco;
}

} // namespace

class IconsTest : public QObject {
    Q_OBJECT
private slots:
    // The directory and every BMP header: sizes, depths and palettes in the
    // designed order, entries packed one after another up to the file's end.
    void directoryAndHeaders_data() { addIconRows(); }
    void directoryAndHeaders()
    {
        QFETCH(QString, path);
        const Ico ico = readIco(path);
        QVERIFY2(ico.error.isEmpty(), qPrintable(ico.error));
        QCOMPARE(ico.reserved, 0);
        QCOMPARE(ico.type, 1);
        QCOMPARE(ico.entries.size(), kLayout.size());

        quint32 next = 6 + 16 * quint32(kLayout.size());
        for (int i = 0; i < kLayout.size(); ++i) {
            const Entry& e = ico.entries[i];
            const auto [size, bits] = kLayout[i];
            const QByteArray where = at(i).toUtf8();
            QVERIFY2(e.width == size && e.height == size,
                     qPrintable(QStringLiteral("%1 is %2x%3").arg(at(i)).arg(e.width).arg(e.height)));
            QVERIFY2(e.bitCount == bits && e.bmpBits == bits,
                     qPrintable(QStringLiteral("%1: %2 / %3 bits").arg(at(i)).arg(e.bitCount).arg(e.bmpBits)));
            QVERIFY2(e.colourCount == 0 && e.reserved == 0 && e.planes == 1, where);
            QVERIFY2(e.offset == next,
                     qPrintable(QStringLiteral("%1 at %2, not %3").arg(at(i)).arg(e.offset).arg(next)));
            next = e.offset + e.bytes;

            QVERIFY2(e.headerSize == 40, where);
            QVERIFY2(e.bmpWidth == size && e.bmpHeight == 2 * size, where); // colour bitmap and mask
            QVERIFY2(e.bmpPlanes == 1 && e.compression == 0, where);
            QVERIFY2(
                e.bytes == e.bmpBytes,
                qPrintable(QStringLiteral("%1 declares %2 bytes, holds %3").arg(at(i)).arg(e.bytes).arg(e.bmpBytes)));
            QVERIFY2(e.sizeImage == e.bytes - 40 - 4 * quint32(e.palette.size()), where);
            if (bits == 8) {
                QVERIFY2(e.palette.size() == 256,
                         qPrintable(QStringLiteral("%1: %2 palette colours").arg(at(i)).arg(e.palette.size())));
            } else {
                QVERIFY2(e.coloursUsed == 0 && e.palette.isEmpty(), where);
            }
        }
        QCOMPARE(qsizetype(next), ico.fileSize);
    }

    // What each image shows: the 32-bit ones the rendering itself, alpha and
    // all; the others its colours where it is at least half opaque, masked
    // elsewhere; the 256-colour ones within a small distance of the colours.
    void imagesShowTheRendering_data() { addIconRows(); }
    void imagesShowTheRendering()
    {
        QFETCH(QString, path);
        const Ico ico = readIco(path);
        QVERIFY2(ico.error.isEmpty(), qPrintable(ico.error));
        QCOMPARE(ico.entries.size(), kLayout.size());

        for (int i = 0; i < kLayout.size(); ++i) {
            const Entry& e = ico.entries[i];
            const auto [size, bits] = kLayout[i];
            const QImage png = rendering(path, size);
            QVERIFY2(png.size() == QSize(size, size), qPrintable(QStringLiteral("no %1 px rendering").arg(size)));
            QCOMPARE(e.image.size(), png.size());

            int transparent = 0, opaque = 0, maskErrors = 0, colourErrors = 0;
            qint64 distance = 0;
            QSet<int> indices;
            for (int y = 0; y < size; ++y) {
                for (int x = 0; x < size; ++x) {
                    const QRgb want = png.pixel(x, y);
                    const QRgb have = e.image.pixel(x, y);
                    const bool masked = e.masked[y * size + x];
                    if (bits == 32) {
                        transparent += qAlpha(have) == 0;
                        opaque += qAlpha(have) == 255;
                        colourErrors += have != want && qAlpha(want) != 0;
                        maskErrors += masked != (qAlpha(have) == 0);
                        continue;
                    }
                    const bool shown = qAlpha(want) >= 128;
                    transparent += masked;
                    opaque += !masked;
                    maskErrors += masked == shown;
                    if (!shown)
                        continue;
                    const int d = qAbs(qRed(have) - qRed(want)) + qAbs(qGreen(have) - qGreen(want)) +
                                  qAbs(qBlue(have) - qBlue(want));
                    distance += d;
                    colourErrors += bits == 24 ? d != 0 : d > 48;
                    if (bits == 8)
                        indices << e.indices[y * size + x];
                }
            }
            const QString what = QStringLiteral("%1 (%2 px, %3 bits)").arg(at(i)).arg(size).arg(bits);
            QVERIFY2(
                transparent > 0 && opaque > 0,
                qPrintable(
                    QStringLiteral("%1: %2 transparent, %3 opaque pixels").arg(what).arg(transparent).arg(opaque)));
            QVERIFY2(maskErrors == 0,
                     qPrintable(QStringLiteral("%1: %2 pixels wrongly masked").arg(what).arg(maskErrors)));
            QVERIFY2(colourErrors == 0,
                     qPrintable(QStringLiteral("%1: %2 pixels off colour").arg(what).arg(colourErrors)));
            if (bits == 8) {
                QVERIFY2(
                    distance <= 6 * qint64(opaque),
                    qPrintable(QStringLiteral("%1: mean colour distance %2").arg(what).arg(double(distance) / opaque)));
                QVERIFY2(indices.size() >= 4,
                         qPrintable(QStringLiteral("%1: %2 colours").arg(what).arg(indices.size())));
            }
        }
    }

    // The two icons are different pictures, and the smallest sizes are
    // drawn for their grid rather than shrunk: their edges are hard.
    void iconsDifferAndSmallSizesAreCrisp()
    {
        const Ico start = readIco(kStartIco), test = readIco(kTestIco);
        QVERIFY(start.error.isEmpty() && test.error.isEmpty());
        QCOMPARE(start.entries.size(), kLayout.size());
        QCOMPARE(test.entries.size(), kLayout.size());
        for (int i = 0; i < kLayout.size(); ++i)
            QVERIFY2(start.entries[i].image != test.entries[i].image, qPrintable(at(i)));

        for (const Ico* ico : {&start, &test}) {
            const QImage& small = ico->entries.last().image; // 16 px, 32 bits
            int partial = 0;
            for (int y = 0; y < 16; ++y)
                for (int x = 0; x < 16; ++x)
                    partial += qAlpha(small.pixel(x, y)) != 0 && qAlpha(small.pixel(x, y)) != 255;
            QVERIFY2(partial == 0, qPrintable(QStringLiteral("%1 half-transparent pixels at 16 px").arg(partial)));
        }
    }

    // A drawing with far more than 256 colours (a smooth colour field with a
    // transparent corner) still packs into 256-colour images that keep its
    // colours closely, using the whole palette.
    void manyColoursAreQuantized()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        QStringList arguments = {QStringLiteral(VELITAR_MAKE_ICO), dir.filePath(QStringLiteral("field.ico"))};
        for (int size : {16, 24, 32, 48, 64, 96}) {
            QImage field(size, size, QImage::Format_ARGB32);
            for (int y = 0; y < size; ++y)
                for (int x = 0; x < size; ++x)
                    field.setPixel(x, y,
                                   x + y < size / 4 ? qRgba(0, 0, 0, 0)
                                                    : qRgb(255 * x / size, 255 * y / size, 255 - 128 * (x + y) / size));
            const QString png = dir.filePath(QStringLiteral("field-%1.png").arg(size));
            QVERIFY(field.save(png));
            arguments << QStringLiteral("%1=%2").arg(size).arg(png);
        }
        QProcess pack;
        pack.start(QStringLiteral(VELITAR_PYTHON), arguments);
        QVERIFY(pack.waitForFinished(60000));
        QVERIFY2(pack.exitStatus() == QProcess::NormalExit && pack.exitCode() == 0, pack.readAllStandardError());

        const Ico ico = readIco(dir.filePath(QStringLiteral("field.ico")));
        QVERIFY2(ico.error.isEmpty(), qPrintable(ico.error));
        QCOMPARE(ico.entries.size(), kLayout.size());
        const Entry& e = ico.entries[0]; // 48 px, 256 colours
        QCOMPARE(e.palette.size(), 256);
        const QImage field(dir.filePath(QStringLiteral("field-48.png")));
        QSet<int> used;
        qint64 distance = 0;
        int shown = 0, worst = 0;
        for (int y = 0; y < 48; ++y) {
            for (int x = 0; x < 48; ++x) {
                const QRgb want = field.pixel(x, y);
                QCOMPARE(e.masked[y * 48 + x], qAlpha(want) == 0);
                if (qAlpha(want) == 0)
                    continue;
                const QRgb have = e.image.pixel(x, y);
                const int d =
                    qAbs(qRed(have) - qRed(want)) + qAbs(qGreen(have) - qGreen(want)) + qAbs(qBlue(have) - qBlue(want));
                distance += d;
                worst = qMax(worst, d);
                ++shown;
                used << e.indices[y * 48 + x];
            }
        }
        qDebug("48 px field: %d colours used, mean distance %.2f, worst %d", int(used.size()), double(distance) / shown,
               worst);
        QVERIFY2(used.size() > 200, qPrintable(QStringLiteral("%1 colours used").arg(used.size())));
        QVERIFY2(distance <= 12 * qint64(shown),
                 qPrintable(QStringLiteral("mean distance %1").arg(double(distance) / shown)));
        QVERIFY2(worst <= 48, qPrintable(QStringLiteral("worst distance %1").arg(worst)));
    }

    // The program takes the images with alpha straight out of the .ico: they
    // are the renderings they were packed from, exactly, largest first; and
    // the images Qt's own reader finds in those entries (which it gives
    // premultiplied, so they are compared so).
    void windowIconImagesAreTheAlphaEntries_data() { addIconRows(); }
    void windowIconImagesAreTheAlphaEntries()
    {
        QFETCH(QString, path);
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray data = file.readAll();
        const QList<QImage> ours =
            ui::iconImagesWithAlpha(reinterpret_cast<const uchar*>(data.constData()), data.size());

        QImageReader reader(path, "ico");
        QCOMPARE(reader.imageCount(), kLayout.size());
        QList<QImage> qts;
        for (int i = 0; i < kLayout.size(); ++i) {
            QVERIFY(reader.jumpToImage(i));
            const QImage image = reader.read();
            QVERIFY2(!image.isNull(), qPrintable(at(i)));
            if (kLayout[i].bits == 32)
                qts.append(image);
        }
        QCOMPARE(ours.size(), qts.size());
        for (int i = 0; i < ours.size(); ++i) {
            QCOMPARE(ours[i].size(), qts[i].size());
            QCOMPARE(ours[i].format(), QImage::Format_ARGB32);
            const QString size = QStringLiteral("%1 px").arg(ours[i].width());
            QVERIFY2(ours[i] == rendering(path, ours[i].width()), qPrintable(size));
            QVERIFY2(ours[i].convertToFormat(QImage::Format_ARGB32_Premultiplied) ==
                         qts[i].convertToFormat(QImage::Format_ARGB32_Premultiplied),
                     qPrintable(size));
        }
        QCOMPARE(ours.first().width(), 96);
        QCOMPARE(ours.last().width(), 16);
        // Half-transparent edge pixels keep their alpha.
        bool partial = false;
        for (int y = 0; y < ours[0].height() && !partial; ++y)
            for (int x = 0; x < ours[0].width() && !partial; ++x)
                partial = qAlpha(ours[0].pixel(x, y)) > 0 && qAlpha(ours[0].pixel(x, y)) < 255;
        QVERIFY(partial);
    }

    // Cut short or damaged, an .ico gives only the images that are whole in
    // it and is never read past its end (the sanitizer build would stop it).
    void damagedIconsAreReadSafely()
    {
        QFile file(kTestIco);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray whole = file.readAll();
        auto read = [](const QByteArray& bytes) {
            // A copy of exactly that length, so that reading past it is an error.
            std::vector<uchar> copy(bytes.begin(), bytes.end());
            return ui::iconImagesWithAlpha(copy.empty() ? nullptr : copy.data(), qsizetype(copy.size()));
        };
        QCOMPARE(read(whole).size(), 6);
        qsizetype previous = 6;
        for (qsizetype length = whole.size(); length >= 0; length -= 61) {
            const qsizetype count = read(whole.left(length)).size();
            QVERIFY2(count <= previous, qPrintable(QStringLiteral("%1 bytes").arg(length)));
            previous = count;
        }
        QCOMPARE(read(whole.left(whole.size() - 1)).size(), 5); // the 16 px image is the last entry
        QCOMPARE(previous, 0);

        // An entry pointing past the end, or claiming more bytes than there are.
        QByteArray farOffset = whole;
        const int last = 6 + 16 * (kLayout.size() - 1);
        qToLittleEndian<quint32>(quint32(whole.size() + 1000), farOffset.data() + last + 12);
        QCOMPARE(read(farOffset).size(), 5);
        QByteArray tooLong = whole;
        qToLittleEndian<quint32>(0xFFFFFFF0u, tooLong.data() + last + 8);
        QCOMPARE(read(tooLong).size(), 5);
        QByteArray tooShort = whole;
        qToLittleEndian<quint32>(40 + 100, tooShort.data() + last + 8); // less than 16 x 16 pixels
        QCOMPARE(read(tooShort).size(), 5);
        // A bitmap header claiming a huge or odd size.
        QByteArray huge = whole;
        const quint32 offset = qFromLittleEndian<quint32>(whole.constData() + last + 12);
        qToLittleEndian<qint32>(0x40000000, huge.data() + offset + 4);
        QCOMPARE(read(huge).size(), 5);
        // Not an icon at all.
        QCOMPARE(read(QByteArray("\x89PNG\r\n\x1a\n", 8)).size(), 0);
        QCOMPARE(read(QByteArray(6, '\0')).size(), 0);
    }

    // The windows carry the icons compiled into the program: the start
    // window its own, every test window the other, with all their sizes.
    void windowsCarryTheIcons()
    {
        for (const auto& [resource, built] : {std::pair{QStringLiteral(":/icons/velitar-start.ico"), kStartIco},
                                              std::pair{QStringLiteral(":/icons/velitar-test.ico"), kTestIco}}) {
            QFile compiled(resource), file(built);
            QVERIFY2(compiled.open(QIODevice::ReadOnly), qPrintable(resource));
            QVERIFY(file.open(QIODevice::ReadOnly));
            QVERIFY2(compiled.readAll() == file.readAll(), qPrintable(resource));
        }

        Forms forms;
        const QList<QSize> sizes = {{16, 16}, {24, 24}, {32, 32}, {48, 48}, {64, 64}, {96, 96}};
        const QIcon start = forms.Form1().windowIcon();
        for (const QSize& size : sizes)
            QVERIFY2(start.availableSizes().contains(size),
                     qPrintable(QStringLiteral("start %1 px").arg(size.width())));

        const QImage start32 = iconImage(start, 32);
        QImage test32;
        for (int variant = 1; variant <= kVariantCount; ++variant) {
            const QIcon icon = forms.testWindow(variant).windowIcon();
            for (const QSize& size : sizes)
                QVERIFY2(icon.availableSizes().contains(size),
                         qPrintable(QStringLiteral("variant %1, %2 px").arg(variant).arg(size.width())));
            const QImage image = iconImage(icon, 32);
            QVERIFY(!image.isNull());
            if (variant == 1)
                test32 = image;
            QVERIFY2(image == test32, qPrintable(QStringLiteral("variant %1").arg(variant)));
        }
        QVERIFY(!start32.isNull());
        QVERIFY(start32 != test32);
    }
};

QTEST_MAIN(IconsTest)
#include "test_icons.moc"
