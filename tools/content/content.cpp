#include "content.h"

#include "palette.h"

namespace kavorind {

SpriteFrameImage frameOf(const Canvas& c, int hotX, int hotY) {
    SpriteFrameImage f = makeSpriteFrameImage(c.width, c.height, hotX, hotY, SpriteKey);
    f.pixels = c.pixels;
    return f;
}

SpriteSetImage spriteSet(uint32_t rate, std::vector<SpriteFrameImage> frames) {
    SpriteSetImage set;
    set.rate = rate;
    set.key = SpriteKey;
    set.colours = gameColours();
    set.frames = std::move(frames);
    return set;
}

IndexedImage pictureOf(const Canvas& c, const PaletteEntries& colours) {
    IndexedImage image = makeIndexedImage(c.width, c.height, 0);
    image.pixels = c.pixels;
    image.colours = colours;
    return image;
}

ContentSet buildContent() {
    ContentSet set;
    addCraftSprites(&set);
    addEnemySprites(&set);
    addShotAndItemSprites(&set);
    addExplosionSprites(&set);
    addHudSprites(&set);
    // The pictures and scene animations reuse the craft drawn above.
    addPictures(&set);
    addSceneAnimations(&set);
    addStages(&set);
    addEffects(&set);
    addMusic(&set);
    return set;
}

const SpriteSetImage* findSprites(const ContentSet& content, const std::string& name) {
    for (const auto& s : content.sprites)
        if (s.name == name)
            return &s.data;
    return nullptr;
}

void stamp(Canvas* c, const SpriteFrameImage& f, int x, int y, int scale) {
    for (int j = 0; j < f.height * scale; ++j)
        for (int i = 0; i < f.width * scale; ++i) {
            uint8_t v = f.at(i / scale, j / scale);
            if (v != SpriteKey)
                c->put(x + i, y + j, v);
        }
}

} // namespace kavorind
