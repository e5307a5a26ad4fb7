// SPDX-License-Identifier: GPL-3.0-or-later
// What the browser check needs to know of the windows, read off the desktop
// program laid out offscreen: each window's caption and client size, where
// its controls and their list rows are, what each control tells a screen
// reader (its accessible name and description), and the right option of each
// list.
// The web program is the same code laid out in the same fonts, so a click
// at these places in the page reaches the same control and row. Prints JSON.
#include <QAccessible>
#include <QApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QListWidget>
#include <cstdio>

#include "app/Forms.h"
#include "engine/QuestionBank.h"
#include "ui/Appearance.h"

namespace {

QJsonArray rect(const QRect& r) { return {r.x(), r.y(), r.width(), r.height()}; }

QJsonObject window(QWidget& w)
{
    w.setVisible(true);
    QApplication::processEvents();
    QJsonObject controls;
    for (QWidget* c : w.findChildren<QWidget*>()) {
        if (c->objectName().isEmpty() || c->parentWidget() != &w)
            continue;
        QAccessibleInterface* told = QAccessible::queryAccessibleInterface(c);
        QJsonObject control{{"rect", rect(c->geometry())},
                            {"name", told->text(QAccessible::Name)},
                            {"description", told->text(QAccessible::Description)}};
        if (auto* list = qobject_cast<QListWidget*>(c)) {
            list->doItemsLayout(); // a hidden list lays its rows out only when asked
            QJsonArray rows;
            for (int row = 0; row < list->count(); ++row) {
                QRect r = list->visualItemRect(list->item(row));
                r.translate(list->viewport()->mapTo(&w, QPoint()));
                rows.append(QJsonObject{{"rect", rect(r)}, {"text", list->item(row)->text()}});
            }
            control[QStringLiteral("rows")] = rows;
        }
        controls[c->objectName()] = control;
    }
    w.setVisible(false);
    return {{"caption", w.windowTitle()}, {"size", QJsonArray{w.width(), w.height()}}, {"controls", controls}};
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    velitar::ui::applyProgramStyle();
    velitar::Forms forms;
    QJsonObject out{{"start", window(forms.Form1())}};
    QJsonArray variants;
    for (int v = 1; v <= velitar::kVariantCount; ++v) {
        QJsonObject w = window(forms.testWindow(v));
        QJsonArray right;
        for (int k = 1; k <= velitar::kQuestionsPerVariant; ++k)
            right.append(velitar::questionBank().variant(v).question(k).correct);
        w[QStringLiteral("right")] = right;
        variants.append(w);
    }
    out[QStringLiteral("variants")] = variants;
    std::fputs(QJsonDocument(out).toJson().constData(), stdout);
    return 0;
}
