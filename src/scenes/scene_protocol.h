#pragma once
#include <atomic>

namespace kavorind {

// Scene numbers.
constexpr int SceneLogo = 1;
constexpr int SceneMenu = 2;
constexpr int SceneGame = 3;
constexpr int SceneStageClear = 4;
constexpr int SceneEnding = 5;
constexpr int SceneOpening = 6;
constexpr int sceneCount = 6;

// The frame timer's flag that lets its next tick through: the tick stores 0 there when it is done.
using PendingFlag = std::atomic<int>;

struct TraceFields;

// Which scene runs and whether a frame waits to be drawn; touched only on the main thread.
struct SceneLoop {
    int currentScene = 0; // 0 until start-up sets it to SceneLogo
    int frameReady = 0;   // raised by a tick that wants its frame drawn, cleared by the idle step
    int renderBusy = 0;   // 1 while the idle step is inside a render
};

extern SceneLoop sceneLoop;

// A scene as the loop sees it. start returns 1 on success; stop releases what start acquired;
// update returns 1 to go on and 0 when the scene has finished; render draws and presents the whole
// frame, returning 1 when it did.
struct Scene {
    int* started = nullptr; // 1 from the scene's first tick until the tick that leaves it
    int (*start)() = nullptr;
    void (*stop)() = nullptr;
    int (*update)() = nullptr;
    int (*render)() = nullptr;
    // In the common tick, once the scene is left: sets what the successor needs and returns the
    // successor's number.
    int (*leave)() = nullptr;
    // A scene whose tick departs from the common form supplies its own.
    void (*tick)(PendingFlag* pending) = nullptr;
    // A scene whose render returning 0 is its normal end (the logo) names the scene that follows;
    // for every other scene 0 from the render is a failure that ends the program.
    int renderEndSuccessor = 0;
    // Adds the scene's state to a trace line under the scene's own names.
    void (*trace)(TraceFields& fields) = nullptr;
};

// Runs one tick of a scene: its own tick, or the common form. Either way pending is cleared.
void tickScene(const Scene& scene, PendingFlag* pending);
// The common tick: start on the first tick (a failed start posts a failure and the tick goes on),
// then update. While the scene goes on it raises frameReady. When the update reports the end it
// leaves within this tick: stop, started cleared, pending cleared, one black frame, and the
// successor that leave names becomes the current scene; frameReady stays down.
void runSceneTick(const Scene& scene, PendingFlag* pending);
// Lets the frame timer post its next tick.
void clearPending(PendingFlag* pending);
// The scene-leaving step: the back surface filled with index 0 and presented.
void clearAndPresent();
// Posts WM_DESTROY to the main window: the program ends with exit code 0 (a quit).
void postDestroy();
// Posts WM_DESTROY carrying exit code 1, the way every fatal condition ends the program (a scene
// that cannot start, a frame that cannot be drawn). A file to blame is noted in catalogue.failure.
void postFailure();

} // namespace kavorind
