#include "game/game_state.h"

namespace kavorind {

GameState gameState;
GameScene gameScene;

} // namespace kavorind
