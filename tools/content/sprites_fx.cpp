// Shots, items and the destruction animations.
#include "content.h"
#include "font.h"
#include "palette.h"
#include "shading.h"

#include <algorithm>
#include <cmath>

namespace kavorind {

namespace {

constexpr double pi = 3.14159265358979;

// A glowing blob: white-hot at the core, the ramp's colour towards the edge, soft dithered rim.
void glowBlob(Canvas* c, double cx, double cy, double rx, double ry, uint8_t ramp, double heat) {
    for (int y = 0; y < c->height; ++y)
        for (int x = 0; x < c->width; ++x) {
            double u = (x + 0.5 - cx) / rx, v = (y + 0.5 - cy) / ry;
            double d = std::sqrt(u * u + v * v);
            if (d > 1)
                continue;
            double s = (1 - d) * 15 * heat + 3;
            int l = static_cast<int>(s);
            if (ditherUp(x, y, s - l))
                ++l;
            uint8_t cur = c->get(x, y);
            uint8_t next = shade(ramp, l);
            if (cur == SpriteKey || next > cur)
                c->put(x, y, next);
        }
}

Canvas specialShot(int frame) {
    Canvas c = makeCanvas(52, 24, SpriteKey);
    double wob = std::sin(frame * pi / 2) * 1.5;
    glowBlob(&c, 22, 12, 22, 5 + wob, Energy, 0.9);
    glowBlob(&c, 38, 12, 12, 10 - wob, Energy, 1.0);
    glowBlob(&c, 42, 12, 6, 5, Energy, 1.2);
    return c;
}

Canvas mainShot(int frame) {
    Canvas c = makeCanvas(24, 8, SpriteKey);
    glowBlob(&c, 11, 4, 11, 2.6 + frame * 0.5, Gold, 1.3);
    glowBlob(&c, 17, 4, 5, 3, Fire, 1.4);
    for (int x = 8; x < 21; ++x)
        c.put(x, 4, White);
    return c;
}

Canvas orbShot(int frame, int size, uint8_t ramp) {
    Canvas c = makeCanvas(size, size, SpriteKey);
    double r = size / 2.0 - 1 - (frame % 2);
    glowBlob(&c, size / 2.0, size / 2.0, r, r, ramp, 1.2 + 0.15 * (frame % 3));
    outlineShape(&c, SpriteKey, shade(ramp, 2));
    return c;
}

Canvas starShot(int frame, uint8_t ramp) {
    Canvas c = makeCanvas(18, 18, SpriteKey);
    double a = frame * pi / 8;
    for (int k = 0; k < 4; ++k) {
        double ang = a + k * pi / 2;
        for (double t = 0; t < 8; t += 0.5)
            c.put(static_cast<int>(9 + std::cos(ang) * t), static_cast<int>(9 + std::sin(ang) * t),
                  shade(ramp, 14 - static_cast<int>(t)));
    }
    glowBlob(&c, 9, 9, 5, 5, ramp, 1.1);
    return c;
}

Canvas ringShot(int frame, uint8_t ramp) {
    Canvas c = makeCanvas(16, 16, SpriteKey);
    double r = 6.5 + (frame % 2) * 0.8;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            double d = std::hypot(x + 0.5 - 8, y + 0.5 - 8);
            if (d <= r && d >= r - 3)
                c.put(x, y, shade(ramp, 15 - static_cast<int>((r - d) * 2)));
            else if (d < 2.5)
                c.put(x, y, shade(ramp, 15));
        }
    return c;
}

Canvas needleShot(int frame) {
    Canvas c = makeCanvas(14, 14, SpriteKey);
    glowBlob(&c, 7, 7, 6, 6, Energy, 0.7 + 0.2 * (frame % 2));
    glowBlob(&c, 7, 7, 3, 3, Energy, 1.2);
    return c;
}

template <typename Draw> SpriteSetImage shotSet(Draw draw, int count, uint32_t rate) {
    std::vector<SpriteFrameImage> frames;
    for (int i = 0; i < count; ++i) {
        Canvas c = draw(i);
        frames.push_back(frameOf(c, c.width / 2, c.height / 2));
    }
    return spriteSet(rate, frames);
}

// An item: a glass capsule that turns, with its symbol glowing inside.
Canvas itemCapsule(int frame, uint8_t ramp, char symbol) {
    Model m = makeModel(30, 30);
    double squeeze = 0.75 + 0.25 * std::cos(frame * pi / 3);
    modelEllipse(&m, 15, 15, 13 * squeeze + 1, 13, Metal, 1);
    modelEllipse(&m, 15, 15, 10 * squeeze + 0.5, 10, ramp, 1);
    Canvas c = renderModel(m, SpriteKey, {5.0, 0.3, true});
    TextStyle style;
    style.scale = 2;
    style.ramp = Gold;
    style.top = 15;
    style.bottom = 11;
    style.shadow = Outline;
    int w = textWidth(std::string(1, symbol), style);
    if (squeeze > 0.6)
        drawText(&c, std::string(1, symbol), 15 - w / 2, 8, style);
    // A glint that travels round the glass.
    double ga = frame * pi / 3;
    c.put(static_cast<int>(15 + std::cos(ga) * 9 * squeeze), static_cast<int>(15 - 8), White);
    return c;
}

SpriteSetImage itemSet(uint8_t ramp, char symbol) {
    std::vector<SpriteFrameImage> frames;
    for (int i = 0; i < 6; ++i)
        frames.push_back(frameOf(itemCapsule(i, ramp, symbol), 15, 15));
    return spriteSet(10, frames);
}

struct Blast {
    double x, y, radius;
    double start; // 0..1: when in the animation this blast begins
    uint32_t seed;
};

// One frame of an explosion made of several blasts: each fireball blooms quickly from white to
// orange, then cools into dark smoke that breaks up and is gone by the end of its life.
Canvas explosionFrame(int w, int h, const std::vector<Blast>& blasts, double t, uint8_t ramp,
                      int sparks, uint32_t seed) {
    Canvas c = makeCanvas(w, h, SpriteKey);
    for (const Blast& b : blasts) {
        double life = (t - b.start) / (1 - b.start);
        if (life < 0 || life > 1)
            continue;
        double r = b.radius * (0.35 + 0.65 * std::sqrt(std::min(1.0, life * 1.6)));
        double heat = life < 0.2 ? 1.2 : 1.2 - (life - 0.2) * 1.5;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                double dx = x + 0.5 - b.x, dy = y + 0.5 - b.y;
                double d = std::sqrt(dx * dx + dy * dy) / r;
                double n = fractal2(x * 0.18, y * 0.18 + life * 3, b.seed, 3);
                if (d + (n - 0.5) * 0.6 > 1)
                    continue;
                // The cloud thins from the middle out as it cools.
                if (n < life * 1.15 - 0.35 || (life > 0.5 && d < (life - 0.5) * 1.4 && n < 0.6))
                    continue;
                double s = (1.1 - d) * heat * 15 + (n - 0.5) * 6;
                uint8_t colour;
                if (s >= 5) {
                    int l = static_cast<int>(std::min(15.0, s));
                    colour = shade(ramp, l);
                } else {
                    int l = static_cast<int>(std::max(0.0, 3 + s * 0.8 + n * 4));
                    colour = shade(Stone, std::min(l, 7));
                }
                uint8_t cur = c.get(x, y);
                if (cur == SpriteKey || colour > cur || (cur >= Stone && cur < Stone + 16))
                    c.put(x, y, colour);
            }
    }
    Rng rng(seed);
    for (int k = 0; k < sparks; ++k) {
        double ang = rng.real() * 2 * pi, speed = 0.3 + rng.real() * 0.7;
        double d = speed * t * std::min(w, h) * 0.5;
        int x = static_cast<int>(w / 2.0 + std::cos(ang) * d),
            y = static_cast<int>(h / 2.0 + std::sin(ang) * d);
        if (t < 0.9)
            c.put(x, y, shade(Gold, 15 - static_cast<int>(t * 12)));
    }
    return c;
}

