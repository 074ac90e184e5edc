// The game's pictures: palette source, logo, menu, opening and the stage-clear panel.
#include "content.h"
#include "font.h"
#include "palette.h"
#include "shading.h"
#include "stage_paint.h"

#include <algorithm>
#include <cmath>

namespace kavorind {

namespace {

// The palette source: every colour of the game as a 16 x 16 grid of swatches.
Canvas paletteSwatches() {
    Canvas c = makeCanvas(128, 128, 0);
    for (int i = 0; i < 256; ++i)
        fillRect(&c, (i % 16) * 8, (i / 16) * 8, 8, 8, static_cast<uint8_t>(i));
    return c;
}

// Distance in pixels from each set pixel of a mask to the nearest unset one, up to limit.
std::vector<int> insideDistance(const Canvas& mask, int limit) {
    std::vector<int> d(mask.pixels.size(), 0);
    for (int y = 0; y < mask.height; ++y)
        for (int x = 0; x < mask.width; ++x) {
            if (!mask.get(x, y))
                continue;
            int best = limit;
            for (int r = 1; r < limit && best == limit; ++r)
                for (int k = -r; k <= r; ++k)
                    if (!mask.inside(x + k, y - r) || !mask.get(x + k, y - r) ||
                        !mask.inside(x + k, y + r) || !mask.get(x + k, y + r) ||
                        !mask.inside(x - r, y + k) || !mask.get(x - r, y + k) ||
                        !mask.inside(x + r, y + k) || !mask.get(x + r, y + k)) {
                        best = r;
                        break;
                    }
            d[static_cast<size_t>(y) * mask.width + x] = best;
        }
    return d;
}

// Slanted block capitals with a bevel lit from the upper left, in the logo's gold.
Canvas logo() {
    const int w = 500, h = 170;
    Canvas c = makeCanvas(w, h, 0);
    Canvas mask = makeCanvas(w, h, 0);
    TextStyle big;
    big.scale = 9;
    big.ramp = 0;
    big.top = big.bottom = 1;
    big.shadowOn = false;
    const std::string title = "KAVORIND";
    int tw = textWidth(title, big);
    Canvas upright = makeCanvas(w, h, 0);
    drawText(&upright, title, (w - tw) / 2 + 16, 18, big);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            int sx = x + static_cast<int>((y - 50) * 0.25);
            if (upright.inside(sx, y) && upright.get(sx, y))
                mask.put(x, y, 1);
        }
    std::vector<int> inside = insideDistance(mask, 6);
    // A blue glow around the letters, fading out over 12 pixels.
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            if (mask.get(x, y))
                continue;
            double best = 99;
            for (int dy = -12; dy <= 12; dy += 2)
                for (int dx = -12; dx <= 12; dx += 2)
                    if (mask.inside(x + dx, y + dy) && mask.get(x + dx, y + dy))
                        best = std::min(best, std::hypot(dx, dy));
            if (best < 13)
                c.put(x, y, static_cast<uint8_t>(144 + std::max(0.0, 40 - best * 3.3)));
        }
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            if (!mask.get(x, y))
                continue;
            int d = inside[static_cast<size_t>(y) * w + x];
            bool upLeft = !mask.get(x - 1, y - 1) || !mask.get(x - 2, y) || !mask.get(x, y - 2);
            double t = (y - 18) / 63.0; // top of the letters to their bottom
            double s = 50 - t * 34;
            if (d <= 3)
                s = upLeft ? 62 : 10;
            if (d == 1)
                s = upLeft ? 63 : 4;
            c.put(x, y, static_cast<uint8_t>(16 + std::clamp(s, 0.0, 63.0)));
        }
    // A steel rule under the title and the line below it.
    for (int x = 60; x < w - 60; ++x) {
        double fade = 1 - std::fabs(x - w / 2.0) / (w / 2.0 - 60);
        for (int y = 0; y < 4; ++y)
            c.put(x, 112 + y, static_cast<uint8_t>(80 + std::clamp(fade * 60 - y * 8, 2.0, 63.0)));
    }
    TextStyle sub;
    sub.scale = 2;
    sub.ramp = 0;
    sub.top = sub.bottom = 1;
    sub.shadowOn = false;
    Canvas line = makeCanvas(w, 20, 0);
    const std::string tag = "STRIKE FROM THE SKY";
    drawText(&line, tag, (w - textWidth(tag, sub)) / 2, 2, sub);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < w; ++x)
            if (line.get(x, y))
                c.put(x, 126 + y, static_cast<uint8_t>(80 + 60 - y * 2));
    return c;
}

