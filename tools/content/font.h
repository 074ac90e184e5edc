#pragma once
#include "canvas.h"

#include <string>

namespace kavorind {

// A 5 x 7 pixel alphabet (capitals, digits, a few punctuation marks) that the fonts, the opening
// text and the menu labels are drawn from. Rows top first, bit 4 the leftmost column.
const uint8_t* glyphRows(char c);
// Width in font pixels of the glyph (narrow for I, 1, punctuation).
int glyphWidth(char c);

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
