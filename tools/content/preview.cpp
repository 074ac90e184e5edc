#include "preview.h"

#include "assets/bitmap_image.h"
#include "assets/sprite_set.h"
#include "assets/stage_map.h"
#include "assets/text.h"
#include "display/png_writer.h"
#include "display/surface.h"
#include "font.h"
#include "palette.h"

#include <algorithm>
#include <cstdio>

namespace kavorind {

namespace {

constexpr uint8_t sheetBackground = 6; // a mid grey that no sprite uses much
constexpr uint8_t hotMark = Toxic + 15;
constexpr uint8_t labelInk = White;
Canvas lastSheet;
int weaponRowY = 0; // where the shots start on the sprite sheet

int savePng(const std::string& path, const Canvas& c, const PaletteEntries& colours) {
    std::string why;
    if (writeIndexedPng(path, c.pixels.data(), c.width, c.width, c.height, colours, FileDurable,
                        &why))
        return 1;
    std::fprintf(stderr, "kavorind-content: cannot write %s: %s\n", path.c_str(), why.c_str());
    return 0;
}

TextStyle labelStyle() {
    TextStyle s;
    s.scale = 1;
    s.ramp = 0;
    s.top = s.bottom = labelInk;
    s.shadowOn = false;
    return s;
}

void label(Canvas* c, const std::string& text, int x, int y) {
    TextStyle s = labelStyle();
    // drawText shades through a ramp; with ramp 0 the shade is the colour index itself.
    drawText(c, text, x, y, s);
}

// One row per sprite set: its name, then every frame on the sheet's grey with a green cross on
// its hot spot (clamped to the frame's box when the hot spot lies outside it).
int spriteSheet(const ContentSet& content, const std::string& path) {
    const int width = 1600, gap = 6;
    int height = 0;
    for (const auto& s : content.sprites) {
        int x = 140, rowH = 0;
        for (const auto& f : s.data.frames) {
            if (x + f.width > width) {
                height += rowH + gap;
                x = 140;
                rowH = 0;
            }
            x += f.width + gap;
            rowH = std::max(rowH, f.height);
        }
        height += std::max(rowH, 10) + gap * 2;
    }
    Canvas sheet = makeCanvas(width, height, sheetBackground);
    int y = 0;
    for (const auto& s : content.sprites) {
        label(&sheet, s.name + " R" + std::to_string(s.data.rate), 4, y + 2);
        if (s.name == "Weapon0.spr")
            weaponRowY = y;
        int x = 140, rowH = 0;
        for (const auto& f : s.data.frames) {
            if (x + f.width > width) {
                y += rowH + gap;
                x = 140;
                rowH = 0;
            }
            for (int j = 0; j < f.height; ++j)
                for (int i = 0; i < f.width; ++i)
                    if (f.at(i, j) != (s.data.key & 0xFF))
                        sheet.put(x + i, y + j, f.at(i, j));
            int hx = x + std::clamp(f.hotX, 0, f.width), hy = y + std::clamp(f.hotY, 0, f.height);
            for (int k = -2; k <= 2; ++k) {
                sheet.put(hx + k, hy, hotMark);
                sheet.put(hx, hy + k, hotMark);
            }
            x += f.width + gap;
            rowH = std::max(rowH, f.height);
        }
        y += std::max(rowH, 10) + gap * 2;
    }
    lastSheet = sheet;
    return savePng(path, sheet, gameColours());
}

// A corner of a sheet blown up so that single pixels can be judged.
int zoomed(const std::string& from, const std::string& to, int x0, int y0, int w, int h,
           int scale) {
    (void)from;
    Canvas big = makeCanvas(w * scale, h * scale, 0);
    for (int y = 0; y < h * scale; ++y)
        for (int x = 0; x < w * scale; ++x)
            big.put(x, y,
                    lastSheet.inside(x0 + x / scale, y0 + y / scale)
                        ? lastSheet.get(x0 + x / scale, y0 + y / scale)
                        : 0);
    return savePng(to, big, gameColours());
}

int pictures(const ContentSet& content, const std::string& dir) {
    for (const auto& p : content.pictures) {
        Canvas c = makeCanvas(p.data.width, p.data.height, 0);
        c.pixels = p.data.pixels;
        if (!savePng(dir + "/picture-" + p.name + ".png", c, p.data.colours))
            return 0;
    }
    return 1;
}

const StageMapImage* findMap(const ContentSet& content, const std::string& name) {
    for (const auto& m : content.maps)
        if (m.name == name)
            return &m.data;
    return nullptr;
}

int loadMap(const StageMapImage& image, StageMap* map) {
    std::vector<uint8_t> bytes = encodeStageMap(image);
    return map->loadFromMemory(bytes);
}

// Each stage drawn with the game's own map loader and backdrop drawing at four points along the
// way, the last one where the scrolling stops; then the whole middle map at half size with a
// marker and the code at every spawn cell.
int stageSheets(const ContentSet& content, const std::string& dir) {
    for (int s = 1; s <= 3; ++s) {
        const std::string n = std::to_string(s);
        const StageMapImage* b = findMap(content, "Stage-B" + n + ".map");
        const StageMapImage* m = findMap(content, "Stage-M" + n + ".map");
        const StageMapImage* f = findMap(content, "Stage-F" + n + ".map");
        if (!b || !m || !f)
            continue;
        StageMap back, middle, front;
        if (!loadMap(*b, &back) || !loadMap(*m, &middle) || !loadMap(*f, &front)) {
            std::fprintf(stderr, "kavorind-content: stage %d does not load\n", s);
            return 0;
        }
        int midLimit = m->width * m->tileWidth - 640, backLimit = b->width * b->tileWidth - 640;
        const int backSpeed = s == 3 ? 0 : 1;
        Canvas sheet = makeCanvas(1280, 960, 0);
        for (int k = 0; k < 4; ++k) {
            int mid = midLimit * k / 3;
            int backScroll = std::min(backLimit, mid / 2 * backSpeed);
            Surface surface = makeSurface(640, 480);
            drawStageBackdrop(&surface, back, middle, front, backScroll, mid, s == 1 ? 255 : 249);
            Canvas frame = makeCanvas(640, 480, 0);
            frame.pixels = surface.pixels;
            blitKeyed(&sheet, frame, (k % 2) * 640, (k / 2) * 480, 255);
            label(&sheet, "SCROLL " + std::to_string(mid), (k % 2) * 640 + 4, (k / 2) * 480 + 4);
        }
        if (!savePng(dir + "/stage" + n + "-layers.png", sheet, gameColours()))
            return 0;
        // The middle and front layers over the sheet's grey, at half size, cut into three strips
        // stacked one above the other.
        Surface surface = makeSurface(m->width * m->tileWidth, m->height * m->tileHeight);
        colourFill(&surface, sheetBackground);
        middle.drawLayerKeyed(&surface, s == 1 ? 255 : 249, 0, 0, 0, m->width, m->height, 0, 0);
        front.drawLayer(&surface, 0, 0, 0, m->width, m->height, 0, 0);
        const int halfW = surface.width / 2, halfH = surface.height / 2, strips = 3;
        const int stripW = (halfW + strips - 1) / strips;
        Canvas whole = makeCanvas(halfW, halfH, 0);
        for (int y = 0; y < halfH; ++y)
            for (int x = 0; x < halfW; ++x)
                whole.put(x, y, surface.pixels[static_cast<size_t>(y * 2) * surface.width + x * 2]);
        const MapLayerImage& layer = m->layers[0];
        for (int row = 0; row < m->height; ++row)
            for (int col = 0; col < m->width; ++col) {
                int code = layer.spawns[static_cast<size_t>(row) * m->width + col];
                if (!code)
                    continue;
                int x = col * m->tileWidth / 2, y = (row * m->tileHeight + 5) / 2;
                fillRect(&whole, x, y, 14, 9, code < 10 ? shade(Toxic, 12) : shade(Hull, 10));
                label(&whole, std::to_string(code), x + 1, y + 1);
            }
        Canvas stacked = makeCanvas(stripW, (halfH + 6) * strips, 0);
        for (int k = 0; k < strips; ++k)
            blitKeyed(&stacked, cropCanvas(whole, k * stripW, 0, stripW, halfH, 0), 0,
                      k * (halfH + 6), 255);
        whole = stacked;
        if (!savePng(dir + "/stage" + n + "-middle-map.png", whole, gameColours()))
            return 0;
    }
    return 1;
}

const SpriteSetImage* findSet(const ContentSet& content, const std::string& name) {
    for (const auto& s : content.sprites)
        if (s.name == name)
            return &s.data;
    return nullptr;
}

int loadSet(const ContentSet& content, const std::string& name, SpriteSet* set) {
    const SpriteSetImage* image = findSet(content, name);
    return image && set->loadFromMemory(encodeSpriteSet(*image));
}

// A stage-clear screen put together the way the game draws it, with the game's own loaders and
// drawing: the first stage's backdrop, the craft, the head-up display and the tally panel with
// every line of its last counting phase.
int tallyMock(const ContentSet& content, const std::string& path) {
    const StageMapImage* b = findMap(content, "Stage-B1.map");
    const StageMapImage* m = findMap(content, "Stage-M1.map");
    const StageMapImage* f = findMap(content, "Stage-F1.map");
    StageMap back, middle, front;
    SpriteSet craft, badge, gauge, icon, digits, letters;
    BitmapImage panel;
    const IndexedImage* panelImage = nullptr;
    for (const auto& p : content.pictures)
        if (p.name == "Clear-bk.bmp")
            panelImage = &p.data;
    if (!b || !m || !f || !panelImage || !loadMap(*b, &back) || !loadMap(*m, &middle) ||
        !loadMap(*f, &front) || !loadSet(content, "MyCap.spr", &craft) ||
        !loadSet(content, "infobarf.spr", &badge) || !loadSet(content, "infobare.spr", &gauge) ||
        !loadSet(content, "SWIcon.spr", &icon) || !loadSet(content, "Number.spr", &digits) ||
        !loadSet(content, "English.spr", &letters) ||
        !panel.loadFromMemory(encodeBitmap(*panelImage)))
        return 0;
    Surface s = makeSurface(640, 480);
    drawStageBackdrop(&s, back, middle, front, 1400, 2800, 255);
    craft.drawFrame(&s, 1, 180, 200);
    const int hp = 4, special = 3;
    const uint32_t score = 48150;
    badge.drawFrame(&s, 0, 30, 30);
    gauge.drawFrame(&s, 5, 70, 30);
    gauge.drawFrame(&s, static_cast<uint32_t>(5 - hp), 70, 30);
    icon.drawFrame(&s, 2, 250, 15);
    digits.drawFrame(&s, special, 285, 15);
    drawText(&s, letters, digits, "SCORE", 328, 17);
    drawNumber(&s, digits, score, 400, 15);
    panel.blit(&s, 157, 157, 324, 164, 0, 0);
    drawText(&s, letters, digits, "S T A G E", 228, 170);
    drawNumber(&s, digits, 1, 392, 168);
    badge.drawFrame(&s, 0, 180, 230);
    icon.drawFrame(&s, 5, 250, 268);
    digits.drawFrame(&s, special, 355, 270);
    drawText(&s, letters, digits, "H   P", 223, 240);
    gauge.drawFrame(&s, 5, 310, 247);
    panel.blit(&s, 310, 242, hp * 30, 12, 0, 150 + 20 * hp);
    drawText(&s, letters, digits, "SCORE", 225, 212);
    drawNumber(&s, digits, score, 330, 210);
    Canvas c = makeCanvas(640, 480, 0);
    c.pixels = s.pixels;
    return savePng(path, c, gameColours());
}

} // namespace

int writePreview(const ContentSet& content, const std::string& dir) {
    return spriteSheet(content, dir + "/sprites.png") &&
           zoomed(dir + "/sprites.png", dir + "/sprites-zoom.png", 0, 0, 560, 440, 3) &&
           zoomed(dir + "/sprites.png", dir + "/sprites-shots-zoom.png", 0, weaponRowY, 400, 290,
                  3) &&
           pictures(content, dir) && tallyMock(content, dir + "/tally-screen.png") &&
           stageSheets(content, dir);
}

} // namespace kavorind
