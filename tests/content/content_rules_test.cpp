// How the default content is drawn and laid out, beyond the rules the content check applies to
// any folder (content_check_test.cpp).
#include "content/generated_content.h"

#include "assets/bitmap_image.h"
#include "assets/sprite_set.h"
#include "assets/stage_map.h"
#include "sound/wave_clip.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <vector>

namespace kavorind {

using namespace generated;

namespace {

std::string pathOf(const std::string& name) {
    return folder() + "/" + name;
}

uint32_t u32At(const std::vector<uint8_t>& b, size_t at) {
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<uint32_t>(b[at + 3]) << 24;
}

// An installed palette needs an 8-bit bitmap with the 40-byte info header and all 256 colours.
void expectFullPaletteBitmap(const std::string& name) {
    std::vector<uint8_t> b = bytesOf(pathOf(name));
    ASSERT_GT(b.size(), 54u + 1024u) << name;
    EXPECT_EQ(u32At(b, 14), 40u) << name;
    EXPECT_EQ(b[28], 8) << name;
    uint32_t used = u32At(b, 46);
    EXPECT_TRUE(used == 0 || used == 256) << name;
}

int countPixels(const BitmapImage& image, int x0, int y0, int w, int h, uint8_t value) {
    int n = 0;
    for (int y = y0; y < y0 + h; ++y)
        for (int x = x0; x < x0 + w; ++x)
            n += image.row(y)[x] == value;
    return n;
}

int opaquePixels(const SpriteSet& set, uint32_t frame) {
    const SpriteFrame* f = set.frameAt(frame);
    int n = 0;
    for (int y = 0; y < f->height; ++y)
        for (int x = 0; x < f->width; ++x)
            n += f->row(y)[x] != (set.colourKey() & 0xFF);
    return n;
}

bool tableEquals(const BitmapImage& a, const BitmapImage& b) {
    return std::memcmp(a.colourTable(), b.colourTable(), 1024) == 0;
}

SpriteSet loadSet(const std::string& name) {
    SpriteSet set;
    set.load(pathOf(name));
    return set;
}

} // namespace

TEST(ContentRules, PicturesThatInstallTheirColoursCarryAFullTable) {
    for (const char* name : {"Pal.Pal", "LOGO.BMP", "Menu-b.BMP", "Menu-s.BMP"})
        expectFullPaletteBitmap(name);
    BitmapImage palette(pathOf("Pal.Pal")), logo(pathOf("LOGO.BMP")), menu(pathOf("Menu-b.BMP")),
        entries(pathOf("Menu-s.BMP"));
    ASSERT_FALSE(palette.isEmpty() || logo.isEmpty() || menu.isEmpty() || entries.isEmpty());
    EXPECT_FALSE(tableEquals(logo, palette)) << "the logo has colours of its own";
    EXPECT_TRUE(tableEquals(entries, menu)) << "the entries are drawn in the menu's colours";
    EXPECT_EQ(palette.colourTable()[0] | palette.colourTable()[1] | palette.colourTable()[2], 0)
        << "index 0 is black";
    for (const char* name : {"open-bk.bmp", "open-s.bmp", "Clear-bk.bmp"}) {
        BitmapImage image(pathOf(name));
        ASSERT_FALSE(image.isEmpty()) << name;
        EXPECT_TRUE(tableEquals(image, palette)) << name << " is drawn with the game palette";
    }
}

TEST(ContentRules, MenuEntriesShareTheirOverlappingRows) {
    BitmapImage entries(pathOf("Menu-s.BMP"));
    ASSERT_GE(entries.width(), 160);
    ASSERT_GE(entries.height(), 157);
    // Pieces start at rows 0, 39, 77 and 117 and are 40 rows high: the rows where two meet must be
    // plain panel colour in both.
    uint8_t panel = entries.row(0)[0];
    for (int row : {0, 1, 38, 39, 40, 76, 77, 78, 79, 115, 116, 117, 118, 155, 156})
        EXPECT_EQ(countPixels(entries, 0, row, 160, 1, panel), 160) << "row " << row;
    // Selected and plain forms differ, and so do the two entries.
    EXPECT_LT(countPixels(entries, 0, 39, 160, 40, panel),
              countPixels(entries, 0, 0, 160, 40, panel));
    EXPECT_LT(countPixels(entries, 0, 117, 160, 40, panel),
              countPixels(entries, 0, 77, 160, 40, panel));
}

TEST(ContentRules, OpeningPicturesFitTheirPlaces) {
    BitmapImage back(pathOf("open-bk.bmp")), text(pathOf("open-s.bmp"));
    ASSERT_FALSE(back.isEmpty() || text.isEmpty());
    EXPECT_LE(20 + back.width(), 640);
    EXPECT_LE(40 + back.height(), 480);
    EXPECT_EQ(text.width(), 540);
    EXPECT_GE(text.height(), 251);
    int transparent = countPixels(text, 0, 0, 540, 251, 0);
    EXPECT_GT(transparent, 540 * 251 / 2) << "index 0 lets the background through";
    EXPECT_LT(transparent, 540 * 251) << "there is text to read";
    SpriteSet opening = loadSet("open-c.spr"), ending = loadSet("Ending-s.spr");
    EXPECT_GE(opening.frameCount(), 2u);
    EXPECT_GE(ending.frameCount(), 2u);
}

TEST(ContentRules, TallyPanelIsDrawnAroundItsHitPointBars) {
    BitmapImage panel(pathOf("Clear-bk.bmp"));
    ASSERT_GE(panel.width(), 324);
    ASSERT_GE(panel.height(), 150 + 20 * 5 + 12);
    EXPECT_LT(countPixels(panel, 0, 0, 324, 164, 0), 324 * 164 / 10) << "the panel is drawn";
}

TEST(ContentRules, SpriteSetsHaveTheFramesTheGameCounts) {
    struct Expect {
        const char* name;
        uint32_t minFrames, maxFrames;
    };
    const Expect expects[] = {{"infobarf.spr", 3, 3}, {"infobare.spr", 6, 6},
                              {"Number.spr", 10, 10}, {"English.spr", 26, 26},
                              {"SWIcon.spr", 2, 64},  {"Hit.spr", 1, 64},
                              {"MyCap.spr", 1, 64},   {"MyACap.spr", 2, 64}};
    for (const Expect& e : expects) {
        SpriteSet set = loadSet(e.name);
        EXPECT_GE(set.frameCount(), e.minFrames) << e.name;
        EXPECT_LE(set.frameCount(), e.maxFrames) << e.name;
    }
    for (int i = 0; i < 17; ++i)
        EXPECT_GE(loadSet("Dead" + std::to_string(i) + ".spr").frameCount(), 8u) << "Dead" << i;
}

TEST(ContentRules, EveryAnimationRateIsOneToThirty) {
    for (const std::string& name : allNames()) {
        if (extensionOf(name) != "spr")
            continue;
        SpriteSet set = loadSet(name);
        ASSERT_TRUE(set.isLoaded()) << name;
        EXPECT_GE(set.frameRate(), 1u) << name;
        EXPECT_LE(set.frameRate(), 30u) << name;
    }
}

TEST(ContentRules, BossesDwarfTheCraftAndTheMaskIsSmallerThanIt) {
    SpriteSet craft = loadSet("MyCap.spr"), mask = loadSet("Hit.spr");
    int craftArea = opaquePixels(craft, 0);
    EXPECT_LT(opaquePixels(mask, 0), craftArea / 2);
    for (const char* boss : {"Enemy2.spr", "Enemy6.spr", "Enemy7.spr"})
        EXPECT_GT(opaquePixels(loadSet(boss), 0), craftArea * 4) << boss;
    for (const char* small : {"Enemy0.spr", "Enemy1.spr", "Enemy3.spr", "Enemy4.spr", "Enemy5.spr"})
        EXPECT_LT(opaquePixels(loadSet(small), 0), craftArea * 2) << small;
}

namespace {

struct Stage {
    StageMap back, middle, front;
};

void loadStage(int number, Stage* s) {
    std::string n = std::to_string(number);
    ASSERT_EQ(s->back.load(pathOf("Stage-B" + n + ".map")), 1);
    ASSERT_EQ(s->middle.load(pathOf("Stage-M" + n + ".map")), 1);
    ASSERT_EQ(s->front.load(pathOf("Stage-F" + n + ".map")), 1);
}

// How many pixels of the map's tiles that its layer 0 uses hold the value.
long tilePixelsOf(const StageMap& map, uint8_t value) {
    const MapLayer* layer = map.layer(0);
    std::vector<bool> used(static_cast<size_t>(map.tileCount()), false);
    for (uint16_t t : layer->tiles)
        if (t < 40000)
            used[t] = true;
    long n = 0;
    size_t size = static_cast<size_t>(map.tileSize().first) * map.tileSize().second;
    for (int k = 0; k < map.tileCount(); ++k)
        if (used[static_cast<size_t>(k)])
            n += std::count(map.tile(k), map.tile(k) + size, value);
    return n;
}

} // namespace

TEST(ContentRules, StagesScrollForTwoToThreeMinutesAndKeyTheirMiddleLayer) {
    for (int number = 1; number <= 3; ++number) {
        SCOPED_TRACE("stage " + std::to_string(number));
        Stage s;
        loadStage(number, &s);
        auto [w, h] = s.middle.mapSize();
        auto [tw, th] = s.middle.tileSize();
        double seconds = (w * tw - 640) / 2.0 / 30.0;
        EXPECT_GE(seconds, 120);
        EXPECT_LE(seconds, 180);
        EXPECT_EQ(h * th, 480);
        EXPECT_GE(s.back.mapSize().first * s.back.tileSize().first, 640);
        uint8_t key = number == 1 ? 255 : 249;
        EXPECT_GT(tilePixelsOf(s.middle, key), 0) << "the middle layer lets the back show through";
        const MapLayer* back = s.back.layer(0);
        EXPECT_EQ(std::count_if(back->tiles.begin(), back->tiles.end(),
                                [](uint16_t t) { return t >= 40000; }),
                  0)
            << "the back layer covers the screen";
        const MapLayer* front = s.front.layer(0);
        long empty = std::count_if(front->tiles.begin(), front->tiles.end(),
                                   [](uint16_t t) { return t >= 40000; });
        EXPECT_GT(empty, static_cast<long>(front->tiles.size()) * 9 / 10)
            << "the front layer is sparse";
        EXPECT_EQ(s.front.mapSize(), s.middle.mapSize());
    }
}

// Where the spawn codes of a stage's middle map sit.
struct SpawnLayout {
    int bossColumn = -1, bossCount = 0, items = 0;
    std::vector<int> enemyColumns, hitPointColumns;
};

SpawnLayout spawnLayout(const StageMap& middle, int boss) {
    SpawnLayout layout;
    auto [w, h] = middle.mapSize();
    const int tileHeight = middle.tileSize().second;
    // The spawner places row r at y = 32 r + 5; the HUD's badge, gauge and special icon reach
    // down to y 48, and whatever entered under them would be hidden from the player.
    const int hudBottom = 48, spawnDrop = 5;
    for (int col = 0; col < w; ++col)
        for (int row = 0; row < h; ++row) {
            int code = middle.spawnCodeAt(0, col, row);
            if (!code)
                continue;
            EXPECT_LT(row, 640 / tileHeight);
            EXPECT_GE(row * tileHeight + spawnDrop, hudBottom)
                << "code " << code << " at column " << col << " enters under the HUD";
            if (code == 10 || code == 18 || code == 19) {
                EXPECT_EQ(code, boss);
                layout.bossColumn = col;
                ++layout.bossCount;
            } else if (code <= 3) {
                ++layout.items;
                if (code == 1)
                    layout.hitPointColumns.push_back(col);
            } else {
                layout.enemyColumns.push_back(col);
            }
        }
    return layout;
}

// The boss comes past the middle of the map, early enough that the columns after it still bring
// hit points through the first 30 s of its fight; the waves before it grow denser on the way.
TEST(ContentRules, SpawnCodesBuildUpToOneBossWithHitPointsThroughItsFight) {
    const int bosses[3] = {10, 18, 19};
    for (int number = 1; number <= 3; ++number) {
        SCOPED_TRACE("stage " + std::to_string(number));
        Stage s;
        loadStage(number, &s);
        const int w = s.middle.mapSize().first;
        SpawnLayout layout = spawnLayout(s.middle, bosses[number - 1]);
        EXPECT_EQ(layout.bossCount, 1);
        // A column enters every 16 ticks: 56 columns are the first 30 s of the fight.
        const int fightColumns = 30 * 30 / 16;
        EXPECT_GE(layout.bossColumn, w / 2) << "the boss comes late in the stage";
        EXPECT_LE(layout.bossColumn, w - fightColumns) << "the map goes on through its fight";
        EXPECT_GE(layout.items, 3);
        int firstThird = 0, lastThird = 0;
        for (int col : layout.enemyColumns) {
            EXPECT_LT(col, layout.bossColumn) << "nothing but items comes with the boss";
            firstThird += col < layout.bossColumn / 3;
            lastThird += col >= layout.bossColumn - layout.bossColumn / 3;
        }
        EXPECT_GE(firstThird, 5) << "the stage opens with waves, not a long empty sky";
        EXPECT_GT(lastThird, firstThird) << "the waves build up";
        int inFight = 0;
        for (int col : layout.hitPointColumns)
            inFight += col > layout.bossColumn && col <= layout.bossColumn + fightColumns;
        EXPECT_GE(inFight, 3) << "hit points to take during the boss fight";
        // The spawn grids of the other maps are not read; they hold nothing.
        for (const StageMap* other : {&s.back, &s.front})
            for (uint8_t code : other->layer(0)->spawns)
                ASSERT_EQ(code, 0);
    }
}

TEST(ContentRules, SoundsArePcmOfAtLeast22050HzAndNeitherSilentNorLong) {
    for (const std::string& name : allNames()) {
        if (extensionOf(name) != "wav")
            continue;
        WaveClip clip;
        ASSERT_EQ(clip.load(pathOf(name).c_str()), 1) << name;
        const WaveFormat* format = clip.format();
        EXPECT_EQ(format->formatTag, 1) << name;
        EXPECT_GE(format->samplesPerSec, 22050u) << name;
        ASSERT_EQ(format->bitsPerSample, 16) << name;
        const int16_t* samples = reinterpret_cast<const int16_t*>(clip.samples());
        size_t count = clip.sampleSize() / 2;
        int peak = 0;
        for (size_t i = 0; i < count; ++i)
            peak = std::max(peak, std::abs(static_cast<int>(samples[i])));
        EXPECT_GT(peak, 3000) << name;
        double seconds = static_cast<double>(count) / format->samplesPerSec / format->channels;
        bool music = name.find("Music") != std::string::npos ||
                     name.find("-B.") != std::string::npos || name.find("-M.") != std::string::npos;
        if (music)
            EXPECT_GE(seconds, 8) << name;
        else
            EXPECT_LE(seconds, 1) << name << " is a short effect";
    }
}

} // namespace kavorind
