// What `kavorind-data info` says: the words a content author reads for each kind of file, built
// from the loaders' own view of it.
#include "assets/bitmap_writer.h"
#include "assets/sprite_set_writer.h"
#include "assets/stage_map_writer.h"
#include "data/file_info.h"
#include "sound/wave_writer.h"

#include <gtest/gtest.h>

namespace kavorind {

namespace {

void expectSays(const FileInfo& info, const char* words) {
    EXPECT_NE(info.text.find(words), std::string::npos) << "missing \"" << words << "\" in\n"
                                                        << info.text;
}

} // namespace

TEST(FileInfo, SpriteSetListsFramesHotSpotsRateAndKey) {
    SpriteSetImage set;
    set.rate = 6;
    set.key = 9;
    set.frames = {makeSpriteFrameImage(5, 3, 2, -1), makeSpriteFrameImage(7, 4, 0, 30)};
    FileInfo info = describeContent("Hit.spr", encodeSpriteSet(set));
    EXPECT_EQ(info.kind, "sprite set");
    EXPECT_EQ(info.described, 1);
    expectSays(info, "frame 0: 5 x 3, hot spot (2, -1)");
    expectSays(info, "frame 1: 7 x 4, hot spot (0, 30)");
    expectSays(info, "rate: 6 (a frame every 5 ticks)");
    expectSays(info, "colour key: 9");
    // The writer refuses a rate of 0, but a file may still hold one (the field at byte 7).
    std::vector<uint8_t> stillRate = encodeSpriteSet(set);
    stillRate[7] = 0;
    expectSays(describeContent("Hit.spr", stillRate), "rate: 0 (");
}

TEST(FileInfo, StageMapCountsSpawnCodesPerLayer) {
    StageMapImage map = makeStageMapImage(3, 2, 4, 4, 2, 8, 8);
    map.layers[0].tiles = {0, 1, 2, 3, firstEmptyCell, firstEmptyCell};
    map.layers[0].spawns = {0, 25, 3, 3, 0, 0};
    FileInfo info = describeContent("Stage-M1.map", encodeStageMap(map));
    ASSERT_EQ(info.described, 1) << info.text;
    expectSays(info, "map: 3 x 2 cells in 2 layers");
    expectSays(info, "tiles: 4 x 4 pixels, 4 in a 8 x 8 tileset");
    expectSays(info, "layer 0: 2 empty cells of 6");
    expectSays(info, "spawn codes: 3 x2, 25 x1");
    expectSays(info, "layer 1: 6 empty cells of 6");
}

TEST(FileInfo, BitmapAndWaveGiveSizesColoursAndLength) {
    BitmapLayout sixteenColours;
    sixteenColours.colourCount = 16;
    FileInfo bitmap =
        describeContent("Pal.Pal", encodeBitmap(makeIndexedImage(6, 2), sixteenColours));
    ASSERT_EQ(bitmap.described, 1) << bitmap.text;
    expectSays(bitmap, "6 x 2 pixels, rows stored bottom-up, 8 bytes per row");
    expectSays(bitmap, "colours: 16");

    // Half a second of 16-bit stereo.
    std::vector<int16_t> samples(22050, 0);
    FileInfo wave = describeContent("Music0.Wav", waveFileBytes(describeWave(samples, 2, 22050)));
    ASSERT_EQ(wave.described, 1) << wave.text;
    expectSays(wave, "tag 1 (PCM), 2 channels, 22050 samples a second, 16 bits");
    expectSays(wave, "0.500 seconds");
}

TEST(FileInfo, RefusalsNameTheLoaderTheReasonAndTheByte) {
    std::vector<uint8_t> rle = encodeBitmap(makeIndexedImage(4, 4));
    rle[30] = 1; // BI_RLE8, as image editors save by default
    FileInfo refused = describeContent("Clear-bk.bmp", rle);
    EXPECT_EQ(refused.kind, "bitmap");
    EXPECT_EQ(refused.described, 0);
    expectSays(refused, "compressed");
    expectSays(refused, "(at byte 30)");

    // No magic: the extension chooses the loader whose refusal explains the file.
    const std::vector<uint8_t> junk = {'j', 'u', 'n', 'k'};
    EXPECT_EQ(describeContent("Enemy0.SPR", junk).kind, "sprite set");
    FileInfo unknown = describeContent("notes.txt", junk);
    EXPECT_EQ(unknown.kind, "unknown");
    EXPECT_EQ(unknown.described, 0);
}

} // namespace kavorind
