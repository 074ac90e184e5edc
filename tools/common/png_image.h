#pragma once
#include "display/palette.h"
#include "platform/decoded_pixels.h"
#include "platform/file_io.h"

#include <cstdint>
#include <span>
#include <string>
#include <utility>
#include <vector>

namespace kavorind {

// A picture as the content tools exchange it with image editors. Indexed pictures keep their
// palette indices and colour table exactly; every other kind of PNG is read as 8-bit RGBA.
struct PngPicture {
    int width = 0;
    int height = 0;
    bool indexed = false;
    // Row-major, top row first, no padding: one index per pixel, or red, green, blue, alpha.
    std::vector<uint8_t> pixels;
    PaletteEntries palette{}; // indexed only; entries past paletteSize are black
    int paletteSize = 0;      // colours in the file's table, 1 to 256
    // Text chunks (keyword, text) in file order: the tools keep what a format needs beyond the
    // pixels there, so it survives an editor that leaves unknown text alone.
    std::vector<std::pair<std::string, std::string>> texts;

    int bytesPerPixel() const { return indexed ? 1 : 4; }
};

// The largest picture either direction accepts, as for the game's own formats.
constexpr int pngMaxSide = 16384;

// Reads a whole PNG file held in memory; 1 on success, else 0 with the reason in *why. A picture
// whose decoded pixels (a byte per pixel indexed, else four) would take more than maxPixelBytes is
// refused from its header, before anything is allocated for it.
int decodePng(std::span<const uint8_t> file, PngPicture* picture, std::string* why,
              uint64_t maxPixelBytes = maxDecodedPixelBytes);
// The bytes of a PNG file holding the picture (8 bits per channel or index); empty, with the
// reason in *why, when the picture is inconsistent.
std::vector<uint8_t> encodePng(const PngPicture& picture, std::string* why = nullptr);
// encodePng written to a file through the safe writer; 1 on success. Frames and previews that a
// rerun makes again need not wait for the disk (FileQuick).
int writePng(const std::string& path, const PngPicture& picture, std::string* why = nullptr,
             FileDurability durability = FileDurable);

// The text of the chunk with this keyword, or null.
const std::string* pngText(const PngPicture& picture, const std::string& keyword);

} // namespace kavorind
