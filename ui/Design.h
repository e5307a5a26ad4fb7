// SPDX-License-Identifier: GPL-3.0-or-later
// Plain data that describes a window's design: controls, boxes in twips,
// colours as 0x00BBGGRR, fonts by their designed face and size.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace velitar::ui {

inline constexpr int kTwipsPerPixel = 15; // at the designed 96 dpi

struct Box {
    int left, top, width, height; // twips, from the top-left of the client area
};

using Colour = std::uint32_t; // 0x00BBGGRR

namespace colours {
inline constexpr Colour kPaleYellow = 0x00C0FFFF; // window background
inline constexpr Colour kCream = 0x00E2FDFE;      // text boxes, lists, verdict labels
inline constexpr Colour kBeige = 0x00C8EEF7;      // buttons
inline constexpr Colour kMaroon = 0x00000080;     // message texts
inline constexpr Colour kDarkRed = 0x00000888;    // the pass caption
inline constexpr Colour kBlack = 0x00000000;
} // namespace colours

enum class Face { SansSerif, Verdana, Serif }; // MS Sans Serif, Verdana, Times New Roman

struct FontDesign {
    Face face;
    double points;
    bool bold = false;
};

enum class Kind { Label, List, TextBox, MultiLineTextBox, Button };

struct ControlDesign {
    std::string name; // the control's name, used as its objectName
    Kind kind;
    std::string text; // caption or text at start
    Box box;
    Colour back;
    bool hasFore = false; // otherwise the system's text colour
    Colour fore = 0;
    FontDesign font;
    bool visible = true;
    int tabIndex = -1;     // place in the Tab order; -1: not a Tab stop
    bool bordered = false; // labels: single-line border
    bool centred = false;  // labels: each line centred
    bool snapRows = false; // lists: height snapped to whole rows
};

struct WindowDesign {
    std::string name;              // Form1, Form6, ...
    std::string caption;           // the title bar
    int clientWidth, clientHeight; // twips
    int originLeft, originTop;     // designed screen position of the client area, twips
    Colour back;
    std::vector<ControlDesign> controls;

    const ControlDesign& control(std::string_view controlName) const;
};

} // namespace velitar::ui
