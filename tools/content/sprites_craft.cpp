// The player's craft, its attack animation and collision mask, and the eight enemy sets.
#include "content.h"
#include "palette.h"
#include "shading.h"

#include <cmath>

namespace kavorind {

namespace {

constexpr double pi = 3.14159265358979;

// The craft, nose to the right, 64 x 32 with its middle at (32, 16). `flame` sets the engine's
// length, `flash` the size of the muzzle flash at the nose, `recoil` pushes the body back.
Canvas drawCraft(double flame, double flash, int recoil) {
    Model m = makeModel(64, 32);
    double o = 10 - recoil;
    // Wings first so the fuselage sits over them.
    modelPolygon(&m, {{o + 10, 12}, {o + 30, 12}, {o + 22, 3}, {o + 12, 3}}, Metal, -1);
    modelPolygon(&m, {{o + 10, 19}, {o + 30, 19}, {o + 24, 29}, {o + 12, 29}}, Metal, -2);
    modelRect(&m, static_cast<int>(o + 12), 3, 8, 3, Hull, 1);
    modelRect(&m, static_cast<int>(o + 12), 26, 9, 3, Hull, 0);
    modelPolygon(&m,
                 {{o + 2, 12},
                  {o + 14, 9},
                  {o + 36, 10},
                  {o + 50, 15},
                  {o + 36, 21},
                  {o + 14, 22},
                  {o + 2, 19}},
                 Metal, 1);
    modelEllipse(&m, o + 33, 13.5, 7, 3.2, Energy, 2);
    modelRect(&m, static_cast<int>(o), 13, 4, 6, Stone, -2);
    modelTint(&m, o + 22, 18.5, 9, 1.2, -3);
    if (flame > 0)
        modelGlow(&m, o - flame / 2, 16, flame / 2 + 1, 2.6, Fire, 15, 5);
    if (flash > 0)
        modelGlow(&m, o + 52, 15.5, flash, flash * 0.6, Gold, 15, 8);
    return renderModel(m, SpriteKey, {3.0, 0.25, true});
}

SpriteSetImage craftFlight() {
    std::vector<SpriteFrameImage> frames;
    const double flames[4] = {8, 11, 9, 12};
    for (double f : flames)
        frames.push_back(frameOf(drawCraft(f, 0, 0), 32, 16));
    return spriteSet(12, frames);
}

SpriteSetImage craftAttack() {
    std::vector<SpriteFrameImage> frames;
    const double flashes[5] = {5, 7, 5, 3, 0};
    const int recoil[5] = {2, 1, 1, 0, 0};
    for (int i = 0; i < 5; ++i)
        frames.push_back(frameOf(drawCraft(10 - i, flashes[i], recoil[i]), 32, 16));
    return spriteSet(20, frames);
}

// The mask that enemy shots and bodies are tested against: the fuselage's core only, a good deal
// smaller than the drawn craft, so that near misses stay misses.
SpriteSetImage craftHitMask() {
    Canvas c = makeCanvas(24, 8, SpriteKey);
    fillEllipse(&c, 12, 4, 12, 4, shade(Hull, 10));
    return spriteSet(1, {frameOf(c, 10, 4)});
}

// Type 1: a fast red dart that flies straight across, nose to the left.
Canvas drawDart(int frame) {
    Model m = makeModel(44, 24);
    modelPolygon(&m, {{30, 3}, {40, 3}, {34, 11}}, Hull, -1);
    modelPolygon(&m, {{30, 21}, {40, 21}, {34, 13}}, Hull, -2);
    modelPolygon(&m, {{3, 12}, {16, 8}, {36, 9}, {40, 12}, {36, 15}, {16, 16}}, Hull, 1);
    modelEllipse(&m, 15, 12, 5, 2.2, Gold, 2);
    modelGlow(&m, 41, 12, 2 + (frame % 2) * 1.5, 2, Fire, 15, 6);
    return renderModel(m, SpriteKey, {2.5, 0.25, true});
}

// Types 2 and 3: a saucer with a ring of running lights.
Canvas drawSaucer(int frame) {
    Model m = makeModel(40, 30);
    modelEllipse(&m, 20, 17, 18, 7, Metal, 0);
    modelEllipse(&m, 20, 12, 9, 7, Energy, 1);
    modelTint(&m, 20, 21, 16, 2, -3);
    for (int k = 0; k < 5; ++k) {
        double x = 6 + k * 7;
        bool on = ((k + frame) % 3) == 0;
        modelGlow(&m, x, 18, 1.6, 1.6, on ? Gold : Hull, on ? 15 : 8, on ? 10 : 5);
    }
    return renderModel(m, SpriteKey, {4.0, 0.25, true});
}

// Type 4: an armoured gunship with a twin cannon, nose to the left.
Canvas drawGunship(int frame) {
    Model m = makeModel(52, 36);
    modelPolygon(&m, {{8, 14}, {20, 6}, {42, 6}, {48, 14}, {48, 24}, {40, 30}, {18, 30}, {8, 22}},
                 Stone, 0);
    modelPolygon(&m, {{18, 8}, {38, 8}, {42, 14}, {16, 14}}, Hull, 1);
    modelRect(&m, 1, 15, 10, 3, Metal, 1);
    modelRect(&m, 1, 21, 10, 3, Metal, 0);
    modelRect(&m, 22, 20, 18, 3, Stone, -3);
    modelGlow(&m, 30, 17, 3, 2.5, Toxic, 12 + frame % 2 * 3, 7);
    modelGlow(&m, 50, 19, 2 + frame % 2, 4, Fire, 14, 6);
    return renderModel(m, SpriteKey, {3.0, 0.22, true});
}

// Type 5: a drone orb inside a spinning ring; the near half of the ring passes in front of it.
Canvas drawOrbDrone(int frame) {
    double a = frame * pi / 4;
    double rx = 15 * std::fabs(std::cos(a)) + 2;
    Canvas ring = makeCanvas(36, 36, SpriteKey);
    for (int y = 0; y < 36; ++y)
        for (int x = 0; x < 36; ++x) {
            double u = (x + 0.5 - 18) / rx, v = (y + 0.5 - 18) / 16;
            double d = u * u + v * v;
            double inner = (x + 0.5 - 18) / std::max(rx - 3, 0.7);
            double vi = (y + 0.5 - 18) / 13;
            if (d <= 1 && inner * inner + vi * vi > 1)
                ring.put(x, y, shade(Gold, 13 - y / 4));
        }
    Model core = makeModel(36, 36);
    modelEllipse(&core, 18, 18, 10, 10, Metal, 0);
    modelGlow(&core, 16, 16, 4, 4, Plasma, 15, 8);
    Canvas body = renderModel(core, SpriteKey, {6.0, 0.2, false});
    Canvas out = ring;
    bool leftNear = std::sin(a) > 0;
    for (int y = 0; y < 36; ++y)
        for (int x = 0; x < 36; ++x) {
            uint8_t v = body.get(x, y);
            bool ringInFront = ring.get(x, y) != SpriteKey && ((x < 18) == leftNear);
            if (v != SpriteKey && !ringInFront)
                out.put(x, y, v);
        }
    outlineShape(&out, SpriteKey, Outline);
    return out;
}

// Types 6 and 7: a small spinning mine with spikes.
Canvas drawMine(int frame) {
    Model m = makeModel(28, 28);
    for (int k = 0; k < 4; ++k) {
        double a = k * pi / 2 + frame * pi / 12;
        double cx = 14 + std::cos(a) * 10, cy = 14 + std::sin(a) * 10;
        modelEllipse(&m, cx, cy, 3, 3, Metal, 0);
    }
    modelEllipse(&m, 14, 14, 8, 8, Plasma, -1);
    modelGlow(&m, 14, 14, 3, 3, Fire, frame % 2 ? 15 : 11, 6);
    return renderModel(m, SpriteKey, {4.0, 0.25, true});
}

// Stage 1's boss: a heavy gunship several times the craft's size, with a pulsing reactor.
Canvas drawBossGunship(int frame) {
    Model m = makeModel(152, 108);
    modelPolygon(&m, {{40, 6}, {110, 6}, {130, 30}, {92, 34}}, Hull, -1);
    modelPolygon(&m, {{40, 102}, {110, 102}, {130, 78}, {92, 74}}, Hull, -2);
    modelPolygon(&m, {{6, 54}, {30, 30}, {120, 26}, {146, 40}, {146, 68}, {120, 82}, {30, 78}},
                 Metal, 0);
    modelPolygon(&m, {{30, 40}, {110, 36}, {126, 46}, {126, 62}, {110, 72}, {30, 68}}, Stone, 1);
    modelRect(&m, 2, 44, 26, 5, Metal, 1);
    modelRect(&m, 2, 60, 26, 5, Metal, 0);
    modelEllipse(&m, 24, 54, 9, 9, Hull, 1);
    for (int k = 0; k < 5; ++k)
        modelRect(&m, 44 + k * 14, 30, 8, 3, Stone, -3);
    int pulse = frame % 4;
    modelGlow(&m, 76, 54, 12, 12, Fire, 15, 7 + pulse);
    modelGlow(&m, 24, 54, 3, 3, Gold, 15, 9);
    for (int k = 0; k < 3; ++k)
        modelGlow(&m, 147, 44 + k * 10, 3 + (frame + k) % 2, 3, Energy, 15, 6);
    return renderModel(m, SpriteKey, {6.0, 0.22, true});
}

// Stage 2's boss: a crab-like war machine of bronze plates on four legs.
Canvas drawBossCrab(int frame) {
    Model m = makeModel(168, 120);
    double step = std::sin(frame * pi / 2) * 4;
    for (int k = 0; k < 4; ++k) {
        double x = 36 + k * 32, lift = (k % 2 ? step : -step);
        modelPolygon(
            &m, {{x, 70}, {x + 8, 70}, {x - 6 + k * 2, 112 + lift}, {x - 14 + k * 2, 112 + lift}},
            Stone, -1);
    }
    modelEllipse(&m, 90, 56, 70, 36, Gold, 0);
    modelEllipse(&m, 90, 44, 52, 18, Gold, 2);
    modelPolygon(&m, {{6, 40}, {34, 30}, {40, 44}, {20, 52}}, Gold, 1);
    modelPolygon(&m, {{6, 74}, {34, 82}, {40, 68}, {20, 62}}, Gold, 0);
    for (int k = 0; k < 4; ++k)
        modelTint(&m, 60 + k * 20, 70, 6, 10, -3);
    modelGlow(&m, 42, 50, 6, 6, Toxic, 15, 7);
    modelGlow(&m, 42, 64, 6, 6, Toxic, 15 - frame % 2 * 3, 7);
    modelGlow(&m, 96, 40, 10, 5, Sea, 14, 8);
    return renderModel(m, SpriteKey, {7.0, 0.22, true});
}

// The final boss: a fortress core, an armoured eye in a ring of plasma vents.
Canvas drawBossCore(int frame) {
    Model m = makeModel(184, 152);
    for (int k = 0; k < 8; ++k) {
        double a = k * pi / 4 + pi / 8;
        double cx = 98 + std::cos(a) * 60, cy = 76 + std::sin(a) * 58;
        modelEllipse(&m, cx, cy, 16, 16, Space, 2);
    }
    modelEllipse(&m, 98, 76, 66, 62, Metal, -1);
    modelEllipse(&m, 98, 76, 46, 44, Space, 3);
    modelPolygon(&m, {{4, 70}, {40, 60}, {40, 92}, {4, 82}}, Metal, 0);
    for (int k = 0; k < 8; ++k) {
        double a = k * pi / 4 + pi / 8;
        double cx = 98 + std::cos(a) * 60, cy = 76 + std::sin(a) * 58;
        bool lit = (k + frame) % 3 == 0;
        modelGlow(&m, cx, cy, 6, 6, Plasma, lit ? 15 : 10, 4);
    }
    double look = std::sin(frame * pi / 3) * 4;
    modelEllipse(&m, 92, 76, 30, 24, Metal, 4);
    modelGlow(&m, 86 + look, 76, 16, 16, Hull, 15, 5);
    modelGlow(&m, 84 + look, 74, 6, 6, Fire, 15, 12);
    modelGlow(&m, 6, 76, 4, 5, Plasma, 15, 8);
    return renderModel(m, SpriteKey, {8.0, 0.22, true});
}

template <typename Draw>
SpriteSetImage animated(Draw draw, int count, uint32_t rate, int hotX, int hotY) {
    std::vector<SpriteFrameImage> frames;
    for (int i = 0; i < count; ++i)
        frames.push_back(frameOf(draw(i), hotX, hotY));
    return spriteSet(rate, frames);
}

} // namespace

void addCraftSprites(ContentSet* out) {
    out->sprites.push_back({"MyCap.spr", craftFlight()});
    out->sprites.push_back({"MyACap.spr", craftAttack()});
    out->sprites.push_back({"Hit.spr", craftHitMask()});
}

void addEnemySprites(ContentSet* out) {
    out->sprites.push_back({"Enemy0.spr", animated(drawDart, 4, 15, 22, 12)});
    out->sprites.push_back({"Enemy1.spr", animated(drawSaucer, 6, 10, 20, 15)});
    out->sprites.push_back({"Enemy2.spr", animated(drawBossGunship, 4, 8, 76, 54)});
    out->sprites.push_back({"Enemy3.spr", animated(drawGunship, 4, 12, 26, 18)});
    out->sprites.push_back({"Enemy4.spr", animated(drawOrbDrone, 8, 12, 18, 18)});
    out->sprites.push_back({"Enemy5.spr", animated(drawMine, 6, 12, 14, 14)});
    out->sprites.push_back({"Enemy6.spr", animated(drawBossCrab, 4, 6, 84, 60)});
    out->sprites.push_back({"Enemy7.spr", animated(drawBossCore, 6, 8, 92, 76)});
}

} // namespace kavorind
