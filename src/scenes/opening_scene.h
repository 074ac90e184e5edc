#pragma once
#include "scenes/scene_protocol.h"

namespace kavorind {

// The opening: the story text rises out of a line beside an animation, then the screen fades and
// the first stage starts. Its pictures, animation and music belong to the content catalogue.
struct OpeningScene {
    int started = 0;
    int riseHeight = 0;    // rows of the rising picture shown, 0 to 251
    int animationWait = 0; // ticks since the animation last advanced
    int openingFade = 0;   // 0 to 100 in steps of 10
};

extern OpeningScene openingScene;
extern const Scene openingSceneProtocol;

int openingStart();
void openingStop();
int openingUpdate();
int openingRender();

} // namespace kavorind
