#include "game/game_types.h"

#include <algorithm>
#include <cstring>

namespace kavorind {

GameTypes gameTypes;

namespace {

struct EnemyRow {
    int32_t weapon, fireInterval, hp, dx, dy, accelX, accelY, boss, points, hitSound, deathSound;
    int sprite, deathSprite; // "EnemyN.spr", "DeadN.spr"
};

// The ten enemy types; the spawn code that places type t is 10 + t. Types 2 and 3 (and 6 and 7)
// share their pictures and differ only in drifting down or up; 0, 8 and 9 are the bosses.
constexpr std::array<EnemyRow, enemyTypeCount> enemyRows = {{
    {3, 17, 70, 8, 8, 200, 200, 1, 5000, 3, 3, 2, 3},
    {0, 0, 2, -12, 0, 0, 0, 0, 100, 3, 3, 0, 1},
    {2, 50, 3, -7, 0, 2, 1, 0, 150, 3, 3, 1, 2},
    {2, 50, 3, -7, 0, 2, -1, 0, 150, 3, 3, 1, 2},
    {6, 30, 3, -9, 0, 0, 0, 0, 250, 5, 5, 3, 8},
    {7, 40, 2, -7, 0, 2, 0, 0, 150, 3, 3, 4, 9},
    {0, 0, 1, -5, 0, 0, -1, 0, 50, 3, 3, 5, 10},
    {0, 0, 1, -5, 0, 0, 1, 0, 50, 3, 3, 5, 10},
    {4, 15, 100, 8, 8, 200, 200, 1, 7000, 5, 5, 6, 11},
    {5, 13, 150, 9, 9, 200, 200, 1, 10000, 3, 3, 7, 12},
}};

struct WeaponRow {
    int32_t power, speed, fireSound, hitSound;
    int blastSprite; // "DeadN.spr"; the flight picture is "WeaponK.spr" of the same kind
};

// Kind 0 is the craft's special weapon, 1 its main shot, 2 to 7 the enemies' shots.
constexpr std::array<WeaponRow, weaponKindCount> weaponRows = {{
    {3, 25, 2, 3, 4},
    {1, 20, 2, 3, 5},
    {1, 5, 0, 4, 6},
    {1, 5, 0, 5, 7},
    {1, 7, 0, 6, 13},
    {1, 7, 0, 7, 14},
    {1, 5, 0, 3, 15},
    {1, 5, 0, 3, 16},
}};

struct StageRow {
    int32_t backSpeed, middleSpeed, middleKey;
};

// The last stage's back layer stands still.
constexpr std::array<StageRow, stageCount> stageRows = {{{1, 2, 255}, {1, 2, 249}, {0, 2, 249}}};

// The sets the rules animate need a rate; the sets they index need their frames. Every set that
// fails is noted once, in the order start-up meets it.
struct Checker {
    std::vector<UnusableSet> unusable;

