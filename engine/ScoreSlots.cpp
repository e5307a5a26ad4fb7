#include "engine/ScoreSlots.h"

namespace velitar::Module1 {
velitar::ScoreSlots ScoreSlots;
}
