#include "shell/startup.h"

#include "assets/content_catalogue.h"
#include "display/display_device.h"
#include "game/game_state.h"
#include "game/game_types.h"
#include "input/key_state.h"
#include "platform/video.h"
#include "scenes/scene_protocol.h"
#include "shell/frame_timer.h"
#include "shell/shutdown.h"
#include "shell/window_procedure.h"
#include "sound/sound_device.h"

namespace kavorind {

namespace {

// The content, then the game's tables over it. A set the rules would divide by or index past
// stops the start the way a missing file does, noted for the report that names the file.
int loadContentAndTypes() {
    if (!loadContent())
        return 0;
    const char* unusable = nullptr;
    if (fillGameTypes(catalogue, &gameTypes, &unusable))
        return 1;
    noteContentFailure(unusable, ContentUnusable);
    catalogue.gamePalette.release();
    return 0;
}

} // namespace

int startUp() {
    shell.shutDownBegun = 0;
    shell.ticksHandled = 0;
    catalogue.failure = ContentFailure{};
    if (!displayDevice.start(displaySettings))
        return 0;
    // The output opens in the format of the clips read so far; those start-up reads next refine
    // it, which reopens the output only for content whose clips differ in format. Without a sound
    // device the game runs silent, and says so once here.
    chooseSoundFormat(catalogueClips(catalogue));
    soundDevice.open(displaySettings.window);
    tellSilentOutput();
    if (!startTimer(30, &frameTimer.frameTimerId, displaySettings.window, TickMessage))
        return 0;
    platformShowCursor(0);
    clearKeys();
    game.state.stageIndex = 0;
    sceneLoop.frameReady = 0;
    sceneLoop.renderBusy = 0;
    sceneLoop.currentScene = SceneLogo;
    if (loadContentAndTypes()) {
        chooseSoundFormat(catalogueClips(catalogue));
        return 1;
    }
    shutDown();
    return 0;
}

} // namespace kavorind
