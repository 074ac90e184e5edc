// The pilot outside a stage: a glance at the logo, through the menu and the opening as quickly as
// the scenes allow, the tallies left to count, a look at the ending and with Z back to the menu,
// where it stops.
#include "input/key_state.h"
#include "pilot/pilot.h"
#include "scenes/menu_scene.h"
#include "scenes/scene_protocol.h"

namespace kavorind {

namespace {

// Ticks the pilot lets the logo and the ending show before it skips them.
constexpr int logoLook = 30;
constexpr int endingLook = 150;
constexpr int menuLinger = 30;

// A scene reacts to a press only when it samples Z down after having sampled it up, so the pilot
// lets go for a tick after each press.
uint8_t pressZ() {
    return freshZPossible() ? KeyZ : 0;
}

uint8_t menuKeys(KavorindPilot* pilot) {
    // Back in the menu after a game ends (the ending, or a game over): the course is flown. A
    // moment of the menu stays in the script, so a replay shows where it came back to.
    if (pilot->sawGame) {
        pilot->finished = pilot->sceneTicks >= menuLinger;
        return 0;
    }
    if (menuScene.confirming)
        return 0;
    if (menuScene.selection != 0)
        return keyHeld(VK_UP) ? 0 : KeyUp;
    return pressZ();
}

} // namespace

int freshZPossible() {
    return keyHeld(VK_Z) == 0;
}

uint8_t frontEndKeys(KavorindPilot* pilot) {
    switch (sceneLoop.currentScene) {
    case SceneLogo:
        return pilot->sceneTicks >= logoLook ? pressZ() : 0;
    case SceneOpening:
        return pressZ();
    case SceneMenu:
        return menuKeys(pilot);
    case SceneEnding:
        // The ending is worth a look before Z fades it out.
        return pilot->sceneTicks >= endingLook ? pressZ() : 0;
    default: // the tally counts by itself
        return 0;
    }
}

} // namespace kavorind
