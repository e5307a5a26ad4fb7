// SPDX-License-Identifier: GPL-3.0-or-later
// Variant 4, taken in Form5: the augmented litany, the priest's vestment, the proskomedia, Matins, the
// evening services, the exclamation ''Вонмем!'', the Great Entrance, the Liturgies served, the ninth
// commandment, the third part of the Liturgy and the Creed on the incarnation.
#include "bank/SharedOptions.h"
#include "bank/Variants.h"

namespace velitar::bank {
namespace {

constexpr std::string_view kOptions1[] = {
    kPeaceLitanyOpening,
    kLittleLitanyOpening,
    kAugmentedLitanyOpening,
    kSupplicationLitanyOpening,
};
constexpr std::string_view kOptions2[] = {
    "подризник", "стихарь", "фелонь", "орарь", "епитрахиль",
};
constexpr std::string_view kOptions10[] = {
    "7-я заповедь",
    "8-я заповедь",
    "9-я заповедь",
    "10-я заповедь",
};

constexpr std::string_view kReadTheLaw = "Неверно. Читайте Закон Божий.";

} // namespace

constexpr TestVariant variant4{
    .number = 4,
    .window = "Form5",
    .questions = {{
        {.prompt = "1) Сугубая ектения начинается словами:",
         .options = kOptions1,
         .correct = 2,
         .reproach = kReadTheLaw},
        {.prompt = "2) Верхняя священническая одежда называется...",
         .options = kOptions2,
         .correct = 2,
         .reproach = "Неверно. Спросите у священника."},
        {.prompt = "3) Приготовление хлеба и вина к священнодействию Таинства Причащения совершается на...",
         .options = kPreparationServices,
         .correct = 1,
         .reproach = kReadTheLaw},
        {.prompt = "4) Сколько просфор нужно для совершения проскомидии?",
         .options = kProsphoraCounts,
         .correct = 2,
         .reproach = kReadTheLaw},
        {.prompt = "5) Как называется самая торжественная часть утрени?",
         .options = kMatinsParts,
         .correct = 1,
         .reproach =
             "Неверно. Обратите внимание, когда зажигается паникадило и священнослужители выходят на середину храма."},
        {.prompt = "6) Самое торжественное вечернее богослужение это -",
         .options = kEveningServices,
         .correct = 1,
         .reproach = kReadTheLaw},
        {.prompt = "7) Возглас ''Вонмем!'' означает:",
         .options = kVonmemMeanings,
         .correct = 2,
         .reproach = "Неверно. Спросите у священника или прочитайте в словаре."},
        {.prompt = "8) С чем совершается великий вход (на литургии)?",
         .options = kEntranceObjects,
         .correct = 2,
         .reproach = "Неверно. Будьте внимательней на литургии."},
        {.prompt = "9) Чаще всего Церковь служит литургию...",
         .options = kLiturgyAuthors,
         .correct = 2,
         .reproach = kReadTheLaw},
        {.prompt = "10) Лжесвидетельствовать запрещает ...",
         .options = kOptions10,
         .correct = 2,
         .reproach = "Неверно. Заповеди надо знать хорошо."},
        {.prompt = "11) Третья часть литургии называется...",
         .options = kLiturgyParts,
         .correct = 1,
         .reproach = kReadTheLaw},
        {.prompt = "12) Какой член Символа Веры говорит о воплощении Сына Божия?",
         .options = kCreedArticles,
         .correct = 2,
         .reproach = "Неверно. Читайте Символ Веры и его изъяснение в Законе Божием."},
    }},
};

} // namespace velitar::bank
