// SPDX-License-Identifier: GPL-3.0-or-later
// Variant 1, taken in Form6: the augmented litany, the deacon's orarion, Matins and the polyeleos, the fifth
// commandment, the third part of the Liturgy and the Creed on the Holy Spirit.
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
    "Евангелие", "стихарь", "стихарь со орарем", "орарь", "ничего",
};
constexpr std::string_view kOptions3[] = {
    "акафист", "тропарь", "шестопсалмие", "Апостол", "седален",
};
constexpr std::string_view kOptions4[] = {
    "разделов",
    "глав",
    "кафизм",
    "псалмов",
};
constexpr std::string_view kOptions6[] = {
    "''Помилуй мя, Боже...''",
    "''Господи, услыши молитву мою...''",
    "''Хвалите имя Господне...''",
    "''Хвалите Бога во святых Его...''",
};
constexpr std::string_view kOptions7[] = {
    "диакон",
    "архиерей или священник",
    "священник",
    "псаломщик",
};
constexpr std::string_view kOptions8[] = {
    "''Вонмем!''",
    "''Миром Господу помолимся!''",
    "''Премудрость!''",
    "''Бог Господь и явися нам...''",
};
constexpr std::string_view kOptions9[] = {
    "''Помилуй мя, Боже...''",
    "''Воскресение Христово видевше...''",
    "''Утверди, Боже...''",
    "''Святый Боже...''",
};

constexpr std::string_view kReadTheLaw = "Неверно. Читайте Закон Божий.";
constexpr std::string_view kAttendMatins = "Неверно. Будьте внимательней на утрени.";

} // namespace

constexpr TestVariant variant1{
    .number = 1,
    .window = "Form6",
    .questions = {{
        {.prompt = "1) Сугубая ектения начинается словами:",
         .options = kOptions1,
         .correct = 1,
         .reproach = kReadTheLaw},
        {.prompt = "2) Что держит диакон в трёх перстах, возглашая ектении?",
         .options = kOptions2,
         .correct = 3,
         .reproach = "Неверно. Спросите у диакона."},
        {.prompt = "3) После песнопения ''Слава в вышних Богу...'' на Всенощном бдении читается...",
         .options = kOptions3,
         .correct = 2,
         .reproach = kAttendMatins},
        {.prompt = "4) Для чтения на богослужении Псалтырь делится на 20...",
         .options = kOptions4,
         .correct = 2,
         .reproach = "Неверно. Спросите у регента или загляните в Псалтырь."},
        {.prompt = "5) Как называется самая торжественная часть утрени?",
         .options = kMatinsParts,
         .correct = 1,
         .reproach =
             "Неверно. Обратите внимание, когда зажигается паникадило и священнослужители выходят на середину храма."},
        {.prompt = "6) Полиелей начинается пением стихов из 134-го и 135-го псалмов - ...",
         .options = kOptions6,
         .correct = 2,
         .reproach = "Неверно. Послушайте внимательно утреню."},
        {.prompt = "7) На полиелее Евангелие читает...",
         .options = kOptions7,
         .correct = 1,
         .reproach = "Неверно. Спросите у священника."},
        {.prompt = "8) После великой ектении на утрени диакон возглашает:",
         .options = kOptions8,
         .correct = 3,
         .reproach = "Неверно. Спросите у диакона, или просто будьте внимательней на утрени."},
        {.prompt = "9) После чтения Евангелия на воскресном Всенощном бдении Церковь поёт:",
         .options = kOptions9,
         .correct = 1,
         .reproach = kAttendMatins},
        {.prompt = "10) Пятая заповедь декалога гласит:",
         .options = kDecalogueSayings,
         .correct = 3,
         .reproach = "Неверно. Заповеди надо знать хорошо."},
        {.prompt = "11) Третья часть литургии называется...",
         .options = kLiturgyParts,
         .correct = 1,
         .reproach = kReadTheLaw},
        {.prompt = "12) Какой член Символа Веры говорит о Святом Духе?",
         .options = kCreedArticles,
         .correct = 0,
         .reproach = "Неверно. Читайте Символ Веры и его изъяснение в Законе Божием."},
    }},
};

} // namespace velitar::bank
