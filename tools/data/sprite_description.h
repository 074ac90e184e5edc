#pragma once
#include "display/palette.h"

#include <cstdint>
#include <string>
#include <vector>

namespace kavorind {

// Where a frame lies on the sheet, its size and its hot spot (from the frame's top-left corner).
struct SheetFrame {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    int hotX = 0;
    int hotY = 0;
};

// What a sprite set's JSON file says: the sheet picture it names, the rate, the key, the set's
// colour table and the frames in order. Together with the sheet's pixels that is the whole "SPR"
// file, so an export and an import give back the same bytes.
struct SpriteDescription {
    std::string image;
    uint32_t rate = 1;
    uint32_t key = 0;
    PaletteEntries palette{};
    std::vector<SheetFrame> frames;
};

// The JSON text: one line per frame and per colour, so a diff shows what an author changed.
std::string writeSpriteDescription(const SpriteDescription& description);
// Reads the JSON text; 1 when every field is there with the right type and range, else 0 with the
// field at fault ("frames[2].hotX: ...") in *why. A palette may list fewer than 256 colours; the
// rest are black.
int readSpriteDescription(const std::string& text, SpriteDescription* description,
                          std::string* why);

} // namespace kavorind
