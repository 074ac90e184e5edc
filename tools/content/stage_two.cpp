// Stage 2: a sea coast at dusk, the sun low over the water, cliffs, palms and lighthouses.
#include "palette.h"
#include "props.h"
#include "stage_layers.h"
#include "stage_paint.h"

#include <algorithm>
#include <cmath>

namespace kavorind {

namespace {

constexpr int backPeriod = 1280;
constexpr int horizon = 300;

double wrapped2(double x, double y, double sx, double sy, uint32_t seed) {
    double px = std::fmod(x, backPeriod), t = px / backPeriod;
    auto f = [&](double xx) { return fractal2(xx / sx, y / sy, seed, 3); };
    return f(px) * (1 - t) + f(px - backPeriod) * t;
}

Canvas paintBack(int width) {
    Canvas c = makeCanvas(width, 480, Dusk);
    gradientRows(&c, 0, horizon, Dusk, 1, 14.5);
    const double sunX = 820, sunY = 262;
    for (int y = 0; y < horizon; ++y)
        for (int x = 0; x < width; ++x) {
            double px = std::fmod(x, backPeriod);
            double d = std::hypot(px - sunX, (y - sunY) * 1.1);
            if (d < 34)
                ditherPut(&c, x, y, Fire, 15 - d / 34 * 2.5);
            else if (d < 120) {
                double sky = 1 + 13.5 * y / (horizon - 1.0);
                double halo = (120 - d) / 86;
                ditherPut(&c, x, y, Dusk, std::min(15.0, sky + halo * halo * 4));
            }
            // Long thin clouds catching the light from below.
            double streak = wrapped2(x, y, 160, 4, 61);
            if (y > 60 && y < 250 && streak > 0.62)
                ditherPut(&c, x, y, Dusk, 5 + y * 0.035 + (streak - 0.62) * 20);
        }
    paintRange(
        &c,
        [](int x) {
            return horizon - 6 - 26 * std::max(0.0, loopNoise(x, backPeriod, 120, 62) * 2 - 0.9);
        },
        Dusk, 2.2, 0, Dusk);
    for (int y = horizon; y < 480; ++y)
        for (int x = 0; x < width; ++x) {
            double px = std::fmod(x, backPeriod);
            double depth = (y - horizon) / 180.0;
            double wave = wrapped2(x, y, 30 + depth * 60, 1.5 + depth * 3, 63);
            double s = 3 + depth * 3.5 + (wave - 0.5) * 4;
            double glow = std::fabs(px - sunX) / (20 + depth * 90);
            if (glow < 1 && wave > 0.45 + glow * 0.2)
                ditherPut(&c, x, y, Fire, 12 - glow * 4 - depth * 3);
            else
                ditherPut(&c, x, y, Sea, s);
        }
    return c;
}

void paintCliffs(Canvas* c, const std::vector<int>& top) {
    for (int x = 0; x < c->width; ++x) {
        double slope = top[std::min(x + 1, c->width - 1)] - top[std::max(x - 1, 0)];
        for (int y = top[x]; y < c->height; ++y) {
            int d = y - top[x];
            if (d < 2)
                ditherPut(c, x, y, Dusk, 13 - d);
            else if (d < 8)
                ditherPut(c, x, y, Foliage, 5 - d * 0.3);
            else {
                double tex = fractal2((x % 32) / 6.0, (y % 32) / 10.0, 71, 2);
                double face = slope < -1 ? 1.5 : slope > 1 ? -1.5 : 0;
                // The rock gives way to wet sand along a wavering line near the bottom.
                bool sand = y > 434 + static_cast<int>(noise1(x / 40.0, 85) * 16);
                ditherPut(c, x, y, sand ? Earth : Stone,
                          4 + tex * 3 + face + (sand ? 2 : 0) - (y - 330) * 0.01);
            }
        }
    }
}

Canvas paintMiddle() {
    const int width = middleColumns * 32;
    Canvas c = makeCanvas(width, 480, KeyMiddle);
    std::vector<int> top(width);
    for (int x = 0; x < width; ++x) {
        // Terraced cliffs: the height moves in steps with short steep faces between them.
        double h = lineNoise(x, 600, 81) * 140 + lineNoise(x, 90, 82, 3) * 30;
        top[x] = static_cast<int>(std::clamp(470 - h, 318.0, 410.0));
    }
    paintCliffs(&c, top);
    Rng rng(83);
    int x = 200;
    int nextLighthouse = 1800;
    while (x < width - 120) {
        if (x > nextLighthouse) {
            standOn(&c, lighthouse(rng.range(110, 140), KeyMiddle), x, top[x] + 6, KeyMiddle);
            nextLighthouse = x + rng.range(2200, 3000);
            x += 80;
            continue;
        }
        int kind = rng.range(0, 5);
        if (kind < 3)
            standOn(&c, palmTree(rng.range(50, 80), rng.range(-14, 14), KeyMiddle), x, top[x] + 4,
                    KeyMiddle);
        else
            standOn(&c, boulder(rng.range(30, 90), rng.range(24, 60), Stone, KeyMiddle), x,
                    top[x] + 10, KeyMiddle);
        x += rng.range(40, 200);
    }
    return c;
}

Canvas paintFront(const Canvas& middle) {
    Canvas c = middle;
    Rng rng(87);
    for (int x = 400; x < c.width - 200; x += rng.range(300, 700))
        standOn(&c, boulder(rng.range(40, 70), rng.range(30, 44), Stone, KeyMiddle), x, 486,
                KeyMiddle);
    return c;
}

} // namespace

StageLayers paintCoastStage() {
    StageLayers s;
    s.middleKey = KeyMiddle;
    s.back = paintBack(160 * 32);
    s.middle = paintMiddle();
    s.front = paintFront(s.middle);
    return s;
}

} // namespace kavorind
