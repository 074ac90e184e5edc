#include "scenes/scene_table.h"

#include "game/game_state.h"
#include "scenes/ending_scene.h"
#include "scenes/game_scene.h"
#include "scenes/logo_scene.h"
#include "scenes/menu_scene.h"
#include "scenes/opening_scene.h"
#include "scenes/scene_trace.h"
#include "scenes/tally_scene.h"

namespace kavorind {

SceneTable sceneTable = {{
    nullptr,
    &logoSceneProtocol,
    &menuSceneProtocol,
    &gameSceneProtocol,
    &tallySceneProtocol,
    &endingSceneProtocol,
    &openingSceneProtocol,
}};

const Scene* sceneFor(int number) {
    if (number < 1 || number > sceneCount)
        return nullptr;
    return sceneTable.scenes[static_cast<size_t>(number)];
}

void traceScenes(TraceFields& fields) {
    for (const Scene* scene : sceneTable.scenes)
        if (scene && scene->trace)
            scene->trace(fields);
    traceField(fields, "stageIndex", game.state.stageIndex);
}

} // namespace kavorind
