#pragma once
// The installed icons: the program's 32 x 32 picture (platform/icon_picture.h) drawn at the sizes
// desktops ask for, as pixel art in the picture's own 16 colours.
#include <cstdint>
#include <string>
#include <vector>

namespace kavorind {

// A square picture of indices into iconColours, row by row.
struct IconPicture {
    int size = 0;
    std::vector<uint8_t> pixels;
};

// The sizes drawn for the desktop's icon theme, 32 first (the window icon itself).
constexpr int iconThemeSizes[] = {32, 48, 64, 128, 256};

// The icon at one of iconThemeSizes; an empty picture (size 0) at any other size.
IconPicture drawIcon(int size);

// Writes the picture as an indexed PNG, to stay; 1 on success, else 0 with the reason in *why.
int writeIconPng(const std::string& path, const IconPicture& picture, std::string* why);

} // namespace kavorind
