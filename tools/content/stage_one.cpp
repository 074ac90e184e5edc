// Stage 1: a bright sky over snowy mountains, with green hills, pines and old towers below.
#include "palette.h"
#include "props.h"
#include "stage_layers.h"
#include "stage_paint.h"

#include <algorithm>
#include <cmath>

namespace kavorind {

namespace {

constexpr int backPeriod = 1280;

void clouds(Canvas* c, int y0, int y1, uint32_t seed) {
    for (int y = y0; y < y1; ++y)
        for (int x = 0; x < c->width; ++x) {
            double px = std::fmod(x, backPeriod), t = px / backPeriod;
            auto f = [&](double xx) { return fractal2(xx / 90.0, y / 22.0, seed, 4); };
            double n = f(px) * (1 - t) + f(px - backPeriod) * t;
            double band = 1 - std::fabs((y - (y0 + y1) / 2.0) / ((y1 - y0) / 2.0));
            double v = n * 0.9 + band * 0.45 - 0.72;
            if (v > 0)
                ditherPut(c, x, y, Sky, 11 + v * 14 - (y - y0) * 0.015);
        }
}

Canvas paintBack(int width) {
    Canvas c = makeCanvas(width, 480, Sky);
    gradientRows(&c, 0, 480, Sky, 3, 13);
    clouds(&c, 30, 130, 11);
    clouds(&c, 150, 230, 12);
    paintRange(
        &c, [](int x) { return 330 - 190 * loopRidges(x, backPeriod, 320, 21); }, Sky, 8.5, 250,
        Sky);
    paintRange(
        &c, [](int x) { return 390 - 120 * loopRidges(x, backPeriod, 200, 22); }, Sea, 6, 0, Sky);
    paintRange(
        &c, [](int x) { return 385 + 30 * loopNoise(x, backPeriod, 60, 23, 3); }, Foliage, 3.2, 0,
        Sky);
    return c;
}

// Ground: grass over layered soil. The soil's texture repeats every tile so buried tiles merge.
void paintGround(Canvas* c, const std::vector<int>& top) {
    for (int x = 0; x < c->width; ++x)
        for (int y = top[x]; y < c->height; ++y) {
            int d = y - top[x];
            if (d < 3)
                ditherPut(c, x, y, Foliage, 12.5 - d);
            else if (d < 12)
                ditherPut(c, x, y, Foliage, 8.5 - d * 0.3 + noise2(x * 0.5, y * 0.5, 5) * 1.5);
            else if (d < 14)
                c->put(x, y, shade(Earth, 2));
            else {
                // Pebbles in the soil: a texture that repeats every 64 pixels.
                double px = x % 64, py = y % 64;
                double tex = fractal2(px / 8.0, py / 8.0, 7, 2);
                double edge = std::min(px, 64 - px) / 64 * 2;
                double tex2 = fractal2((px + 64) / 8.0, py / 8.0, 7, 2);
                double t = tex * (0.5 + edge * 0.5) + tex2 * (0.5 - edge * 0.5);
                double stone = t > 0.68 ? 1.5 : t < 0.28 ? -1 : 0;
                ditherPut(c, x, y, Earth, 5 + stone + t * 1.2 - (y - 400) * 0.012);
            }
        }
    // Tufts of grass on the skyline.
    Rng rng(31);
    for (int x = 0; x < c->width; ++x)
        if (rng.range(0, 3) == 0)
            for (int k = 1; k <= rng.range(1, 3); ++k)
                c->put(x, top[x] - k, shade(Foliage, 11 + k));
}

Canvas paintMiddle() {
    const int width = middleColumns * 32;
    Canvas c = makeCanvas(width, 480, KeyFirst);
    std::vector<int> top(width);
    for (int x = 0; x < width; ++x) {
        double hill = lineNoise(x, 900, 41) * 110 + lineNoise(x, 160, 42, 2) * 24;
        top[x] = static_cast<int>(std::clamp(410 - hill + 20, 318.0, 404.0));
    }
    paintGround(&c, top);
    Rng rng(43);
    int x = 120;
    while (x < width - 100) {
        int kind = rng.range(0, 9);
        if (kind < 6)
            standOn(&c, pineTree(rng.range(40, 88), rng.next(), KeyFirst), x, top[x] + 4, KeyFirst);
        else if (kind < 8)
            standOn(&c, boulder(rng.range(20, 34), rng.range(14, 22), Stone, KeyFirst), x,
                    top[x] + 5, KeyFirst);
        else
            standOn(&c, ruinedTower(rng.range(26, 38), rng.range(70, 120), rng.next(), KeyFirst), x,
                    top[x] + 8, KeyFirst);
        x += rng.range(28, 170);
    }
    return c;
}

Canvas paintFront(const Canvas& middle) {
    Canvas c = middle;
    Rng rng(47);
    for (int x = 300; x < c.width - 200; x += rng.range(260, 620))
        for (int k = 0; k < rng.range(1, 3); ++k)
            standOn(&c, roundBush(rng.range(36, 60), -4, KeyFirst), x + k * 30, 482, KeyFirst);
    return c;
}

} // namespace

StageLayers paintMountainStage() {
    StageLayers s;
    s.middleKey = KeyFirst;
    s.back = paintBack(160 * 32);
    s.middle = paintMiddle();
    s.front = paintFront(s.middle);
    return s;
}

} // namespace kavorind
