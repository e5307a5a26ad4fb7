// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Forms.h"

#include "engine/ScoreSlots.h"
#include "ui/Program.h"

namespace velitar {

Forms::Forms() = default;
Forms::~Forms() = default;

ui::StartWindow& Forms::Form1()
{
    if (!form1_) {
        form1_ = std::make_unique<ui::StartWindow>();
        QObject::connect(form1_.get(), &ui::StartWindow::variantChosen, form1_.get(),
                         [this](int variant) { openVariant(variant); });
    }
    return *form1_;
}

ui::TestWindow& Forms::testWindow(int variant)
{
    std::unique_ptr<ui::TestWindow>& window = tests_.at(static_cast<std::size_t>(variant - 1));
    if (!window)
        window = std::make_unique<ui::TestWindow>(questionBank().variant(variant), Module1::ScoreSlots);
    return *window;
}

bool Forms::testWindowLoaded(int variant) const { return tests_.at(static_cast<std::size_t>(variant - 1)) != nullptr; }

void Forms::openVariant(int variant)
{
    ui::hideWindow(Form1());
    testWindow(variant).setVisible(true);
}

} // namespace velitar
