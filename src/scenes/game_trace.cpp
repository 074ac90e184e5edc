#include "scenes/game_trace.h"

#include "game/game_state.h"
#include "scenes/scene_protocol.h"

#include <initializer_list>
#include <utility>

namespace kavorind {

namespace {

using Named = std::pair<const char*, long>;

void traceObject(std::string& text, std::initializer_list<Named> members) {
    text += '{';
    bool first = true;
    for (const Named& member : members) {
        if (!first)
            text += ',';
        first = false;
        text += '"';
        text += member.first;
        text += "\":";
        text += std::to_string(member.second);
    }
    text += '}';
}

void traceState(TraceFields& fields, const GameState& s) {
    // stageIndex is on every line already.
    for (const Named& field : std::initializer_list<Named>{
             {"score", s.score},
             {"hp", s.hp},
             {"maxHp", s.maxHp},
             {"speed", s.speed},
             {"specialCount", s.specialCount},
             {"specialReload", s.specialReload},
             {"specialCooldown", s.specialCooldown},
             {"shotReload", s.shotReload},
             {"shotCooldown", s.shotCooldown},
             {"playerX", s.playerX},
             {"playerY", s.playerY},
             {"alive", s.alive},
             {"animMode", s.animMode},
             {"flightFrame", s.flightFrame},
             {"flightCounter", s.flightCounter},
             {"flightDelay", s.flightDelay},
             {"attackFrame", s.attackFrame},
             {"attackCounter", s.attackCounter},
             {"attackDelay", s.attackDelay},
             {"deathFrame", s.deathFrame},
             {"deathCounter", s.deathCounter},
             {"deathDelay", s.deathDelay},
             {"playerHitSound", s.playerHitSound},
             {"playerDeathSound", s.playerDeathSound},
         })
        traceField(fields, field.first, field.second);
}

void traceScene(TraceFields& fields, const GameScene& s) {
    for (const Named& field : std::initializer_list<Named>{
             {"result", s.result},
             {"stageCleared", s.stageCleared},
             {"lastStageCleared", s.lastStageCleared},
             {"backScroll", s.backScroll},
             {"midScroll", s.midScroll},
             {"backScrollLimit", s.backScrollLimit},
             {"midScrollLimit", s.midScrollLimit},
             {"spawnRows", s.spawnRows},
             {"lastSpawnColumn", s.lastSpawnColumn},
             {"hitFlash", s.hitFlash},
         })
        traceField(fields, field.first, field.second);
}

void traceEnemies(std::string& text, const GameWorld& world) {
    text += ",\"enemies\":[";
    bool first = true;
    for (size_t slot = 0; slot < world.enemies.size(); ++slot) {
        const Enemy& e = world.enemies[slot];
        if (!e.active)
            continue;
        if (!first)
            text += ',';
        first = false;
        traceObject(text, {{"slot", static_cast<long>(slot)},
                           {"type", e.type},
                           {"x", e.x},
                           {"y", e.y},
                           {"dx", e.dx},
                           {"dy", e.dy},
                           {"hp", e.hp},
                           {"alive", e.alive},
                           {"frame", e.frame},
                           {"deathFrame", e.deathFrame}});
    }
    text += ']';
}

template <size_t count>
void traceShots(std::string& text, const char* name, const std::array<Shot, count>& shots) {
    text += ",\"";
    text += name;
    text += "\":[";
    bool first = true;
    for (size_t slot = 0; slot < shots.size(); ++slot) {
        const Shot& s = shots[slot];
        if (!s.active)
            continue;
        if (!first)
            text += ',';
        first = false;
        traceObject(text, {{"slot", static_cast<long>(slot)},
                           {"weapon", s.weapon},
                           {"x", s.x},
                           {"y", s.y},
                           {"dx", s.dx},
                           {"dy", s.dy},
                           {"flying", s.flying},
                           {"frame", s.frame},
                           {"blastFrame", s.blastFrame}});
    }
    text += ']';
}

void traceItems(std::string& text, const GameWorld& world) {
    text += ",\"items\":[";
    bool first = true;
    for (size_t slot = 0; slot < world.items.size(); ++slot) {
        const Item& i = world.items[slot];
        if (!i.active)
            continue;
        if (!first)
            text += ',';
        first = false;
        traceObject(text, {{"slot", static_cast<long>(slot)},
                           {"kind", i.kind},
                           {"x", i.x},
                           {"y", i.y},
                           {"dx", i.dx},
                           {"dy", i.dy},
                           {"frame", i.frame}});
    }
    text += ']';
}

} // namespace

void traceGame(TraceFields& fields) {
    if (sceneLoop.currentScene != SceneGame)
        return;
    traceState(fields, game.state);
    traceScene(fields, game.scene);
    traceEnemies(fields.text, game);
    traceShots(fields.text, "playerShots", game.playerShots);
    traceShots(fields.text, "enemyShots", game.enemyShots);
    traceItems(fields.text, game);
}

} // namespace kavorind
