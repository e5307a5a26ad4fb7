// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/ScoreSlots.h"

namespace velitar::Module1 {
velitar::ScoreSlots ScoreSlots;
}
