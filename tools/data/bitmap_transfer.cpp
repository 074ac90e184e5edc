#include "data/bitmap_transfer.h"

#include "assets/bitmap_image.h"
#include "assets/bitmap_writer.h"
#include "common/png_image.h"
#include "data/bitmap_layout_text.h"
#include "data/palette_match.h"
#include "platform/byte_io.h"
#include "platform/foreign_bitmap.h"

#include <cstring>

namespace kavorind {

namespace {

constexpr size_t colourCountFieldAt = 14 + 32;
constexpr size_t infoSizeFieldAt = 14;

int refuse(std::string* why, const std::string& reason) {
    *why = reason;
    return 0;
}

// The picture's rows top to bottom, without the padding the file stores.
std::vector<uint8_t> rowsTopDown(const BitmapImage& bitmap) {
    std::vector<uint8_t> pixels(static_cast<size_t>(bitmap.width()) * bitmap.height());
    for (int y = 0; y < bitmap.height(); ++y)
        std::memcpy(pixels.data() + static_cast<size_t>(y) * bitmap.width(), bitmap.row(y),
                    static_cast<size_t>(bitmap.width()));
    return pixels;
}

// What the writer can be told about a loaded bitmap's layout, read from the file's own fields
// (the loader fills in a colour-count field of 0, so that one comes from the bytes).
BitmapLayout layoutOf(const BitmapImage& bitmap, std::span<const uint8_t> file) {
    BitmapLayout layout;
    layout.topDown = !bitmap.bottomUp();
    layout.colourCount = bitmap.colourCount();
    layout.colourCountZero = peekU32(file.data() + colourCountFieldAt) == 0;
    layout.infoHeaderSize = static_cast<int>(peekU32(file.data() + infoSizeFieldAt));
    return layout;
}

std::string refusalOf(const std::string& name, const LoadProblem& problem) {
    return name + ": the game would refuse this bitmap: " + problem.reason + " (at byte " +
           std::to_string(problem.offset) + ")";
}

// The indices of a truecolour picture in the chosen palette, or a refusal saying where that
// palette comes from when there is none.
int reduceColours(const ImportSource& source, const PngPicture& rgba, IndexedImage* image,
                  std::string* report, std::string* why) {
    if (!source.reducePalette)
        return refuse(why, source.name +
                               ": the picture is not indexed and there is no palette to reduce it "
                               "to: put \"Pal.Pal\" beside OUT, or pass --palette FILE");
    PaletteReduction reduction = reduceToPalette(rgba, *source.reducePalette);
    image->width = rgba.width;
    image->height = rgba.height;
    image->pixels = std::move(reduction.indices);
    image->colours = *source.reducePalette;
    *report +=
        std::to_string(reduction.movedColours) + " colours moved to the nearest of the palette\n";
    return 1;
}

int encodeInto(const ImportSource& source, const IndexedImage& image, const BitmapLayout& layout,
               ImportResult* result, std::string* why) {
    std::string error;
    result->bytes = encodeBitmap(image, layout, &error);
    if (result->bytes.empty())
        return refuse(why, source.name + ": " + error);
    return 1;
}

PngPicture foreignAsRgba(ForeignPicture&& foreign) {
    PngPicture rgba;
    rgba.width = foreign.width;
    rgba.height = foreign.height;
    rgba.pixels = std::move(foreign.pixels);
    return rgba;
}

} // namespace

PngPicture indexedPngOf(const BitmapImage& bitmap) {
    PngPicture picture;
    picture.width = bitmap.width();
    picture.height = bitmap.height();
    picture.indexed = true;
    picture.pixels = rowsTopDown(bitmap);
    picture.palette = readColourTable(bitmap.colourTable(), bitmap.colourCount());
    picture.paletteSize = bitmap.colourCount();
    return picture;
}

int exportBitmap(const std::string& stem, std::span<const uint8_t> bmp,
                 std::vector<ExportedFile>* files, std::string* why) {
    BitmapImage bitmap;
    LoadProblem problem;
    if (!bitmap.loadFromMemory(bmp, &problem))
        return refuse(why, refusalOf(stem, problem));
    PngPicture picture = indexedPngOf(bitmap);
    picture.texts.emplace_back(bitmapLayoutKeyword, describeBitmapLayout(layoutOf(bitmap, bmp)));
    std::string error;
    std::vector<uint8_t> png = encodePng(picture, &error);
    if (png.empty())
        return refuse(why, stem + ": cannot make the PNG: " + error);
    files->push_back({stem + ".png", std::move(png)});
    return 1;
}

int importBitmapFromPng(const ImportSource& source, ImportResult* result, std::string* why) {
    PngPicture picture;
    std::string error;
    if (!decodePng(source.bytes, &picture, &error, source.pixels->left) ||
        !takePixelBytes(source.pixels, picture.pixels.size(), &error))
        return refuse(why, source.name + ": " + error);
    BitmapLayout layout;
    if (const std::string* text = pngText(picture, bitmapLayoutKeyword))
        if (!readBitmapLayout(*text, &layout, &error))
            return refuse(why, source.name + ": text \"" + bitmapLayoutKeyword + "\": " + error);
    IndexedImage image;
    if (picture.indexed) {
        image.width = picture.width;
        image.height = picture.height;
        image.pixels = std::move(picture.pixels);
        image.colours = picture.palette;
        layout.colourCount = picture.paletteSize;
    } else {
        if (!reduceColours(source, picture, &image, &result->report, why))
            return 0;
        layout.colourCount = 256;
    }
    // A colour-count field of 0 stands for a full table only; an edited palette may no longer be.
    if (layout.colourCount != 256)
        layout.colourCountZero = false;
    return encodeInto(source, image, layout, result, why);
}

int importBitmapFromBmp(const ImportSource& source, ImportResult* result, std::string* why) {
    // A picture the game already draws goes through the writer with its table and row order.
    BitmapImage bitmap;
    std::string error;
    if (bitmap.loadFromMemory(source.bytes)) {
        // Its rows are all in the file, so only their copies are new.
        if (!takePixelBytes(source.pixels, uint64_t(bitmap.width()) * uint64_t(bitmap.height()),
                            &error))
            return refuse(why, source.name + ": " + error);
        IndexedImage image{bitmap.width(), bitmap.height(), rowsTopDown(bitmap),
                           readColourTable(bitmap.colourTable(), bitmap.colourCount())};
        BitmapLayout layout;
        layout.topDown = !bitmap.bottomUp();
        layout.colourCount = bitmap.colourCount();
        return encodeInto(source, image, layout, result, why);
    }
    ForeignPicture foreign;
    if (!decodeForeignBitmap(source.bytes, &foreign, &error, source.pixels->left) ||
        !takePixelBytes(source.pixels, foreign.pixels.size(), &error))
        return refuse(why, source.name + ": " + error);
    IndexedImage image;
    if (foreign.indexed) {
        image.width = foreign.width;
        image.height = foreign.height;
        image.pixels = std::move(foreign.pixels);
        for (size_t i = 0; i < foreign.colours.size(); ++i)
            image.colours[i] = {foreign.colours[i].red, foreign.colours[i].green,
                                foreign.colours[i].blue, 0};
    } else if (!reduceColours(source, foreignAsRgba(std::move(foreign)), &image, &result->report,
                              why))
        return 0;
    return encodeInto(source, image, BitmapLayout{}, result, why);
}

} // namespace kavorind
