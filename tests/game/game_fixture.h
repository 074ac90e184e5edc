#pragma once
// The game's rules over small content made in memory: every sprite set a square box with its hot
// spot in the middle, so overlaps are easy to arrange, and stage maps whose spawn codes a test
// sets.
#include "assets/sprite_set_writer.h"
#include "assets/stage_map_writer.h"
#include "game/game_rules.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace kavorind {

// A set of `frames` opaque size x size frames (pixel value 1, key 0), hot spot in the middle.
inline std::vector<uint8_t> boxSetBytes(uint32_t frames, int size, uint32_t rate) {
    SpriteSetImage set;
    set.rate = rate;
    set.key = 0;
    for (uint32_t f = 0; f < frames; ++f)
        set.frames.push_back(makeSpriteFrameImage(size, size, size / 2, size / 2, 1));
    return encodeSpriteSet(set);
}

inline void loadBox(SpriteSet& set, uint32_t frames, int size, uint32_t rate = 10) {
    set.release();
    ASSERT_EQ(set.loadFromMemory(boxSetBytes(frames, size, rate)), 1);
}

// A one-layer map of columns x rows cells of tile x tile pixels; spawn codes by (column, row).
struct MapCode {
    int column = 0;
    int row = 0;
    uint8_t code = 0;
};

inline void loadMap(StageMap& map, int columns, int rows, int tile,
                    std::vector<MapCode> codes = {}) {
    StageMapImage image = makeStageMapImage(columns, rows, tile, tile, 1, tile, tile);
    for (const MapCode& c : codes)
        image.layers[0].spawns[static_cast<size_t>(c.row * columns + c.column)] = c.code;
    map.release();
    ASSERT_EQ(map.loadFromMemory(encodeStageMap(image)), 1);
}

// Content like the game's, small: sets of 2 frames of 8 x 8 pixels at rate 10 (3 ticks a frame),
// the craft's mask and body 8 x 8, the HUD sets with the frames they need, and three stage maps of
// 40 x 15 cells of 32 pixels (1280 pixels wide) with no spawn codes.
struct GameRulesTest : ::testing::Test {
    std::unique_ptr<ContentCatalogue> content = std::make_unique<ContentCatalogue>();
    GameTypes types;
    GameWorld world;
    GameRequests out;

    void SetUp() override {
        for (SpriteSet* set :
             {&content->playerSprites[0], &content->playerSprites[1], &content->playerSprites[2]})
            loadBox(*set, 2, 8);
        for (SpriteSet& set : content->enemySprites)
            loadBox(set, 2, 8);
        for (SpriteSet& set : content->shotSprites)
            loadBox(set, 2, 8);
        for (SpriteSet& set : content->itemSprites)
            loadBox(set, 2, 8);
        for (SpriteSet& set : content->deathSprites)
            loadBox(set, 4, 8);
        loadBox(content->infobarFrame, 3, 8);
        loadBox(content->infobarEnergy, 6, 8);
        loadBox(content->numberFont, 10, 8);
        for (int s = 0; s < 3; ++s) {
            loadMap(content->backMaps[s], 40, 15, 32);
            loadMap(content->middleMaps[s], 40, 15, 32);
            loadMap(content->frontMaps[s], 40, 15, 32);
        }
        const char* failed = nullptr;
        ASSERT_EQ(fillGameTypes(*content, &types, &failed), 1) << failed;
        world = GameWorld{};
        newGame(&world.state, types.flightDelay, types.attackDelay, types.deathDelay);
        out = GameRequests{};
    }

    // The sound indices asked for since the outbox was last emptied, in order.
    std::vector<int> sounds() const {
        std::vector<int> played;
        for (int i = 0; i < out.count; ++i)
            if (out.requests[static_cast<size_t>(i)].kind == DeviceRequestKind::PlaySound)
                played.push_back(out.requests[static_cast<size_t>(i)].sound);
        return played;
    }
};

} // namespace kavorind
