#include "font.h"

#include "palette.h"

#include <cstring>

namespace kavorind {

int textWidth(const std::string& text, const TextStyle& style) {
    int w = 0;
    for (char c : text)
        w += (glyphWidth(c) + style.spacing) * style.scale;
    return w > 0 ? w - style.spacing * style.scale : 0;
}

namespace {

void drawGlyph(Canvas* c, char ch, int x, int y, const TextStyle& s, bool shadowPass) {
    const uint8_t* rows = glyphRows(ch);
    int shift = glyphShift(ch);
    int h = 7 * s.scale;
    for (int row = 0; row < 7; ++row)
        for (int col = 0; col < 5; ++col) {
            if (!(rows[row] & (0x10 >> col)))
                continue;
            int px = x + (col - shift) * s.scale, py = y + row * s.scale;
            for (int j = 0; j < s.scale; ++j)
                for (int i = 0; i < s.scale; ++i) {
                    if (shadowPass) {
                        c->put(px + i + 1, py + j + 1, s.shadow);
                        continue;
                    }
                    double t = static_cast<double>(row * s.scale + j) / (h - 1);
                    double level = s.top + (s.bottom - s.top) * t;
                    int l = static_cast<int>(level);
                    if (ditherUp(px + i, py + j, level - l))
                        ++l;
                    c->put(px + i, py + j, shade(s.ramp, l));
                }
        }
}

} // namespace

int drawText(Canvas* c, const std::string& text, int x, int y, const TextStyle& style) {
    for (int pass = style.shadowOn ? 0 : 1; pass < 2; ++pass) {
        int pen = x;
        for (char ch : text) {
            drawGlyph(c, ch, pen, y, style, pass == 0);
            pen += (glyphWidth(ch) + style.spacing) * style.scale;
        }
        if (pass == 1)
            return pen;
    }
    return x;
}

} // namespace kavorind
