// SPDX-License-Identifier: GPL-3.0-or-later
// An independent model of what the user sees of Velitar: which window is
// shown, which of its controls are visible, what the echo, verdict, score and
// question box say, where the keyboard focus is, and when the program ends.
//
// It is written from the program's state tables and keyboard rules, not from
// its code: the start window is Asking, Passed or Failed; a test window is
// Asking k, Answered k or Finished; Exit or closing a window ends the program.
// The only thing it takes from the program is the content of the question
// bank (prompts, options, right answers, reproaches), which is data.
#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <Qt>
#include <array>
#include <optional>

namespace velitar::model {

// One thing the user does.
struct Action {
    enum class Type {
        Click,       // a press and release of the left button on a control
        ClickItem,   // the same on an option of a list
        ClickBlank,  // the same on a list below its last option
        ClickWindow, // the same on the window, where there is no control
        Key,         // a key pressed and released
        Close,       // the window's title-bar close button
    };
    Type type = Type::Click;
    QString control; // Click, ClickItem, ClickBlank
    int row = -1;    // ClickItem
    int key = 0;     // Key: the Qt::Key
    Qt::KeyboardModifiers modifiers;
    QString text; // Key: the text the key types, if any

    static Action click(const QString& control) { return make(Type::Click, control); }
    static Action clickItem(const QString& list, int row)
    {
        Action a = make(Type::ClickItem, list);
        a.row = row;
        return a;
    }
    static Action clickBlank(const QString& list) { return make(Type::ClickBlank, list); }
    static Action clickWindow() { return make(Type::ClickWindow, {}); }
    static Action close() { return make(Type::Close, {}); }
    static Action keyPress(int key, Qt::KeyboardModifiers modifiers = {}, const QString& text = {})
    {
        Action a = make(Type::Key, {});
        a.key = key;
        a.modifiers = modifiers;
        a.text = text;
        return a;
    }

    QString describe() const;

private:
    static Action make(Type type, const QString& control)
    {
        Action a;
        a.type = type;
        a.control = control;
        return a;
    }
};

enum class StartState { Asking, Passed, Failed };
enum class TestState { Asking, Answered, Finished };

class ProgramModel {
public:
    ProgramModel(); // the program has just started: the start window asks

    bool ended() const { return ended_; }
    int variant() const { return variant_; } // 0 while the start window is shown
    StartState startState() const { return start_; }
    TestState testState() const { return test_; }
    int question() const { return k_; } // the question asked or last answered

    // The window shown ("Form1", "Form6" ...); empty once the program ended.
    QString shownWindow() const;
    // The test window of a variant, by its name.
    static QString testWindowName(int variant);

    // Every control of a window, by name.
    QStringList controls(const QString& window) const;
    // Whether a control is set visible (its own Visible, also while its
    // window is hidden: a hidden window keeps its state).
    bool isShown(const QString& window, const QString& control) const;
    // The text or caption the model expects a control to hold, for the
    // controls whose texts change: the start window's Label3 and Label4, a
    // test window's Text1, Text2, Label2, Label3, Label6, Label7, Label8.
    std::optional<QString> expectedText(const QString& window, const QString& control) const;
    // The control of the shown window that has the keyboard focus.
    QString focus() const { return focus_; }

    // How many answers a list has given in this run (every selection answers
    // exactly once).
    int answers(const QString& window, const QString& list) const;
    // Slot k of the running score (k = 1..11) once question k is answered.
    std::optional<int> slot(int k) const;
    // The options of a list, as the user reads them.
    QStringList options(const QString& window, const QString& list) const;
    // The option in a shown list's focus frame once Ctrl with a moving key
    // has moved it; -1 before (the frame then stands on the first option).
    int frame(const QString& list) const { return frames_.value(list, -1); }

    // Whether the user can do this now: the control it aims at is visible
    // in the shown window.
    bool canDo(const Action& action) const;
    // Does it. Returns whether the action was one the user could do.
    bool apply(const Action& action);

private:
    enum class Kind { Label, List, TextBox, Button };
    struct Stop {
        QString name;
        bool tabStop;
    };

    static Kind kindOf(const QString& control);
    QList<Stop> focusOrder() const; // the shown window's controls in tab-index order
    QString neighbour(const QString& from, bool forward) const;
    bool visibleNow(const QString& control) const { return isShown(shownWindow(), control); }

    void press(const QString& button);
    void answer(const QString& list, int row);
    void answerWarmUp(int row);
    void answerQuestion(int n, int row);
    void moveTo(int n);
    void key(const Action& action);

    bool ended_ = false;

    // The start window.
    StartState start_ = StartState::Asking;
    QString startEcho_;    // Label3
    QString startVerdict_; // Label4
    int warmUpAnswers_ = 0;

    // The test window of the chosen variant.
    int variant_ = 0;
    TestState test_ = TestState::Asking;
    int k_ = 1;
    QString prompt_;  // Text1
    QString score_;   // Text2
    QString echo_;    // Label3
    QString verdict_; // Label2
    std::array<int, 13> answers_{};
    std::array<std::optional<int>, 12> slots_{};
    int total_ = -1;

    QString focus_;
    QHash<QString, int> frames_; // lists of the shown window whose frame was moved
};

} // namespace velitar::model
