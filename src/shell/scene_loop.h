#pragma once
#include "display/display_device.h"

#include <atomic>

// Scene numbers.
constexpr int SceneLogo = 1;
constexpr int SceneMenu = 2;
constexpr int SceneGame = 3;
constexpr int SceneStageClear = 4;
constexpr int SceneEnding = 5;
constexpr int SceneOpening = 6;
constexpr int sceneCount = 6;

// The tick message that the frame timer posts to the main window: wParam is the timer's id,
// lParam the address of its pending flag, which the tick stores 0 into when it is done.
constexpr unsigned TickMessage = 1025;

using PendingFlag = std::atomic<int>;

// The five operations of a scene. start returns non-zero on success; stop releases what start
// acquired; tick advances the scene by one frame; update returns non-zero to go on and 0 when the
// scene has finished; render draws and presents the whole frame, returning 1 when it did.
struct Scene {
    int (*start)() = nullptr;
    void (*stop)() = nullptr;
    void (*tick)(PendingFlag* pending) = nullptr;
    int (*update)() = nullptr;
    int (*render)() = nullptr;
};

extern DisplaySettings displaySettings;
extern int currentScene;
extern int frameReady;
extern int renderBusy;
// Indexed by scene number; an empty entry means that no scene of that number exists.
extern const Scene* sceneTable[sceneCount + 1];

// The window procedure: handles the tick, the palette messages, restore and destroy.
long MainWindowProc(PlatformWindow* window, unsigned message, uintptr_t wParam, intptr_t lParam);
// Runs while the queue is empty: draws the frame that the last tick asked for.
void idleStep();
// The scene-leaving step: the back surface filled with index 0 and presented.
void clearAndPresent();
// The scene of a number, or null when there is none.
const Scene* sceneFor(int number);

// The common tick of a scene: start on its first tick (a failed start posts WM_DESTROY and the
// tick goes on), then update. While the scene goes on it raises frameReady, clears pending and
// returns 1. When the update reports the end it leaves within this tick: stop, started cleared,
// pending cleared, one black frame; it returns 0 and the caller writes the successor.
int runSceneTick(const Scene& scene, int* started, PendingFlag* pending);
// Lets the frame timer post its next tick: every tick stores 0 here when it is done.
void clearPending(PendingFlag* pending);
// Posts WM_DESTROY to the main window, the way every fatal condition ends the program.
void postDestroy();
