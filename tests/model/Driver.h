// SPDX-License-Identifier: GPL-3.0-or-later
// Drives the real windows with user actions and compares them with the model
// after every action.
#pragma once

#include <QList>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <memory>
#include <optional>
#include <random>

#include "model/ProgramModel.h"

namespace velitar {
class Forms;
}

namespace velitar::model {

// A disagreement between the program and the model.
struct Mismatch {
    QString kind;   // what disagrees, e.g. "focus" or "Form6.Label2 text"
    QString detail; // what the program has and what the model expects
};

// One run of the program: a fresh set of windows with the start window
// shown, and a model that has just started too.
class Session {
public:
    Session();
    ~Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    const ProgramModel& model() const { return model_; }
    bool ended() const { return model_.ended(); }

    // Does the action on the real windows and in the model, then compares
    // them. An action the user cannot do now (its control is not shown) is
    // left out and changes nothing.
    std::optional<Mismatch> step(const Action& action);

    // Whether a list shows room below its last option (real geometry).
    bool hasBlankBelowOptions(const QString& list);

private:
    QWidget* window(const QString& name);
    QWidget* control(const QString& window, const QString& name);
    void watchLists(QWidget* window);
    void perform(const Action& action);
    std::optional<Mismatch> compare();
    std::optional<Mismatch> compareWindow(const QString& name);

    std::unique_ptr<Forms> forms_;
    ProgramModel model_;
    QHash<QString, int> clicks_; // "Form6.List3" -> Click signals seen
    QSet<QString> watched_;      // windows whose lists are watched
    bool programEnded_ = false;
    int exitStatus_ = 0;
};

// How one random sequence behaves: how often it answers right, whether it
// mostly uses the mouse or the keyboard, and how long it may get.
struct Style {
    double rightAnswers = 0.9;
    double keyboard = 0.5; // share of keyboard actions
    int maxLength = 60;
    int rush = 0; // the first steps go straight on, by mouse, with no detours
};

// Chooses the next action for a sequence, from what the model says is shown.
class RandomUser {
public:
    RandomUser(std::uint64_t seed);
    const Style& style() const { return style_; }
    Action next(Session& session);

private:
    int pick(std::initializer_list<double> weights);
    bool chance(double p) { return std::bernoulli_distribution(p)(rng_); }
    int uniform(int low, int high) { return std::uniform_int_distribution<int>(low, high)(rng_); }
    Action progress(Session& session);
    Action noise(Session& session);
    Action answerWithKeys(const ProgramModel& model, const QString& list, int row);
    Action anyCharacter();

    std::mt19937_64 rng_;
    Style style_;
    int steps_ = 0;
};

struct Replay {
    std::optional<Mismatch> mismatch;
    QList<Action> performed; // the actions done, up to and including the failing one
};

// Runs a sequence of actions in a fresh session until the first mismatch.
Replay replay(const QList<Action>& actions);

// The shortest sequence found by deleting actions from a failing one that
// still fails the same way.
Replay shrink(const QList<Action>& actions, const Mismatch& mismatch);

} // namespace velitar::model