    void note(const char* name, uint32_t framesNeeded, uint32_t framesHeld) {
        for (const UnusableSet& seen : unusable)
            if (std::strcmp(seen.file, name) == 0)
                return;
        unusable.push_back(UnusableSet{name, framesNeeded, framesHeld});
    }
    int32_t delay(const SpriteSet& set, const char* name) {
        int32_t delay = frameDelayOf(set);
        if (delay == 0)
            note(name, 0, set.frameCount());
        return delay;
    }
    void frames(const SpriteSet& set, uint32_t needed, const char* name) {
        if (set.frameCount() < needed)
            note(name, needed, set.frameCount());
    }
};

const char* const enemyNames[] = {"Enemy0.spr", "Enemy1.spr", "Enemy2.spr", "Enemy3.spr",
                                  "Enemy4.spr", "Enemy5.spr", "Enemy6.spr", "Enemy7.spr"};
const char* const weaponNames[] = {"Weapon0.spr", "Weapon1.spr", "Weapon2.spr", "Weapon3.spr",
                                   "Weapon4.spr", "Weapon5.spr", "Weapon6.spr", "Weapon7.spr"};
const char* const deathNames[] = {
    "Dead0.spr",  "Dead1.spr",  "Dead2.spr",  "Dead3.spr",  "Dead4.spr",  "Dead5.spr",
    "Dead6.spr",  "Dead7.spr",  "Dead8.spr",  "Dead9.spr",  "Dead10.spr", "Dead11.spr",
    "Dead12.spr", "Dead13.spr", "Dead14.spr", "Dead15.spr", "Dead16.spr"};
const char* const itemNames[] = {"Item0.spr", "Item1.spr", "Item2.spr"};

void fillEnemies(const ContentCatalogue& content, GameTypes* types, Checker& check) {
    for (size_t t = 0; t < enemyRows.size(); ++t) {
        const EnemyRow& row = enemyRows[t];
        const auto sprite = static_cast<size_t>(row.sprite);
        const auto death = static_cast<size_t>(row.deathSprite);
        types->enemyTypes[t] = EnemyType{
            row.weapon,
            row.fireInterval,
            row.hp,
            row.dx,
            row.dy,
            row.accelX,
            row.accelY,
            row.boss,
            row.points,
            row.hitSound,
            row.deathSound,
            &content.enemySprites[sprite],
            check.delay(content.enemySprites[sprite], enemyNames[sprite]),
            &content.deathSprites[death],
            check.delay(content.deathSprites[death], deathNames[death]),
        };
    }
}

void fillWeapons(const ContentCatalogue& content, GameTypes* types, Checker& check) {
    for (size_t k = 0; k < weaponRows.size(); ++k) {
        const WeaponRow& row = weaponRows[k];
        const auto blast = static_cast<size_t>(row.blastSprite);
        types->weapons[k] = WeaponType{
            row.power,
            row.speed,
            row.fireSound,
            row.hitSound,
            &content.shotSprites[k],
            check.delay(content.shotSprites[k], weaponNames[k]),
            &content.deathSprites[blast],
            check.delay(content.deathSprites[blast], deathNames[blast]),
        };
    }
}

void fillItemsAndStages(const ContentCatalogue& content, GameTypes* types, Checker& check) {
    for (size_t k = 0; k < types->itemKinds.size(); ++k)
        types->itemKinds[k] = ItemKind{static_cast<int32_t>(k), 1, &content.itemSprites[k],
                                       check.delay(content.itemSprites[k], itemNames[k])};
    for (size_t s = 0; s < stageRows.size(); ++s)
        types->stages[s] =
            StageInfo{&content.backMaps[s],   &content.middleMaps[s], &content.frontMaps[s],
                      &content.musicClips[s], stageRows[s].backSpeed, stageRows[s].middleSpeed,
                      stageRows[s].middleKey};
}

} // namespace

int32_t frameDelayOf(const SpriteSet& set) {
    uint32_t rate = set.frameRate();
    if (rate == 0)
        return 0;
    return static_cast<int32_t>(std::max<uint32_t>(30 / rate, 1));
}

int fillGameTypesNoting(const ContentCatalogue& content, GameTypes* types,
                        std::vector<UnusableSet>* unusable) {
    Checker check;
    types->flight = &content.playerSprites[0];
    types->attack = &content.playerSprites[1];
    types->hitMask = &content.playerSprites[2];
    types->death = &content.deathSprites[0];
    types->flightDelay = check.delay(content.playerSprites[0], "MyCap.spr");
    types->attackDelay = check.delay(content.playerSprites[1], "MyACap.spr");
    types->deathDelay = check.delay(content.deathSprites[0], "Dead0.spr");
    fillEnemies(content, types, check);
    fillWeapons(content, types, check);
    fillItemsAndStages(content, types, check);
    // The collision shape, and the head-up display's icon, gauge and digits.
    check.frames(content.playerSprites[2], 1, "Hit.spr");
    check.frames(content.infobarFrame, 3, "infobarf.spr");
    check.frames(content.infobarEnergy, 6, "infobare.spr");
    check.frames(content.numberFont, 10, "Number.spr");
    int usable = check.unusable.empty();
    if (unusable)
        *unusable = std::move(check.unusable);
    return usable;
}

int fillGameTypes(const ContentCatalogue& content, GameTypes* types, const char** failedName) {
    std::vector<UnusableSet> unusable;
    int usable = fillGameTypesNoting(content, types, &unusable);
    if (failedName)
        *failedName = usable ? nullptr : unusable.front().file;
    return usable;
}

const StageInfo& stageInfo(const GameTypes& types, int32_t stageIndex) {
    return types.stages[static_cast<size_t>(std::clamp<int32_t>(stageIndex, 0, stageCount - 1))];
}

} // namespace kavorind
