// SPDX-License-Identifier: GPL-3.0-or-later
// One whole run of the program, timed from inside: the program starts as
// app/main.cpp starts it, the start window is shown and painted, then
//   open    pressing a variant button: the start window hides, the test
//           window is created, its twelve lists are filled and it is shown;
//           "painted" adds the test window's first paint;
//   answer  a click on an option: echo, verdict, score, the list hidden,
//           the next button shown; "repainted" adds the window's repaint.
// Prints one line: "open <ns> <ns painted> answers", twelve pairs "<ns> <ns
// repainted>", then "bridge 1" if the accessibility bridge was on, else
// "bridge 0".
//
// With --floor, the same run up to the variant button and the same click on
// it; then, in place of the program's test window, plain Qt code hides the
// start window and builds and shows the same controls (twelve lists with their options, the question box,
// the score box, the labels and buttons, in the same fonts, colours, boxes
// and texts) as plain Qt widgets, with none of the program's own: the floor
// that Qt itself sets for opening a test window. It prints "open <ns> <ns
// painted> answers" with no answers. With --open-only the program's run ends
// there too, so that the two runs can be profiled against each other whole.
//
//   velitar_bench_run <variant 1..5> [--floor | --open-only]
#include <QAccessible>
#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <cstdio>
#include <memory>

#include "app/Forms.h"
#include "engine/QuestionBank.h"
#include "ui/Appearance.h"
#include "ui/test/TestWindowDesign.h"

namespace {

// Where the opening starts and ends, for a profile's dumps
// (callgrind --dump-before=velitarOpening*).
[[gnu::noinline]] void velitarOpeningStarts() { asm volatile(""); }
[[gnu::noinline]] void velitarOpeningEnds() { asm volatile(""); }

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

namespace plainqt {

using velitar::ui::ControlDesign;
using velitar::ui::FontDesign;
using velitar::ui::Kind;

QString text(const std::string& s) { return QString::fromStdString(s); }
QColor colour(velitar::ui::Colour c) { return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF)); }
QRect box(const velitar::ui::Box& b) { return {b.left / 15, b.top / 15, b.width / 15, b.height / 15}; }

// The same font as the program's: family, pixel size, weight, unhinted
// outlines at their design advances, letter spacing at 13 px.
QFont font(const FontDesign& d)
{
    QFont f;
    const bool sans = d.face == velitar::ui::Face::SansSerif;
    f.setFamilies({sans                                   ? QStringLiteral("Liberation Sans")
                   : d.face == velitar::ui::Face::Verdana ? QStringLiteral("DejaVu Sans")
                                                          : QStringLiteral("Liberation Serif")});
    const int px = int(d.points * 96.0 / 72.0 + 0.5);
    f.setPixelSize(px);
    f.setBold(d.bold);
    f.setItalic(false);
    f.setUnderline(false);
    f.setStrikeOut(false);
    f.setStretch(QFont::Unstretched);
    f.setHintingPreference(QFont::PreferNoHinting);
    f.setStyleStrategy(QFont::PreferOutline);
    if (sans && px == 13)
        f.setLetterSpacing(QFont::PercentageSpacing, 107.0);
    return f;
}

