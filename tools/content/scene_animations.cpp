// The opening's launch animation and the ending's loop.
#include "content.h"
#include "font.h"
#include "palette.h"
#include "shading.h"

#include <cmath>

namespace kavorind {

namespace {

const SpriteFrameImage* craftFrame(const ContentSet& content, int index) {
    const SpriteSetImage* craft = findSprites(content, "MyCap.spr");
    return craft ? &craft->frames[index % craft->frames.size()] : nullptr;
}

// The opening animation lives in the strip below the rising text: 520 x 88 pixels whose top-left
// lands at (60, 352) on screen, so its hot spot lies far above the frame. Frame 0, shown while the
// text rises, has the craft waiting on its pad; then its engine lights and it streaks away.
SpriteSetImage openingLaunch(const ContentSet& content) {
    const int w = 520, h = 88, frames = 24;
    std::vector<SpriteFrameImage> out;
    for (int f = 0; f < frames; ++f) {
        Canvas c = makeCanvas(w, h, SpriteKey);
        Model pad = makeModel(120, 20);
        modelRect(&pad, 0, 4, 120, 14, Metal, -1);
        modelRect(&pad, 8, 0, 104, 6, Stone, 0);
        for (int k = 0; k < 5; ++k)
            modelGlow(&pad, 14 + k * 23, 11, 2.5, 2.5, (k + f) % 2 ? Hull : Gold, 15, 9);
        blitKeyed(&c, renderModel(pad, SpriteKey, {2.0, 0.3, true}), 20, 62, SpriteKey);
        double t = f < 6 ? 0 : (f - 6) / 17.0;
        double x = 40 + t * t * 560;
        double y = 26 - t * 18;
        if (const SpriteFrameImage* craft = craftFrame(content, f)) {
            if (f >= 3)
                for (int k = 0; k < static_cast<int>(x) - 40; ++k) {
                    int tx = static_cast<int>(x) + 8 - k;
                    double fade = static_cast<double>(k) / (x - 30);
                    if (tx >= 0 && (k % 3 != 0 || fade < 0.3))
                        c.put(tx, static_cast<int>(y + 32 + fade * 8 * t),
                              shade(Fire, 14 - static_cast<int>(fade * 12)));
                }
            if (x < w)
                stamp(&c, *craft, static_cast<int>(x), static_cast<int>(y), 2);
        }
        out.push_back(frameOf(c, 335 - 60, 230 - 352));
    }
    return spriteSet(15, out);
}

// The ending: the craft flies on through streaming stars over the words of farewell. 64 frames
// shown one per tick; every star moves a whole number of widths in 64 frames, so the loop closes.
SpriteSetImage endingLoop(const ContentSet& content) {
    const int w = 320, h = 200, frames = 64;
    std::vector<SpriteFrameImage> out;
    Rng rng(601);
    struct Star {
        int x, y, speed;
    };
    std::vector<Star> stars;
    for (int k = 0; k < 60; ++k)
        stars.push_back({rng.range(0, w - 1), rng.range(0, 140), rng.range(1, 3) * 5});
    for (int f = 0; f < frames; ++f) {
        Canvas c = makeCanvas(w, h, SpriteKey);
        for (const Star& s : stars) {
            int x = ((s.x - s.speed * f) % w + w) % w;
            for (int k = 0; k < s.speed / 5; ++k)
                c.put(x + k, s.y,
                      shade(s.speed > 10 ? Energy : Space, s.speed > 10 ? 13 - k * 3 : 11));
        }
        if (const SpriteFrameImage* craft = craftFrame(content, f)) {
            int bob = static_cast<int>(std::lround(std::sin(f * 2 * 3.14159265 / frames) * 6));
            stamp(&c, *craft, w / 2 - 64, 38 + bob, 2);
        }
        TextStyle style;
        style.scale = 2;
        style.ramp = Gold;
        style.top = 15;
        style.bottom = 7;
        style.shadow = Outline;
        const std::string a = "MISSION COMPLETE", b = "THANK YOU FOR PLAYING";
        drawText(&c, a, (w - textWidth(a, style)) / 2, 142, style);
        style.ramp = Metal;
        style.scale = 1;
        style.top = 14;
        style.bottom = 10;
        drawText(&c, b, (w - textWidth(b, style)) / 2, 172, style);
        out.push_back(frameOf(c, w / 2, h / 2));
    }
    return spriteSet(30, out);
}

} // namespace

void addSceneAnimations(ContentSet* out) {
    SpriteSetImage opening = openingLaunch(*out);
    SpriteSetImage ending = endingLoop(*out);
    out->sprites.push_back({"open-c.spr", opening});
    out->sprites.push_back({"Ending-s.spr", ending});
}

} // namespace kavorind
