// SPDX-License-Identifier: GPL-3.0-or-later
// The test flow on its own, against a recording stand-in for the window.
#include <QtTest>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "engine/QuestionBank.h"
#include "engine/ScoreSlots.h"
#include "engine/TestFlow.h"

using namespace velitar;

namespace {

// Records what the flow does to the controls; a selection is made by
// setting `selected` before calling List_Click.
class FakeWindow : public TestControls {
public:
    std::map<int, std::vector<std::string>> items;
    std::set<std::string> visible{"List1"};
    std::string text1, text2, label2, label3;
    int selected = -1;
    int addItemCalls = 0;

    void AddItem(int list, std::string_view text) override
    {
        ++addItemCalls;
        items[list].emplace_back(text);
    }
    void setListVisible(int list, bool v) override { show("List" + std::to_string(list), v); }
    std::string listText(int list) const override { return items.at(list).at(static_cast<std::size_t>(selected)); }
    int ListIndex(int) const override { return selected; }
    void setCommandVisible(int command, bool v) override { show("Command" + std::to_string(command), v); }
    void setText1(std::string_view t) override { text1 = t; }
    void setText2(std::string_view t) override { text2 = t; }
    void setLabel2Caption(std::string_view c) override { label2 = c; }
    std::string label2Caption() const override { return label2; }
    void setLabel3Caption(std::string_view c) override { label3 = c; }
    void setLabel6Visible(bool v) override { show("Label6", v); }
    void setLabel7Visible(bool v) override { show("Label7", v); }

    bool isVisible(const std::string& name) const { return visible.count(name) != 0; }

private:
    void show(const std::string& name, bool v)
    {
        if (v)
            visible.insert(name);
        else
            visible.erase(name);
    }
};

struct Run {
    FakeWindow window;
    ScoreSlots scores;
    TestFlow flow;
    explicit Run(const TestVariant& v) : flow(v, scores, window) { flow.Form_Load(); }

    // Answers question k with option `index` (moving to it first for k > 1).
    void answer(int k, int index)
    {
        if (k > 1)
            flow.Command_Click(k);
        window.selected = index;
        flow.List_Click(k);
    }
    int wrongIndex(int k) const { return flow.variant().question(k).correct == 0 ? 1 : 0; }
    int rightIndex(int k) const { return flow.variant().question(k).correct; }
};

} // namespace

class TestFlowTest : public QObject {
    Q_OBJECT
private slots:
    void loadFillsEveryListOnceInOrder()
    {
        Run run(questionBank().variant(1));
        QCOMPARE(run.window.items.size(), std::size_t(12));
        QCOMPARE(run.window.items[2],
                 (std::vector<std::string>{"Евангелие", "стихарь", "стихарь со орарем", "орарь", "ничего"}));
        QCOMPARE(run.window.addItemCalls, 51);
    }

    void allRightCountsUpToTwelveAndPasses_data()
    {
        QTest::addColumn<int>("variant");
        for (int v = 1; v <= kVariantCount; ++v)
            QTest::addRow("variant %d", v) << v;
    }
    void allRightCountsUpToTwelveAndPasses()
    {
        QFETCH(int, variant);
        Run run(questionBank().variant(variant));
        for (int k = 1; k <= 12; ++k) {
            run.answer(k, run.rightIndex(k));
            QCOMPARE(run.window.label2, std::string(" Ответ правильный."));
            QCOMPARE(run.window.text2, std::to_string(k));
            QVERIFY(!run.window.isVisible("List" + std::to_string(k)));
            QCOMPARE(run.window.isVisible("Command" + std::to_string(k + 1)), k < 12);
        }
        QVERIFY(run.window.isVisible("Label6"));
        QVERIFY(!run.window.isVisible("Label7"));
        QCOMPARE(run.scores.slot(11), std::int16_t(11));
    }

    void oneWrongAnywherePasses()
    {
        for (int wrong = 1; wrong <= 12; ++wrong) {
            Run run(questionBank().variant(2));
            for (int k = 1; k <= 12; ++k)
                run.answer(k, k == wrong ? run.wrongIndex(k) : run.rightIndex(k));
            QCOMPARE(run.window.text2, std::string("11"));
            QVERIFY2(run.window.isVisible("Label6") && !run.window.isVisible("Label7"),
                     qPrintable(QString::number(wrong)));
            QCOMPARE(run.scores.slot(11), std::int16_t(wrong == 12 ? 11 : 10));
        }
    }

