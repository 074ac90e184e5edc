#pragma once
#include "assets/bitmap_image.h"
#include "shell/scene_loop.h"

// The menu: a background with two entries, start a game and quit.
extern BitmapImage menuBackground;
extern BitmapImage menuEntries;
extern int selection;  // 0 start a game, 1 quit
extern int confirming; // 1 once a choice is made and the fade runs
extern int fadeLevel;  // 0 to 100 in steps of 10
extern int menuStarted;
extern const Scene menuScene;

int menuStart();
void menuStop();
void menuTick(PendingFlag* pending);
int menuUpdate();
int menuRender();
