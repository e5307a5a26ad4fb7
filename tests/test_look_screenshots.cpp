// SPDX-License-Identifier: GPL-3.0-or-later
// Renders the real windows in their states, as a user sees them, and checks
// that each picture is the window's designed client area in its colours.
// With VELITAR_SCREENSHOT_DIR set, the pictures are also written there as
// PNG files (scripts/screenshots.sh uses this for docs/screenshots/).
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

// Answers question k of a test window: the right option or a wrong one.
void answer(ui::TestWindow* window, int k, bool right)
{
    const Question& q = window->variant().question(k);
    const int row = right ? q.correct : (q.correct == 0 ? 1 : 0);
    if (k > 1)
        QTest::mouseClick(window->Command[static_cast<std::size_t>(k)], Qt::LeftButton);
    clickItem(window->List[static_cast<std::size_t>(k)], row);
}

} // namespace

class ScreenshotTest : public QObject {
    Q_OBJECT
private:
    QStringList written_;

    void shoot(QWidget* window, const QString& name)
    {
        QApplication::processEvents();
        const QImage image = grabImage(window);
        QVERIFY(!image.isNull());
        QCOMPARE(image.size() / image.devicePixelRatio(), window->size());
        // The window's own colour shows in its top-left corner (a label of the
        // same colour may cover it) and nowhere is the picture left unpainted.
        QCOMPARE(rgb(pixelAt(image, {window->width() - 2, 2})), rgb(kPaleYellow));
        const QString dir = qEnvironmentVariable("VELITAR_SCREENSHOT_DIR");
        if (!dir.isEmpty()) {
            QDir().mkpath(dir);
            const QString file = QDir(dir).filePath(name + QStringLiteral(".png"));
            QVERIFY2(image.save(file), qPrintable(file));
            written_ << file;
        }
    }

private slots:
    void initTestCase() { ui::applyProgramStyle(); }
    void cleanupTestCase()
    {
        for (const QString& file : written_)
            qInfo("wrote %s", qPrintable(file));
    }

    void startWindow()
    {
        for (const char* state : {"asking", "passed", "failed"}) {
            Forms forms;
            ui::StartWindow* start = &forms.Form1();
            QVERIFY(showAndActivate(start));
            if (qstrcmp(state, "passed") == 0)
                clickItem(start->List1, 2);
            else if (qstrcmp(state, "failed") == 0)
                clickItem(start->List1, 3);
            shoot(start, QStringLiteral("start-%1").arg(QLatin1String(state)));
        }
    }

    void testWindow()
    {
        // Variant 1 (Form6): the first question, a wrong answer, and the two
        // final captions.
        for (const char* state : {"asking", "answered", "passed", "failed"}) {
            ScoreSlots scores;
            ui::TestWindow window(questionBank().variant(1), scores);
            QVERIFY(showAndActivate(&window));
            const QString s = QLatin1String(state);
            if (s == "answered")
                answer(&window, 1, false);
            if (s == "passed" || s == "failed") {
                for (int k = 1; k <= kQuestionsPerVariant; ++k)
                    answer(&window, k, s == "passed" || k % 4 != 0);
                QVERIFY((s == "passed" ? window.Label6 : window.Label7)->isVisible());
            }
            shoot(&window, QStringLiteral("test-%1").arg(s));
        }
    }

    void widestTestWindow()
    {
        // Variant 4 (Form5) on question 5: the longest reproach of the bank.
        ScoreSlots scores;
        ui::TestWindow window(questionBank().variant(4), scores);
        QVERIFY(showAndActivate(&window));
        for (int k = 1; k <= 5; ++k)
            answer(&window, k, k != 5);
        QVERIFY(window.Label2->text().startsWith(QStringLiteral("Неверно. Обратите внимание")));
        QCOMPARE(rgb(pixelAt(grabImage(window.Label2), {window.Label2->width() - 3, window.Label2->height() - 3})),
                 rgb(kCream));
        shoot(&window, QStringLiteral("test-variant4-reproach"));
    }
};

QTEST_MAIN(ScreenshotTest)
#include "test_look_screenshots.moc"