void stars(Canvas* c, int count, int maxY, uint32_t seed) {
    Rng rng(seed);
    for (int k = 0; k < count; ++k) {
        int x = rng.range(0, c->width - 1), y = rng.range(0, maxY);
        int b = rng.range(0, 9);
        c->put(x, y, b < 6 ? shade(Space, 11) : b < 9 ? shade(Energy, 13) : White);
    }
}

// A planet's rim across the bottom of a picture, with a glowing atmosphere.
void planetRim(Canvas* c, double cx, double cy, double r, uint8_t ramp) {
    for (int y = 0; y < c->height; ++y)
        for (int x = 0; x < c->width; ++x) {
            double d = std::hypot(x - cx, y - cy);
            if (d < r) {
                double lit = std::clamp((r - d) / 40, 0.0, 1.0);
                double n = fractal2(x / 60.0, y / 18.0, 401, 4);
                ditherPut(c, x, y, ramp, 9 - lit * 6 + n * 3);
            } else if (d < r + 14)
                ditherPut(c, x, y, Energy, 13 - (d - r));
        }
}

Canvas menuBackground(const ContentSet& content) {
    Canvas c = makeCanvas(640, 480, 0);
    gradientRows(&c, 0, 480, Space, 0, 6);
    stars(&c, 260, 479, 411);
    planetRim(&c, 320, 1280, 900, Sea);
    if (const SpriteSetImage* craft = findSprites(content, "MyCap.spr"))
        stamp(&c, craft->frames[1], 40, 150, 3);
    TextStyle title;
    title.scale = 7;
    title.ramp = Gold;
    title.top = 15;
    title.bottom = 6;
    title.shadow = Outline;
    const std::string name = "KAVORIND";
    int tw = textWidth(name, title);
    for (int dy = -2; dy <= 3; ++dy)
        for (int dx = -2; dx <= 3; ++dx) {
            TextStyle rim = title;
            rim.ramp = 0;
            rim.top = rim.bottom = Outline;
            rim.shadowOn = false;
            drawText(&c, name, (640 - tw) / 2 + dx, 60 + dy, rim);
        }
    drawText(&c, name, (640 - tw) / 2, 60, title);
    // The panel that the two entries are drawn into.
    Model m = makeModel(180, 110);
    modelRect(&m, 0, 0, 180, 110, Metal, 0);
    Canvas frame = renderModel(m, 0, {4.0, 0.3, true});
    blitKeyed(&c, frame, 227, 240, 0);
    fillRect(&c, 235, 248, 164, 94, shade(Space, 2));
    TextStyle small;
    small.scale = 1;
    small.ramp = Metal;
    small.top = 12;
    small.bottom = 9;
    small.shadow = Outline;
    const std::string help = "ARROWS CHOOSE   Z CONFIRMS";
    drawText(&c, help, (640 - textWidth(help, small)) / 2, 452, small);
    return c;
}

// The menu entries, 160 x 40 each at rows 0, 39, 77 and 117: start and quit, each plain and then
// selected. Neighbouring pieces share a row or two, so every piece keeps two plain rows at its
// top and bottom in the panel's colour.
Canvas menuEntries() {
    Canvas c = makeCanvas(160, 160, shade(Space, 2));
    const int tops[4] = {0, 39, 77, 117};
    const char* labels[4] = {"START", "START", "QUIT", "QUIT"};
    for (int k = 0; k < 4; ++k) {
        bool selected = k == 1 || k == 3;
        int top = tops[k];
        fillRect(&c, 0, top, 160, 40, shade(Space, 2));
        if (selected) {
            for (int y = top + 4; y < top + 36; ++y)
                for (int x = 4; x < 156; ++x) {
                    double edge = std::min({x - 4, 155 - x, y - top - 4, top + 35 - y}) / 6.0;
                    ditherPut(&c, x, y, Energy, 1 + std::min(edge, 1.0) * 2.5);
                }
            for (int x = 4; x < 156; ++x) {
                c.put(x, top + 4, shade(Energy, 12));
                c.put(x, top + 35, shade(Energy, 7));
            }
        }
        TextStyle style;
        style.scale = 3;
        style.ramp = selected ? Gold : Metal;
        style.top = selected ? 15 : 10;
        style.bottom = selected ? 8 : 5;
        style.shadow = Outline;
        std::string label = labels[k];
        int tw = textWidth(label, style);
        drawText(&c, label, (160 - tw) / 2, top + 10, style);
        if (selected) {
            drawText(&c, ">", (160 - tw) / 2 - 24, top + 10, style);
        }
    }
    return c;
}