// Plain Qt widgets for the test window's design, filled with the variant's
// options, shown as a plain top-level widget.
std::unique_ptr<QWidget> open(const velitar::TestVariant& content, QWidget* start)
{
    const velitar::ui::WindowDesign design = velitar::ui::testWindowDesign(content);
    start->hide();
    auto window = std::make_unique<QWidget>();
    window->setWindowTitle(text(design.caption));
    QPalette palette = window->palette();
    palette.setColor(QPalette::Window, colour(design.back));
    window->setPalette(palette);
    window->setAutoFillBackground(true);
    window->setFont(font({velitar::ui::Face::SansSerif, 8.25}));
    window->resize(design.clientWidth / 15, design.clientHeight / 15);
    std::vector<QListWidget*> lists;
    for (const ControlDesign& c : design.controls) {
        QWidget* widget = nullptr;
        QPalette p;
        switch (c.kind) {
        case Kind::Label: {
            auto* label = new QLabel(window.get());
            label->setTextFormat(Qt::PlainText);
            label->setWordWrap(true);
            label->setAlignment(Qt::AlignTop | (c.centred ? Qt::AlignHCenter : Qt::AlignLeft));
            label->setAutoFillBackground(true);
            if (c.bordered)
                label->setFrameStyle(QFrame::Box | QFrame::Plain);
            p.setColor(QPalette::Window, colour(c.back));
            if (c.hasFore)
                p.setColor(QPalette::WindowText, colour(c.fore));
            label->setText(text(c.text));
            widget = label;
            break;
        }
        case Kind::List: {
            auto* list = new QListWidget(window.get());
            list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
            p.setColor(QPalette::Base, colour(c.back));
            lists.push_back(list);
            widget = list;
            break;
        }
        case Kind::TextBox: {
            auto* edit = new QLineEdit(window.get());
            edit->setReadOnly(true);
            edit->setText(text(c.text));
            p.setColor(QPalette::Base, colour(c.back));
            widget = edit;
            break;
        }
        case Kind::MultiLineTextBox: {
            auto* edit = new QPlainTextEdit(window.get());
            edit->setReadOnly(true);
            edit->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
            edit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
            edit->setPlainText(text(c.text));
            p.setColor(QPalette::Base, colour(c.back));
            if (c.hasFore)
                p.setColor(QPalette::Text, colour(c.fore));
            widget = edit;
            break;
        }
        case Kind::Button: {
            auto* button = new QPushButton(text(c.text), window.get());
            p.setColor(QPalette::Button, colour(c.back));
            widget = button;
            break;
        }
        }
        widget->setPalette(p);
        widget->setFont(font(c.font));
        widget->setGeometry(box(c.box));
        widget->setVisible(c.visible);
    }
    for (int k = 1; k <= velitar::kQuestionsPerVariant; ++k)
        for (std::string_view option : content.question(k).options)
            lists.at(std::size_t(k - 1))->addItem(QString::fromUtf8(option.data(), qsizetype(option.size())));
    window->show();
    return window;
}

} // namespace plainqt

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    const int variant = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 0;
    const bool plain = argc > 2 && QByteArray(argv[2]) == "--floor";
    const bool openOnly = argc > 2 && QByteArray(argv[2]) == "--open-only";
    if (variant < 1 || variant > velitar::kVariantCount) {
        std::fprintf(stderr, "usage: velitar_bench_run 1..5 [--floor | --open-only]\n");
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

    const velitar::TestVariant& content = velitar::questionBank().variant(variant);
    auto* button = start->findChild<QPushButton*>(QStringLiteral("Command%1").arg(variant + 1));
    QElapsedTimer clock;
    if (plain) {
        // The same click on the same button, which now opens the plain widgets.
        std::unique_ptr<QWidget> window;
        QObject::disconnect(&forms.Form1(), &velitar::ui::StartWindow::variantChosen, nullptr, nullptr);
        QObject::connect(&forms.Form1(), &velitar::ui::StartWindow::variantChosen, start,
                         [&](int) { window = plainqt::open(content, start); });
        clock.start();
        velitarOpeningStarts();
        QTest::mouseClick(button, Qt::LeftButton);
        const qint64 open = clock.nsecsElapsed();
        Paints paints(window.get());
        untilPainted(paints, 0);
        velitarOpeningEnds();
        std::printf("open %lld %lld answers bridge %d\n", static_cast<long long>(open),
                    static_cast<long long>(clock.nsecsElapsed()), QAccessible::isActive() ? 1 : 0);
        return 0;
    }
    clock.start();
    velitarOpeningStarts();
    QTest::mouseClick(button, Qt::LeftButton);
    const qint64 open = clock.nsecsElapsed();
    QWidget* test = &forms.testWindow(variant);
    Paints paints(test);
    untilPainted(paints, 0);
    velitarOpeningEnds();
    const qint64 openPainted = clock.nsecsElapsed();

    std::printf("open %lld %lld answers", static_cast<long long>(open), static_cast<long long>(openPainted));
    if (openOnly) {
        std::printf(" bridge %d\n", QAccessible::isActive() ? 1 : 0);
        return 0;
    }
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
    std::printf(" bridge %d\n", QAccessible::isActive() ? 1 : 0);
    return 0;
}
