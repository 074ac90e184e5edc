// The game's worst tick and frame, on the default content: one gameUpdate with every table full
// and every overlap test of the damage passes done (20 x 20 shot-on-enemy tests and, the shots
// being special ones, 20 x 50 shot-on-shot tests), and one frame of the stage with every table
// full and the head-up display, side by side with the backdrop alone.
#include "assets/content_catalogue.h"
#include "display/surface.h"
#include "game/game_rules.h"
#include "scenes/game_hud.h"
#include "scenes/game_scene.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <unistd.h>

using namespace kavorind;

namespace {

struct GameBench {
    int ready = 0;
    GameWorld full;
};

GameBench gameBench;

// Enemies of every ordinary type spread over the right half, special shots among them, enemy
// shots everywhere: every test is made, and many of them overlap.
GameWorld fullWorld() {
    GameWorld world;
    world.state.stageIndex = 0;
    startStage(&world, gameTypes);
    for (int i = 0; i < enemySlots; ++i)
        spawnEnemy(&world, gameTypes, 1 + i % 7, 360 + (i % 5) * 50, 60 + (i / 5) * 90);
    for (int i = 0; i < playerShotSlots; ++i)
        fireShot(&world, gameTypes, 0, 1, 340 + (i % 5) * 50, 60 + (i / 5) * 90, nullptr);
    for (int i = 0; i < enemyShotSlots; ++i)
        fireShot(&world, gameTypes, 2 + i % 6, 0, 200 + (i % 10) * 40, 40 + (i / 10) * 80, nullptr);
    for (int i = 0; i < itemSlots; ++i)
        spawnItem(&world, i % 3, 100 + i * 50, 300);
    return world;
}

int loadDefaultContent() {
    if (gameBench.ready)
        return 1;
    if (chdir(KAVORIND_BUILD_DIR "/data") != 0)
        return 0;
    loadProgramContent();
    const char* failed = nullptr;
    if (!loadContent() || !fillGameTypes(catalogue, &gameTypes, &failed))
        return 0;
    gameBench.full = fullWorld();
    gameBench.ready = 1;
    return 1;
}

void copyWorldOnly(benchmark::State& state) {
    if (!loadDefaultContent())
        return state.SkipWithError("no default content in build/data");
    for (auto _ : state) {
        GameWorld world = gameBench.full;
        benchmark::DoNotOptimize(world);
    }
}

void fullTick(benchmark::State& state) {
    if (!loadDefaultContent())
        return state.SkipWithError("no default content in build/data");
    GameRequests requests;
    GameKeys keys;
    for (auto _ : state) {
        GameWorld world = gameBench.full;
        requests.count = 0;
        benchmark::DoNotOptimize(gameUpdate(&world, gameTypes, &keys, &requests));
    }
}

void backdropOnly(benchmark::State& state) {
    if (!loadDefaultContent())
        return state.SkipWithError("no default content in build/data");
    Surface surface = makeSurface(640, 480);
    const StageInfo& stage = stageInfo(gameTypes, 0);
    for (auto _ : state) {
        drawStageBackdrop(&surface, *stage.backMap, *stage.middleMap, *stage.frontMap, 100, 200,
                          stage.middleKey);
        benchmark::DoNotOptimize(surface.pixels.data());
    }
}

void fullFrame(benchmark::State& state) {
    if (!loadDefaultContent())
        return state.SkipWithError("no default content in build/data");
    Surface surface = makeSurface(640, 480);
    game = gameBench.full;
    game.scene.backScroll = 100;
    game.scene.midScroll = 200;
    for (auto _ : state) {
        drawStage(&surface);
        drawHud(&surface, game.state);
        benchmark::DoNotOptimize(surface.pixels.data());
    }
}

} // namespace

BENCHMARK(copyWorldOnly);
BENCHMARK(fullTick);
BENCHMARK(backdropOnly);
BENCHMARK(fullFrame);

BENCHMARK_MAIN();
