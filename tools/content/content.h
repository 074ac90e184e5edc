#pragma once
#include "assets/bitmap_writer.h"
#include "assets/sprite_set_writer.h"
#include "assets/stage_map_writer.h"
#include "canvas.h"

#include <cstdint>
#include <string>
#include <vector>

namespace kavorind {

// One sound: mono 16-bit samples at the given rate.
struct SoundData {
    int sampleRate = 22050;
    std::vector<int16_t> samples;
    int looping = 0; // the game plays it round and round, so its end must join its start
};

template <typename T> struct Named {
    std::string name;
    T data;
};

// Everything the generator makes, in the order it is written.
struct ContentSet {
    std::vector<Named<IndexedImage>> pictures;
    std::vector<Named<SpriteSetImage>> sprites;
    std::vector<Named<StageMapImage>> maps;
    std::vector<Named<SoundData>> sounds;
};

// Sprite-set helpers: sets drawn with the game palette and transparent at the sprite key.
SpriteFrameImage frameOf(const Canvas& c, int hotX, int hotY);
SpriteSetImage spriteSet(uint32_t rate, std::vector<SpriteFrameImage> frames);
IndexedImage pictureOf(const Canvas& c, const PaletteEntries& colours);
// The sprite set written under a file name, or null when there is none yet.
const SpriteSetImage* findSprites(const ContentSet& content, const std::string& name);
// Puts a sprite frame into a picture, blown up `scale` times; its key colour leaves the picture as
// it was.
void stamp(Canvas* c, const SpriteFrameImage& f, int x, int y, int scale);

void addCraftSprites(ContentSet* out);
void addEnemySprites(ContentSet* out);
void addShotAndItemSprites(ContentSet* out);
void addExplosionSprites(ContentSet* out);
void addHudSprites(ContentSet* out);
void addPictures(ContentSet* out);
void addSceneAnimations(ContentSet* out);
void addStages(ContentSet* out);
void addMusic(ContentSet* out);
void addEffects(ContentSet* out);

// Builds the whole default content set.
ContentSet buildContent();

} // namespace kavorind
