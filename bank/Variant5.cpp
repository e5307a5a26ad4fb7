// SPDX-License-Identifier: GPL-3.0-or-later
// Variant 5, taken in Form2: the great (peace) litany, the exclamation ''Вонмем!'', the proskomedia, the
// canon at Matins, the little entrance, the litanies and the Beatitudes at the Liturgy, the Liturgies served,
// the second commandment, the first part of the Liturgy and the Creed on the Church.
#include "bank/SharedOptions.h"
#include "bank/Variants.h"

namespace velitar::bank {
namespace {

constexpr std::string_view kOptions1[] = {
    kAugmentedLitanyOpening,
    kLittleLitanyOpening,
    kPeaceLitanyOpening,
    kSupplicationLitanyOpening,
};
constexpr std::string_view kOptions4[] = {
    "на 3-й",
    "на 6-й",
    "на 8-й",
    "на 9-й",
};
constexpr std::string_view kOptions7[] = {
    "мирная, малая и малая",
    "мирная, малая и просительная",
    "мирная, малая и сугубая",
    "мирная, малая и о оглашенных",
};
constexpr std::string_view kOptions8[] = {
    "''Святый Боже...''",
    "''Помилуй мя, Боже...''",
    "''Во Царствии Твоем помяни нас, Господи...''",
    "''Бог Господь и явися нам...''",
};

constexpr std::string_view kReadTheLaw = " Неверно. Читайте Закон Божий.";

} // namespace

// Every reproach of this variant but question 5's begins with one blank, which the
// verdict label shows as part of the text.
constexpr TestVariant variant5{
    .number = 5,
    .window = "Form2",
    .questions = {{
        {.prompt = "1) Великая (мирная) ектения начинается словами:",
         .options = kOptions1,
         .correct = 2,
         .reproach = kReadTheLaw},
        {.prompt = "2) Возглас ''Вонмем!'' означает:",
         .options = kVonmemMeanings,
         .correct = 2,
         .reproach = " Неверно. Читайте пояснение к богослужению и словарь."},
        {.prompt = "3) Приготовление хлеба и вина к священнодействию Таинства Причащения совершается на...",
         .options = kPreparationServices,
         .correct = 1,
         .reproach = kReadTheLaw},
        {.prompt = "4) На какой песни канона вместо ''Слава...'' читается ''Благословим...''?",
         .options = kOptions4,
         .correct = 2,
         .reproach = " Неверно. Будьте внимательней на утрени."},
        {.prompt = "5) Как называется самая торжественная часть утрени?",
         .options = kMatinsParts,
         .correct = 1,
         .reproach =
             "Неверно. Обратите внимание, когда зажигается паникадило и священнослужители выходят на середину храма."},
        {.prompt = "6) С чем совершается малый вход на литургии?",
         .options = kEntranceObjects,
         .correct = 1,
         .reproach = " Неверно. Будьте внимательней на литургии."},
        {.prompt = "7) Первые три ектении на литургии это - ",
         .options = kOptions7,
         .correct = 0,
         .reproach = " Неверно. Читайте чинопоследование литургии и будьте внимательней на богослужении."},
        {.prompt = "8) ''Блаженны'' (пение Заповедей Блаженств на литургии) начинаются словами:",
         .options = kOptions8,
         .correct = 2,
         .reproach = " Неверно. Спросите у диакона, или просто будьте внимательней на утрени."},
        {.prompt = "9) Чаще всего Церковь служит литургию...",
         .options = kLiturgyAuthors,
         .correct = 2,
         .reproach = kReadTheLaw},
        {.prompt = "10) Вторая заповедь декалога гласит:",
         .options = kDecalogueSayings,
         .correct = 0,
         .reproach = " Неверно. Заповеди надо знать хорошо."},
        {.prompt = "11) Первая часть литургии называется...",
         .options = kLiturgyParts,
         .correct = 2,
         .reproach = kReadTheLaw},
        {.prompt = "12) Какой член Символа Веры говорит о вере во Единую Святую Соборную и Апостольскую Церковь?",
         .options = kCreedArticles,
         .correct = 1,
         .reproach = " Неверно. Читайте Символ Веры и его изъяснение в Законе Божием."},
    }},
};

} // namespace velitar::bank
