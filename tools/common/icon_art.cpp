#include "common/icon_art.h"

#include "display/png_writer.h"
#include "platform/icon_picture.h"

#include <algorithm>
#include <utility>

namespace kavorind {

namespace {

// The palette's near-white, for the heart of a large star.
constexpr int starHeartColour = 8;

uint8_t& at(IconPicture& picture, int x, int y) {
    return picture.pixels[static_cast<size_t>(y) * picture.size + x];
}

// Reads past an edge as the nearest pixel inside, as the pixel-art scalers expect.
uint8_t clampedAt(const IconPicture& picture, int x, int y) {
    x = std::clamp(x, 0, picture.size - 1);
    y = std::clamp(y, 0, picture.size - 1);
    return picture.pixels[static_cast<size_t>(y) * picture.size + x];
}

IconPicture blankIcon(int size) {
    return IconPicture{size, std::vector<uint8_t>(static_cast<size_t>(size) * size,
                                                  static_cast<uint8_t>(iconSkyColour))};
}

// The design without its stars: they are drawn afresh at each size, so that a star stays a glint
// instead of growing into a block with the craft.
IconPicture craftOfDesign() {
    IconPicture picture = blankIcon(iconSize);
    for (int y = 0; y < iconSize; ++y)
        for (int x = 0; x < iconSize; ++x) {
            int colour = iconColourIndex(iconRows[y][x]);
            at(picture, x, y) =
                static_cast<uint8_t>(colour == iconStarColour ? iconSkyColour : colour);
        }
    return picture;
}

// Doubles a picture, rounding the steps of its diagonal edges instead of blurring them (EPX).
IconPicture scaleTwice(const IconPicture& in) {
    IconPicture out = blankIcon(in.size * 2);
    for (int y = 0; y < in.size; ++y)
        for (int x = 0; x < in.size; ++x) {
            uint8_t p = clampedAt(in, x, y);
            uint8_t up = clampedAt(in, x, y - 1);
            uint8_t right = clampedAt(in, x + 1, y);
            uint8_t left = clampedAt(in, x - 1, y);
            uint8_t down = clampedAt(in, x, y + 1);
            at(out, 2 * x, 2 * y) = left == up && left != down && up != right ? up : p;
            at(out, 2 * x + 1, 2 * y) = up == right && up != left && right != down ? right : p;
            at(out, 2 * x, 2 * y + 1) = down == left && down != right && left != up ? left : p;
            at(out, 2 * x + 1, 2 * y + 1) = right == down && right != up && down != left ? down : p;
        }
    return out;
}

// Triples a picture the same way, each pixel's 3 x 3 block taking its neighbours' colours only
// where an edge runs diagonally through it.
IconPicture scaleThrice(const IconPicture& in) {
    IconPicture out = blankIcon(in.size * 3);
    for (int y = 0; y < in.size; ++y)
        for (int x = 0; x < in.size; ++x) {
            uint8_t a = clampedAt(in, x - 1, y - 1), b = clampedAt(in, x, y - 1),
                    c = clampedAt(in, x + 1, y - 1), d = clampedAt(in, x - 1, y),
                    e = clampedAt(in, x, y), f = clampedAt(in, x + 1, y),
                    g = clampedAt(in, x - 1, y + 1), h = clampedAt(in, x, y + 1),
                    i = clampedAt(in, x + 1, y + 1);
            bool upLeft = d == b && d != h && b != f;
            bool upRight = b == f && b != d && f != h;
            bool downLeft = d == h && d != b && h != f;
            bool downRight = h == f && d != h && b != f;
            uint8_t block[9] = {
                upLeft ? d : e,
                (upLeft && e != c) || (upRight && e != a) ? b : e,
                upRight ? f : e,
                (upLeft && e != g) || (downLeft && e != a) ? d : e,
                e,
                (upRight && e != i) || (downRight && e != c) ? f : e,
                downLeft ? d : e,
                (downLeft && e != i) || (downRight && e != g) ? h : e,
                downRight ? f : e,
            };
            for (int k = 0; k < 9; ++k)
                at(out, 3 * x + k % 3, 3 * y + k / 3) = block[k];
        }
    return out;
}

// Halves a picture, each 2 x 2 block becoming its most common colour; a tie goes to the craft
// rather than the sky, so that thin parts survive.
IconPicture halveByMajority(const IconPicture& in) {
    IconPicture out = blankIcon(in.size / 2);
    for (int y = 0; y < out.size; ++y)
        for (int x = 0; x < out.size; ++x) {
            uint8_t block[4] = {clampedAt(in, 2 * x, 2 * y), clampedAt(in, 2 * x + 1, 2 * y),
                                clampedAt(in, 2 * x, 2 * y + 1),
                                clampedAt(in, 2 * x + 1, 2 * y + 1)};
            uint8_t best = block[0];
            long bestCount = 0;
            for (uint8_t colour : block) {
                long count = std::count(block, block + 4, colour);
                bool beatsTie = count == bestCount && best == iconSkyColour;
                if (count > bestCount || beatsTie) {
                    best = colour;
                    bestCount = count;
                }
            }
            at(out, x, y) = best;
        }
    return out;
}

void putIfInside(IconPicture& picture, int x, int y, int colour) {
    if (x >= 0 && y >= 0 && x < picture.size && y < picture.size)
        at(picture, x, y) = static_cast<uint8_t>(colour);
}

// A star: one pixel on the small icons; on the larger ones a four-pointed glint, white at its
// heart, whose arms grow with the icon.
void drawStar(IconPicture& picture, int cx, int cy) {
    int arm = picture.size / 64;
    putIfInside(picture, cx, cy, arm >= 2 ? starHeartColour : iconStarColour);
    for (int reach = 1; reach <= arm; ++reach) {
        int colour = reach <= arm / 2 ? starHeartColour : iconStarColour;
        for (auto [dx, dy] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}})
            putIfInside(picture, cx + dx * reach, cy + dy * reach, colour);
    }
}

// Puts every star of the design at the middle of the place its pixel covers at this size.
void drawStars(IconPicture& picture) {
    for (int y = 0; y < iconSize; ++y)
        for (int x = 0; x < iconSize; ++x)
            if (iconColourIndex(iconRows[y][x]) == iconStarColour)
                drawStar(picture, (2 * x + 1) * picture.size / (2 * iconSize),
                         (2 * y + 1) * picture.size / (2 * iconSize));
}

IconPicture scaledCraft(int size) {
    IconPicture craft = craftOfDesign();
    if (size == 48)
        return halveByMajority(scaleThrice(craft));
    while (craft.size < size)
        craft = scaleTwice(craft);
    return craft;
}

} // namespace

IconPicture drawIcon(int size) {
    if (std::find(std::begin(iconThemeSizes), std::end(iconThemeSizes), size) ==
        std::end(iconThemeSizes))
        return {};
    IconPicture picture = scaledCraft(size);
    drawStars(picture);
    return picture;
}

int writeIconPng(const std::string& path, const IconPicture& picture, std::string* why) {
    PaletteEntries palette{};
    for (int i = 0; i < 16; ++i) {
        uint32_t argb = iconColours[i];
        palette[i] = PaletteEntry{static_cast<uint8_t>(argb >> 16), static_cast<uint8_t>(argb >> 8),
                                  static_cast<uint8_t>(argb), 0};
    }
    return writeIndexedPng(path, picture.pixels.data(), picture.size, picture.size, picture.size,
                           palette, FileDurable, why);
}

} // namespace kavorind
