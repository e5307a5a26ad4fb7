// SPDX-License-Identifier: GPL-3.0-or-later
// Variant 3, taken in Form4: the litany of supplication, the priest's vestments, the entrances, the canon at
// Matins, the Cherubic Hymn, the beginning of the Liturgy, the bread of Communion, the tenth commandment, the
// Beatitudes and the Creed on Baptism.
#include "bank/SharedOptions.h"
#include "bank/Variants.h"

namespace velitar::bank {
namespace {

constexpr std::string_view kOptions1[] = {
    kLittleLitanyOpening,
    kAugmentedLitanyOpening,
    kPeaceLitanyOpening,
    kSupplicationLitanyOpening,
};
constexpr std::string_view kOptions2[] = {
    "камилавка", "стихарь", "епитрахиль", "набедренник", "палица",
};
// The odes of the canon; questions 4 and 6 both offer this list.
constexpr std::string_view kAfterOde[] = {
    "после 6-й",
    "после 7-й",
    "после 8-й",
    "после 9-й",
};
constexpr std::string_view kOptions5[] = {
    "четыре",
    "две",
    "одна",
    "три",
};
constexpr std::string_view kOptions7[] = {
    "''Святый Боже''",
    "''Свете тихий''",
    "''Единородный Сыне''",
    "''Иже херувимы...'' (Херувимская песнь)",
};
constexpr std::string_view kOptions8[] = {
    "''Слава Святей и Единосущней...''",
    "''Благословен Бог наш...''",
    "''Благословенно Царство...''",
    "''Бог Господь и явися нам...''",
};
constexpr std::string_view kOptions9[] = {
    "просфора",
    "антидор",
    "артос",
    "опреснок",
};
constexpr std::string_view kOptions10[] = {
    "7-я",
    "8-я",
    "9-я",
    "10-я",
};
constexpr std::string_view kOptions11[] = {
    "во время великого входа",
    "во время малого входа",
    "после чтения Евангелия",
};

constexpr std::string_view kReadTheLaw = "Неверно. Читайте Закон Божий.";
constexpr std::string_view kReadTheOrder = "Неверно. Читайте чинопоследование и будьте внимательней на богослужении.";

} // namespace

constexpr TestVariant variant3{
    .number = 3,
    .window = "Form4",
    .questions = {{
        {.prompt = "1) Просительная ектения начинается словами:",
         .options = kOptions1,
         .correct = 3,
         .reproach = kReadTheLaw},
        {.prompt = "2) Необходимой частью священнического облачения является ...",
         .options = kOptions2,
         .correct = 2,
         .reproach = "Неверно. Спросите у священника."},
        {.prompt = "3) С чем совершается вход на вечерне?",
         .options = kEntranceObjects,
         .correct = 0,
         .reproach = kReadTheOrder},
        {.prompt = "4) После какой песни канона совершается каждение?",
         .options = kAfterOde,
         .correct = 2,
         .reproach = "Неверно. Спросите у священнослужителя."},
        {.prompt = "5) Сколько малых ектений возглашается на утрени от начала чтения канона?",
         .options = kOptions5,
         .correct = 3,
         .reproach = "Неверно. Читайте чинопоследование и будьте внимательней на утрени."},
        {.prompt = "6) После какой песни канона диакон возглашает ''Богородицу и Матерь Света... ''?",
         .options = kAfterOde,
         .correct = 2,
         .reproach = "Неверно. Послушайте внимательно утреню."},
        {.prompt = "7) Во время великого входа на литургии поётся...",
         .options = kOptions7,
         .correct = 3,
         .reproach = kReadTheOrder},
        {.prompt = "8) Литургия начинается с возгласа...", .options = kOptions8, .correct = 2, .reproach = "Неверно."},
        {.prompt = "9) Хлеб для совершения Таинства Причащения называется...",
         .options = kOptions9,
         .correct = 0,
         .reproach = "Неверно. Спросите у просфорницы."},
        {.prompt = "10) Какая заповедь запрещает даже мысленно покушаться на чужое имение?",
         .options = kOptions10,
         .correct = 3,
         .reproach = "Неверно. Заповеди надо знать хорошо."},
        {.prompt = "11) Когда на литургии Иоанна Златоуста поются Заповеди Блаженств (''Блаженны'', третий антифон)?",
         .options = kOptions11,
         .correct = 1,
         .reproach = kReadTheLaw},
        {.prompt = "12) Какой член Символа Веры говорит о Едином (единственном) Крещении?",
         .options = kCreedArticles,
         .correct = 4,
         .reproach = "Неверно. Читайте Символ Веры и его изъяснение в Законе Божием."},
    }},
};

} // namespace velitar::bank
