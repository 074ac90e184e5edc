#pragma once
#include "assets/content_catalogue.h"

#include <array>
#include <cstdint>
#include <vector>

namespace kavorind {

// An enemy type: its weapon, toughness, path, worth, sounds and animations.
struct EnemyType {
    int32_t weapon = 0;       // weapon kind fired; 0 fires nothing
    int32_t fireInterval = 0; // ticks between shots, and before the first
    int32_t hp = 0;
    int32_t dx = 0; // velocity at spawn; a boss's patrol speeds
    int32_t dy = 0;
    int32_t accelX = 0; // added to the velocity every 20 ticks; a boss's patrol band width
    int32_t accelY = 0;
    int32_t boss = 0;
    int32_t points = 0;
    int32_t hitSound = 0;
    int32_t deathSound = 0;
    const SpriteSet* sprite = nullptr;
    int32_t frameDelay = 1;
    const SpriteSet* deathSprite = nullptr;
    int32_t deathFrameDelay = 1;
};

// A weapon kind: what its shots do and look like.
struct WeaponType {
    int32_t power = 0; // 3 or more passes through enemies and destroys enemy shots
    int32_t speed = 0;
    int32_t fireSound = 0;
    int32_t hitSound = 0;
    const SpriteSet* sprite = nullptr;
    int32_t frameDelay = 1;
    const SpriteSet* blastSprite = nullptr;
    int32_t blastFrameDelay = 1;
};

// An item kind: 0 a hit point, 1 a special shot, 2 more speed.
struct ItemKind {
    int32_t effect = 0;
    int32_t pickupSound = 0;
    const SpriteSet* sprite = nullptr;
    int32_t frameDelay = 1;
};

// A stage: its three maps, its music, how fast its layers scroll and the middle layer's key.
struct StageInfo {
    const StageMap* backMap = nullptr;
    const StageMap* middleMap = nullptr;
    const StageMap* frontMap = nullptr;
    const WaveClip* music = nullptr;
    int32_t backSpeed = 0;
    int32_t middleSpeed = 0;
    int32_t middleKey = 0;
};

constexpr int enemyTypeCount = 10;
constexpr int weaponKindCount = 8;
constexpr int itemKindCount = 3;
constexpr int stageCount = 3;

// The fixed tables the rules read, pointing into the loaded content; filled once at start-up.
struct GameTypes {
    std::array<EnemyType, enemyTypeCount> enemyTypes{};
    std::array<WeaponType, weaponKindCount> weapons{};
    std::array<ItemKind, itemKindCount> itemKinds{};
    std::array<StageInfo, stageCount> stages{};
    const SpriteSet* flight = nullptr;  // "MyCap.spr"
    const SpriteSet* attack = nullptr;  // "MyACap.spr"
    const SpriteSet* hitMask = nullptr; // "Hit.spr", frame 0 is the craft's collision shape
    const SpriteSet* death = nullptr;   // "Dead0.spr"
    int32_t flightDelay = 1;
    int32_t attackDelay = 1;
    int32_t deathDelay = 1;
};

extern GameTypes gameTypes;

// The ticks a frame of a set lasts: 30 / rate, and at least 1, since a set faster than 30 frames a
// second would otherwise freeze (a delay of 0 never runs out). 0 when the rate is 0: such a set
// cannot be animated.
int32_t frameDelayOf(const SpriteSet& set);
// A sprite set the rules cannot use: a rate of 0 when framesNeeded is 0, otherwise fewer frames
// than the rules index.
struct UnusableSet {
    const char* file = nullptr;
    uint32_t framesNeeded = 0;
    uint32_t framesHeld = 0;
};

// Fills the tables from the loaded content, noting every set the rules cannot use (each once, in
// the order start-up meets them); 1 when there is none.
int fillGameTypesNoting(const ContentCatalogue& content, GameTypes* types,
                        std::vector<UnusableSet>* unusable);
// Fills the tables from the loaded content. 0 when a set the rules animate has a rate of 0 or a set
// they index has too few frames; *failedName then names its file.
int fillGameTypes(const ContentCatalogue& content, GameTypes* types, const char** failedName);
// The stage's row (a stage index out of range takes the last stage's row).
const StageInfo& stageInfo(const GameTypes& types, int32_t stageIndex);

} // namespace kavorind
