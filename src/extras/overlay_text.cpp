#include "extras/overlay_text.h"

#include "display/pixel_font.h"

#include <algorithm>
#include <cctype>

namespace kavorind {

namespace {

constexpr int glyphHeight = 7;
constexpr int letterSpacing = 1;

// One glyph's lit pixels, a box for every run of them along a row.
void addGlyph(const OverlayPen& pen, char c, int x, int y, int size, uint32_t argb) {
    const uint8_t* rows = glyphRows(c);
    const int shift = glyphShift(c);
    for (int row = 0; row < glyphHeight; ++row) {
        int column = 0;
        while (column < 5) {
            if (!(rows[row] & (0x10 >> column))) {
                ++column;
                continue;
            }
            int end = column;
            while (end < 5 && (rows[row] & (0x10 >> end)))
                ++end;
            addOverlayBox(pen, x + (column - shift) * size, y + row * size, (end - column) * size,
                          size, argb);
            column = end;
        }
    }
}

void addTextOnce(const OverlayPen& pen, const std::string& text, int x, int y, int size,
                 uint32_t argb) {
    for (char c : text) {
        addGlyph(pen, c, x, y, size, argb);
        x += (glyphWidth(c) + letterSpacing) * size;
    }
}

} // namespace

int overlayUnit(const PlatformOverlayArea& area) {
    return std::max(1, std::min(area.frameWidth / 320, area.frameHeight / 240));
}

int overlayTextWidth(const OverlayPen& pen, const std::string& text, int scale) {
    return pixelTextWidth(text, letterSpacing) * pen.unit * scale;
}

int overlayLineHeight(const OverlayPen& pen, int scale) {
    return (glyphHeight + 4) * pen.unit * scale;
}

void addOverlayText(const OverlayPen& pen, const std::string& text, int x, int y, int scale,
                    uint32_t argb) {
    const int size = pen.unit * scale;
    const int drop = std::max(1, size / 2);
    addTextOnce(pen, text, x + drop, y + drop, size, overlayShadow);
    addTextOnce(pen, text, x, y, size, argb);
}

void addRightAlignedText(const OverlayPen& pen, const std::string& text, int x, int y, int scale,
                         uint32_t argb) {
    addOverlayText(pen, text, x - overlayTextWidth(pen, text, scale), y, scale, argb);
}

void addCentredText(const OverlayPen& pen, const std::string& text, int x, int y, int scale,
                    uint32_t argb) {
    addOverlayText(pen, text, x - overlayTextWidth(pen, text, scale) / 2, y, scale, argb);
}

std::string overlayCapitals(std::string text) {
    for (char& c : text)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

void addOverlayBox(const OverlayPen& pen, int x, int y, int width, int height, uint32_t argb) {
    if (width > 0 && height > 0)
        pen.boxes->push_back(PlatformOverlayBox{x, y, width, height, argb});
}

} // namespace kavorind
