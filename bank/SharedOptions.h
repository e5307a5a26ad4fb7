// SPDX-License-Identifier: GPL-3.0-or-later
// Option texts and option lists that several variants offer word for word and
// in the same order. Each variant still holds its own questions; only the
// constant texts are kept once here.
#pragma once

#include <string_view>

namespace velitar::bank {

// The opening words of the four litanies. Every variant's question 1 offers
// all four, each variant in an order of its own.
inline constexpr std::string_view kPeaceLitanyOpening = "''Миром Господу помолимся.''";
inline constexpr std::string_view kLittleLitanyOpening = "''Паки и паки миром Господу помолимся.''";
inline constexpr std::string_view kAugmentedLitanyOpening = "''(Рцем вси...) Помилуй нас, Боже...''";
inline constexpr std::string_view kSupplicationLitanyOpening = "''Исполним... молитву нашу Господеви.''";

// The most solemn part of Matins. Variant.question 1.5, 4.5 and 5.5.
inline constexpr std::string_view kMatinsParts[] = {
    "лития",
    "полиелей",
    "акафист",
    "отпуст",
};

// Commandments of the Decalogue. Variant.question 1.10 and 5.10.
inline constexpr std::string_view kDecalogueSayings[] = {
    "''Не сотвори себе кумира''",
    "''Не убий''",
    "''Не укради''",
    "''Почитай отца и мать''",
};

// The parts of the Liturgy. Variant.question 1.11, 2.11, 4.11 and 5.11.
inline constexpr std::string_view kLiturgyParts[] = {
    "литургия оглашенных",
    "литургия верных",
    "проскомидия",
    "обедня",
};

// Articles of the Creed. Variant.question 1.12, 3.12, 4.12 and 5.12.
inline constexpr std::string_view kCreedArticles[] = {
    "8-й", "9-й", "3-й", "11-й", "10-й",
};

// With what an entrance is made. Variant.question 2.3, 3.3, 4.8 and 5.6.
inline constexpr std::string_view kEntranceObjects[] = {
    "с кадилом",
    "с Евангелием",
    "со Святыми Дарами",
    "с Апостолом",
};

// How many prosphoras the proskomedia needs. Variant.question 2.6 and 4.4.
inline constexpr std::string_view kProsphoraCounts[] = {
    "две",
    "семь",
    "пять",
    "три",
};

// The most solemn evening service. Variant.question 2.8 and 4.6.
inline constexpr std::string_view kEveningServices[] = {
    "славословная служба",
    "Всенощное бдение",
    "полиелейная служба",
};

// Where the bread and wine are prepared for Communion. Variant.question 4.3 and 5.3.
inline constexpr std::string_view kPreparationServices[] = {
    "литургии оглашенных",
    "проскомидии",
    "утрени",
    "литургии верных",
};

// What the exclamation ''Вонмем!'' means. Variant.question 4.7 and 5.2.
inline constexpr std::string_view kVonmemMeanings[] = {
    "''Воспрянем!''",
    "''Взойдём!''",
    "''Внемлем!''",
    "''Войдём!''",
};

// Which Liturgy is served most often. Variant.question 4.9 and 5.9.
inline constexpr std::string_view kLiturgyAuthors[] = {
    "Апостола Иакова", "Василия Великого", "Иоанна Златоустого", "Преждеосвященных Даров", "Григория Богослова",
};

} // namespace velitar::bank
