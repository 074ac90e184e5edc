#pragma once
#include "assets/bitmap_writer.h"

#include <string>

namespace kavorind {

// The PNG text keyword under which an exported bitmap keeps the layout of the file it came from.
inline constexpr const char* bitmapLayoutKeyword = "kavorind-bitmap";

// The layout in words an author can read and leave alone, for example
// "rows=bottom-up colour-count-field=256 info-header=40". The colour count itself is the PNG's
// palette size, so it is not repeated.
std::string describeBitmapLayout(const BitmapLayout& layout);
// Reads the words back over *layout (each one absent keeps its value); 1 when understood, else 0
// with the word at fault in *why.
int readBitmapLayout(const std::string& text, BitmapLayout* layout, std::string* why);

} // namespace kavorind
