// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/test/TestWindowDesign.h"

#include <algorithm>
#include <array>
#include <stdexcept>
#include <string>

namespace velitar::ui {

namespace {

constexpr std::string_view kCaption = "Тест  \"Велитарь\"";
constexpr std::string_view kVariantLabel = "Вариант ";
constexpr std::string_view kNextQuestion = "Следующий вопрос";
constexpr std::string_view kLastQuestion = "Последний вопрос";
constexpr std::string_view kExit = "Выход";
constexpr std::string_view kScoreLine1 = "Правильных";
constexpr std::string_view kScoreLine2 = "    ответов";
constexpr std::string_view kPassed = "Поздравляем! Тест пройден.";
constexpr std::string_view kPassedQuote = "“Ибо трудящийся достоин награды за труды свои” (Лук.10:7).";
constexpr std::string_view kFailed = "Сожалеем, но тест не пройден.";
constexpr int kFailedGap = 67; // blanks between the two sentences of the fail caption
constexpr std::string_view kFailedAdvice = "Вы можете стать учеником велитаря...";

constexpr FontDesign kSans825{Face::SansSerif, 8.25};
constexpr FontDesign kSans975{Face::SansSerif, 9.75};
constexpr FontDesign kSans12{Face::SansSerif, 12};
constexpr FontDesign kSans135{Face::SansSerif, 13.5};
constexpr FontDesign kVerdana12{Face::Verdana, 12};

// Tab order of the common design: position = tab index.
constexpr std::array<std::string_view, 33> kCommonTabOrder = {
    "Command1", "List1",  "Text1",     "Label2",   "Label3",    "Command2", "List2",  "Text2",    "List3",
    "Command3", "Label4", "Label5",    "Command4", "List4",     "Label6",   "Label7", "Command5", "List5",
    "Command6", "List6",  "List7",     "Command7", "List8",     "Command8", "List9",  "Command9", "Command10",
    "List10",   "List11", "Command11", "List12",   "Command12", "Label8"};

struct Differences {
    std::string_view window;
    int clientWidth, clientHeight;
    int originLeft, originTop;
    int label8Left;
    int text1Width;
    bool text1Black;
    int listWidth;
    int list12Left, list12Width; // 0: as the other lists
    int list1Height;             // 0: as the other lists
    bool list1Snapped;
    int commandLeft, commandTop; // Command2..Command12
    int command1Left;
    int scoreTop;              // Label4; Label5 and Text2 follow 240 and 600 twips lower
    int passedGap;             // blanks after "пройден." in the pass caption
    std::string_view tabMoved; // a control moved in the Tab order, if any
    int tabMovedTo;
};

constexpr std::array<Differences, kVariantCount> kDifferences = {{
    {"Form6", 8175, 6330, 2835, 2715, 3480, 7695, false, 5055, 0, 0, 0, false, 4320, 4200, 7320, 2760, 2, {}, 0},
    {"Form3", 8175, 6330, 2940, 2715, 3480, 7695, false, 5055, 0, 0, 0, false, 4320, 4200, 7320, 2640, 1, "List12", 32},
    {"Form4", 8190, 6345, 2940, 2715, 3480, 7695, false, 5055, 0, 0, 0, false, 4320, 4200, 7320, 2760, 2, {}, 0},
    {"Form5", 8295, 6300, 2835, 2715, 3480, 7815, false, 5055, 240, 5415, 0, false, 4320, 4560, 7440, 2760, 2, {}, 0},
    {"Form2", 8175, 6300, 2940, 2715, 3360, 7695, true, 5175, 0, 0, 1560, true, 4440, 4200, 7320, 2760, 1, "Text1", 31},
}};

constexpr int kListLeft = 480, kListTop = 2280, kListHeight = 1740;

std::string str(std::string_view s) { return std::string(s); }

} // namespace

WindowDesign testWindowDesign(const TestVariant& variant)
{
    const Differences& d = kDifferences.at(static_cast<std::size_t>(variant.number - 1));
    if (d.window != variant.window)
        throw std::logic_error("variant bound to another window");

    std::array<std::string_view, 33> tabOrder = kCommonTabOrder;
    if (!d.tabMoved.empty()) {
        auto from = std::find(tabOrder.begin(), tabOrder.end(), d.tabMoved);
        auto to = tabOrder.begin() + d.tabMovedTo;
        if (from < to)
            std::rotate(from, from + 1, to + 1);
        else
            std::rotate(to, from, from + 1);
    }
    auto tabIndex = [&](std::string_view name) {
        return static_cast<int>(std::find(tabOrder.begin(), tabOrder.end(), name) - tabOrder.begin());
    };

    using namespace colours;
    WindowDesign w{str(d.window), str(kCaption), d.clientWidth, d.clientHeight,
                   d.originLeft,  d.originTop,   kPaleYellow,   {}};
    auto add = [&](ControlDesign c) {
        c.tabIndex = tabIndex(c.name);
        w.controls.push_back(std::move(c));
    };

    add({"Label8",
         Kind::Label,
         str(kVariantLabel) + std::to_string(variant.number),
         {d.label8Left, 120, 1335, 375},
         kPaleYellow,
         false,
         0,
         kVerdana12});
    add({"Text1",
         Kind::MultiLineTextBox,
         str(variant.question(1).prompt),
         {240, 600, d.text1Width, 735},
         kCream,
         d.text1Black,
         kBlack,
         kSans12});
    add({"Label6",
         Kind::Label,
         str(kPassed) + std::string(static_cast<std::size_t>(d.passedGap), ' ') + str(kPassedQuote),
         {480, 1440, 7335, 735},
         kPaleYellow,
         true,
         kDarkRed,
         kSans135,
         false});
    add({"Label7",
         Kind::Label,
         str(kFailed) + std::string(kFailedGap, ' ') + str(kFailedAdvice),
         {360, 1440, 7575, 855},
         kPaleYellow,
         true,
         kMaroon,
         kSans135,
         false});
    for (int k = 1; k <= kQuestionsPerVariant; ++k) {
        Box box{kListLeft, kListTop, d.listWidth, kListHeight};
        if (k == 12 && d.list12Left != 0)
            box = {d.list12Left, kListTop, d.list12Width, kListHeight};
        ControlDesign list{"List" + std::to_string(k), Kind::List, {}, box, kCream, false, 0, kSans12, k == 1};
        if (k == 1 && d.list1Height != 0) {
            list.box.height = d.list1Height;
            list.snapRows = d.list1Snapped;
        }
        add(std::move(list));
    }
    add({"Label4", Kind::Label, str(kScoreLine1), {6240, d.scoreTop, 1335, 255}, kPaleYellow, false, 0, kSans975});
    add({"Label5",
         Kind::Label,
         str(kScoreLine2),
         {6240, d.scoreTop + 240, 1215, 375},
         kPaleYellow,
         false,
         0,
         kSans975});
    add({"Text2", Kind::TextBox, {}, {6480, d.scoreTop + 600, 615, 495}, kCream, false, 0, kSans12});
    for (int k = 2; k <= kQuestionsPerVariant; ++k) {
        add({"Command" + std::to_string(k),
             Kind::Button,
             str(k < 12 ? kNextQuestion : kLastQuestion),
             {d.commandLeft, d.commandTop, 1215, 495},
             kBeige,
             false,
             0,
             kSans825,
             false});
    }
    add({"Label3", Kind::Label, {}, {480, 4320, 2655, 855}, kPaleYellow, false, 0, kSans12});
    ControlDesign label2{"Label2", Kind::Label, {}, {120, 5400, 7095, 735}, kCream, false, 0, kSans12};
    label2.bordered = true;
    add(std::move(label2));
    add({"Command1", Kind::Button, str(kExit), {d.command1Left, 5640, 735, 375}, kBeige, false, 0, kSans825});
    return w;
}

} // namespace velitar::ui
