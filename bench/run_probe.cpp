// One whole run of the program, timed from inside: the program starts as
// app/main.cpp starts it, the start window is shown and painted, then
//   open    pressing a variant button: the start window hides, the test
//           window is created, its twelve lists are filled and it is shown;
//           "painted" adds the test window's first paint;
//   answer  a click on an option: echo, verdict, score, the list hidden,
//           the next button shown; "repainted" adds the window's repaint.
// Prints one line: "open <ns> <ns painted> answers" and twelve pairs
// "<ns> <ns repainted>".
//
//   velitar_bench_run <variant 1..5>
#include <QApplication>
#include <QElapsedTimer>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <cstdio>

#include "app/Forms.h"
#include "engine/QuestionBank.h"
#include "ui/Appearance.h"

namespace {

// Counts the paint events of one window and its controls.
class Paints : public QObject {
public:
    explicit Paints(QWidget* window) : window_(window) { qApp->installEventFilter(this); }
    int count = 0;
    bool eventFilter(QObject* object, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && object->isWidgetType() &&
            static_cast<QWidget*>(object)->window() == window_)
            ++count;
        return false;
    }

private:
    QWidget* window_;
};

// Runs the event loop until the window has painted at least once more.
void untilPainted(Paints& paints, int before)
{
    QElapsedTimer limit;
    limit.start();
    while (paints.count == before && limit.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

QPoint optionCentre(QListWidget* list, int row) { return list->visualItemRect(list->item(row)).center(); }

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    const int variant = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 0;
    if (variant < 1 || variant > velitar::kVariantCount) {
        std::fprintf(stderr, "usage: velitar_bench_run 1..5\n");
        return 2;
    }
    velitar::ui::applyProgramStyle();

    velitar::Forms forms;
    QWidget* start = &forms.Form1();
    {
        Paints paints(start);
        start->show();
        untilPainted(paints, 0);
    }
    auto* warmUp = start->findChild<QListWidget*>(QStringLiteral("List1"));
    QTest::mouseClick(warmUp->viewport(), Qt::LeftButton, {}, optionCentre(warmUp, 2));
    QCoreApplication::processEvents();

    auto* button = start->findChild<QPushButton*>(QStringLiteral("Command%1").arg(variant + 1));
    QElapsedTimer clock;
    clock.start();
    QTest::mouseClick(button, Qt::LeftButton);
    const qint64 open = clock.nsecsElapsed();
    QWidget* test = &forms.testWindow(variant);
    Paints paints(test);
    untilPainted(paints, 0);
    const qint64 openPainted = clock.nsecsElapsed();

    std::printf("open %lld %lld answers", static_cast<long long>(open), static_cast<long long>(openPainted));
    const velitar::TestVariant& content = velitar::questionBank().variant(variant);
    for (int k = 1; k <= velitar::kQuestionsPerVariant; ++k) {
        if (k > 1) {
            QTest::mouseClick(test->findChild<QPushButton*>(QStringLiteral("Command%1").arg(k)), Qt::LeftButton);
            const int before = paints.count;
            untilPainted(paints, before);
        }
        auto* list = test->findChild<QListWidget*>(QStringLiteral("List%1").arg(k));
        const int row = k % 3 == 0 ? (content.question(k).correct + 1) % list->count() : content.question(k).correct;
        const int before = paints.count;
        clock.restart();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, optionCentre(list, row));
        const qint64 handled = clock.nsecsElapsed();
        untilPainted(paints, before);
        std::printf(" %lld %lld", static_cast<long long>(handled), static_cast<long long>(clock.nsecsElapsed()));
    }
    std::printf("\n");
    return 0;
}