SpriteSetImage explosionSet(int size, int frames, uint32_t rate, uint8_t ramp, int blastCount,
                            uint32_t seed) {
    Rng rng(seed);
    std::vector<Blast> blasts;
    double c = size / 2.0;
    blasts.push_back({c, c, size * 0.36, 0.0, seed});
    for (int i = 1; i < blastCount; ++i) {
        double a = rng.real() * 2 * pi, d = rng.real() * size * 0.28;
        blasts.push_back({c + std::cos(a) * d, c + std::sin(a) * d,
                          size * (0.16 + rng.real() * 0.12), rng.real() * 0.5, seed + i * 7});
    }
    std::vector<SpriteFrameImage> out;
    for (int f = 0; f < frames; ++f) {
        double t = (f + 0.5) / frames;
        out.push_back(frameOf(explosionFrame(size, size, blasts, t, ramp, size / 3, seed), size / 2,
                              size / 2));
    }
    return spriteSet(rate, out);
}

// A shot's burst: a small ring that flashes and scatters.
SpriteSetImage burstSet(uint8_t ramp, int size, uint32_t seed) {
    std::vector<SpriteFrameImage> out;
    Rng rng(seed);
    const int frames = 8;
    for (int f = 0; f < frames; ++f) {
        double t = static_cast<double>(f) / (frames - 1);
        Canvas c = makeCanvas(size, size, SpriteKey);
        double r = 2 + t * (size / 2.0 - 2);
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x) {
                double d = std::hypot(x + 0.5 - size / 2.0, y + 0.5 - size / 2.0);
                double ring = 1 - std::fabs(d - r) / (2 + (1 - t) * 2);
                if (ring <= 0)
                    continue;
                double s = ring * 15 * (1.2 - t);
                if (s < 3)
                    continue;
                if (t > 0.5 && ditherUp(x, y, t - 0.4))
                    continue;
                c.put(x, y, shade(ramp, static_cast<int>(std::min(15.0, s))));
            }
        if (f < 3)
            for (int y = 0; y < size; ++y)
                for (int x = 0; x < size; ++x)
                    if (std::hypot(x + 0.5 - size / 2.0, y + 0.5 - size / 2.0) < 4 - f)
                        c.put(x, y, White);
        for (int k = 0; k < 6; ++k) {
            double a = k * pi / 3 + rng.real() * 0.3;
            double d = t * size * 0.48;
            c.put(static_cast<int>(size / 2.0 + std::cos(a) * d),
                  static_cast<int>(size / 2.0 + std::sin(a) * d), shade(ramp, 15 - f));
        }
        out.push_back(frameOf(c, size / 2, size / 2));
    }
    return spriteSet(30, out);
}

} // namespace

