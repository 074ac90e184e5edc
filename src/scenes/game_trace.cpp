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

// "name":[...] with one object per active slot of the table, in table order.
template <typename Slot, size_t count, typename Members>
void traceSlots(std::string& text, const char* name, const std::array<Slot, count>& table,
                Members members) {
    text += ",\"";
    text += name;
    text += "\":[";
    bool first = true;
    for (size_t slot = 0; slot < table.size(); ++slot) {
        if (!table[slot].active)
            continue;
        if (!first)
            text += ',';
        first = false;
        members(text, static_cast<long>(slot), table[slot]);
    }
    text += ']';
}

void enemyMembers(std::string& text, long slot, const Enemy& e) {
    traceObject(text, {{"slot", slot},
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

void shotMembers(std::string& text, long slot, const Shot& s) {
    traceObject(text, {{"slot", slot},
                       {"weapon", s.weapon},
                       {"x", s.x},
                       {"y", s.y},
                       {"dx", s.dx},
                       {"dy", s.dy},
                       {"flying", s.flying},
                       {"frame", s.frame},
                       {"blastFrame", s.blastFrame}});
}

void itemMembers(std::string& text, long slot, const Item& i) {
    traceObject(text, {{"slot", slot},
                       {"kind", i.kind},
                       {"x", i.x},
                       {"y", i.y},
                       {"dx", i.dx},
                       {"dy", i.dy},
                       {"frame", i.frame}});
}

} // namespace

void traceGame(TraceFields& fields) {
    if (sceneLoop.currentScene != SceneGame)
        return;
    traceState(fields, game.state);
    traceScene(fields, game.scene);
    traceSlots(fields.text, "enemies", game.enemies, enemyMembers);
    traceSlots(fields.text, "playerShots", game.playerShots, shotMembers);
    traceSlots(fields.text, "enemyShots", game.enemyShots, shotMembers);
    traceSlots(fields.text, "items", game.items, itemMembers);
}

} // namespace kavorind
