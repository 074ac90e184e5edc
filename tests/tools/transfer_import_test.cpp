// Imports of what authors bring back: an edited sheet, bitmaps in the formats other editors save,
// truecolour pictures, and files that are broken.
#include "assets/bitmap_image.h"
#include "assets/bitmap_writer.h"
#include "assets/sprite_set.h"
#include "assets/sprite_set_writer.h"
#include "common/png_image.h"
#include "data/transfer.h"
#include "platform/byte_io.h"

#include <gtest/gtest.h>

#include <map>

namespace kavorind {

namespace {

PaletteEntries rampPalette() {
    PaletteEntries colours{};
    for (int i = 0; i < 256; ++i)
        colours[i] = {static_cast<uint8_t>(i), static_cast<uint8_t>(i / 2),
                      static_cast<uint8_t>(255 - i), 0};
    return colours;
}

struct Exported {
    std::map<std::string, std::vector<uint8_t>> files;

    CompanionReader reader() {
        return [this](const std::string& name, std::vector<uint8_t>* bytes, std::string* why) {
            if (!files.count(name)) {
                *why = "no such file";
                return 0;
            }
            *bytes = files[name];
            return 1;
        };
    }
    int import(const std::string& name, ImportResult* result, std::string* why,
               const PaletteEntries* palette = nullptr) {
        return importContent({name, files[name], reader(), palette}, result, why);
    }
};

Exported exportOf(const std::string& name, const std::vector<uint8_t>& bytes) {
    std::vector<ExportedFile> files;
    std::string why;
    EXPECT_EQ(exportContent(name, bytes, &files, &why), 1) << why;
    Exported exported;
    for (ExportedFile& file : files)
        exported.files[file.name] = std::move(file.bytes);
    return exported;
}

PngPicture asRgba(const PngPicture& indexed) {
    PngPicture rgba;
    rgba.width = indexed.width;
    rgba.height = indexed.height;
    for (uint8_t index : indexed.pixels) {
        const PaletteEntry& colour = indexed.palette[index];
        rgba.pixels.insert(rgba.pixels.end(), {colour.red, colour.green, colour.blue, 255});
    }
    return rgba;
}

// Three frames of distinct sizes, every pixel a non-key index that tells where it is.
SpriteSetImage threeFrames() {
    SpriteSetImage set;
    set.rate = 5;
    set.key = 0;
    set.colours = rampPalette();
    set.frames = {makeSpriteFrameImage(6, 4, 3, 2), makeSpriteFrameImage(9, 7, -1, 20),
                  makeSpriteFrameImage(3, 5, 1, 1)};
    for (size_t f = 0; f < set.frames.size(); ++f)
        for (size_t i = 0; i < set.frames[f].pixels.size(); ++i)
            set.frames[f].pixels[i] = static_cast<uint8_t>(1 + f * 60 + i);
    return set;
}

// A w x h bitmap file with the given info-header fields and pixel bytes (an RLE stream or rows).
std::vector<uint8_t> foreignBitmap(int w, int h, int bits, int compression,
                                   const std::vector<uint8_t>& table,
                                   const std::vector<uint8_t>& pixels) {
    std::vector<uint8_t> bytes;
    ByteWriter write(&bytes);
    uint32_t offset = 54 + static_cast<uint32_t>(table.size());
    write.bytes("BM", 2);
    write.u32(offset + static_cast<uint32_t>(pixels.size()));
    write.u32(0);
    write.u32(offset);
    write.u32(40);
    write.i32(w);
    write.i32(h);
    write.u16(1);
    write.u16(static_cast<uint16_t>(bits));
    write.u32(static_cast<uint32_t>(compression));
    write.u32(static_cast<uint32_t>(pixels.size()));
    write.u32(2835);
    write.u32(2835);
    write.u32(static_cast<uint32_t>(table.size() / 4));
    write.u32(0);
    write.bytes(table.data(), table.size());
    write.bytes(pixels.data(), pixels.size());
    return bytes;
}

} // namespace

TEST(TransferImport, EditedSheetChangesExactlyTheEditedPixels) {
    SpriteSetImage original = threeFrames();
    Exported exported = exportOf("Enemy9.spr", encodeSpriteSet(original));
    PngPicture sheet;
    std::string why;
    ASSERT_EQ(decodePng(exported.files["Enemy9.png"], &sheet, &why), 1) << why;
    ASSERT_TRUE(sheet.indexed);
    // Frame 0 sits at the sheet's corner; frame 2 follows frames 0 and 1, each plus a one-pixel
    // gap.
    sheet.pixels[0] = 200;
    sheet.pixels[static_cast<size_t>(3) * sheet.width + 17 + 2] = 0; // frame 2, (2, 3) made clear
    SpriteSetImage expected = original;
    expected.frames[0].at(0, 0) = 200;
    expected.frames[2].at(2, 3) = 0;

    // Saved indexed, as the sheet came, and saved as truecolour by an editor that drops the
    // palette.
    for (bool truecolour : {false, true}) {
        exported.files["Enemy9.png"] = encodePng(truecolour ? asRgba(sheet) : sheet);
        ImportResult result;
        ASSERT_EQ(exported.import("Enemy9.json", &result, &why), 1) << why;
        EXPECT_TRUE(result.bytes == encodeSpriteSet(expected)) << "truecolour " << truecolour;
    }
}

TEST(TransferImport, ForeignBitmapsBecomeUncompressedEightBitOnes) {
    // 4 x 2 pixels: top row 1 1 2 3, bottom row 4 4 4 4.
    std::vector<uint8_t> table(256 * 4, 0);
    for (int i = 0; i < 256; ++i)
        table[i * 4 + 2] = static_cast<uint8_t>(i);                  // red = index
    std::vector<uint8_t> rle = {4, 4, 0, 0, 2, 1, 1, 2, 1, 3, 0, 1}; // bottom row first
    std::vector<uint8_t> truecolour;
    for (int index : {4, 4, 4, 4, 1, 1, 2, 3}) // blue, green, red; rows of 12 bytes need no pad
        truecolour.insert(truecolour.end(), {0, 0, static_cast<uint8_t>(index)});
    PaletteEntries palette{};
    for (int i = 0; i < 256; ++i)
        palette[i] = {static_cast<uint8_t>(i), 0, 0, 0};

    for (const auto& file :
         {foreignBitmap(4, 2, 8, 1, table, rle), foreignBitmap(4, 2, 24, 0, {}, truecolour)}) {
        ImportResult result;
        std::string why;
        ASSERT_EQ(importContent({"Menu-s.bmp", file, nullptr, &palette}, &result, &why), 1) << why;
        BitmapImage loaded;
        ASSERT_EQ(loaded.loadFromMemory(result.bytes), 1);
        ASSERT_EQ(loaded.width(), 4);
        ASSERT_EQ(loaded.height(), 2);
        EXPECT_EQ(std::vector<uint8_t>(loaded.row(0), loaded.row(0) + 4),
                  (std::vector<uint8_t>{1, 1, 2, 3}));
        EXPECT_EQ(std::vector<uint8_t>(loaded.row(1), loaded.row(1) + 4),
                  (std::vector<uint8_t>{4, 4, 4, 4}));
        EXPECT_EQ(loaded.colourTable()[3 * 4 + 2], 3); // red of entry 3
    }
}

TEST(TransferImport, TruecolourPngIsReducedAndCountsTheMovedColours) {
    PngPicture rgba;
    rgba.width = 4;
    rgba.height = 1;
    rgba.pixels = {10, 5, 245, 255, 10, 5, 245, 255, 11, 5, 245, 255, 90, 0, 0, 255};
    std::vector<uint8_t> png = encodePng(rgba);
    PaletteEntries palette = rampPalette(); // entry 10 is (10, 5, 245)
    ImportResult result;
    std::string why;
    ASSERT_EQ(importContent({"Logo.png", png, nullptr, &palette}, &result, &why), 1) << why;
    EXPECT_NE(result.report.find("2 colours moved"), std::string::npos) << result.report;
    BitmapImage loaded;
    ASSERT_EQ(loaded.loadFromMemory(result.bytes), 1);
    EXPECT_EQ(loaded.row(0)[0], 10);
    EXPECT_EQ(loaded.row(0)[2], 11);

    EXPECT_EQ(importContent({"Logo.png", png, nullptr, nullptr}, &result, &why), 0);
    EXPECT_NE(why.find("--palette"), std::string::npos) << why;
}

TEST(TransferImport, BrokenSourcesAreRefusedNamingTheFault) {
    Exported exported = exportOf("Hit.spr", encodeSpriteSet(threeFrames()));
    std::string json(exported.files["Hit.json"].begin(), exported.files["Hit.json"].end());
    auto withJson = [&](const std::string& text) {
        exported.files["Hit.json"].assign(text.begin(), text.end());
        ImportResult result;
        std::string why;
        EXPECT_EQ(exported.import("Hit.json", &result, &why), 0);
        return why;
    };
    EXPECT_NE(withJson(json.substr(0, json.size() / 2)).find("not valid JSON"), std::string::npos);
    std::string wrongType = json;
    wrongType.replace(wrongType.find("\"rate\": 5"), 9, "\"rate\": \"5\"");
    EXPECT_NE(withJson(wrongType).find("rate: needs a whole number"), std::string::npos);
    std::string pastSheet = json;
    pastSheet.replace(pastSheet.find("\"height\":4"), 10, "\"height\":400");
    EXPECT_NE(withJson(pastSheet).find("frames[0]: reaches past"), std::string::npos);
    std::string otherSheet = json;
    otherSheet.replace(otherSheet.find("Hit.png"), 7, "Gone.png");
    EXPECT_NE(withJson(otherSheet).find("image \"Gone.png\""), std::string::npos);

    std::vector<uint8_t> png = exported.files["Hit.png"];
    png.resize(png.size() / 2);
    ImportResult result;
    std::string why;
    EXPECT_EQ(importContent({"Hit.png", png, nullptr, nullptr}, &result, &why), 0);
    EXPECT_NE(why.find("Hit.png: damaged PNG"), std::string::npos) << why;
}

} // namespace kavorind