void addShotAndItemSprites(ContentSet* out) {
    out->sprites.push_back({"Weapon0.spr", shotSet(specialShot, 4, 15)});
    out->sprites.push_back({"Weapon1.spr", shotSet(mainShot, 2, 15)});
    out->sprites.push_back(
        {"Weapon2.spr", shotSet([](int f) { return orbShot(f, 12, Fire); }, 4, 15)});
    out->sprites.push_back(
        {"Weapon3.spr", shotSet([](int f) { return orbShot(f, 16, Hull); }, 4, 15)});
    out->sprites.push_back(
        {"Weapon4.spr", shotSet([](int f) { return ringShot(f, Toxic); }, 4, 12)});
    out->sprites.push_back(
        {"Weapon5.spr", shotSet([](int f) { return starShot(f, Plasma); }, 4, 15)});
    out->sprites.push_back({"Weapon6.spr", shotSet(needleShot, 2, 10)});
    out->sprites.push_back(
        {"Weapon7.spr", shotSet([](int f) { return orbShot(f, 12, Plasma); }, 4, 15)});
    out->sprites.push_back({"Item0.spr", itemSet(Hull, '+')});
    out->sprites.push_back({"Item1.spr", itemSet(Energy, 'S')});
    out->sprites.push_back({"Item2.spr", itemSet(Toxic, '>')});
}

void addExplosionSprites(ContentSet* out) {
    struct ExplosionKind {
        int size, frames;
        uint32_t rate;
        uint8_t ramp;
        int blasts;
    };
    // Dead0 is the craft, 1 2 8 9 10 ordinary enemies, 3 11 12 the bosses, the rest shot bursts.
    const ExplosionKind kinds[17] = {
        {72, 12, 10, Fire, 4},    {48, 8, 15, Fire, 2}, {56, 9, 15, Fire, 3},
        {192, 16, 8, Fire, 9},    {0, 0, 0, Energy, 0}, {0, 0, 0, Gold, 0},
        {0, 0, 0, Fire, 0},       {0, 0, 0, Hull, 0},   {60, 10, 15, Fire, 3},
        {48, 8, 15, Plasma, 2},   {40, 8, 15, Fire, 1}, {208, 16, 8, Fire, 10},
        {224, 18, 8, Plasma, 12}, {0, 0, 0, Toxic, 0},  {0, 0, 0, Plasma, 0},
        {0, 0, 0, Energy, 0},     {0, 0, 0, Plasma, 0},
    };
    for (int i = 0; i < 17; ++i) {
        const ExplosionKind& s = kinds[i];
        SpriteSetImage set =
            s.size ? explosionSet(s.size, s.frames, s.rate, s.ramp, s.blasts, 1000 + i * 31)
                   : burstSet(s.ramp, i == 4 ? 40 : 24, 500 + i);
        out->sprites.push_back({"Dead" + std::to_string(i) + ".spr", set});
    }
}

} // namespace kavorind
