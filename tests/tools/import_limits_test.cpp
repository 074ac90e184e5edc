// What an import may cost: the decoded pixels of all its pictures and frames within one budget,
// weighed before anything is allocated, and pictures claiming more than their own bytes describe
// (padding does not count) refused from their headers.
#include "common/png_image.h"
#include "data/sprite_description.h"
#include "data/transfer.h"
#include "platform/byte_io.h"
#include "platform/foreign_bitmap.h"

#include <gtest/gtest.h>
#include <zlib.h>

namespace kavorind {

namespace {

PngPicture blankPicture(int width, int height, bool indexed) {
    PngPicture picture;
    picture.width = width;
    picture.height = height;
    picture.indexed = indexed;
    picture.paletteSize = 256;
    picture.pixels.assign(static_cast<size_t>(width) * height * (indexed ? 1 : 4), 0);
    return picture;
}

void appendChunk(std::vector<uint8_t>* png, const char* kind, const std::vector<uint8_t>& body) {
    ByteWriter write(png);
    uint8_t length[4] = {uint8_t(body.size() >> 24), uint8_t(body.size() >> 16),
                         uint8_t(body.size() >> 8), uint8_t(body.size())};
    write.bytes(length, 4);
    std::vector<uint8_t> typed(kind, kind + 4);
    typed.insert(typed.end(), body.begin(), body.end());
    write.bytes(typed.data(), typed.size());
    uLong crc = crc32(0, typed.data(), static_cast<uInt>(typed.size()));
    uint8_t sum[4] = {uint8_t(crc >> 24), uint8_t(crc >> 16), uint8_t(crc >> 8), uint8_t(crc)};
    write.bytes(sum, 4);
}

// An indexed side x side PNG whose image data is a few deflated rows, then `padding` bytes in a
// private chunk: a file long enough for its size only by what describes no pixel.
std::vector<uint8_t> paddedPng(int side, size_t padding) {
    std::vector<uint8_t> png = encodePng(blankPicture(1, 1, true));
    std::vector<uint8_t> header(png.begin() + 16, png.begin() + 29);
    for (int i = 0; i < 4; ++i)
        header[i] = header[4 + i] = static_cast<uint8_t>(side >> (24 - 8 * i));
    std::vector<uint8_t> rows(static_cast<size_t>(side + 1) * 4, 0);
    std::vector<uint8_t> packed(compressBound(static_cast<uLong>(rows.size())));
    uLongf packedSize = static_cast<uLongf>(packed.size());
    compress(packed.data(), &packedSize, rows.data(), static_cast<uLong>(rows.size()));
    packed.resize(packedSize);
    std::vector<uint8_t> file(png.begin(), png.begin() + 8);
    appendChunk(&file, "IHDR", header);
    appendChunk(&file, "PLTE", std::vector<uint8_t>(768, 0));
    appendChunk(&file, "IDAT", packed);
    appendChunk(&file, "prVt", std::vector<uint8_t>(padding, 0));
    appendChunk(&file, "IEND", {});
    return file;
}

// A w x h bitmap whose RLE8 pixels end at once (every pixel blank), padded after the end mark.
std::vector<uint8_t> blankRleBitmap(int w, int h, size_t padding) {
    std::vector<uint8_t> bytes;
    ByteWriter write(&bytes);
    const uint32_t offset = 14 + 40 + 1024;
    write.bytes("BM", 2);
    write.u32(offset + 2 + static_cast<uint32_t>(padding));
    write.u32(0);
    write.u32(offset);
    for (uint32_t field : {40u, uint32_t(w), uint32_t(h)})
        write.u32(field);
    write.u16(1);
    write.u16(8);
    for (uint32_t field : {1u, 2u, 2835u, 2835u, 256u, 0u})
        write.u32(field);
    bytes.resize(offset, 0);
    bytes.push_back(0); // end of the picture
    bytes.push_back(1);
    bytes.resize(bytes.size() + padding, 0);
    return bytes;
}

std::string jsonWithFrames(int count, int width, int height) {
    SpriteDescription description;
    description.image = "sheet.png";
    description.frames.assign(static_cast<size_t>(count), SheetFrame{0, 0, width, height, 0, 0});
    return writeSpriteDescription(description);
}

std::span<const uint8_t> bytesOf(const std::string& text) {
    return {reinterpret_cast<const uint8_t*>(text.data()), text.size()};
}

} // namespace

TEST(ImportLimits, FramesBeyondTheBudgetAreRefusedBeforeTheSheetIsRead) {
    std::vector<uint8_t> sheet = encodePng(blankPicture(32, 32, true));
    int sheetReads = 0;
    CompanionReader reader = [&](const std::string&, std::vector<uint8_t>* bytes, std::string*) {
        ++sheetReads;
        *bytes = sheet;
        return 1;
    };
    // Three 20 x 20 frames hold 1200 pixels; the sheet itself 1024.
    std::string json = jsonWithFrames(3, 20, 20);
    for (uint64_t left : {uint64_t{1199}, uint64_t{1200 + 1023}, uint64_t{1200 + 1024}}) {
        PixelBudget budget{left};
        ImportResult result;
        std::string why;
        int imported =
            importContent({"s.json", bytesOf(json), reader, nullptr, &budget}, &result, &why);
        EXPECT_EQ(imported, left == 2224 ? 1 : 0) << left << ": " << why;
        EXPECT_EQ(budget.left, left == 2224 ? 0u : left - (left >= 1200 ? 1200 : 0)) << left;
    }
    EXPECT_EQ(sheetReads, 2); // never for the frames that did not fit

    PixelBudget budget;
    ImportResult result;
    std::string why;
    std::string bomb = jsonWithFrames(5, 16384, 16384);
    EXPECT_EQ(importContent({"bomb.json", bytesOf(bomb), reader, nullptr, &budget}, &result, &why),
              0);
    EXPECT_NE(why.find("5 frames: its pixels would take 1280 MiB, more than the 256 MiB"),
              std::string::npos)
        << why;
    EXPECT_EQ(sheetReads, 2);

    // A description far beyond the most frames a set holds is refused before it is parsed.
    std::string padded = json + std::string((size_t{16} << 20) - json.size() + 1, ' ');
    EXPECT_EQ(importContent({"big.json", bytesOf(padded), reader, nullptr}, &result, &why), 0);
    EXPECT_EQ(why, "big.json: larger than 16 MiB, more than any sprite set's description");
}

TEST(ImportLimits, PicturesAreWeighedAsDecodedAgainstWhatIsLeft) {
    // 30 x 20 truecolour: 2400 bytes once decoded, however small its file.
    std::vector<uint8_t> png = encodePng(blankPicture(30, 20, false));
    PngPicture picture;
    std::string why;
    EXPECT_EQ(decodePng(png, &picture, &why, 2399), 0);
    EXPECT_EQ(why, "its pixels would take 2400 bytes, more than the 2399 bytes left of the 256 MiB "
                   "of decoded pictures one command may hold")
        << why;
    EXPECT_TRUE(picture.pixels.empty());
    EXPECT_EQ(decodePng(png, &picture, &why, 2400), 1) << why;

    // A 24-bit bitmap decodes to four bytes a pixel, an 8-bit one to one.
    ForeignPicture foreign;
    std::vector<uint8_t> file(54 + 16 * 16 * 3, 0);
    file[0] = 'B', file[1] = 'M', file[10] = 54, file[14] = 40, file[18] = 16, file[22] = 16;
    file[26] = 1, file[28] = 24;
    EXPECT_EQ(decodeForeignBitmap(file, &foreign, &why, 1023), 0);
    EXPECT_NE(why.find("would take 1 KiB"), std::string::npos) << why;
    EXPECT_EQ(decodeForeignBitmap(file, &foreign, &why, 1024), 1) << why;
    EXPECT_EQ(foreign.pixels.size(), 1024u);
    file.resize(file.size() - 1); // one byte of the last row missing
    EXPECT_EQ(decodeForeignBitmap(file, &foreign, &why, 1024), 0);
    EXPECT_EQ(why, "the picture is larger than its file could hold");
}

TEST(ImportLimits, PaddingDoesNotMakeRoomForPixels) {
    // 4096 x 4096 from a few hundred bytes of image data: refused whatever the padding, and a
    // picture the image data really holds is still read.
    PngPicture picture;
    std::string why;
    for (size_t padding : {size_t{0}, size_t{40000}}) {
        EXPECT_EQ(decodePng(paddedPng(4096, padding), &picture, &why), 0);
        EXPECT_EQ(why, "damaged PNG: the picture is larger than its file could hold") << padding;
    }
    EXPECT_EQ(decodePng(encodePng(blankPicture(4096, 4096, true)), &picture, &why), 1) << why;

    // The same for an RLE bitmap ending at once: its headers and table describe 1.2 million pixels
    // at most, its padding nothing.
    ForeignPicture foreign;
    for (size_t padding : {size_t{0}, size_t{8000}}) {
        EXPECT_EQ(decodeForeignBitmap(blankRleBitmap(2000, 2000, padding), &foreign, &why), 0);
        EXPECT_EQ(why, "the picture is larger than its file could hold") << padding;
    }
    EXPECT_EQ(decodeForeignBitmap(blankRleBitmap(1000, 1000, 0), &foreign, &why), 1) << why;
    EXPECT_EQ(foreign.pixels.size(), 1000000u);
}

} // namespace kavorind
