#include "data/palette_source.h"

#include "assets/bitmap_image.h"
#include "common/png_image.h"
#include "platform/content_path.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

namespace kavorind {

namespace {

int readPngPalette(const std::string& path, PaletteEntries* colours, std::string* why) {
    std::ifstream in(path, std::ios::binary);
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                               std::istreambuf_iterator<char>());
    PngPicture picture;
    if (!decodePng(bytes, &picture, why))
        return 0;
    if (!picture.indexed) {
        *why = "the PNG has no palette of its own (it is not indexed)";
        return 0;
    }
    *colours = picture.palette;
    return 1;
}

} // namespace

int readPaletteOf(const std::string& path, PaletteEntries* colours, std::string* why) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) {
        *why = "no such file";
        return 0;
    }
    BitmapImage bitmap;
    LoadProblem problem;
    if (!bitmap.load(path, &problem)) {
        std::string pngWhy;
        if (readPngPalette(path, colours, &pngWhy))
            return 1;
        *why =
            "neither a bitmap the game reads (" + problem.reason + ") nor a PNG (" + pngWhy + ")";
        return 0;
    }
    *colours = PaletteEntries{};
    const uint8_t* table = bitmap.colourTable();
    for (int i = 0; i < bitmap.colourCount(); ++i)
        (*colours)[i] = {table[4 * i + 2], table[4 * i + 1], table[4 * i], 0};
    return 1;
}

std::string gamePaletteIn(const std::string& folder) {
    std::string path = contentPath((folder.empty() ? std::string(".") : folder) + "/Pal.Pal");
    std::error_code error;
    return std::filesystem::is_regular_file(path, error) ? path : std::string();
}

} // namespace kavorind
