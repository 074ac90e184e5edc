#pragma once
#include "display/palette.h"

#include <cstdint>
#include <string>

namespace kavorind {

// Writes an 8-bit indexed PNG of width x height palette indices (rows pitch bytes apart) with the
// given 256 colours; 1 on success.
int writeIndexedPng(const std::string& path, const uint8_t* pixels, int pitch, int width,
                    int height, const PaletteEntries& palette);

} // namespace kavorind
