#pragma once
#include "display/palette.h"
#include "platform/decoded_pixels.h"

#include <string>

namespace kavorind {

// The colours of another picture, to reduce an imported picture to: a bitmap's colour table (so
// "Pal.Pal", or the logo and the menu that carry their own) or an indexed PNG's palette. 1 when
// read, else 0 with the reason in *why. A PNG's pixels are decoded within the budget.
int readPaletteOf(const std::string& path, PaletteEntries* colours, PixelBudget* budget,
                  std::string* why);

// "Pal.Pal" in the folder, found as the game finds it (without regard to case); empty when the
// folder has none.
std::string gamePaletteIn(const std::string& folder);

} // namespace kavorind
