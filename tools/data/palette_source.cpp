#include "data/palette_source.h"

#include "assets/bitmap_image.h"
#include "assets/bitmap_writer.h"
#include "common/png_image.h"
#include "data/transfer.h"
#include "platform/content_file.h"
#include "platform/content_path.h"

#include <filesystem>

namespace kavorind {

int readPaletteOf(const std::string& path, PaletteEntries* colours, PixelBudget* budget,
                  std::string* why) {
    FileBytes bytes;
    if (!readSourceFile(path, &bytes, why))
        return 0;
    BitmapImage bitmap;
    LoadProblem problem;
    if (bitmap.loadFromMemory(bytes.view(), &problem)) {
        *colours = readColourTable(bitmap.colourTable(), bitmap.colourCount());
        return 1;
    }
    PngPicture picture;
    std::string pngWhy;
    if (!decodePng(bytes.view(), &picture, &pngWhy, budget->left) ||
        !takePixelBytes(budget, picture.pixels.size(), &pngWhy)) {
        *why =
            "neither a bitmap the game reads (" + problem.reason + ") nor a PNG (" + pngWhy + ")";
        return 0;
    }
    if (!picture.indexed) {
        *why = "the PNG has no palette of its own (it is not indexed)";
        return 0;
    }
    *colours = picture.palette;
    return 1;
}

std::string gamePaletteIn(const std::string& folder) {
    std::string path = contentPath((folder.empty() ? std::string(".") : folder) + "/Pal.Pal");
    std::error_code error;
    return std::filesystem::is_regular_file(path, error) ? path : std::string();
}

} // namespace kavorind
