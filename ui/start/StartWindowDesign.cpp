// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/start/StartWindowDesign.h"

#include <string>

namespace velitar::ui {

namespace {

constexpr WarmUpQuestion kWarmUp{
    {"Лития", "Литания", "Литургия", "Парастас", "Полиелей"},
    2,
    " Правильно, но вопрос простой...    Теперь Вы можете приступить к    собственно тесту, выбрав один     из "
    "пяти вариантов.",
    " Не верно. Спросите у свечницы     и вернитесь к тесту. ",
};

constexpr FontDesign kWindowDefault{Face::SansSerif, 8.25};
constexpr FontDesign kSans975{Face::SansSerif, 9.75};

} // namespace

const WarmUpQuestion& warmUpQuestion() { return kWarmUp; }

WindowDesign startWindowDesign()
{
    using namespace colours;
    WindowDesign w{"Form1", "\"Velitar\"", 4575, 4815, 3060, 2715, kPaleYellow, {}};

    ControlDesign title{"Label1",
                        Kind::Label,
                        "Тест \"Велитарь\"",
                        {0, 0, 3735, 735},
                        kPaleYellow,
                        false,
                        0,
                        {Face::Serif, 14.25, true},
                        true,
                        1};
    title.centred = true;
    w.controls.push_back(title);
    w.controls.push_back({"Label2",
                          Kind::Label,
                          "Как называется главное христианское богослужение?",
                          {360, 720, 2295, 855},
                          kPaleYellow,
                          false,
                          0,
                          kSans975,
                          true,
                          2});
    w.controls.push_back({"Label5",
                          Kind::Label,
                          "Выберите вариант",
                          {2280, 1560, 2175, 375},
                          kPaleYellow,
                          false,
                          0,
                          {Face::SansSerif, 9.75, true},
                          false,
                          6});
    ControlDesign list{"List1", Kind::List, {}, {360, 1680, 1695, 1260}, kCream, false, 0, kSans975, true, 0};
    list.snapRows = true;
    w.controls.push_back(list);
    for (int k = 0; k < 5; ++k) {
        w.controls.push_back({"Command" + std::to_string(k + 2),
                              Kind::Button,
                              std::to_string(k + 1),
                              {2160 + 480 * k, 1920, 375, 375},
                              k % 2 == 0 ? kBeige : kCream,
                              false,
                              0,
                              kWindowDefault,
                              false,
                              7 + k});
    }
    w.controls.push_back({"Label3", Kind::Label, {}, {360, 3120, 2055, 375}, kPaleYellow, false, 0, kSans975, true, 3});
    ControlDesign verdict{"Label4", Kind::Label, {}, {120, 3600, 3375, 1095}, kCream, true, kMaroon, kSans975, true, 4};
    verdict.bordered = true;
    w.controls.push_back(verdict);
    w.controls.push_back(
        {"Command1", Kind::Button, "Выход", {3600, 3960, 735, 375}, kBeige, false, 0, kWindowDefault, true, 5});
    return w;
}

} // namespace velitar::ui
