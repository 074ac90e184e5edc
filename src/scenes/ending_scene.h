#pragma once
#include "shell/scene_loop.h"

// The ending: a looping animation in the middle of the screen with its music, until Z or Escape
// fades back to the menu. The animation's frame carries over between visits.
extern int endingLeaving; // 1 once Z or Escape was pressed
extern int endingFade;    // 0 to 100 in steps of 10
extern int endingStarted;
extern const Scene endingScene;

int endingStart();
void endingStop();
void endingTick(PendingFlag* pending);
int endingUpdate();
int endingRender();
