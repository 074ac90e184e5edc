#pragma once
#include "display/palette.h"
#include "platform/file_io.h"

#include <cstdint>
#include <string>

namespace kavorind {

// Writes an 8-bit indexed PNG of width x height palette indices (rows pitch bytes apart) with the
// given 256 colours through the safe writer; 1 on success, else 0 with the reason in *why.
int writeIndexedPng(const std::string& path, const uint8_t* pixels, int pitch, int width,
                    int height, const PaletteEntries& palette, FileDurability durability,
                    std::string* why);

} // namespace kavorind
