// Stage 3: the fortress in space. The far layer stands still: stars, a nebula and a ringed planet.
#include "palette.h"
#include "props.h"
#include "stage_layers.h"
#include "stage_paint.h"

#include <algorithm>
#include <cmath>

namespace kavorind {

namespace {

Canvas paintBack() {
    Canvas c = makeCanvas(640, 480, Space);
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 640; ++x) {
            double n = fractal2(x / 140.0, y / 90.0, 91, 5);
            double s = 0.6 + std::max(0.0, n - 0.45) * 22;
            if (n > 0.62)
                ditherPut(&c, x, y, Plasma, (n - 0.62) * 18);
            else
                ditherPut(&c, x, y, Space, s);
        }
    Rng rng(93);
    for (int k = 0; k < 420; ++k) {
        int x = rng.range(0, 639), y = rng.range(0, 479);
        int b = rng.range(0, 9);
        c.put(x, y, b < 6 ? shade(Space, 12) : b < 8 ? shade(Energy, 13) : White);
        if (b == 9) {
            c.put(x + 1, y, shade(Energy, 11));
            c.put(x - 1, y, shade(Energy, 11));
            c.put(x, y + 1, shade(Energy, 11));
            c.put(x, y - 1, shade(Energy, 11));
        }
    }
    // The planet, lit from the upper left, with a ring tilted across it.
    const double px = 470, py = 170, r = 96;
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 640; ++x) {
            double dx = (x - px) / r, dy = (y - py) / r;
            double d2 = dx * dx + dy * dy;
            double ring = std::fabs((dy * 0.94 - dx * 0.34) * 4.2);
            double rr = std::hypot(dx, (dy - dx * 0.36) * 4.2);
            bool onRing = rr > 1.25 && rr < 1.75 && ring < 7.5;
            bool front = dy - dx * 0.36 > 0;
            if (d2 <= 1 && !(onRing && front)) {
                double nz = std::sqrt(1 - d2);
                double lit = std::max(0.0, -dx * 0.6 - dy * 0.5 + nz * 0.62);
                double bands = noise1(dy * 9 + noise2(dx * 3, dy * 3, 95) * 1.5, 94) * 2.5;
                ditherPut(&c, x, y, Hull, 1 + lit * 11 + bands);
            } else if (onRing && (front || d2 > 1)) {
                ditherPut(&c, x, y, Gold, 4 + (1.75 - rr) * 10);
            }
        }
    return c;
}

// Hull plating: panels of one tile with seams, rivets and a band of lights.
void plate(Canvas* c, int x, int y, int top, int bottom, bool ceiling) {
    int d = ceiling ? bottom - y : y - top;
    int px = x % 32, py = y % 32;
    double s = 7.5 - d * 0.02;
    if (px == 0 || py == 0)
        s -= 3;
    else if (px == 31 || py == 31)
        s += 2;
    if ((px == 4 || px == 27) && (py == 4 || py == 27))
        s += 4;
    if (d < 3)
        s = 12 - d * 2;
    else if (d < 6)
        s = 2;
    ditherPut(c, x, y, Metal, s);
    if (d >= 10 && d < 14 && (x / 6) % 4 == 0)
        c->put(x, y, shade(Energy, 13));
}

Canvas paintMiddle() {
    const int width = middleColumns * 32;
    Canvas c = makeCanvas(width, 480, KeyMiddle);
    std::vector<int> ceiling(width), floor(width);
    for (int x = 0; x < width; ++x) {
        int block = x / 96;
        ceiling[x] = 20 + static_cast<int>(noise1(block * 0.7, 101) * 3.99) * 20;
        floor[x] = 416 - static_cast<int>(noise1(block * 0.5, 102) * 4.99) * 24;
    }
    for (int x = 0; x < width; ++x) {
        for (int y = 0; y < ceiling[x]; ++y)
            plate(&c, x, y, 0, ceiling[x], true);
        for (int y = floor[x]; y < 480; ++y)
            plate(&c, x, y, floor[x], 480, false);
    }
    Rng rng(103);
    for (int x = 240; x < width - 200; x += rng.range(150, 420)) {
        int w = rng.range(22, 40);
        int lowest = *std::min_element(floor.begin() + x - w / 2, floor.begin() + x + w / 2);
        standOn(&c, antennaTower(w, rng.range(60, 130), rng.next(), KeyMiddle), x, lowest + 4,
                KeyMiddle);
    }
    // Hazard stripes under the ceiling's lowest blocks.
    for (int x = 0; x < width; ++x)
        if (ceiling[x] >= 80)
            for (int y = ceiling[x] - 8; y < ceiling[x] - 3; ++y)
                c.put(x, y, ((x + y) / 6) % 2 ? shade(Gold, 11) : shade(Space, 1));
    return c;
}

Canvas paintFront(const Canvas& middle) {
    Canvas c = middle;
    Rng rng(107);
    for (int x = 300; x < c.width - 300; x += rng.range(400, 800))
        standOn(&c, pipeRun(rng.range(120, 260), KeyMiddle), x, 476, KeyMiddle);
    return c;
}

} // namespace

StageLayers paintFortressStage() {
    StageLayers s;
    s.middleKey = KeyMiddle;
    s.back = paintBack();
    s.middle = paintMiddle();
    s.front = paintFront(s.middle);
    return s;
}

} // namespace kavorind
