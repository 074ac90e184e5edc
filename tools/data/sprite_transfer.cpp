#include "data/sprite_transfer.h"

#include "assets/bitmap_writer.h"
#include "assets/sprite_set.h"
#include "assets/sprite_set_writer.h"
#include "common/png_image.h"
#include "data/palette_match.h"
#include "data/sprite_description.h"

#include <algorithm>
#include <cstring>

namespace kavorind {

namespace {

// Frames run left to right and wrap to a new row past this width (or the widest frame), a pixel
// of the key colour between neighbours: a sheet an artist can take in at a glance.
constexpr int sheetRowWidth = 1024;

// A description of the most frames a set may hold takes about 5 MiB; the parsed document costs
// many times its text, so a far larger one is refused before it is read.
constexpr size_t maxDescriptionBytes = size_t{16} << 20;

int refuse(std::string* why, const std::string& reason) {
    *why = reason;
    return 0;
}

// Places every frame on the sheet; the sheet's size in *width, *height (at least 1 x 1).
std::vector<SheetFrame> layOutFrames(const SpriteSet& set, int* width, int* height) {
    int widest = 0;
    for (uint32_t i = 0; i < set.frameCount(); ++i)
        widest = std::max(widest, set.frameAt(i)->width);
    int rowLimit = std::max(widest, sheetRowWidth);
    std::vector<SheetFrame> places;
    int64_t x = 0, y = 0, rowHeight = 0;
    *width = 1;
    for (uint32_t i = 0; i < set.frameCount(); ++i) {
        const SpriteFrame* frame = set.frameAt(i);
        if (x > 0 && x + frame->width > rowLimit) {
            y += rowHeight + 1;
            x = 0;
            rowHeight = 0;
        }
        places.push_back({static_cast<int>(x), static_cast<int>(std::min<int64_t>(y, 1 << 30)),
                          frame->width, frame->height, frame->hotX, frame->hotY});
        *width = std::max(*width, static_cast<int>(x + frame->width));
        x += frame->width + 1;
        rowHeight = std::max<int64_t>(rowHeight, frame->height);
    }
    *height = static_cast<int>(std::clamp<int64_t>(y + rowHeight, 1, 1 << 30));
    return places;
}

std::vector<uint8_t> drawSheet(const SpriteSet& set, const std::vector<SheetFrame>& places,
                               int width, int height) {
    std::vector<uint8_t> sheet(static_cast<size_t>(width) * height,
                               static_cast<uint8_t>(set.colourKey()));
    for (uint32_t i = 0; i < set.frameCount(); ++i) {
        const SpriteFrame* frame = set.frameAt(i);
        const SheetFrame& place = places[i];
        for (int y = 0; frame->width > 0 && y < frame->height; ++y)
            std::memcpy(sheet.data() + static_cast<size_t>(place.y + y) * width + place.x,
                        frame->row(y), static_cast<size_t>(frame->width));
    }
    return sheet;
}

bool samePalettePrefix(const PngPicture& sheet, const PaletteEntries& palette) {
    for (int i = 0; i < sheet.paletteSize; ++i)
        if (sheet.palette[i] != palette[i])
            return false;
    return true;
}

// An indexed sheet whose palette is the set's palette is kept index for index; anything else
// (the editor saved truecolour, or changed the palette) is matched by colour, with the key's own
// colour and the pixels less than half opaque going to the key.
std::vector<uint8_t> sheetIndices(PngPicture&& sheet, const SpriteDescription& description,
                                  std::string* report) {
    if (sheet.indexed && samePalettePrefix(sheet, description.palette))
        return std::move(sheet.pixels);
    PngPicture rgba;
    rgba.width = sheet.width;
    rgba.height = sheet.height;
    rgba.pixels.reserve(static_cast<size_t>(sheet.width) * sheet.height * 4);
    for (size_t i = 0; i < sheet.pixels.size(); i += sheet.bytesPerPixel()) {
        if (sheet.indexed) {
            const PaletteEntry& colour = sheet.palette[sheet.pixels[i]];
            rgba.pixels.insert(rgba.pixels.end(), {colour.red, colour.green, colour.blue, 255});
        } else
            rgba.pixels.insert(rgba.pixels.end(), sheet.pixels.begin() + i,
                               sheet.pixels.begin() + i + 4);
    }
    uint8_t key = static_cast<uint8_t>(description.key);
    const PaletteEntry& keyColour = description.palette[key];
    for (size_t i = 0; i < rgba.pixels.size(); i += 4)
        if (rgba.pixels[i] == keyColour.red && rgba.pixels[i + 1] == keyColour.green &&
            rgba.pixels[i + 2] == keyColour.blue)
            rgba.pixels[i + 3] = 0;
    PaletteReduction reduction = reduceToPalette(rgba, description.palette, key);
    *report += std::to_string(reduction.movedColours) +
               " colours moved to the nearest of the set's palette\n";
    return std::move(reduction.indices);
}

// The frames' pixels together, taken from the budget before any frame is made.
int budgetFrames(const SpriteDescription& description, PixelBudget* budget, std::string* why) {
    uint64_t total = 0;
    for (const SheetFrame& frame : description.frames)
        total += uint64_t(std::max(frame.width, 0)) * uint64_t(std::max(frame.height, 0));
    if (takePixelBytes(budget, total, why))
        return 1;
    *why = "frames: " + std::to_string(description.frames.size()) + " frames: " + *why;
    return 0;
}

int cutFrames(const SpriteDescription& description, const std::vector<uint8_t>& sheet,
              int sheetWidth, int sheetHeight, SpriteSetImage* set, std::string* why) {
    for (size_t i = 0; i < description.frames.size(); ++i) {
        const SheetFrame& place = description.frames[i];
        if (place.x + place.width > sheetWidth || place.y + place.height > sheetHeight)
            return refuse(why, "frames[" + std::to_string(i) + "]: reaches past the " +
                                   std::to_string(sheetWidth) + " x " +
                                   std::to_string(sheetHeight) + " sheet");
        SpriteFrameImage frame =
            makeSpriteFrameImage(place.width, place.height, place.hotX, place.hotY);
        // A frame may be 0 wide and still have rows: nothing to copy (nor any buffer to copy to).
        for (int y = 0; place.width > 0 && y < place.height; ++y)
            std::memcpy(frame.pixels.data() + static_cast<size_t>(y) * place.width,
                        sheet.data() + static_cast<size_t>(place.y + y) * sheetWidth + place.x,
                        static_cast<size_t>(place.width));
        set->frames.push_back(std::move(frame));
    }
    return 1;
}

// The sheet the description names, read from beside it.
int readSheet(const ImportSource& source, const std::string& image, PngPicture* sheet,
              std::string* why) {
    std::vector<uint8_t> bytes;
    std::string error = "files beside the description cannot be read here";
    if (!source.readCompanion || !source.readCompanion(image, &bytes, &error))
        return refuse(why, source.name + ": image \"" + image + "\": " + error);
    if (!decodePng(bytes, sheet, &error, source.pixels->left) ||
        !takePixelBytes(source.pixels, sheet->pixels.size(), &error))
        return refuse(why, image + ": " + error);
    return 1;
}

} // namespace

int exportSpriteSet(const std::string& stem, std::span<const uint8_t> spr,
                    std::vector<ExportedFile>* files, std::string* why) {
    SpriteSet set;
    LoadProblem problem;
    if (!set.loadFromMemory(spr, &problem))
        return refuse(why, stem + ": the game would refuse this sprite set: " + problem.reason +
                               " (at byte " + std::to_string(problem.offset) + ")");
    PngPicture sheet;
    sheet.indexed = true;
    sheet.paletteSize = 256;
    sheet.palette = readColourTable(set.colourTable(), 256);
    SpriteDescription description{stem + ".png", set.frameRate(), set.colourKey(), sheet.palette,
                                  layOutFrames(set, &sheet.width, &sheet.height)};
    if (sheet.width > pngMaxSide || sheet.height > pngMaxSide)
        return refuse(why, stem + ": the frames do not fit on one sheet of 16384 x 16384 pixels");
    sheet.pixels = drawSheet(set, description.frames, sheet.width, sheet.height);
    std::string error;
    std::vector<uint8_t> png = encodePng(sheet, &error);
    if (png.empty())
        return refuse(why, stem + ": cannot make the sheet: " + error);
    std::string text = writeSpriteDescription(description);
    files->push_back({stem + ".png", std::move(png)});
    files->push_back({stem + ".json", std::vector<uint8_t>(text.begin(), text.end())});
    return 1;
}

int importSpriteSet(const ImportSource& source, ImportResult* result, std::string* why) {
    SpriteDescription description;
    std::string error;
    if (source.bytes.size() > maxDescriptionBytes)
        return refuse(why, source.name + ": larger than " + sizeText(maxDescriptionBytes) +
                               ", more than any sprite set's description");
    std::string text(source.bytes.begin(), source.bytes.end());
    if (!readSpriteDescription(text, &description, &error))
        return refuse(why, source.name + ": " + error);
    if (!budgetFrames(description, source.pixels, &error))
        return refuse(why, source.name + ": " + error);
    PngPicture sheet;
    if (!readSheet(source, description.image, &sheet, why))
        return 0;
    int width = sheet.width, height = sheet.height;
    std::vector<uint8_t> indices = sheetIndices(std::move(sheet), description, &result->report);
    SpriteSetImage set{description.rate, description.key, description.palette, {}};
    if (!cutFrames(description, indices, width, height, &set, &error))
        return refuse(why, source.name + ": " + error);
    result->bytes = encodeSpriteSet(set, &error);
    if (result->bytes.empty())
        return refuse(why, source.name + ": " + error);
    return 1;
}

} // namespace kavorind
