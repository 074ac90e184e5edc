#pragma once
#include <cstdint>
#include <string>

namespace kavorind {

// The game's 5 x 7 pixel alphabet (capitals, digits, a few punctuation marks): the content's
// fonts, the opening text and the menu labels are drawn from it, and so is the text the shell
// shows over the picture, so both look alike. Rows top first, bit 4 the leftmost column. Small
// letters read as capitals; a character the alphabet lacks is blank.
const uint8_t* glyphRows(char c);
// Width in font pixels of the glyph (narrow for I, 1, punctuation).
int glyphWidth(char c);
// Narrow glyphs keep their pixels at the right of the 5-column cell: how many columns to move
// them left by.
int glyphShift(char c);
// Width in font pixels of a line of text with spacing font pixels between letters.
int pixelTextWidth(const std::string& text, int spacing);

} // namespace kavorind
