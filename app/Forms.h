// SPDX-License-Identifier: GPL-3.0-or-later
// The program's six windows, each a single instance created on first use and
// reached through its name afterwards, and the way from the start window to
// the test window of the chosen variant.
#pragma once

#include <array>
#include <memory>

#include "ui/start/StartWindow.h"
#include "ui/test/TestWindow.h"

namespace velitar {

class Forms {
public:
    Forms();
    ~Forms();
    Forms(const Forms&) = delete;
    Forms& operator=(const Forms&) = delete;

    ui::StartWindow& Form1();
    ui::TestWindow& Form6() { return testWindow(1); }
    ui::TestWindow& Form3() { return testWindow(2); }
    ui::TestWindow& Form4() { return testWindow(3); }
    ui::TestWindow& Form5() { return testWindow(4); }
    ui::TestWindow& Form2() { return testWindow(5); }

    // The test window of variant 1..5, created and loaded on first use.
    ui::TestWindow& testWindow(int variant);

    // Whether the test window of a variant has been created in this run.
    bool testWindowLoaded(int variant) const;

    // What a numbered button of the start window does: hide the start
    // window, then show the test window of the variant.
    void openVariant(int variant);

private:
    std::unique_ptr<ui::StartWindow> form1_;
    std::array<std::unique_ptr<ui::TestWindow>, kVariantCount> tests_;
};

} // namespace velitar
