#pragma once
#include "shell/scene_loop.h"

// The logo: the picture fades in from black, holds, fades out and hands over to the menu.
extern int logoPhase;   // 0 fading in, 1 holding, 2 fading out
extern int logoCounter; // the fade level while fading, the ticks held while holding
extern int logoStarted;
extern const Scene logoScene;

void logoTick(PendingFlag* pending);
int logoStart();
int logoRender();
