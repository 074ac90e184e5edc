#include "common/png_writer.h"

#include "common/png_image.h"

namespace kavorind {

int writeIndexedPng(const std::string& path, const uint8_t* pixels, int pitch, int width,
                    int height, const PaletteEntries& palette) {
    if (!pixels || width < 1 || height < 1 || pitch < width)
        return 0;
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
    return writePng(path, picture);
}

} // namespace kavorind
