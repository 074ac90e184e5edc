#pragma once
#include "display/surface.h"
#include "scenes/scene_protocol.h"

namespace kavorind {

// The game scene: one stage of play. Its state is the program's one game (game/game_state.h);
// the rules run in game/, and this scene samples the keys for them, carries out the sounds and
// palette restores they ask for, and draws the stage.
extern const Scene gameSceneProtocol;

int gameStart();
void gameStop();
void gameTick(PendingFlag* pending);
int gameUpdateScene();
int gameRender();
// The current stage's three map layers at their scroll positions.
void drawStageLayers(Surface* back);
// The stage as the render draws it before the hit flash and the head-up display: the three map
// layers, the craft, then every enemy, item, player shot and enemy shot in table order.
void drawStage(Surface* back);

} // namespace kavorind