    void twoWrongOrMoreFail()
    {
        for (int rightCount = 0; rightCount <= 10; ++rightCount) {
            Run run(questionBank().variant(1));
            for (int k = 1; k <= 12; ++k)
                run.answer(k, k <= rightCount ? run.rightIndex(k) : run.wrongIndex(k));
            QCOMPARE(run.window.text2, std::to_string(rightCount));
            QVERIFY(run.window.isVisible("Label7"));
            QVERIFY(!run.window.isVisible("Label6"));
        }
    }

    void noneRightShowsZeroEveryTime()
    {
        Run run(questionBank().variant(1));
        for (int k = 1; k <= 12; ++k) {
            run.answer(k, run.wrongIndex(k));
            QCOMPARE(run.window.text2, std::string("0"));
            QCOMPARE(run.window.label2, std::string(run.flow.variant().question(k).reproach));
        }
        QVERIFY(run.window.isVisible("Label7"));
    }

    void firstAnswerAssignsTheSlotInsteadOfAdding()
    {
        // The slots are shared by the whole program and never reset: a
        // second test in the same slots starts from the first answer again.
        ScoreSlots shared;
        shared.setSlot(1, 7);
        FakeWindow window;
        TestFlow flow(questionBank().variant(1), shared, window);
        flow.Form_Load();
        window.selected = 0; // wrong in variant 1, question 1
        flow.List_Click(1);
        QCOMPARE(window.text2, std::string("0"));
        QCOMPARE(shared.slot(1), std::int16_t(0));
    }

    void movingShowsThePromptAndBlanksTheLabels()
    {
        Run run(questionBank().variant(1));
        run.answer(1, 1);
        QCOMPARE(run.window.label3, std::string("''(Рцем вси...) Помилуй нас, Боже...''"));
        run.flow.Command_Click(2);
        QCOMPARE(run.window.text1, std::string("2) Что держит диакон в трёх перстах, возглашая ектении?"));
        QCOMPARE(run.window.label2, std::string(" "));
        QCOMPARE(run.window.label3, std::string(" "));
        QVERIFY(run.window.isVisible("List2"));
        QVERIFY(run.window.isVisible("Command2")); // hidden only by the answer

        const FakeWindow before = run.window;
        run.flow.Command_Click(2); // pressed again before answering
        QCOMPARE(run.window.visible, before.visible);
        QCOMPARE(run.window.text1, before.text1);
        QCOMPARE(run.window.text2, before.text2);
        QCOMPARE(run.window.label2, before.label2);

        run.window.selected = 4; // "ничего"
        run.flow.List_Click(2);
        QCOMPARE(run.window.label3, std::string("ничего"));
        QCOMPARE(run.window.label2, std::string("Неверно. Спросите у диакона."));
        QCOMPARE(run.window.text2, std::string("1"));
        QVERIFY(!run.window.isVisible("Command2"));
        QVERIFY(run.window.isVisible("Command3"));
    }

    void aListWithNothingSelectedIsNotJudged()
    {
        Run run(questionBank().variant(1));
        run.window.selected = -1;
        run.flow.List_Click(1);
        QVERIFY(run.window.text2.empty());
        QVERIFY(run.window.isVisible("List1"));
    }

    void numbersOutsideTheWindowAreRejected()
    {
        Run run(questionBank().variant(1));
        QVERIFY_THROWS_EXCEPTION(std::out_of_range, run.flow.Command_Click(1));
        QVERIFY_THROWS_EXCEPTION(std::out_of_range, run.flow.Command_Click(13));
        QVERIFY_THROWS_EXCEPTION(std::out_of_range, run.flow.List_Click(0));
        QVERIFY_THROWS_EXCEPTION(std::out_of_range, run.scores.slot(12));
    }
};

QTEST_APPLESS_MAIN(TestFlowTest)
#include "test_flow.moc"
