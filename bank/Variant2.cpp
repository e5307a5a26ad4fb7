// SPDX-License-Identifier: GPL-3.0-or-later
// Variant 2, taken in Form3: the little litany, the Beatitudes, the Great Entrance, the deacon's vestment,
// Matins, the proskomedia, the evening services, the second commandment, the second part of the Liturgy and
// the word consubstantial in the Creed.
#include "bank/SharedOptions.h"
#include "bank/Variants.h"

namespace velitar::bank {
namespace {

constexpr std::string_view kOptions1[] = {
    kSupplicationLitanyOpening,
    kLittleLitanyOpening,
    kAugmentedLitanyOpening,
    kPeaceLitanyOpening,
};
constexpr std::string_view kOptions2[] = {
    "на великом входе",
    "после мирной ектении",
    "на малом входе",
    "после чтения Евангелия",
};
constexpr std::string_view kOptions4[] = {
    "подризник",
    "орарь",
    "фелонь",
    "стихарь",
};
constexpr std::string_view kOptions5[] = {
    "стихиры",
    "паремии",
    "кафизмы",
    "''Блаженны''",
};
constexpr std::string_view kOptions7[] = {
    "8-й песни канона",
    "9-й песни канона",
    "3-й песни канона",
    "6-й песни канона",
};
constexpr std::string_view kOptions9[] = {
    "тропарь",
    "кондак",
    "прокимен",
    "Символ Веры",
};
constexpr std::string_view kOptions10[] = {
    "2-я заповедь декалога",
    "3-я заповедь декалога",
    "4-я заповедь декалога",
    "7-я заповедь декалога",
};
constexpr std::string_view kOptions12[] = {
    "во 2-м", "в 3-м", "в 4-м", "в 7-м", "в 9-м",
};

constexpr std::string_view kReadTheLaw = "Неверно. Читайте Закон Божий.";

} // namespace

// Question 1's prompt ends with CR LF, a blank and CR LF: the multi-line question box
// shows a line with one blank and an empty line under it.
constexpr TestVariant variant2{
    .number = 2,
    .window = "Form3",
    .questions = {{
        {.prompt = "1) Малая ектения начинается словами:\r\n \r\n",
         .options = kOptions1,
         .correct = 1,
         .reproach = kReadTheLaw},
        {.prompt = "2) Когда на Литургии поются Заповеди Блаженств (''Блаженны'', третий антифон)?",
         .options = kOptions2,
         .correct = 2,
         .reproach = "Неверно. Читайте Закон Божий и будьте внимательней на литургии."},
        {.prompt = "3) С чем совершается великий вход на литургии?",
         .options = kEntranceObjects,
         .correct = 2,
         .reproach = "Неверно. Будьте внимательней на литургии."},
        {.prompt = "4) Верхняя одежда диакона называется...",
         .options = kOptions4,
         .correct = 3,
         .reproach = "Неверно. Спросите у диакона."},
        {.prompt = "5) После ''Бог Господь...'' и тропарей на утрени читаются...",
         .options = kOptions5,
         .correct = 2,
         .reproach = "Неверно. Спросите у регента."},
        {.prompt = "6) Сколько просфор нужно для совершения проскомидии?",
         .options = kProsphoraCounts,
         .correct = 2,
         .reproach = kReadTheLaw},
        {.prompt = "7) Церковь поёт Песнь Богородицы на утрени после...",
         .options = kOptions7,
         .correct = 0,
         .reproach = "Неверно. Читайте Закон Божий и будьте внимательней на богослужении."},
        {.prompt = "8) Самое торжественное вечернее богослужение это -",
         .options = kEveningServices,
         .correct = 1,
         .reproach = kReadTheLaw},
        {.prompt = "9) Перед чтением апостольских писаний (Апостола) на литургии поётся...",
         .options = kOptions9,
         .correct = 2,
         .reproach = "Неверно. Спросите у чтеца."},
        {.prompt = "10) Произносить Имя Божие всуе запрещает...",
         .options = kOptions10,
         .correct = 1,
         .reproach = "Неверно. Заповеди надо знать хорошо."},
        {.prompt = "11) Вторая часть литургии называется...",
         .options = kLiturgyParts,
         .correct = 0,
         .reproach = kReadTheLaw},
        {.prompt =
             "12) В каком члене Символа Веры определен ключевой термин догмата о Пресвятой Троице - ''единосущие''?",
         .options = kOptions12,
         .correct = 0,
         .reproach = "Неверно. Читайте Символ Веры и его изъяснение в Законе Божием."},
    }},
};

} // namespace velitar::bank
