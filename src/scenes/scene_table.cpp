#include "scenes/ending_scene.h"
#include "scenes/logo_scene.h"
#include "scenes/menu_scene.h"
#include "scenes/opening_scene.h"
#include "shell/scene_loop.h"

// The scenes by number. The game and the stage-clear tally join when they exist.
const Scene* sceneTable[sceneCount + 1] = {
    nullptr, &logoScene, &menuScene, nullptr, nullptr, &endingScene, &openingScene,
};
