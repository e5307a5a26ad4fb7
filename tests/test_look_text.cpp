// SPDX-License-Identifier: GPL-3.0-or-later
// How the texts break into lines and fit their boxes, measured on the real
// widgets in the fonts the program picks: the verdicts of the start window,
// the fail caption, every prompt, option and reproach of the bank.
#include <QScrollBar>
#include <QTextBlock>
#include <QtTest>

#include "WidgetTestSupport.h"
#include "app/Forms.h"
#include "engine/ScoreSlots.h"
#include "test_look_support.h"
#include "ui/Appearance.h"

using namespace velitar;
using namespace velitar::testing;

namespace {

const QColor kCream(254, 253, 226);
const QColor kPaleYellow(255, 255, 192);

// The lines of Text1 that hold something other than blanks, as the widget
// has laid them out.
struct TextBoxLines {
    int lines = 0;     // visual lines up to the last one with a visible character
    int bottom = 0;    // bottom of that line in the viewport, pixels
    QStringList texts; // their texts, blanks at the end dropped
};

TextBoxLines visibleLines(ui::MultiLineTextBox* box)
{
    TextBoxLines result;
    int line = 0;
    for (QTextBlock block = box->document()->begin(); block.isValid(); block = block.next()) {
        QTextLayout* layout = block.layout();
        for (int i = 0; i < layout->lineCount(); ++i, ++line) {
            const QTextLine l = layout->lineAt(i);
            QString text = block.text().mid(l.textStart(), l.textLength());
            while (text.endsWith(QLatin1Char(' ')))
                text.chop(1);
            if (text.trimmed().isEmpty())
                continue;
            result.lines = line + 1;
            QTextCursor cursor(block);
            cursor.setPosition(block.position() + l.textStart() + int(text.size()));
            result.bottom = box->cursorRect(cursor).bottom();
            result.texts << text;
        }
    }
    return result;
}

// Whether an option shows whole in its list: the row, less the text margins
// the list's style keeps at both ends, holds the option's text.
QString optionClipped(ui::ListBox* list, int row)
{
    const QRect rect = list->visualItemRect(list->item(row));
    const int margin = list->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, list) + 1;
    const int room = rect.width() - 2 * margin;
    const QString text = list->item(row)->text();
    const qreal width = QFontMetricsF(list->font()).horizontalAdvance(text);
    if (width <= room && list->viewport()->rect().contains(rect) && rect.width() == list->viewport()->width())
        return {};
    return QStringLiteral("%1 row %2 \"%3\": %4 px of text in %5 px")
        .arg(list->objectName())
        .arg(row)
        .arg(text)
        .arg(width)
        .arg(room);
}

QString buttonClipped(ui::Button* button)
{
    const QRect room = button->captionRect();
    const QRect box = QFontMetrics(button->font()).boundingRect(room, ui::Button::kCaptionFlags, button->text());
    if (room.contains(box))
        return {};
    return QStringLiteral("%1 \"%2\" takes %3x%4 px in %5x%6")
        .arg(button->objectName(), button->text())
        .arg(box.width())
        .arg(box.height())
        .arg(room.width())
        .arg(room.height());
}

const QString kPraise =
    QStringLiteral(" Правильно, но вопрос простой...    Теперь Вы можете приступить к    собственно "
                   "тесту, выбрав один     из пяти вариантов.");
const QString kReproach = QStringLiteral(" Не верно. Спросите у свечницы     и вернитесь к тесту. ");

} // namespace

class LookTextTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        ui::applyProgramStyle();
        // Without the chosen families every measurement below is of another
        // font: say so plainly first.
        const QStringList problems = ui::fontProblems();
        QVERIFY2(problems.isEmpty(), qPrintable(problems.join('\n')));
        QCOMPARE(QFontInfo(ui::fontFor({ui::Face::SansSerif, 9.75})).family(), QStringLiteral("Liberation Sans"));
        QCOMPARE(QFontInfo(ui::fontFor({ui::Face::Verdana, 12})).family(), QStringLiteral("DejaVu Sans"));
        QCOMPARE(QFontInfo(ui::fontFor({ui::Face::Serif, 14.25, true})).family(), QStringLiteral("Liberation Serif"));
    }

    void startVerdictLines_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<QStringList>("lines");
        QTest::addRow("praise") << 2
                                << QStringList{" Правильно, но вопрос простой...", "Теперь Вы можете приступить к",
                                               "собственно тесту, выбрав один", "из пяти вариантов."};
        QTest::addRow("reproach") << 0 << QStringList{" Не верно. Спросите у свечницы", "и вернитесь к тесту."};
    }
    void startVerdictLines()
    {
        QFETCH(int, row);
        QFETCH(QStringList, lines);
        Forms forms;
        ui::StartWindow* start = &forms.Form1();
        QVERIFY(showAndActivate(start));
        clickItem(start->List1, row);
        QCOMPARE(start->Label4->text(), row == 2 ? kPraise : kReproach);
        QCOMPARE(labelLines(start->Label4), lines);
        QVERIFY2(captionFits(start->Label4, start->Label4->text()),
                 qPrintable(describeFit(start->Label4, start->Label4->text())));
        // What is painted agrees: one band of ink per line, inside the border.
        const QImage image = grabImage(start->Label4);
        QCOMPARE(inkBands(image, start->Label4->contentsRect(), kCream), int(lines.size()));
    }

    // A label's lines stand a fixed distance apart, whatever the toolkit's
    // own line spacing: for each size of the sans-serif text, a label of three
    // lines of one capital letter each.
    void linePitch_data()
    {
        QTest::addColumn<double>("points");
        QTest::addColumn<int>("pitch");
        QTest::addRow("11 px") << 8.25 << 13;
        QTest::addRow("13 px") << 9.75 << 15;
        QTest::addRow("16 px") << 12.0 << 19;
        QTest::addRow("18 px") << 13.5 << 21;
    }
    void linePitch()
    {
        QFETCH(double, points);
        QFETCH(int, pitch);
        ui::Label label;
        label.setFont(ui::fontFor({ui::Face::SansSerif, points}));
        QPalette palette = label.palette();
        palette.setColor(QPalette::Window, kCream);
        label.setPalette(palette);
        label.setText(QStringLiteral("Н\nН\nН"));
        label.resize(40, 4 * pitch);
        const QImage image = grabImage(&label);
        const QList<int> tops = inkBandTops(image, label.rect(), kCream);
        QCOMPARE(tops.size(), 3);
        QCOMPARE((tops[1] - tops[0]) / image.devicePixelRatio(), qreal(pitch));
        QCOMPARE((tops[2] - tops[1]) / image.devicePixelRatio(), qreal(pitch));
    }

    void failCaptionLines()
    {
        for (int v = 1; v <= kVariantCount; ++v) {
            ScoreSlots scores;
            ui::TestWindow window(questionBank().variant(v), scores);
            QVERIFY(showAndActivate(&window));
            window.Label7->setVisible(true);
            const QStringList lines = labelLines(window.Label7);
            QCOMPARE(lines.size(), 2);
            QCOMPARE(lines[0], QStringLiteral("Сожалеем, но тест не пройден."));
            QCOMPARE(lines[1], QStringLiteral("Вы можете стать учеником велитаря..."));
            QVERIFY2(captionFits(window.Label7, window.Label7->text()),
                     qPrintable(describeFit(window.Label7, window.Label7->text())));
            QCOMPARE(inkBands(grabImage(window.Label7), window.Label7->rect(), kPaleYellow), 2);
            window.Label7->setVisible(false);
            window.Label6->setVisible(true);
            QVERIFY2(labelLines(window.Label6).size() <= 2, qPrintable(labelLines(window.Label6).join('|')));
            QVERIFY2(captionFits(window.Label6, window.Label6->text()),
                     qPrintable(describeFit(window.Label6, window.Label6->text())));
        }
    }

    void listRowsAndFiveOptions()
    {
        Forms forms;
        ui::ListBox* warmUp = forms.Form1().List1;
        QVERIFY(showAndActivate(&forms.Form1()));
        QCOMPARE(warmUp->count(), 5);
        for (int row = 0; row < 5; ++row)
            QCOMPARE(warmUp->visualItemRect(warmUp->item(row)), QRect(0, 16 * row, warmUp->viewport()->width(), 16));
        QCOMPARE(warmUp->viewport()->height(), 80); // snapped: exactly five rows
        QCOMPARE(warmUp->verticalScrollBar()->maximum(), 0);

        for (int v = 1; v <= kVariantCount; ++v) {
            ScoreSlots scores;
            ui::TestWindow window(questionBank().variant(v), scores);
            QVERIFY(showAndActivate(&window));
            for (int k = 1; k <= kQuestionsPerVariant; ++k) {
                ui::ListBox* list = window.List[static_cast<std::size_t>(k)];
                list->setVisible(true);
                QCOMPARE(list->count(), int(window.variant().question(k).options.size()));
                for (int row = 0; row < list->count(); ++row) {
                    const QRect rect = list->visualItemRect(list->item(row));
                    QCOMPARE(rect.top(), 20 * row);
                    QCOMPARE(rect.height(), 20);
                    QVERIFY2(list->viewport()->rect().contains(rect), qPrintable(list->objectName()));
                }
                QCOMPARE(list->verticalScrollBar()->maximum(), 0);
                list->setVisible(false);
            }
            // Variant 5's first list is snapped to exactly five rows.
            QCOMPARE(window.List[1]->viewport()->height(), v == 5 ? 100 : 112);
        }
    }

    void everyPromptFitsTheQuestionBox()
    {
        for (int v = 1; v <= kVariantCount; ++v) {
            ScoreSlots scores;
            ui::TestWindow window(questionBank().variant(v), scores);
            QVERIFY(showAndActivate(&window));
            ui::MultiLineTextBox* box = window.Text1;
            for (int k = 1; k <= kQuestionsPerVariant; ++k) {
                const QString prompt = qs(window.variant().question(k).prompt);
                box->setText(prompt);
                QApplication::processEvents();
                QCOMPARE(box->text(), prompt);
                const TextBoxLines lines = visibleLines(box);
                const QString where =
                    QStringLiteral("variant %1 question %2: %3").arg(v).arg(k).arg(lines.texts.join('|'));
                QVERIFY2(lines.lines >= 1 && lines.lines <= 2, qPrintable(where));
                QVERIFY2(lines.bottom < box->viewport()->height(), qPrintable(where));
            }
        }
    }

    void longPromptWrapsOntoTheSecondLine()
    {
        ScoreSlots scores;
        ui::TestWindow window(questionBank().variant(2), scores);
        QVERIFY(showAndActivate(&window));
        window.Text1->setText(qs(questionBank().variant(2).question(12).prompt));
        QApplication::processEvents();
        const TextBoxLines lines = visibleLines(window.Text1);
        QCOMPARE(lines.lines, 2);
        QVERIFY(lines.texts[0].startsWith(QStringLiteral("12) В каком члене Символа Веры")));
        QVERIFY(lines.texts[1].endsWith(QStringLiteral("''единосущие''?")));
        // The blank second line of variant 2's first prompt shows nothing.
        window.Text1->setText(QStringLiteral("1) Малая ектения начинается словами:\r\n \r\n"));
        QApplication::processEvents();
        QCOMPARE(visibleLines(window.Text1).texts, QStringList{QStringLiteral("1) Малая ектения начинается словами:")});
    }

    void everyVerdictFitsTheVerdictBox()
    {
        for (int v = 1; v <= kVariantCount; ++v) {
            ScoreSlots scores;
            ui::TestWindow window(questionBank().variant(v), scores);
            QStringList texts{QStringLiteral(" Ответ правильный.")};
            for (int k = 1; k <= kQuestionsPerVariant; ++k)
                texts << qs(window.variant().question(k).reproach);
            for (const QString& text : texts) {
                QVERIFY2(captionFits(window.Label2, text), qPrintable(describeFit(window.Label2, text)));
                QVERIFY(labelLines(window.Label2, text).size() <= 2);
            }
        }
    }

    void everyOptionFitsItsListAndTheEcho()
    {
        int checked = 0;
        for (int v = 1; v <= kVariantCount; ++v) {
            ScoreSlots scores;
            ui::TestWindow window(questionBank().variant(v), scores);
            QVERIFY(showAndActivate(&window));
            for (int k = 1; k <= kQuestionsPerVariant; ++k) {
                ui::ListBox* list = window.List[static_cast<std::size_t>(k)];
                list->setVisible(true);
                for (int row = 0; row < list->count(); ++row, ++checked) {
                    const QString clipped = optionClipped(list, row);
                    QVERIFY2(clipped.isEmpty(), qPrintable(QStringLiteral("variant %1: %2").arg(v).arg(clipped)));
                    const QString option = list->item(row)->text();
                    QVERIFY2(captionFits(window.Label3, option), qPrintable(describeFit(window.Label3, option)));
                }
                list->setVisible(false);
            }
        }
        QVERIFY(checked > 200);

        Forms forms;
        ui::StartWindow* start = &forms.Form1();
        QVERIFY(showAndActivate(start));
        for (int row = 0; row < start->List1->count(); ++row) {
            QVERIFY2(optionClipped(start->List1, row).isEmpty(), qPrintable(optionClipped(start->List1, row)));
            const QString option = start->List1->item(row)->text();
            QVERIFY2(captionFits(start->Label3, option), qPrintable(describeFit(start->Label3, option)));
            QCOMPARE(labelLines(start->Label3, option).size(), 1);
        }
    }

    void nothingClippedInAnyState()
    {
        // Every label's caption and every button's caption, with the final
        // captions and the numbered buttons shown, in both kinds of window.
        Forms forms;
        ui::StartWindow* start = &forms.Form1();
        QVERIFY(showAndActivate(start));
        clickItem(start->List1, 2);
        QList<QWidget*> windows{start};
        std::vector<std::unique_ptr<ui::TestWindow>> tests;
        ScoreSlots scores;
        for (int v = 1; v <= kVariantCount; ++v) {
            tests.push_back(std::make_unique<ui::TestWindow>(questionBank().variant(v), scores));
            windows << tests.back().get();
            tests.back()->Text2->setText(QStringLiteral("12"));
        }
        for (QWidget* window : windows) {
            for (ui::Label* label : window->findChildren<ui::Label*>()) {
                const QString where = window->objectName() + ' ' + describeFit(label, label->text());
                QVERIFY2(captionFits(label, label->text()), qPrintable(where));
            }
            for (ui::Button* button : window->findChildren<ui::Button*>())
                QVERIFY2(buttonClipped(button).isEmpty(), qPrintable(buttonClipped(button)));
        }
        // The score box shows the highest score whole.
        ui::TextBox* score = tests.front()->Text2;
        QStyleOptionFrame frame;
        frame.initFrom(score);
        frame.lineWidth = score->hasFrame() ? score->style()->pixelMetric(QStyle::PM_DefaultFrameWidth) : 0;
        const QRect room = score->style()->subElementRect(QStyle::SE_LineEditContents, &frame, score);
        QVERIFY(QFontMetrics(score->font()).horizontalAdvance(QStringLiteral("12")) < room.width());
        QVERIFY(QFontMetrics(score->font()).height() <= room.height());
        // The question buttons' caption takes two lines.
        ui::Button* next = tests.front()->Command[2];
        const QFontMetrics metrics(next->font());
        const int height =
            metrics.boundingRect(next->captionRect(), ui::Button::kCaptionFlags, QStringLiteral("Следующий вопрос"))
                .height();
        const int oneLine =
            metrics.boundingRect(next->captionRect(), ui::Button::kCaptionFlags, QStringLiteral("Следующий")).height();
        QVERIFY2(height > oneLine && height < 3 * oneLine - 2,
                 qPrintable(QStringLiteral("%1, %2").arg(height).arg(oneLine)));
    }
};

QTEST_MAIN(LookTextTest)
#include "test_look_text.moc"
