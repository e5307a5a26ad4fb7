// SPDX-License-Identifier: GPL-3.0-or-later
// The constant content of the five test variants: the windows they are bound
// to, the option counts, the right answers and the texts where a blank, a
// quote or an index is easy to get wrong. Every expected text is written out
// here, so a slip in the bank shows up as a difference.
#include "engine/QuestionBank.h"

#include <QtTest>

#include <array>
#include <string_view>

using velitar::Question;
using velitar::questionBank;

namespace {

QString str(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

const Question& question(int variant, int k) { return questionBank().variant(variant).question(k); }

QString optionText(int variant, int k, int index)
{
    return str(question(variant, k).options[static_cast<std::size_t>(index)]);
}

QStringList optionTexts(int variant, int k)
{
    QStringList texts;
    for (std::string_view option : question(variant, k).options)
        texts << str(option);
    return texts;
}

// Options per question, variant by variant.
constexpr int kOptionCounts[5][12] = {
    {4, 5, 5, 4, 4, 4, 4, 4, 4, 4, 4, 5}, // variant 1
    {4, 4, 4, 4, 4, 4, 4, 3, 4, 4, 4, 5}, // variant 2
    {4, 5, 4, 4, 4, 4, 4, 4, 4, 4, 3, 5}, // variant 3
    {4, 5, 4, 4, 4, 3, 4, 4, 5, 4, 4, 5}, // variant 4
    {4, 4, 4, 4, 4, 4, 4, 4, 5, 4, 4, 5}, // variant 5
};

// Calls f(variant, k, question) for all sixty questions, up to the first failed check.
template <typename F> void forEachQuestion(F f)
{
    for (int v = 1; v <= 5; ++v)
        for (int k = 1; k <= 12; ++k) {
            f(v, k, question(v, k));
            if (QTest::currentTestFailed())
                return;
        }
}

QString where(int variant, int k) { return QStringLiteral("variant %1, question %2").arg(variant).arg(k); }

} // namespace

class TestBank : public QObject {
    Q_OBJECT

private slots:
    void variantsAreBoundToTheirWindows();
    void optionCounts();
    void everyQuestionCanBeAnsweredAndReproached();
    void promptsAreNumbered();
    void blanksQuotesAndLineBreaks();
    void answerKeys_data();
    void answerKeys();
    void litanyOpeningsInEachVariantsOrder();
    void listsOfferedByManyQuestions();
    void variant1Texts();
    void variant2Texts();
    void variant3Texts();
    void variant4Texts();
    void variant5Texts();
};

void TestBank::variantsAreBoundToTheirWindows()
{
    const std::array<std::string_view, 5> windows = {"Form6", "Form3", "Form4", "Form5", "Form2"};
    for (int n = 1; n <= 5; ++n) {
        const auto& variant = questionBank().variant(n);
        QCOMPARE(variant.number, n);
        QCOMPARE(str(variant.window), str(windows[static_cast<std::size_t>(n - 1)]));
        for (int m = 1; m < n; ++m)
            QVERIFY(&questionBank().variant(m) != &variant);
    }
}

void TestBank::optionCounts()
{
    int questions = 0;
    int options = 0;
    int withFour = 0;
    int withFive = 0;
    int withThree = 0;
    forEachQuestion([&](int v, int k, const Question& q) {
        const int count = static_cast<int>(q.options.size());
        QVERIFY2(count == kOptionCounts[v - 1][k - 1], qPrintable(where(v, k)));
        if (!q.prompt.empty())
            ++questions;
        options += count;
        withThree += count == 3;
        withFour += count == 4;
        withFive += count == 5;
    });
    QCOMPARE(questions, 60);
    QCOMPARE(options, 248);
    QCOMPARE(withFour, 46);
    QCOMPARE(withFive, 11);
    QCOMPARE(withThree, 3);
    for (int v = 1; v <= 5; ++v)
        QCOMPARE(question(v, 12).options.size(), std::size_t{5});
}

void TestBank::everyQuestionCanBeAnsweredAndReproached()
{
    const QString rightVerdict = QStringLiteral(" Ответ правильный.");
    forEachQuestion([&](int v, int k, const Question& q) {
        QVERIFY2(q.correct >= 0 && q.correct < static_cast<int>(q.options.size()), qPrintable(where(v, k)));
        const QString reproach = str(q.reproach);
        // The flow tells a right answer from a wrong one by the verdict text.
        QVERIFY2(reproach != rightVerdict, qPrintable(where(v, k)));
        QVERIFY2(reproach.startsWith(QStringLiteral("Неверно.")) || reproach.startsWith(QStringLiteral(" Неверно.")),
                 qPrintable(where(v, k) + QStringLiteral(": ") + reproach));
        for (std::string_view option : q.options)
            QVERIFY2(!option.empty(), qPrintable(where(v, k)));
    });
}

void TestBank::promptsAreNumbered()
{
    forEachQuestion([&](int v, int k, const Question& q) {
        const QString prompt = str(q.prompt);
        const QString number = QString::number(k) + QStringLiteral(") ");
        QVERIFY2(prompt.startsWith(number), qPrintable(where(v, k) + QStringLiteral(": ") + prompt));
        QVERIFY2(prompt.size() > number.size() && prompt.at(number.size()) != QLatin1Char(' '),
                 qPrintable(where(v, k)));
    });
}

void TestBank::blanksQuotesAndLineBreaks()
{
    forEachQuestion([&](int v, int k, const Question& q) {
        const QString at = where(v, k);
        const QString prompt = str(q.prompt);
        const QString reproach = str(q.reproach);

        // Only variant 2's first prompt carries line breaks, and only variant
        // 5's seventh ends with a blank.
        const bool breaks = v == 2 && k == 1;
        QVERIFY2(prompt.contains(QLatin1Char('\r')) == breaks, qPrintable(at));
        QVERIFY2(prompt.contains(QLatin1Char('\n')) == breaks, qPrintable(at));
        QVERIFY2(prompt.endsWith(QLatin1Char(' ')) == (v == 5 && k == 7), qPrintable(at));

        // Variant 5's reproaches begin with one blank, all but question 5's.
        const bool leadingBlank = v == 5 && k != 5;
        QVERIFY2(reproach.startsWith(QLatin1Char(' ')) == leadingBlank, qPrintable(at));
        QVERIFY2(!reproach.startsWith(QStringLiteral("  ")), qPrintable(at));
        QVERIFY2(!reproach.endsWith(QLatin1Char(' ')), qPrintable(at));

        QStringList texts = optionTexts(v, k);
        for (const QString& option : texts)
            QVERIFY2(!option.startsWith(QLatin1Char(' ')) && !option.endsWith(QLatin1Char(' ')),
                     qPrintable(at + QStringLiteral(": ") + option));
        texts << prompt << reproach;
        for (const QString& text : texts) {
            // Quotation marks are always two apostrophes, never a lone one or a double quote.
            QString rest = text;
            rest.remove(QStringLiteral("''"));
            QVERIFY2(!rest.contains(QLatin1Char('\'')) && !rest.contains(QLatin1Char('"')),
                     qPrintable(at + QStringLiteral(": ") + text));
            QVERIFY2(!text.contains(QStringLiteral("  ")), qPrintable(at + QStringLiteral(": ") + text));
            QVERIFY2(!text.contains(QChar(0x2026)), qPrintable(at)); // an ellipsis is three full stops
        }
    });
}

void TestBank::answerKeys_data()
{
    QTest::addColumn<int>("variant");
    QTest::addColumn<int>("k");
    QTest::addColumn<int>("correct");
    QTest::addColumn<QString>("answer");

    QTest::newRow("1.1") << 1 << 1 << 1 << QStringLiteral("''(Рцем вси...) Помилуй нас, Боже...''");
    QTest::newRow("1.2") << 1 << 2 << 3 << QStringLiteral("орарь");
    QTest::newRow("1.3") << 1 << 3 << 2 << QStringLiteral("шестопсалмие");
    QTest::newRow("1.4") << 1 << 4 << 2 << QStringLiteral("кафизм");
    QTest::newRow("1.5") << 1 << 5 << 1 << QStringLiteral("полиелей");
    QTest::newRow("1.6") << 1 << 6 << 2 << QStringLiteral("''Хвалите имя Господне...''");
    QTest::newRow("1.7") << 1 << 7 << 1 << QStringLiteral("архиерей или священник");
    QTest::newRow("1.8") << 1 << 8 << 3 << QStringLiteral("''Бог Господь и явися нам...''");
    QTest::newRow("1.9") << 1 << 9 << 1 << QStringLiteral("''Воскресение Христово видевше...''");
    QTest::newRow("1.10") << 1 << 10 << 3 << QStringLiteral("''Почитай отца и мать''");
    QTest::newRow("1.11") << 1 << 11 << 1 << QStringLiteral("литургия верных");
    QTest::newRow("1.12") << 1 << 12 << 0 << QStringLiteral("8-й");

    QTest::newRow("2.1") << 2 << 1 << 1 << QStringLiteral("''Паки и паки миром Господу помолимся.''");
    QTest::newRow("2.2") << 2 << 2 << 2 << QStringLiteral("на малом входе");
    QTest::newRow("2.3") << 2 << 3 << 2 << QStringLiteral("со Святыми Дарами");
    QTest::newRow("2.4") << 2 << 4 << 3 << QStringLiteral("стихарь");
    QTest::newRow("2.5") << 2 << 5 << 2 << QStringLiteral("кафизмы");
    QTest::newRow("2.6") << 2 << 6 << 2 << QStringLiteral("пять");
    QTest::newRow("2.7") << 2 << 7 << 0 << QStringLiteral("8-й песни канона");
    QTest::newRow("2.8") << 2 << 8 << 1 << QStringLiteral("Всенощное бдение");
    QTest::newRow("2.9") << 2 << 9 << 2 << QStringLiteral("прокимен");
    QTest::newRow("2.10") << 2 << 10 << 1 << QStringLiteral("3-я заповедь декалога");
    QTest::newRow("2.11") << 2 << 11 << 0 << QStringLiteral("литургия оглашенных");
    QTest::newRow("2.12") << 2 << 12 << 0 << QStringLiteral("во 2-м");

    QTest::newRow("3.1") << 3 << 1 << 3 << QStringLiteral("''Исполним... молитву нашу Господеви.''");
    QTest::newRow("3.2") << 3 << 2 << 2 << QStringLiteral("епитрахиль");
    QTest::newRow("3.3") << 3 << 3 << 0 << QStringLiteral("с кадилом");
    QTest::newRow("3.4") << 3 << 4 << 2 << QStringLiteral("после 8-й");
    QTest::newRow("3.5") << 3 << 5 << 3 << QStringLiteral("три");
    QTest::newRow("3.6") << 3 << 6 << 2 << QStringLiteral("после 8-й");
    QTest::newRow("3.7") << 3 << 7 << 3 << QStringLiteral("''Иже херувимы...'' (Херувимская песнь)");
    QTest::newRow("3.8") << 3 << 8 << 2 << QStringLiteral("''Благословенно Царство...''");
    QTest::newRow("3.9") << 3 << 9 << 0 << QStringLiteral("просфора");
    QTest::newRow("3.10") << 3 << 10 << 3 << QStringLiteral("10-я");
    QTest::newRow("3.11") << 3 << 11 << 1 << QStringLiteral("во время малого входа");
    QTest::newRow("3.12") << 3 << 12 << 4 << QStringLiteral("10-й");

    QTest::newRow("4.1") << 4 << 1 << 2 << QStringLiteral("''(Рцем вси...) Помилуй нас, Боже...''");
    QTest::newRow("4.2") << 4 << 2 << 2 << QStringLiteral("фелонь");
    QTest::newRow("4.3") << 4 << 3 << 1 << QStringLiteral("проскомидии");
    QTest::newRow("4.4") << 4 << 4 << 2 << QStringLiteral("пять");
    QTest::newRow("4.5") << 4 << 5 << 1 << QStringLiteral("полиелей");
    QTest::newRow("4.6") << 4 << 6 << 1 << QStringLiteral("Всенощное бдение");
    QTest::newRow("4.7") << 4 << 7 << 2 << QStringLiteral("''Внемлем!''");
    QTest::newRow("4.8") << 4 << 8 << 2 << QStringLiteral("со Святыми Дарами");
    QTest::newRow("4.9") << 4 << 9 << 2 << QStringLiteral("Иоанна Златоустого");
    QTest::newRow("4.10") << 4 << 10 << 2 << QStringLiteral("9-я заповедь");
    QTest::newRow("4.11") << 4 << 11 << 1 << QStringLiteral("литургия верных");
    QTest::newRow("4.12") << 4 << 12 << 2 << QStringLiteral("3-й");

    QTest::newRow("5.1") << 5 << 1 << 2 << QStringLiteral("''Миром Господу помолимся.''");
    QTest::newRow("5.2") << 5 << 2 << 2 << QStringLiteral("''Внемлем!''");
    QTest::newRow("5.3") << 5 << 3 << 1 << QStringLiteral("проскомидии");
    QTest::newRow("5.4") << 5 << 4 << 2 << QStringLiteral("на 8-й");
    QTest::newRow("5.5") << 5 << 5 << 1 << QStringLiteral("полиелей");
    QTest::newRow("5.6") << 5 << 6 << 1 << QStringLiteral("с Евангелием");
    QTest::newRow("5.7") << 5 << 7 << 0 << QStringLiteral("мирная, малая и малая");
    QTest::newRow("5.8") << 5 << 8 << 2 << QStringLiteral("''Во Царствии Твоем помяни нас, Господи...''");
    QTest::newRow("5.9") << 5 << 9 << 2 << QStringLiteral("Иоанна Златоустого");
    QTest::newRow("5.10") << 5 << 10 << 0 << QStringLiteral("''Не сотвори себе кумира''");
    QTest::newRow("5.11") << 5 << 11 << 2 << QStringLiteral("проскомидия");
    QTest::newRow("5.12") << 5 << 12 << 1 << QStringLiteral("9-й");
}

void TestBank::answerKeys()
{
    QFETCH(int, variant);
    QFETCH(int, k);
    QFETCH(int, correct);
    QFETCH(QString, answer);
    QCOMPARE(question(variant, k).correct, correct);
    QCOMPARE(optionText(variant, k, correct), answer);
}

void TestBank::litanyOpeningsInEachVariantsOrder()
{
    const QString peace = QStringLiteral("''Миром Господу помолимся.''");
    const QString little = QStringLiteral("''Паки и паки миром Господу помолимся.''");
    const QString augmented = QStringLiteral("''(Рцем вси...) Помилуй нас, Боже...''");
    const QString supplication = QStringLiteral("''Исполним... молитву нашу Господеви.''");
    QCOMPARE(optionTexts(1, 1), QStringList({little, augmented, peace, supplication}));
    QCOMPARE(optionTexts(2, 1), QStringList({supplication, little, augmented, peace}));
    QCOMPARE(optionTexts(3, 1), QStringList({little, augmented, peace, supplication}));
    QCOMPARE(optionTexts(4, 1), QStringList({peace, little, augmented, supplication}));
    QCOMPARE(optionTexts(5, 1), QStringList({augmented, little, peace, supplication}));
}

void TestBank::listsOfferedByManyQuestions()
{
    struct Use {
        int variant;
        int k;
    };
    const auto offeredBy = [](const QStringList& expected, std::initializer_list<Use> uses) {
        for (const Use& use : uses) {
            if (QTest::currentTestFailed())
                return;
            QVERIFY2(optionTexts(use.variant, use.k) == expected, qPrintable(where(use.variant, use.k)));
        }
    };
    offeredBy({QStringLiteral("литургия оглашенных"), QStringLiteral("литургия верных"), QStringLiteral("проскомидия"),
               QStringLiteral("обедня")},
              {{1, 11}, {2, 11}, {4, 11}, {5, 11}});
    offeredBy({QStringLiteral("8-й"), QStringLiteral("9-й"), QStringLiteral("3-й"), QStringLiteral("11-й"),
               QStringLiteral("10-й")},
              {{1, 12}, {3, 12}, {4, 12}, {5, 12}});
    offeredBy({QStringLiteral("с кадилом"), QStringLiteral("с Евангелием"), QStringLiteral("со Святыми Дарами"),
               QStringLiteral("с Апостолом")},
              {{2, 3}, {3, 3}, {4, 8}, {5, 6}});
    offeredBy({QStringLiteral("''Воспрянем!''"), QStringLiteral("''Взойдём!''"), QStringLiteral("''Внемлем!''"),
               QStringLiteral("''Войдём!''")},
              {{4, 7}, {5, 2}});
    offeredBy({QStringLiteral("после 6-й"), QStringLiteral("после 7-й"), QStringLiteral("после 8-й"),
               QStringLiteral("после 9-й")},
              {{3, 4}, {3, 6}});
}

void TestBank::variant1Texts()
{
    QCOMPARE(str(question(1, 1).prompt), QStringLiteral("1) Сугубая ектения начинается словами:"));
    QCOMPARE(str(question(1, 1).reproach), QStringLiteral("Неверно. Читайте Закон Божий."));
    QCOMPARE(str(question(1, 2).prompt), QStringLiteral("2) Что держит диакон в трёх перстах, возглашая ектении?"));
    QCOMPARE(optionTexts(1, 2),
             QStringList({QStringLiteral("Евангелие"), QStringLiteral("стихарь"), QStringLiteral("стихарь со орарем"),
                          QStringLiteral("орарь"), QStringLiteral("ничего")}));
    QCOMPARE(str(question(1, 2).reproach), QStringLiteral("Неверно. Спросите у диакона."));
    QCOMPARE(str(question(1, 6).prompt),
             QStringLiteral("6) Полиелей начинается пением стихов из 134-го и 135-го псалмов - ..."));
    // The same first option in questions 6 and 9, wrong in both, reproached by each in its own words.
    QCOMPARE(optionText(1, 6, 0), QStringLiteral("''Помилуй мя, Боже...''"));
    QCOMPARE(optionText(1, 9, 0), QStringLiteral("''Помилуй мя, Боже...''"));
    QCOMPARE(str(question(1, 6).reproach), QStringLiteral("Неверно. Послушайте внимательно утреню."));
    QCOMPARE(str(question(1, 9).reproach), QStringLiteral("Неверно. Будьте внимательней на утрени."));
    QCOMPARE(str(question(1, 12).reproach),
             QStringLiteral("Неверно. Читайте Символ Веры и его изъяснение в Законе Божием."));
}

void TestBank::variant2Texts()
{
    const QString first = str(question(2, 1).prompt);
    QCOMPARE(first, QStringLiteral("1) Малая ектения начинается словами:\r\n \r\n"));
    QCOMPARE(first.size(), 41);
    QCOMPARE(str(question(2, 1).reproach), QStringLiteral("Неверно. Читайте Закон Божий."));
    QCOMPARE(str(question(2, 7).reproach),
             QStringLiteral("Неверно. Читайте Закон Божий и будьте внимательней на богослужении."));
    QCOMPARE(str(question(2, 8).prompt), QStringLiteral("8) Самое торжественное вечернее богослужение это -"));
    QCOMPARE(str(question(2, 12).prompt),
             QStringLiteral("12) В каком члене Символа Веры определен ключевой термин догмата о Пресвятой "
                            "Троице - ''единосущие''?"));
    QCOMPARE(optionTexts(2, 12),
             QStringList({QStringLiteral("во 2-м"), QStringLiteral("в 3-м"), QStringLiteral("в 4-м"),
                          QStringLiteral("в 7-м"), QStringLiteral("в 9-м")}));
}

void TestBank::variant3Texts()
{
    QCOMPARE(str(question(3, 2).prompt),
             QStringLiteral("2) Необходимой частью священнического облачения является ..."));
    QCOMPARE(str(question(3, 6).prompt),
             QStringLiteral("6) После какой песни канона диакон возглашает ''Богородицу и Матерь Света... ''?"));
    QCOMPARE(str(question(3, 4).reproach), QStringLiteral("Неверно. Спросите у священнослужителя."));
    QCOMPARE(str(question(3, 6).reproach), QStringLiteral("Неверно. Послушайте внимательно утреню."));
    QCOMPARE(str(question(3, 8).reproach), QStringLiteral("Неверно."));
    QCOMPARE(optionTexts(3, 11),
             QStringList({QStringLiteral("во время великого входа"), QStringLiteral("во время малого входа"),
                          QStringLiteral("после чтения Евангелия")}));
    // The only right answer that is the fifth option.
    QCOMPARE(question(3, 12).correct, 4);
    QCOMPARE(str(question(3, 12).reproach),
             QStringLiteral("Неверно. Читайте Символ Веры и его изъяснение в Законе Божием."));
}

void TestBank::variant4Texts()
{
    QCOMPARE(str(question(4, 1).prompt), QStringLiteral("1) Сугубая ектения начинается словами:"));
    QCOMPARE(str(question(4, 6).prompt), QStringLiteral("6) Самое торжественное вечернее богослужение это -"));
    QCOMPARE(str(question(4, 7).prompt), QStringLiteral("7) Возглас ''Вонмем!'' означает:"));
    QCOMPARE(str(question(4, 7).reproach), QStringLiteral("Неверно. Спросите у священника или прочитайте в словаре."));
    QCOMPARE(str(question(4, 8).prompt), QStringLiteral("8) С чем совершается великий вход (на литургии)?"));
    QCOMPARE(str(question(4, 10).prompt), QStringLiteral("10) Лжесвидетельствовать запрещает ..."));
    QCOMPARE(str(question(4, 10).reproach), QStringLiteral("Неверно. Заповеди надо знать хорошо."));
    // Right answers of variant 4 are never the first or the last option.
    for (int k = 1; k <= 12; ++k)
        QVERIFY2(question(4, k).correct == 1 || question(4, k).correct == 2, qPrintable(where(4, k)));
}

void TestBank::variant5Texts()
{
    QCOMPARE(str(question(5, 1).prompt), QStringLiteral("1) Великая (мирная) ектения начинается словами:"));
    QCOMPARE(str(question(5, 1).reproach), QStringLiteral(" Неверно. Читайте Закон Божий."));
    QCOMPARE(str(question(5, 2).reproach), QStringLiteral(" Неверно. Читайте пояснение к богослужению и словарь."));
    QCOMPARE(str(question(5, 5).reproach),
             QStringLiteral("Неверно. Обратите внимание, когда зажигается паникадило и священнослужители "
                            "выходят на середину храма."));
    QCOMPARE(str(question(5, 7).prompt), QStringLiteral("7) Первые три ектении на литургии это - "));
    QCOMPARE(str(question(5, 7).reproach),
             QStringLiteral(" Неверно. Читайте чинопоследование литургии и будьте внимательней на богослужении."));
    QCOMPARE(str(question(5, 10).reproach), QStringLiteral(" Неверно. Заповеди надо знать хорошо."));
    QCOMPARE(str(question(5, 12).reproach),
             QStringLiteral(" Неверно. Читайте Символ Веры и его изъяснение в Законе Божием."));
}

QTEST_APPLESS_MAIN(TestBank)
#include "test_bank.moc"
