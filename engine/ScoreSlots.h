// SPDX-License-Identifier: GPL-3.0-or-later
// The running score of the one test taken in a run of the program.
#pragma once

#include <array>
#include <cstdint>

namespace velitar {

// Eleven signed 16-bit slots, slot 1 to slot 11: slot k holds the number of
// right answers to questions 1..k, written when question k is answered.
// There is no slot for question 12; the final total lives only in the window.
class ScoreSlots {
public:
    static constexpr int kFirst = 1;
    static constexpr int kLast = 11;

    std::int16_t slot(int k) const { return values_.at(index(k)); }
    void setSlot(int k, std::int16_t value) { values_.at(index(k)) = value; }

private:
    static std::size_t index(int k) { return static_cast<std::size_t>(k - kFirst); }
    std::array<std::int16_t, kLast - kFirst + 1> values_{};
};

// The standard module that holds the program's one set of slots, shared by
// all five test windows. Zero at start, never reset.
namespace Module1 {
extern ScoreSlots ScoreSlots;
}

} // namespace velitar
