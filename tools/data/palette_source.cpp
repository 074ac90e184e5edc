#include "data/palette_source.h"

#include "assets/bitmap_image.h"
#include "assets/bitmap_writer.h"
#include "common/png_image.h"
#include "platform/content_file.h"
#include "platform/content_path.h"

#include <filesystem>

namespace kavorind {

namespace {

int readPngPalette(const std::string& path, PaletteEntries* colours, std::string* why) {
    FileBytes bytes;
    if (!readWholeFile(path, maxContentFileBytes, &bytes)) {
        *why = "cannot be read";
        return 0;
    }
    PngPicture picture;
    if (!decodePng(bytes.view(), &picture, why))
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
    *colours = readColourTable(bitmap.colourTable(), bitmap.colourCount());
    return 1;
}

std::string gamePaletteIn(const std::string& folder) {
    std::string path = contentPath((folder.empty() ? std::string(".") : folder) + "/Pal.Pal");
    std::error_code error;
    return std::filesystem::is_regular_file(path, error) ? path : std::string();
}

} // namespace kavorind
