#pragma once
#include "display/palette.h"
#include "platform/file_io.h"

#include <cstdint>
#include <string>
#include <vector>

namespace kavorind {

// The bytes of an 8-bit indexed PNG of width x height palette indices (rows pitch bytes apart)
// with the given 256 colours; empty, with the reason in *why, when there is no picture or the
// encoder fails.
std::vector<uint8_t> encodeIndexedPng(const uint8_t* pixels, int pitch, int width, int height,
                                      const PaletteEntries& palette, std::string* why);
// encodeIndexedPng written through the safe writer; 1 on success, else 0 with the reason in *why.
int writeIndexedPng(const std::string& path, const uint8_t* pixels, int pitch, int width,
                    int height, const PaletteEntries& palette, FileDurability durability,
                    std::string* why);

} // namespace kavorind
