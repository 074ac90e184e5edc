#pragma once
#include "assets/bitmap_image.h"
#include "common/png_image.h"
#include "data/transfer.h"

namespace kavorind {

// A Windows bitmap (a picture or "Pal.Pal") as one indexed PNG, STEM.png, with the same colour
// table; what the bitmap's header holds beyond the pixels is kept in the PNG's text so the import
// gives back the same bytes.
// A loaded picture as an indexed PNG: its rows top to bottom, its colour table as the palette.
PngPicture indexedPngOf(const BitmapImage& bitmap);
int exportBitmap(const std::string& stem, std::span<const uint8_t> bmp,
                 std::vector<ExportedFile>* files, std::string* why);
// A PNG back into an uncompressed 8-bit bitmap. An indexed PNG keeps its indices and colours; any
// other is reduced to source.reducePalette, the report saying how many colours moved.
int importBitmapFromPng(const ImportSource& source, ImportResult* result, std::string* why);
// Any bitmap SDL can read (truecolour, RLE-compressed, fewer bits) as an uncompressed 8-bit one;
// an 8-bit picture keeps its colour table, others are reduced as a PNG would be.
int importBitmapFromBmp(const ImportSource& source, ImportResult* result, std::string* why);

} // namespace kavorind
