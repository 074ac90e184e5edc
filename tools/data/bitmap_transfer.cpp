#include "data/bitmap_transfer.h"

namespace kavorind {

int exportBitmap(const std::string&, std::span<const uint8_t>, std::vector<ExportedFile>*,
                 std::string* why) {
    *why = "bitmap export is not built yet";
    return 0;
}

int importBitmapFromPng(const ImportSource&, ImportResult*, std::string* why) {
    *why = "PNG import is not built yet";
    return 0;
}

int importBitmapFromBmp(const ImportSource&, ImportResult*, std::string* why) {
    *why = "bitmap import is not built yet";
    return 0;
}

} // namespace kavorind
