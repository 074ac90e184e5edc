#include "assets/text.h"

#include <cstring>

namespace kavorind {

namespace {

// Draws one glyph at the pen and moves the pen past it; a missing glyph leaves the pen alone.
void drawGlyph(Surface* surface, const SpriteSet& font, uint32_t index, int* x, int y) {
    const SpriteFrame* glyph = font.frameAt(index);
    if (!glyph)
        return;
    font.drawFrame(surface, index, *x, y);
    *x += glyph->width + glyphGap;
}

} // namespace

void drawNumber(Surface* surface, const SpriteSet& digits, uint32_t value, int x, int y) {
    uint32_t power = 1;
    while (value / power >= 10)
        power *= 10;
    for (; power > 0; power /= 10)
        drawGlyph(surface, digits, (value / power) % 10, &x, y);
}

int drawText(Surface* surface, const SpriteSet& letters, const SpriteSet& digits, const char* text,
             int x, int y) {
    if (!text)
        return 0;
    for (const char* p = text; *p; ++p) {
        const char c = *p;
        if (c == ' ')
            x += textSpaceAdvance;
        else if (c >= 'A' && c <= 'Z')
            drawGlyph(surface, letters, static_cast<uint32_t>(c - 'A'), &x, y);
        else if (c >= 'a' && c <= 'z')
            drawGlyph(surface, letters, static_cast<uint32_t>(c - 'a'), &x, y);
        else if (c >= '0' && c <= '9')
            drawGlyph(surface, digits, static_cast<uint32_t>(c - '0'), &x, y);
    }
    return static_cast<int>(std::strlen(text));
}

} // namespace kavorind
