#include "scenes/game_scene.h"

#include "assets/content_catalogue.h"
#include "display/display_device.h"
#include "game/game_rules.h"
#include "input/key_state.h"
#include "scenes/game_hud.h"
#include "scenes/game_trace.h"
#include "scenes/scene_palette.h"
#include "sound/sound_device.h"

namespace kavorind {

namespace {

// The rules' requests of this tick; kept here so that a tick allocates nothing.
GameRequests gameRequests;

constexpr uint32_t musicChannel = 0;
constexpr uint32_t effectChannels = 8;

void openStageSound() {
    soundDevice.releaseAll();
    if (!soundDevice.open(displaySettings.window))
        return;
    soundDevice.setChannelCount(1 + effectChannels);
    const StageInfo& stage = stageInfo(gameTypes, game.state.stageIndex);
    if (stage.music)
        soundDevice.assignClip(*stage.music, musicChannel);
    for (uint32_t e = 0; e < effectChannels; ++e)
        soundDevice.assignClip(catalogue.effectClips[e], 1 + e);
    soundDevice.play(musicChannel, 1);
}

// Effect s plays on channel s + 1 from its start, cutting itself off if it still sounds.
void carryOut(const GameRequests& requests) {
    for (int i = 0; i < requests.count; ++i) {
        const DeviceRequest& request = requests.requests[static_cast<size_t>(i)];
        if (request.kind == DeviceRequestKind::PlaySound)
            soundDevice.play(static_cast<uint32_t>(request.sound) + 1, 0);
        else
            displayDevice.palette.applyReference();
    }
}

// The keys, sampled only while the craft flies: a key held through the destruction is still a
// fresh press in the menu.
GameKeys sampleGameKeys() {
    sampleKeys();
    GameKeys keys;
    keys.escapeHeld = keyHeld(VK_ESCAPE) != 0;
    keys.leftHeld = keyHeld(VK_LEFT) != 0;
    keys.rightHeld = keyHeld(VK_RIGHT) != 0;
    keys.upHeld = keyHeld(VK_UP) != 0;
    keys.downHeld = keyHeld(VK_DOWN) != 0;
    keys.specialHeld = keyHeld(VK_X) != 0;
    keys.shotPressed = keyPressed(VK_Z);
    return keys;
}

void drawSprite(Surface* back, const SpriteSet* set, int32_t frame, int32_t x, int32_t y) {
    if (set && frame >= 0)
        set->drawFrame(back, static_cast<uint32_t>(frame), x, y);
}

void drawCraft(Surface* back) {
    const GameState& state = game.state;
    if (state.alive != 1)
        drawSprite(back, gameTypes.death, state.deathFrame, state.playerX, state.playerY);
    else if (state.animMode == 0)
        drawSprite(back, gameTypes.flight, state.flightFrame, state.playerX, state.playerY);
    else
        drawSprite(back, gameTypes.attack, state.attackFrame, state.playerX, state.playerY);
}

void drawShots(Surface* back, const Shot* shots, size_t count) {
    for (size_t i = 0; i < count; ++i) {
        const Shot& shot = shots[i];
        if (!shot.active || shot.weapon < 0 || shot.weapon >= weaponKindCount)
            continue;
        const WeaponType& weapon = gameTypes.weapons[static_cast<size_t>(shot.weapon)];
        if (shot.flying)
            drawSprite(back, weapon.sprite, shot.frame, shot.x, shot.y);
        else
            drawSprite(back, weapon.blastSprite, shot.blastFrame, shot.x, shot.y);
    }
}

void drawObjects(Surface* back) {
    for (const Enemy& enemy : game.enemies) {
        if (!enemy.active || enemy.type < 0 || enemy.type >= enemyTypeCount)
            continue;
        const EnemyType& type = gameTypes.enemyTypes[static_cast<size_t>(enemy.type)];
        if (enemy.alive)
            drawSprite(back, type.sprite, enemy.frame, enemy.x, enemy.y);
        else
            drawSprite(back, type.deathSprite, enemy.deathFrame, enemy.x, enemy.y);
    }
    for (const Item& item : game.items)
        if (item.active && item.kind >= 0 && item.kind < itemKindCount)
            drawSprite(back, gameTypes.itemKinds[static_cast<size_t>(item.kind)].sprite, item.frame,
                       item.x, item.y);
    drawShots(back, game.playerShots.data(), game.playerShots.size());
    drawShots(back, game.enemyShots.data(), game.enemyShots.size());
}

// One all-red frame after a hit, then the stage's colours again.
void showHitFlash() {
    GameScene& scene = game.scene;
    if (scene.hitFlash == 1) {
        displayDevice.palette.saveReference();
        displayDevice.palette.fillAll(255);
        scene.hitFlash = 2;
    } else if (scene.hitFlash == 2) {
        displayDevice.palette.applyReference();
        scene.hitFlash = 0;
    }
}

} // namespace

const Scene gameSceneProtocol{.started = &game.scene.gameStarted,
                              .start = gameStart,
                              .stop = gameStop,
                              .update = gameUpdateScene,
                              .render = gameRender,
                              .tick = gameTick,
                              .trace = traceGame};

int gameStart() {
    startStage(&game, gameTypes);
    catalogue.playerSprites[2].setCurrentIndex(0);
    openStageSound();
    if (!installPalette(catalogue.gamePalette)) {
        gameStop();
        return 0;
    }
    return 1;
}

void gameStop() {
    soundDevice.releaseAll();
    stopStage(&game);
}

int gameUpdateScene() {
    gameRequests.count = 0;
    GameKeys keys;
    if (game.state.alive == 1)
        keys = sampleGameKeys();
    int goOn = gameUpdate(&game, gameTypes, &keys, &gameRequests);
    carryOut(gameRequests);
    return goOn;
}

// The game's own tick: the stage that just ended is remembered for the tally before the stop, and
// the result picks the successor.
void gameTick(PendingFlag* pending) {
    GameScene& scene = game.scene;
    if (scene.gameStarted == 0) {
        scene.gameStarted = 1;
        if (!gameStart())
            postFailure();
    }
    if (gameUpdateScene()) {
        sceneLoop.frameReady = 1;
        clearPending(pending);
        return;
    }
    scene.lastStageCleared = game.state.stageIndex == 2 ? 1 : 0;
    gameStop();
    scene.gameStarted = 0;
    clearPending(pending);
    clearAndPresent();
    if (scene.result == 1)
        sceneLoop.currentScene = SceneMenu;
    else if (scene.result == 2)
        sceneLoop.currentScene = SceneStageClear;
    scene.result = 0;
}

void drawStageLayers(Surface* back) {
    const StageInfo& stage = stageInfo(gameTypes, game.state.stageIndex);
    if (stage.backMap && stage.middleMap && stage.frontMap)
        drawStageBackdrop(back, *stage.backMap, *stage.middleMap, *stage.frontMap,
                          game.scene.backScroll, game.scene.midScroll, stage.middleKey);
    else
        colourFill(back, 0);
}

void drawStage(Surface* back) {
    drawStageLayers(back);
    drawCraft(back);
    drawObjects(back);
}

int gameRender() {
    Surface* back = displayDevice.backSurface();
    if (!back)
        return 0;
    drawStage(back);
    showHitFlash();
    drawHud(back, game.state);
    displayDevice.present();
    return 1;
}

} // namespace kavorind
