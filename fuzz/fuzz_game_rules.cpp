// libFuzzer entry for the game's rules: a random middle map (size, tile size, any spawn code),
// random sprite sets (frame counts, sizes, rates) and random keys, played for thousands of ticks
// across stages and games, with the rules' invariants checked after every tick.
#include "assets/sprite_set_writer.h"
#include "assets/stage_map_writer.h"
#include "game/game_rules.h"

#include <cstdio>
#include <cstdlib>
#include <memory>

using namespace kavorind;

namespace {

// Reads the input a byte at a time, then goes on with a generator seeded from it, so that a short
// input still drives a long run.
struct FuzzInput {
    const uint8_t* data = nullptr;
    size_t size = 0;
    size_t at = 0;
    uint32_t state = 2463534242u;

    uint8_t byte() {
        if (at < size) {
            state = state * 31 + data[at];
            return data[at++];
        }
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return static_cast<uint8_t>(state);
    }
    int range(int low, int high) { return low + byte() % (high - low + 1); }
};

void loadSet(SpriteSet& set, FuzzInput& in) {
    SpriteSetImage image;
    image.rate = static_cast<uint32_t>(in.range(1, 40));
    const int frames = in.range(0, 4);
    for (int f = 0; f < frames; ++f) {
        const int w = in.range(1, 24), h = in.range(1, 24);
        SpriteFrameImage frame =
            makeSpriteFrameImage(w, h, in.range(-4, w + 4), in.range(-4, h + 4));
        for (uint8_t& pixel : frame.pixels)
            pixel = in.byte() % 3; // key 0 and two opaque colours
        image.frames.push_back(frame);
    }
    set.release();
    if (frames == 0) {
        // The writer refuses an empty set; the loader takes one, so make its bytes by hand.
        image.frames.push_back(makeSpriteFrameImage(1, 1));
        std::vector<uint8_t> bytes = encodeSpriteSet(image);
        bytes.resize(3 + 20 + 1024);
        bytes[3] = bytes[4] = bytes[5] = bytes[6] = 0;
        set.loadFromMemory(bytes);
        return;
    }
    set.loadFromMemory(encodeSpriteSet(image));
}

void loadMiddleMap(StageMap& map, FuzzInput& in) {
    const int columns = in.range(1, 48), rows = in.range(1, 24), tile = in.range(1, 80);
    StageMapImage image = makeStageMapImage(columns, rows, tile, tile, 1, tile, tile);
    for (uint8_t& code : image.layers[0].spawns)
        code = in.byte() % 4 == 0 ? in.byte() : 0;
    map.release();
    map.loadFromMemory(encodeStageMap(image));
}

struct FuzzContent {
    std::unique_ptr<ContentCatalogue> content = std::make_unique<ContentCatalogue>();
    GameTypes types;
};

void loadFixedSet(SpriteSet& set, int frames) {
    SpriteSetImage image;
    for (int f = 0; f < frames; ++f)
        image.frames.push_back(makeSpriteFrameImage(4, 4, 0, 0, 1));
    set.release();
    set.loadFromMemory(encodeSpriteSet(image));
}

// Content as start-up would take it; 0 when start-up would refuse it (a mask without frames).
int makeContent(FuzzContent& fuzz, FuzzInput& in) {
    ContentCatalogue& c = *fuzz.content;
    for (auto* sets : {&c.enemySprites, &c.shotSprites})
        for (SpriteSet& set : *sets)
            loadSet(set, in);
    for (auto* sets : {&c.playerSprites, &c.itemSprites})
        for (SpriteSet& set : *sets)
            loadSet(set, in);
    for (SpriteSet& set : c.deathSprites)
        loadSet(set, in);
    for (int s = 0; s < 3; ++s) {
        loadMiddleMap(c.middleMaps[s], in);
        loadMiddleMap(c.backMaps[s], in);
    }
    loadFixedSet(c.infobarFrame, 3);
    loadFixedSet(c.infobarEnergy, 6);
    loadFixedSet(c.numberFont, 10);
    const char* failed = nullptr;
    return fillGameTypes(c, &fuzz.types, &failed);
}

void fail(const char* what, int tick) {
    std::fprintf(stderr, "invariant broken at tick %d: %s\n", tick, what);
    std::abort();
}

// A frame index is within its set, or 0 for a set without frames.
bool frameOk(const SpriteSet* set, int32_t frame, bool mayEqualCount = false) {
    const int64_t count = set ? set->frameCount() : 0;
    if (frame < 0)
        return false;
    return frame < count || (mayEqualCount && frame == count) || (count == 0 && frame <= 1);
}

void check(const GameWorld& w, const GameTypes& t, int tick) {
    const GameState& s = w.state;
    if (s.specialCount < 0 || s.specialCount > 9)
        fail("specialCount out of 0..9", tick);
    if (s.hp > s.maxHp)
        fail("hp above maxHp", tick);
    if (s.speed != 5 && s.speed != 8 && s.speed != 11)
        fail("speed not 5, 8 or 11", tick);
    if (s.alive && s.animMode == 0 && !frameOk(t.flight, s.flightFrame))
        fail("flight frame", tick);
    if (s.alive && s.animMode == 1 && !frameOk(t.attack, s.attackFrame))
        fail("attack frame", tick);
    if (!s.alive && !frameOk(t.death, s.deathFrame, true))
        fail("death frame", tick);
    for (const Enemy& e : w.enemies) {
        if (!e.active)
            continue;
        if (e.type < 0 || e.type >= enemyTypeCount)
            fail("enemy type", tick);
        const EnemyType& type = t.enemyTypes[static_cast<size_t>(e.type)];
        if (e.alive ? !frameOk(type.sprite, e.frame) : !frameOk(type.deathSprite, e.deathFrame))
            fail("enemy frame", tick);
    }
    for (const auto* table : {&w.playerShots})
        for (const Shot& shot : *table)
            if (shot.active && (shot.weapon < 0 || shot.weapon >= weaponKindCount))
                fail("player shot weapon", tick);
    for (const Shot& shot : w.enemyShots) {
        if (!shot.active)
            continue;
        if (shot.weapon < 0 || shot.weapon >= weaponKindCount)
            fail("enemy shot weapon", tick);
        const WeaponType& weapon = t.weapons[static_cast<size_t>(shot.weapon)];
        if (shot.flying ? !frameOk(weapon.sprite, shot.frame)
                        : !frameOk(weapon.blastSprite, shot.blastFrame))
            fail("shot frame", tick);
    }
    for (const Item& item : w.items)
        if (item.active &&
            (item.kind < 0 || item.kind >= itemKindCount ||
             !frameOk(t.itemKinds[static_cast<size_t>(item.kind)].sprite, item.frame)))
            fail("item", tick);
}

GameKeys keysFrom(uint8_t bits) {
    GameKeys keys;
    keys.leftHeld = bits & 1;
    keys.rightHeld = bits & 2;
    keys.upHeld = bits & 4;
    keys.downHeld = bits & 8;
    keys.specialHeld = bits & 16;
    keys.shotPressed = bits & 32;
    keys.escapeHeld = bits == 0xFF;
    return keys;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static FuzzContent fuzz;
    FuzzInput in{data, size};
    if (!makeContent(fuzz, in))
        return 0;
    GameWorld world;
    world.state.stageIndex = 0;
    startStage(&world, fuzz.types);
    static GameRequests requests;
    for (int tick = 1; tick <= 3000; ++tick) {
        requests.count = 0;
        GameKeys keys = keysFrom(in.byte());
        if (!gameUpdate(&world, fuzz.types, &keys, &requests)) {
            stopStage(&world);
            world.state.stageIndex = world.scene.result == 2 ? (world.state.stageIndex + 1) % 3 : 0;
            startStage(&world, fuzz.types);
        }
        check(world, fuzz.types, tick);
    }
    return 0;
}
