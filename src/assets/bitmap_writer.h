#pragma once
#include "display/palette.h"

#include <cstdint>
#include <string>
#include <vector>

namespace kavorind {

// A picture as the content generator and the tests describe it: width x height palette indices,
// row-major, the top row first, no padding; and its 256 colours (the flags are not stored).
struct IndexedImage {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> pixels;
    PaletteEntries colours{};

    uint8_t& at(int x, int y) { return pixels[static_cast<size_t>(y) * width + x]; }
    uint8_t at(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

// A blank width x height picture (every pixel `fill`, every colour black).
IndexedImage makeIndexedImage(int width, int height, uint8_t fill = 0);

// How an 8-bit Windows bitmap is laid out on disk. The defaults give what the game's pictures and
// "Pal.Pal" need: a 40-byte info header, a full 256-colour table, rows stored bottom-up.
struct BitmapLayout {
    bool topDown = false;  // a negative height: the first stored row is the top row
    int colourCount = 256; // entries written to the colour table, 1 to 256
    bool colourCountZero =
        false;               // write 0 in the colour-count field (meaning 256); needs 256 entries
    int infoHeaderSize = 40; // 40 or more; bytes past the 40 standard ones are zero
};

// The bytes of an 8-bit uncompressed Windows bitmap file holding the picture: file header, info
// header, colour table (blue, green, red, 0 per entry) and the rows, each padded with zeros to a
// multiple of 4 bytes. Empty when the picture or the layout is inconsistent (error, if given, then
// says why): a size below 1 or above 16384, a pixel count other than width x height, and so on.
std::vector<uint8_t> encodeBitmap(const IndexedImage& image, const BitmapLayout& layout = {},
                                  std::string* error = nullptr);
// encodeBitmap written to a file; 1 on success.
int writeBitmap(const std::string& path, const IndexedImage& image, const BitmapLayout& layout = {},
                std::string* error = nullptr);

// The raw 8-bit image block that a stage map carries as its tileset: width, height, the 256-entry
// colour table, then the rows bottom-up, each padded to a multiple of 4 bytes. Appended to out;
// 0 (nothing appended) when the picture is inconsistent.
int appendRawImageBlock(const IndexedImage& image, std::vector<uint8_t>* out,
                        std::string* error = nullptr);

// Appends a 256-entry colour table (blue, green, red, 0) as the three formats store it.
void appendColourTable(const PaletteEntries& colours, std::vector<uint8_t>* out);
// The colours of a stored table of count entries (1 to 256); the entries past it are black.
PaletteEntries readColourTable(const uint8_t* table, int count);

// Checks a picture description; 1 when usable, else 0 with the reason in error.
int checkIndexedImage(const IndexedImage& image, std::string* error);

} // namespace kavorind
