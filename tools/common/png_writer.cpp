#include "common/png_writer.h"

#include "common/png_image.h"

namespace kavorind {

int writeIndexedPng(const std::string& path, const uint8_t* pixels, int pitch, int width,
                    int height, const PaletteEntries& palette, FileDurability durability,
                    std::string* why) {
    if (!pixels || width < 1 || height < 1 || pitch < width) {
        *why = "no picture to write";
        return 0;
    }
    PngPicture picture;
    picture.width = width;
    picture.height = height;
    picture.indexed = true;
    picture.palette = palette;
    picture.paletteSize = 256;
    picture.pixels.reserve(static_cast<size_t>(width) * static_cast<size_t>(height));
    for (int y = 0; y < height; ++y) {
        const uint8_t* row = pixels + static_cast<size_t>(y) * static_cast<size_t>(pitch);
        picture.pixels.insert(picture.pixels.end(), row, row + width);
    }
    // The system's reason alone, so that callers name the file with it as the other writers do.
    std::vector<uint8_t> file = encodePng(picture, why);
    return !file.empty() && writeFileSafely(path, file, durability, why);
}

} // namespace kavorind
