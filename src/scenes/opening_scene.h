#pragma once
#include "shell/scene_loop.h"

// The opening: the story text rises out of a line beside an animation, then the screen fades and
// the first stage starts.
extern int riseHeight;    // rows of the rising picture shown, 0 to 251
extern int animationWait; // ticks since the animation last advanced
extern int openingFade;   // 0 to 100 in steps of 10
extern int openingStarted;
extern const Scene openingScene;

int openingStart();
void openingStop();
void openingTick(PendingFlag* pending);
int openingUpdate();
int openingRender();
