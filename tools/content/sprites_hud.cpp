// The head-up display pieces and the two bitmap fonts.
#include "content.h"
#include "font.h"
#include "palette.h"
#include "shading.h"

#include <cmath>

namespace kavorind {

namespace {

constexpr double pi = 3.14159265358979;

// The status badge: the craft's silhouette in a ring that is green when healthy, red when one hit
// from destruction, and dark and cracked once it is lost.
Canvas statusBadge(int state) {
    Model m = makeModel(36, 36);
    uint8_t ring = state == 0 ? Toxic : state == 1 ? Hull : Stone;
    modelEllipse(&m, 18, 18, 17, 17, Metal, state == 2 ? -4 : 0);
    modelEllipse(&m, 18, 18, 14, 14, ring, state == 2 ? -5 : -1);
    modelEllipse(&m, 18, 18, 11, 11, Space, 2);
    Canvas c = renderModel(m, SpriteKey, {3.0, 0.3, true});
    uint8_t body = state == 2 ? shade(Stone, 5) : shade(Metal, 13);
    fillPolygon(&c, {{8, 18}, {14, 15}, {24, 16}, {29, 18}, {24, 20}, {14, 21}}, body);
    fillPolygon(&c, {{14, 16}, {20, 16}, {16, 10}, {12, 10}}, body);
    fillPolygon(&c, {{14, 20}, {20, 20}, {16, 26}, {12, 26}}, body);
    if (state == 1)
        for (int k = 0; k < 5; ++k)
            c.put(10 + k * 4, 12 + (k * 7) % 12, shade(Fire, 15));
    if (state == 2) {
        drawLine(&c, 9, 9, 17, 19, Outline);
        drawLine(&c, 17, 19, 14, 28, Outline);
        drawLine(&c, 17, 19, 27, 24, Outline);
    }
    return c;
}

// Gauge fill for hp hit points: 30 pixels a point, 12 rows, green when full to red when low.
Canvas gaugeFill(int hp) {
    const uint8_t ramps[6] = {Hull, Hull, Fire, Gold, Toxic, Toxic};
    Canvas c = makeCanvas(hp * 30, 12, SpriteKey);
    const int shades[12] = {9, 13, 15, 14, 13, 12, 11, 10, 9, 8, 7, 5};
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < c.width; ++x) {
            int s = shades[y] - (x % 30 == 29 ? 5 : 0);
            c.put(x, y, shade(ramps[hp], s));
        }
    return c;
}

// The gauge's bezel: a steel frame around a dark slot with a notch at every hit point.
Canvas gaugeFrame() {
    Model m = makeModel(158, 18);
    modelRect(&m, 0, 0, 158, 18, Metal, 0);
    Canvas c = renderModel(m, SpriteKey, {2.0, 0.3, false});
    fillRect(&c, 3, 3, 150, 12, shade(Space, 1));
    for (int k = 1; k < 5; ++k)
        fillRect(&c, 3 + k * 30 - 1, 3, 1, 12, shade(Space, 4));
    outlineShape(&c, SpriteKey, Outline);
    for (int x = 0; x < 158; ++x) {
        c.put(x, 0, Outline);
        c.put(x, 17, Outline);
    }
    return c;
}

// The special weapon's icon: a charge crystal turning on its axis.
Canvas specialIcon(int frame) {
    Canvas c = makeCanvas(24, 24, SpriteKey);
    double a = frame * pi / 4;
    double w = 7 * std::fabs(std::cos(a)) + 2;
    fillPolygon(&c, {{12, 1}, {12 + w, 12}, {12, 23}, {12 - w, 12}}, shade(Energy, 9));
    fillPolygon(&c, {{12, 1}, {12 + w, 12}, {12, 12}}, shade(Energy, 14));
    fillPolygon(&c, {{12, 23}, {12 - w, 12}, {12, 12}}, shade(Energy, 5));
    fillPolygon(&c, {{12, 1}, {12 - w, 12}, {12, 12}}, shade(Energy, 11));
    c.put(12, 5, White);
    outlineShape(&c, SpriteKey, Outline);
    return c;
}

// Glyphs of the game's two fonts: letters 11 x 15 and digits 12 x 17, both with their hot spot at
// the top-left corner. The digits are two rows taller so that, drawn two rows higher as the
// display does, both sit on the same baseline.
Canvas glyph(char ch, int height) {
    // Letters are a pixel narrower than digits, so that "SCORE" leaves a gap before the score.
    Canvas c = makeCanvas(height == 17 ? 12 : 11, height, SpriteKey);
    TextStyle style;
    style.scale = 2;
    style.ramp = Gold;
    style.top = 15;
    style.bottom = 7;
    style.shadow = Outline;
    int w = textWidth(std::string(1, ch), style);
    if (height == 17) {
        // Digits: stretch the 7-row glyph to 8 rows by doubling its middle row.
        Canvas tall = makeCanvas(12, 15, SpriteKey);
        drawText(&tall, std::string(1, ch), (10 - w) / 2, 0, style);
        for (int row = 0; row < 17; ++row) {
            int src = row < 8 ? row : row - 2;
            for (int x = 0; x < 12; ++x)
                c.put(x, row, tall.get(x, std::min(src, 14)));
        }
        return c;
    }
    drawText(&c, std::string(1, ch), (10 - w) / 2, 0, style);
    return c;
}

} // namespace

void addHudSprites(ContentSet* out) {
    std::vector<SpriteFrameImage> badges;
    for (int i = 0; i < 3; ++i)
        badges.push_back(frameOf(statusBadge(i), 18, 18));
    out->sprites.push_back({"infobarf.spr", spriteSet(1, badges)});
    std::vector<SpriteFrameImage> gauge;
    for (int k = 0; k < 5; ++k)
        gauge.push_back(frameOf(gaugeFill(5 - k), 0, 5));
    gauge.push_back(frameOf(gaugeFrame(), 3, 8));
    out->sprites.push_back({"infobare.spr", spriteSet(1, gauge)});
    std::vector<SpriteFrameImage> icon;
    for (int i = 0; i < 8; ++i)
        icon.push_back(frameOf(specialIcon(i), 12, 4));
    out->sprites.push_back({"SWIcon.spr", spriteSet(10, icon)});
    std::vector<SpriteFrameImage> digits, letters;
    for (char ch = '0'; ch <= '9'; ++ch)
        digits.push_back(frameOf(glyph(ch, 17), 0, 0));
    for (char ch = 'A'; ch <= 'Z'; ++ch)
        letters.push_back(frameOf(glyph(ch, 15), 0, 0));
    out->sprites.push_back({"Number.spr", spriteSet(1, digits)});
    out->sprites.push_back({"English.spr", spriteSet(1, letters)});
}

} // namespace kavorind