Canvas openingBackground() {
    Canvas c = makeCanvas(600, 400, 0);
    gradientRows(&c, 0, 312, Space, 0, 5);
    stars(&c, 240, 300, 421);
    planetRim(&c, 300, 1000, 720, Hull);
    // The launch field: deck plates running to the horizon.
    for (int y = 312; y < 400; ++y)
        for (int x = 0; x < 600; ++x) {
            double depth = (y - 312) / 88.0;
            double s = 3 + depth * 5;
            int px = static_cast<int>((x - 300) / (0.3 + depth)) & 63;
            if (px < 2 || (y - 312) % static_cast<int>(4 + depth * 14) == 0)
                s -= 2;
            ditherPut(&c, x, y, Metal, s);
        }
    for (int x = 0; x < 600; ++x)
        c.put(x, 312, shade(Energy, 10));
    return c;
}

Canvas openingText() {
    Canvas c = makeCanvas(540, 252, 0);
    const char* lines[] = {
        "THE YEAR IS 2291.",
        "",
        "THE MINING STATION KAVORIND HAS",
        "FALLEN SILENT. ITS MACHINES HAVE",
        "WOKEN AND TURNED ON THE COLONY.",
        "",
        "ONE INTERCEPTOR IS LEFT ON THE PAD.",
        "CROSS THE PEAKS, FOLLOW THE COAST",
        "AND STRIKE THE FORTRESS AT ITS CORE.",
    };
    TextStyle style;
    style.scale = 2;
    style.ramp = Gold;
    style.top = 15;
    style.bottom = 8;
    style.shadow = Outline;
    int y = 4;
    for (const char* line : lines) {
        int w = textWidth(line, style);
        drawText(&c, line, (540 - w) / 2, y, style);
        y += 26;
    }
    return c;
}

// The tally panel in the top-left 324 x 164, and below it the hit-point bars: for h = 1 to 5, 12
// rows from row 150 + 20 h, 150 pixels wide.
Canvas clearPanel() {
    Canvas c = makeCanvas(324, 264, 0);
    Model m = makeModel(324, 164);
    modelRect(&m, 0, 0, 324, 164, Metal, 0);
    Canvas frame = renderModel(m, 0, {5.0, 0.3, true});
    blitKeyed(&c, frame, 0, 0, 0);
    for (int y = 7; y < 157; ++y)
        for (int x = 7; x < 317; ++x)
            ditherPut(&c, x, y, Space,
                      3.5 - (y - 7) / 150.0 * 2.5 + ((x % 16 == 0 || y % 16 == 0) ? 0.8 : 0));
    for (int x = 12; x < 312; ++x) {
        c.put(x, 38, shade(Energy, 9));
        c.put(x, 39, shade(Energy, 4));
    }
    const uint8_t ramps[6] = {Hull, Hull, Fire, Gold, Toxic, Toxic};
    const int shades[12] = {9, 13, 15, 14, 13, 12, 11, 10, 9, 8, 7, 5};
    for (int h = 1; h <= 5; ++h)
        for (int y = 0; y < 12; ++y)
            for (int x = 0; x < 150; ++x)
                c.put(x, 150 + 20 * h + y, shade(ramps[h], shades[y] - (x % 30 == 29 ? 5 : 0)));
    return c;
}

} // namespace

void addPictures(ContentSet* out) {
    PaletteEntries colours = gameColours();
    out->pictures.push_back({"Pal.Pal", pictureOf(paletteSwatches(), colours)});
    out->pictures.push_back({"LOGO.BMP", pictureOf(logo(), logoPalette())});
    out->pictures.push_back({"Menu-b.BMP", pictureOf(menuBackground(*out), colours)});
    out->pictures.push_back({"Menu-s.BMP", pictureOf(menuEntries(), colours)});
    out->pictures.push_back({"open-bk.bmp", pictureOf(openingBackground(), colours)});
    out->pictures.push_back({"open-s.bmp", pictureOf(openingText(), colours)});
    out->pictures.push_back({"Clear-bk.bmp", pictureOf(clearPanel(), colours)});
}

} // namespace kavorind
