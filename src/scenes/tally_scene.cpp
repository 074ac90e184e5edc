#include "scenes/tally_scene.h"

#include "assets/content_catalogue.h"
#include "assets/text.h"
#include "display/display_device.h"
#include "game/game_types.h"
#include "game/tally.h"
#include "input/key_state.h"
#include "scenes/game_hud.h"
#include "scenes/game_scene.h"
#include "scenes/scene_palette.h"
#include "scenes/scene_trace.h"
#include "sound/sound_device.h"

namespace kavorind {

namespace {

constexpr uint32_t musicChannel = 0;
constexpr uint32_t countingChannel = 1;

// The panel is the top-left 324 x 164 of "Clear-bk.bmp"; the bar for h hit points is the 12 rows
// from row 150 + 20 h of the same picture.
constexpr int panelX = 157, panelY = 157, panelWidth = 324, panelHeight = 164;

void openTallySound() {
    soundDevice.releaseAll();
    if (!soundDevice.open(displaySettings.window))
        return;
    soundDevice.setChannelCount(2);
    soundDevice.assignClip(catalogue.tallyMusic, musicChannel);
    soundDevice.assignClip(catalogue.tallyEffect, countingChannel);
    soundDevice.play(musicChannel, 1);
}

void traceTally(TraceFields& fields) {
    if (sceneLoop.currentScene != SceneStageClear)
        return;
    traceField(fields, "tallyPhase", tallyScene.tallyPhase);
    traceField(fields, "tallyCounter", tallyScene.tallyCounter);
    traceField(fields, "shownScore", tallyScene.shownScore);
    traceField(fields, "shownHpWidth", tallyScene.shownHpWidth);
    traceField(fields, "shownSpecial", tallyScene.shownSpecial);
    traceField(fields, "fadePercent", tallyScene.fadePercent);
}

// The stage where it ended: its layers, and the craft if it still flies; nothing else moves.
void drawFrozenStage(Surface* back) {
    const GameState& state = game.state;
    drawStageLayers(back);
    if (state.alive != 1)
        return;
    const SpriteSet* craft = state.animMode == 0 ? gameTypes.flight : gameTypes.attack;
    const int32_t frame = state.animMode == 0 ? state.flightFrame : state.attackFrame;
    if (craft && frame >= 0)
        craft->drawFrame(back, static_cast<uint32_t>(frame), state.playerX, state.playerY);
}

void drawScoreLine(Surface* back) {
    drawText(back, catalogue.letterFont, catalogue.numberFont, "SCORE", 225, 212);
    drawNumber(back, catalogue.numberFont, static_cast<uint32_t>(tallyScene.shownScore), 330, 210);
}

void drawHpLine(Surface* back) {
    const GameState& state = game.state;
    drawText(back, catalogue.letterFont, catalogue.numberFont, "H   P", 223, 240);
    catalogue.infobarEnergy.drawFrame(back, 5, 310, 247);
    catalogue.clearPanel.blit(back, 310, 242, tallyScene.shownHpWidth, 12, 0, 150 + 20 * state.hp);
}

void drawSpecialLine(Surface* back) {
    catalogue.specialIcons.drawAndAdvance(back, 250, 268);
    catalogue.numberFont.drawFrame(back, static_cast<uint32_t>(tallyScene.shownSpecial), 355, 270);
}

// Each phase shows what the phases before it showed, and more.
void drawPanel(Surface* back) {
    const GameState& state = game.state;
    catalogue.clearPanel.blit(back, panelX, panelY, panelWidth, panelHeight, 0, 0);
    drawText(back, catalogue.letterFont, catalogue.numberFont, "S T A G E", 228, 170);
    drawNumber(back, catalogue.numberFont, static_cast<uint32_t>(state.stageIndex + 1), 392, 168);
    if (state.hp >= 0 && state.hp <= 5)
        catalogue.infobarFrame.drawFrame(back, state.hp == 0 ? 2 : state.hp == 1 ? 1 : 0, 180, 230);
    const int32_t phase = tallyScene.tallyPhase;
    if (phase == 4)
        displayDevice.palette.fade(static_cast<unsigned>(tallyScene.fadePercent));
    if (phase >= 2 && phase <= 4)
        drawSpecialLine(back);
    if (phase >= 1 && phase <= 4)
        drawHpLine(back);
    if (phase <= 4)
        drawScoreLine(back);
}

// After the last stage the ending follows and the next game starts at stage 0; otherwise the next
// stage starts with the game as it stands.
int tallyLeave() {
    const int last = game.scene.lastStageCleared == 1;
    game.state.stageIndex = last ? 0 : game.state.stageIndex + 1;
    game.scene.lastStageCleared = 0;
    return last ? SceneEnding : SceneGame;
}

} // namespace

const Scene tallySceneProtocol{.started = &tallyScene.tallyStarted,
                               .start = tallyStart,
                               .stop = tallyStop,
                               .update = tallyUpdate,
                               .render = tallyRender,
                               .leave = tallyLeave,
                               .trace = traceTally};

int tallyStart() {
    if (!installPalette(catalogue.gamePalette)) {
        tallyStop();
        return 0;
    }
    resetTally(&tallyScene);
    openTallySound();
    return 1;
}

void tallyStop() {
    soundDevice.releaseAll();
    resetTally(&tallyScene);
}

int tallyUpdate() {
    sampleKeys();
    const int skip = keyPressed(VK_Z) || keyPressed(VK_X) || keyPressed(VK_ESCAPE);
    int counting = 0;
    const int goOn = stepTally(&tallyScene, game.state, skip, &counting);
    if (counting)
        soundDevice.play(countingChannel, 0);
    return goOn;
}

int tallyRender() {
    Surface* back = displayDevice.backSurface();
    if (!back)
        return 0;
    drawFrozenStage(back);
    drawHud(back, game.state);
    drawPanel(back);
    displayDevice.present();
    return 1;
}

} // namespace kavorind
