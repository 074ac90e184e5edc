#include "display/png_writer.h"

namespace kavorind {

// The page saves its canvas as a picture itself; the game in the browser writes no PNG files.

std::vector<uint8_t> encodeIndexedPng(const uint8_t*, int, int, int, const PaletteEntries&,
                                      std::string* why) {
    *why = "pictures are saved by the page in the browser";
    return {};
}

int writeIndexedPng(const std::string&, const uint8_t*, int, int, int, const PaletteEntries&,
                    FileDurability, std::string* why) {
    *why = "pictures are saved by the page in the browser";
    return 0;
}

} // namespace kavorind
