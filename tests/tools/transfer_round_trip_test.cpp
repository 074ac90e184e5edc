// Export followed by import gives back the same bytes: for every bitmap and sprite set of the
// default content, and for the bitmap layouts the writer can make beyond the game's own.
#include "assets/bitmap_writer.h"
#include "content/generated_content.h"
#include "data/transfer.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <unistd.h>

namespace kavorind {

namespace {

namespace fs = std::filesystem;

std::vector<uint8_t> readBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Exports the file, then imports the one exported file that leads back (the JSON of a sprite set,
// else the PNG), reading companions from what the export made.
std::vector<uint8_t> exportThenImport(const std::string& name, const std::vector<uint8_t>& bytes) {
    std::vector<ExportedFile> files;
    std::string why;
    EXPECT_EQ(exportContent(name, bytes, &files, &why), 1) << why;
    std::map<std::string, std::vector<uint8_t>> made;
    for (ExportedFile& file : files)
        made[file.name] = file.bytes;
    std::string stem = fileStem(name);
    std::string lead = made.count(stem + ".json") ? stem + ".json" : stem + ".png";
    auto companions = [&made](const std::string& companion, std::vector<uint8_t>* out,
                              std::string* reason) {
        if (!made.count(companion)) {
            *reason = "not exported";
            return 0;
        }
        *out = made[companion];
        return 1;
    };
    ImportSource source{lead, made[lead], companions, nullptr};
    ImportResult result;
    EXPECT_EQ(importContent(source, &result, &why), 1) << name << ": " << why;
    return result.bytes;
}

} // namespace

TEST(TransferRoundTrip, EveryBitmapAndSpriteSetOfTheDefaultContent) {
    const std::string& folder = generated::folder();
    ASSERT_FALSE(folder.empty());
    int bitmaps = 0, spriteSets = 0;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
        std::vector<uint8_t> bytes = readBytes(entry.path());
        bool bitmap = bytes.size() > 2 && bytes[0] == 'B' && bytes[1] == 'M';
        bool spriteSet = bytes.size() > 3 && bytes[0] == 'S' && bytes[1] == 'P' && bytes[2] == 'R';
        if (!bitmap && !spriteSet)
            continue;
        bitmaps += bitmap;
        spriteSets += spriteSet;
        EXPECT_TRUE(exportThenImport(entry.path().string(), bytes) == bytes) << entry.path();
    }
    EXPECT_GE(bitmaps, 6); // the pictures and "Pal.Pal"
    EXPECT_GE(spriteSets, 40);
}

TEST(TransferRoundTrip, BitmapLayoutsBeyondTheDefaultsSurvive) {
    IndexedImage image = makeIndexedImage(5, 3);
    for (size_t i = 0; i < image.pixels.size(); ++i)
        image.pixels[i] = static_cast<uint8_t>(i % 16);
    for (int i = 0; i < 256; ++i)
        image.colours[i] = {static_cast<uint8_t>(i), static_cast<uint8_t>(255 - i), 7, 0};
    BitmapLayout topDownShort{true, 16, false, 40};
    BitmapLayout zeroCountLongHeader{false, 256, true, 108};
    for (const BitmapLayout& layout : {topDownShort, zeroCountLongHeader}) {
        std::vector<uint8_t> bytes = encodeBitmap(image, layout);
        ASSERT_FALSE(bytes.empty());
        EXPECT_TRUE(exportThenImport("Odd.bmp", bytes) == bytes) << layout.infoHeaderSize;
    }
}

} // namespace kavorind
