#include "game/game_state.h"

namespace kavorind {

GameState gameState;

} // namespace kavorind
