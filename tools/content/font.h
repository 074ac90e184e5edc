#pragma once
#include "canvas.h"
#include "display/pixel_font.h"

#include <string>

namespace kavorind {

// Text in the game's pixel alphabet (display/pixel_font.h), shaded and dropped-shadowed for the
// content's pictures.

struct TextStyle {
    int scale = 2;
    uint8_t ramp = 0;   // vertical gradient ramp of the letters
    int top = 14;       // shade at the top of a letter
    int bottom = 6;     // shade at its bottom
    uint8_t shadow = 3; // drop-shadow colour, drawn one pixel right and down
    bool shadowOn = true;
    int spacing = 1; // font pixels between letters
};

// Width in pixels that drawText would cover.
int textWidth(const std::string& text, const TextStyle& style);
// Draws text with its top-left at (x, y); returns the pen position after it.
int drawText(Canvas* c, const std::string& text, int x, int y, const TextStyle& style);

} // namespace kavorind
