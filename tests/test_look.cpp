// SPDX-License-Identifier: GPL-3.0-or-later
// How the windows look: captions, sizes and places, the box of every control,
// the colours actually painted, fonts, borders and the kind of each control.
// Boxes are in pixels (the designed twips divided by 15).
#include <QtTest>

#include "WidgetTestSupport.h"
#include "app/Forms.h"
#include "engine/ScoreSlots.h"
#include "test_look_support.h"
#include "ui/Appearance.h"

using namespace velitar;
using namespace velitar::testing;

namespace {

const QColor kPaleYellow(255, 255, 192);
const QColor kCream(254, 253, 226);
const QColor kBeige(247, 238, 200);
const QColor kMaroon(128, 0, 0);
const QColor kDarkRed(136, 8, 0);
const QColor kBlack(0, 0, 0);

struct Expected {
    const char* name;
    QRect box;
};

// The start window, every control.
const Expected kStart[] = {
    {"Label1", {0, 0, 249, 49}},      {"Label2", {24, 48, 153, 57}},    {"Label5", {152, 104, 145, 25}},
    {"List1", {24, 112, 113, 84}},    {"Command2", {144, 128, 25, 25}}, {"Command3", {176, 128, 25, 25}},
    {"Command4", {208, 128, 25, 25}}, {"Command5", {240, 128, 25, 25}}, {"Command6", {272, 128, 25, 25}},
    {"Label3", {24, 208, 137, 25}},   {"Label4", {8, 240, 225, 73}},    {"Command1", {240, 264, 49, 25}},
};

// Variant 1 (Form6): the common design.
const Expected kVariant1[] = {
    {"Label8", {232, 8, 89, 25}},    {"Text1", {16, 40, 513, 49}},     {"Label6", {32, 96, 489, 49}},
    {"Label7", {24, 96, 505, 57}},   {"List1", {32, 152, 337, 116}},   {"List7", {32, 152, 337, 116}},
    {"List12", {32, 152, 337, 116}}, {"Label4", {416, 184, 89, 17}},   {"Label5", {416, 200, 81, 25}},
    {"Text2", {432, 224, 41, 33}},   {"Command2", {288, 280, 81, 33}}, {"Command12", {288, 280, 81, 33}},
    {"Label3", {32, 288, 177, 57}},  {"Label2", {8, 360, 473, 49}},    {"Command1", {488, 376, 49, 25}},
};

// Variant 4 (Form5): wider question box, List12 apart, buttons lower, Exit further right.
const Expected kVariant4[] = {
    {"Label8", {232, 8, 89, 25}},      {"Text1", {16, 40, 521, 49}},     {"Label6", {32, 96, 489, 49}},
    {"Label7", {24, 96, 505, 57}},     {"List1", {32, 152, 337, 116}},   {"List11", {32, 152, 337, 116}},
    {"List12", {16, 152, 361, 116}},   {"Label4", {416, 184, 89, 17}},   {"Label5", {416, 200, 81, 25}},
    {"Text2", {432, 224, 41, 33}},     {"Command2", {288, 304, 81, 33}}, {"Command11", {288, 304, 81, 33}},
    {"Command12", {288, 304, 81, 33}}, {"Label3", {32, 288, 177, 57}},   {"Label2", {8, 360, 473, 49}},
    {"Command1", {496, 376, 49, 25}},
};

// Variant 5 (Form2): wider lists, a shorter List1, buttons further right.
const Expected kVariant5[] = {
    {"Label8", {224, 8, 89, 25}},    {"Text1", {16, 40, 513, 49}},     {"Label6", {32, 96, 489, 49}},
    {"Label7", {24, 96, 505, 57}},   {"List1", {32, 152, 345, 104}},   {"List2", {32, 152, 345, 116}},
    {"List12", {32, 152, 345, 116}}, {"Label4", {416, 184, 89, 17}},   {"Label5", {416, 200, 81, 25}},
    {"Text2", {432, 224, 41, 33}},   {"Command2", {296, 280, 81, 33}}, {"Command12", {296, 280, 81, 33}},
    {"Label3", {32, 288, 177, 57}},  {"Label2", {8, 360, 473, 49}},    {"Command1", {488, 376, 49, 25}},
};

struct WindowFrame {
    int variant;
    const char* name;
    QRect client; // designed position and size of the client area
    int scoreTop; // Label4; Label5 16 px and Text2 40 px lower
};
const WindowFrame kFrames[] = {
    {1, "Form6", {189, 181, 545, 422}, 184}, {2, "Form3", {196, 181, 545, 422}, 176},
    {3, "Form4", {196, 181, 546, 423}, 184}, {4, "Form5", {189, 181, 553, 420}, 184},
    {5, "Form2", {196, 181, 545, 420}, 184},
};

QWidget* byName(QWidget* window, const char* name) { return control(window, QLatin1String(name)); }

// Every pixel of a region is the given colour.
QString notAll(const QImage& image, const QRect& region, const QColor& colour)
{
    for (int y = region.top(); y <= region.bottom(); ++y) {
        for (int x = region.left(); x <= region.right(); ++x) {
            const QColor got = pixelAt(image, {x, y});
            if (got != colour)
                return QStringLiteral("(%1, %2) is %3, not %4").arg(x).arg(y).arg(rgb(got), rgb(colour));
        }
    }
    return {};
}

// How many pixels of a region are exactly the given colour.
int count(const QImage& image, const QRect& region, const QColor& colour)
{
    const qreal ratio = image.devicePixelRatio();
    const QRect device(qRound(region.left() * ratio), qRound(region.top() * ratio), qRound(region.width() * ratio),
                       qRound(region.height() * ratio));
    int n = 0;
    for (int y = device.top(); y <= device.bottom(); ++y)
        for (int x = device.left(); x <= device.right(); ++x)
            n += image.pixelColor(x, y) == colour ? 1 : 0;
    return n;
}

// The face of a button inside its 2-pixel raised border, less a margin
// around the caption and the focus frame.
QRect faceStrip(const QWidget* button) { return {2, 2, button->width() - 4, 1}; }

} // namespace

class LookTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { ui::applyProgramStyle(); }

    void startWindowFrame()
    {
        Forms forms;
        QWidget* start = &forms.Form1();
        QVERIFY(showAndActivate(start));
        QCOMPARE(start->windowTitle(), QStringLiteral("\"Velitar\""));
        QCOMPARE(start->windowTitle().size(), 9);
        QCOMPARE(start->geometry(), QRect(204, 181, 305, 321));
        QCOMPARE(start->minimumSize(), QSize(305, 321));
        QCOMPARE(start->maximumSize(), QSize(305, 321));
        QVERIFY(!(start->windowFlags() & Qt::WindowMaximizeButtonHint));
        QVERIFY(start->windowFlags() & Qt::WindowCloseButtonHint);
    }

    void testWindowFrames_data()
    {
        QTest::addColumn<int>("index");
        for (int i = 0; i < 5; ++i)
            QTest::addRow("%s", kFrames[i].name) << i;
    }
    void testWindowFrames()
    {
        QFETCH(int, index);
        const WindowFrame& f = kFrames[index];
        ScoreSlots scores;
        ui::TestWindow window(questionBank().variant(f.variant), scores);
        QVERIFY(showAndActivate(&window));
        QCOMPARE(window.objectName(), QLatin1String(f.name));
        QCOMPARE(window.windowTitle(), QStringLiteral("Тест  \"Велитарь\""));
        QCOMPARE(window.windowTitle().size(), 16);
        QCOMPARE(window.geometry(), f.client);
        QCOMPARE(window.minimumSize(), f.client.size());
        QCOMPARE(window.maximumSize(), f.client.size());
        QVERIFY(!(window.windowFlags() & Qt::WindowMaximizeButtonHint));
        QCOMPARE(window.Label4->y(), f.scoreTop);
        QCOMPARE(window.Label5->y(), f.scoreTop + 16);
        QCOMPARE(window.Text2->y(), f.scoreTop + 40);
        // Trying to resize changes nothing.
        window.resize(700, 600);
        QCOMPARE(window.size(), f.client.size());
    }

    void controlBoxes_data()
    {
        QTest::addColumn<int>("window"); // 0: start, else the variant
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("box");
        for (const Expected& e : kStart)
            QTest::addRow("Form1 %s", e.name) << 0 << QString::fromLatin1(e.name) << e.box;
        for (const Expected& e : kVariant1)
            QTest::addRow("Form6 %s", e.name) << 1 << QString::fromLatin1(e.name) << e.box;
        for (const Expected& e : kVariant4)
            QTest::addRow("Form5 %s", e.name) << 4 << QString::fromLatin1(e.name) << e.box;
        for (const Expected& e : kVariant5)
            QTest::addRow("Form2 %s", e.name) << 5 << QString::fromLatin1(e.name) << e.box;
    }
    void controlBoxes()
    {
        QFETCH(int, window);
        QFETCH(QString, name);
        QFETCH(QRect, box);
        Forms forms;
        QWidget* w = window == 0 ? static_cast<QWidget*>(&forms.Form1()) : &forms.testWindow(window);
        QCOMPARE(control(w, name)->geometry(), box);
    }

    void everyTestControlInPlace()
    {
        // The boxes no table above names, in every window: lists and buttons
        // stacked on one spot.
        for (const WindowFrame& f : kFrames) {
            ScoreSlots scores;
            ui::TestWindow window(questionBank().variant(f.variant), scores);
            const QRect list2 = window.List[2]->geometry();
            for (int k = 2; k <= 11; ++k)
                QCOMPARE(window.List[static_cast<std::size_t>(k)]->geometry(), list2);
            for (int k = 3; k <= 12; ++k)
                QCOMPARE(window.Command[static_cast<std::size_t>(k)]->geometry(), window.Command[2]->geometry());
            QCOMPARE(window.findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly).size(), 33);
        }
    }

    void startStateVisibility()
    {
        Forms forms;
        QWidget* start = &forms.Form1();
        QVERIFY(showAndActivate(start));
        for (const char* name : {"Label1", "Label2", "List1", "Label3", "Label4", "Command1"})
            QVERIFY2(byName(start, name)->isVisible(), name);
        for (const char* name : {"Label5", "Command2", "Command3", "Command4", "Command5", "Command6"})
            QVERIFY2(!byName(start, name)->isVisible(), name);

        ScoreSlots scores;
        ui::TestWindow test(questionBank().variant(3), scores);
        QVERIFY(showAndActivate(&test));
        for (const char* name :
             {"Label8", "Text1", "List1", "Label4", "Label5", "Text2", "Label3", "Label2", "Command1"})
            QVERIFY2(byName(&test, name)->isVisible(), name);
        for (int k = 2; k <= 12; ++k) {
            QVERIFY(!test.List[static_cast<std::size_t>(k)]->isVisible());
            QVERIFY(!test.Command[static_cast<std::size_t>(k)]->isVisible());
        }
        QVERIFY(!test.Label6->isVisible());
        QVERIFY(!test.Label7->isVisible());
    }

    void startWindowColours()
    {
        Forms forms;
        ui::StartWindow* start = &forms.Form1();
        QVERIFY(showAndActivate(start));
        clickItem(start->List1, 2);  // the numbered buttons show, the focus on "1"
        start->Command1->setFocus(); // the faces of "1" .. "5" without a focus frame
        const QImage image = grabImage(start);
        // The window itself, where no control stands.
        QCOMPARE(rgb(pixelAt(image, {300, 10})), rgb(kPaleYellow));
        QCOMPARE(rgb(pixelAt(image, {4, 318})), rgb(kPaleYellow));
        // Opaque labels fill their boxes (Label2's last line leaves room).
        QVERIFY2(notAll(image, {25, 100, 150, 4}, kPaleYellow).isEmpty(), "Label2");
        // The title stands in the middle of its label.
        const QImage title = grabImage(start->Label1);
        int left = start->Label1->width(), right = -1;
        for (int y = 0; y < start->Label1->height(); ++y)
            for (int x = 0; x < start->Label1->width(); ++x)
                if (pixelAt(title, {x, y}) != kPaleYellow) {
                    left = std::min(left, x);
                    right = std::max(right, x);
                }
        QVERIFY(right > left);
        QVERIFY2(std::abs(left - (start->Label1->width() - 1 - right)) <= 2,
                 qPrintable(QStringLiteral("ink from %1 to %2").arg(left).arg(right)));
        // The verdict label: cream inside a black one-pixel border.
        const QRect label4 = start->Label4->geometry();
        QCOMPARE(rgb(pixelAt(image, {label4.right() - 3, label4.bottom() - 3})), rgb(kCream));
        QString border = notAll(image, {label4.left(), label4.top(), label4.width(), 1}, kBlack);
        border += notAll(image, {label4.left(), label4.bottom(), label4.width(), 1}, kBlack);
        border += notAll(image, {label4.left(), label4.top(), 1, label4.height()}, kBlack);
        border += notAll(image, {label4.right(), label4.top(), 1, label4.height()}, kBlack);
        QVERIFY2(border.isEmpty(), qPrintable(border));
        QCOMPARE(rgb(pixelAt(image, {label4.left() + 1, label4.bottom() - 1})), rgb(kCream));
        // Its text is maroon: solid maroon strokes, and nothing black inside.
        const QRect inside = label4.adjusted(2, 2, -2, -2);
        QVERIFY(count(image, inside, kMaroon) > 20);
        QCOMPARE(count(image, inside, kBlack), 0);
        // The numbered buttons alternate beige and cream, painted flat over
        // the whole face (no gradient).
        const QColor faces[] = {kBeige, kCream, kBeige, kCream, kBeige};
        for (int n = 2; n <= 6; ++n) {
            QWidget* button = start->Command[static_cast<std::size_t>(n)];
            const QImage face = grabImage(button);
            const QColor colour = faces[n - 2];
            QString wrong = notAll(face, faceStrip(button), colour);
            wrong += notAll(face, {2, button->height() - 4, button->width() - 5, 1}, colour);
            wrong += notAll(face, {2, 2, 1, button->height() - 5}, colour);
            QVERIFY2(wrong.isEmpty(), qPrintable(QStringLiteral("Command%1: %2").arg(n).arg(wrong)));
        }
        const QImage exit = grabImage(start->Command1);
        QVERIFY2(notAll(exit, faceStrip(start->Command1), kBeige).isEmpty(), "Command1");
    }

    void startListColours()
    {
        Forms forms;
        ui::StartWindow* start = &forms.Form1();
        QVERIFY(showAndActivate(start));
        const QImage image = grabImage(start->List1->viewport());
        // Below the longest option's end, right of the text.
        QVERIFY2(notAll(image, {90, 18, 15, 60}, kCream).isEmpty(),
                 qPrintable(notAll(image, {90, 18, 15, 60}, kCream)));
        // Options in the system's text colour, black.
        QVERIFY(count(image, image.rect(), kBlack) > 20);
        // A sunken 3D border around it, darker at the top and left.
        const QImage whole = grabImage(start->List1);
        QVERIFY(pixelAt(whole, {0, 40}).lightness() < 160);
        QVERIFY(pixelAt(whole, {1, 40}).lightness() < pixelAt(whole, {0, 40}).lightness());
        QCOMPARE(rgb(pixelAt(whole, {start->List1->width() - 1, 40})), rgb(QColor(255, 255, 255)));
    }

    void testWindowColours_data()
    {
        QTest::addColumn<int>("variant");
        for (int v = 1; v <= 5; ++v)
            QTest::addRow("variant %d", v) << v;
    }
    void testWindowColours()
    {
        QFETCH(int, variant);
        ScoreSlots scores;
        ui::TestWindow window(questionBank().variant(variant), scores);
        QVERIFY(showAndActivate(&window));
        QImage image = grabImage(&window);
        QCOMPARE(rgb(pixelAt(image, {window.width() - 3, 3})), rgb(kPaleYellow));
        QCOMPARE(rgb(pixelAt(image, {3, 140})), rgb(kPaleYellow));
        // The question box, the score box and the list: cream inside.
        QWidget* text1 = window.Text1->viewport();
        QVERIFY(notAll(grabImage(text1), {text1->width() - 12, 2, 8, 38}, kCream).isEmpty());
        const QImage text2 = grabImage(window.Text2);
        QCOMPARE(rgb(pixelAt(text2, {30, 26})), rgb(kCream));
        QWidget* list = window.List[1]->viewport();
        QCOMPARE(rgb(pixelAt(grabImage(list), {list->width() - 4, list->height() - 3})), rgb(kCream));
        // The verdict box: cream, black border; the echo label pale yellow.
        const QImage label2 = grabImage(window.Label2);
        QCOMPARE(rgb(pixelAt(label2, {0, 0})), rgb(kBlack));
        QCOMPARE(rgb(pixelAt(label2, {472, 48})), rgb(kBlack));
        QCOMPARE(rgb(pixelAt(label2, {470, 46})), rgb(kCream));
        QCOMPARE(rgb(pixelAt(grabImage(window.Label3), {170, 50})), rgb(kPaleYellow));
        // Exit and the question buttons: beige, flat.
        QVERIFY(notAll(grabImage(window.Command1), faceStrip(window.Command1), kBeige).isEmpty());
        QTest::mouseClick(window.List[1]->viewport(), Qt::LeftButton, {},
                          window.List[1]->visualItemRect(window.List[1]->item(0)).center());
        QVERIFY(window.Command[2]->isVisible());
        QVERIFY(notAll(grabImage(window.Command[2]), faceStrip(window.Command[2]), kBeige).isEmpty());
        // The question text: black in variant 5, the system's black elsewhere.
        QVERIFY(count(grabImage(window.Text1->viewport()), {0, 0, 300, 20}, kBlack) > 10);
    }

    void finalCaptionColours()
    {
        ScoreSlots scores;
        ui::TestWindow window(questionBank().variant(1), scores);
        QVERIFY(showAndActivate(&window));
        window.Label6->setVisible(true);
        QImage image = grabImage(window.Label6);
        QVERIFY(count(image, image.rect(), kDarkRed) > 20);
        QCOMPARE(count(image, image.rect(), kMaroon), 0);
        window.Label6->setVisible(false);
        window.Label7->setVisible(true);
        image = grabImage(window.Label7);
        QVERIFY(count(image, image.rect(), kMaroon) > 20);
        QCOMPARE(count(image, image.rect(), kDarkRed), 0);
        QCOMPARE(rgb(pixelAt(image, {500, 52})), rgb(kPaleYellow));
    }

    void fonts_data()
    {
        QTest::addColumn<int>("window");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("family");
        QTest::addColumn<int>("pixels");
        QTest::addColumn<bool>("bold");
        const QString sans = QStringLiteral("Liberation Sans");
        QTest::addRow("Form1 Label1") << 0 << "Label1"
                                      << "Liberation Serif" << 19 << true;
        QTest::addRow("Form1 Label2") << 0 << "Label2" << sans << 13 << false;
        QTest::addRow("Form1 Label5") << 0 << "Label5" << sans << 13 << true;
        QTest::addRow("Form1 List1") << 0 << "List1" << sans << 13 << false;
        QTest::addRow("Form1 Label4") << 0 << "Label4" << sans << 13 << false;
        QTest::addRow("Form1 Command1") << 0 << "Command1" << sans << 11 << false;
        QTest::addRow("Form1 Command4") << 0 << "Command4" << sans << 11 << false;
        QTest::addRow("Form4 Label8") << 3 << "Label8"
                                      << "DejaVu Sans" << 16 << false;
        QTest::addRow("Form4 Text1") << 3 << "Text1" << sans << 16 << false;
        QTest::addRow("Form4 Label6") << 3 << "Label6" << sans << 18 << false;
        QTest::addRow("Form4 Label7") << 3 << "Label7" << sans << 18 << false;
        QTest::addRow("Form4 List9") << 3 << "List9" << sans << 16 << false;
        QTest::addRow("Form4 Label4") << 3 << "Label4" << sans << 13 << false;
        QTest::addRow("Form4 Label5") << 3 << "Label5" << sans << 13 << false;
        QTest::addRow("Form4 Text2") << 3 << "Text2" << sans << 16 << false;
        QTest::addRow("Form4 Command7") << 3 << "Command7" << sans << 11 << false;
        QTest::addRow("Form4 Label3") << 3 << "Label3" << sans << 16 << false;
        QTest::addRow("Form4 Label2") << 3 << "Label2" << sans << 16 << false;
        QTest::addRow("Form4 Command1") << 3 << "Command1" << sans << 11 << false;
    }
    void fonts()
    {
        QFETCH(int, window);
        QFETCH(QString, name);
        QFETCH(QString, family);
        QFETCH(int, pixels);
        QFETCH(bool, bold);
        Forms forms;
        QWidget* w = window == 0 ? static_cast<QWidget*>(&forms.Form1()) : &forms.testWindow(window);
        const QFont font = control(w, name)->font();
        const QFontInfo info(font);
        QVERIFY2(info.family() == family,
                 qPrintable(QStringLiteral("%1 is drawn in \"%2\", not \"%3\": install the font packages of "
                                           "scripts/packages/fonts.txt")
                                .arg(name, info.family(), family)));
        QCOMPARE(info.pixelSize(), pixels);
        QCOMPARE(info.bold(), bold);
        QVERIFY(!info.italic());
        QVERIFY(!font.underline() && !font.strikeOut());
        QCOMPARE(font.hintingPreference(), QFont::PreferNoHinting);
        QVERIFY(ui::fontProblems().isEmpty());
    }

    void labelsArePlainOpaqueAndWrapped()
    {
        Forms forms;
        QList<QWidget*> windows{&forms.Form1(), &forms.Form5()};
        for (QWidget* window : windows) {
            for (ui::Label* label : window->findChildren<ui::Label*>()) {
                const QString n = label->objectName();
                QCOMPARE(label->textFormat(), Qt::PlainText);
                QVERIFY2(label->wordWrap(), qPrintable(n));
                QVERIFY2(label->autoFillBackground(), qPrintable(n));
                QCOMPARE(label->focusPolicy(), Qt::NoFocus);
                QCOMPARE(label->indent(), 0);
                QCOMPARE(label->frameShape(), QFrame::NoFrame);
                const bool centred = window == &forms.Form1() && n == "Label1";
                QCOMPARE(label->alignment(), Qt::AlignTop | (centred ? Qt::AlignHCenter : Qt::AlignLeft));
                const bool bordered = n == (window == &forms.Form1() ? "Label4" : "Label2");
                QCOMPARE(label->isBordered(), bordered);
                QCOMPARE(label->contentsRect(), bordered ? label->rect().adjusted(1, 1, -1, -1) : label->rect());
            }
        }
        // Text that looks like markup stays as it is, blanks and all.
        ui::Label* label = forms.Form5().Label3;
        label->setText(QStringLiteral("<b>a</b>   b"));
        QCOMPARE(label->text(), QStringLiteral("<b>a</b>   b"));
        QCOMPARE(labelLines(label), QStringList{QStringLiteral("<b>a</b>   b")});
    }

    void textBoxesAndLists()
    {
        ScoreSlots scores;
        ui::TestWindow window(questionBank().variant(2), scores);
        QVERIFY(window.Text1->isReadOnly());
        QCOMPARE(window.Text1->lineWrapMode(), QPlainTextEdit::WidgetWidth);
        QCOMPARE(window.Text1->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
        QCOMPARE(window.Text1->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
        QCOMPARE(window.Text1->frameShadow(), QFrame::Sunken);
        QVERIFY(window.Text2->isReadOnly());
        QVERIFY(window.Text2->hasFrame());
        for (int k = 1; k <= 12; ++k) {
            ui::ListBox* list = window.List[static_cast<std::size_t>(k)];
            QCOMPARE(list->selectionMode(), QAbstractItemView::SingleSelection);
            QVERIFY(!list->isSortingEnabled());
            QCOMPARE(list->frameShadow(), QFrame::Sunken);
        }
    }
};

QTEST_MAIN(LookTest)
#include "test_look.moc"
