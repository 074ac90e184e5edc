#pragma once
#include "display/surface.h"
#include "game/game_state.h"

namespace kavorind {

// The head-up display along the top of the screen: the craft's status icon and hit-point gauge,
// the special-weapon icon with the shots left, and the score. The special icon animates one frame
// per drawn frame. Drawn by the game and, under its panel, by the stage-clear tally.
void drawHud(Surface* surface, const GameState& state);

} // namespace kavorind
