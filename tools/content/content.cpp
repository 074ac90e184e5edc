#include "content.h"

#include "palette.h"

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
