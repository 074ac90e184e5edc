#pragma once
#include "assets/sprite_set.h"
#include "display/surface.h"

#include <cstdint>

namespace kavorind {

// Words and numbers drawn with two sprite sets as bitmap fonts: the digits set (frame n shows the
// digit n) and the letters set (frame n shows the letter 'A' + n; lower case uses the same glyphs).
// Each glyph is drawn with drawFrame at the pen (placed by its hot spot, keyed, clipped) and moves
// the pen right by its frame's width + 2; a space moves it 16. A glyph the set does not hold (the
// set not loaded, or too few frames) is skipped without moving the pen, as is any other byte.

// The pen advance of a space.
constexpr int textSpaceAdvance = 16;
// The gap after each glyph, added to its frame's width.
constexpr int glyphGap = 2;

// Writes value in decimal, most significant digit first, without leading zeros (0 is one digit).
void drawNumber(Surface* surface, const SpriteSet& digits, uint32_t value, int x, int y);
// Writes the zero-terminated text from left to right; returns its length in bytes.
int drawText(Surface* surface, const SpriteSet& letters, const SpriteSet& digits, const char* text,
             int x, int y);

} // namespace kavorind
