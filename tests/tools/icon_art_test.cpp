// The installed icons: the 32 x 32 one is the window icon pixel for pixel, and the larger ones are
// the same picture in the same place, drawn as pixel art rather than enlarged blocks.
#include "common/icon_art.h"
#include "platform/icon.h"
#include "platform/icon_picture.h"

#include <SDL.h>
#include <gtest/gtest.h>

namespace kavorind {

namespace {

int designAt(int x, int y) {
    return iconColourIndex(iconRows[y][x]);
}

// A design pixel whose eight neighbours share its colour: no edge runs through its place, so every
// size must show its colour there.
bool insideOneColour(int x, int y) {
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx) {
            int nx = x + dx, ny = y + dy;
            if (nx < 0 || ny < 0 || nx >= iconSize || ny >= iconSize)
                continue;
            if (designAt(nx, ny) != designAt(x, y))
                return false;
        }
    return true;
}

bool nearStar(int x, int y) {
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx) {
            int nx = x + dx, ny = y + dy;
            if (nx >= 0 && ny >= 0 && nx < iconSize && ny < iconSize &&
                designAt(nx, ny) == iconStarColour)
                return true;
        }
    return false;
}

int pixelAt(const IconPicture& picture, int x, int y) {
    return picture.pixels[static_cast<size_t>(y) * picture.size + x];
}

} // namespace

TEST(IconArt, SmallestIsTheWindowIcon) {
    IconPicture drawn = drawIcon(iconSize);
    ASSERT_EQ(drawn.size, iconSize);
    SDL_Surface* window = createWindowIcon();
    ASSERT_NE(window, nullptr);
    ASSERT_EQ(window->format->format, SDL_PIXELFORMAT_ARGB8888);
    int differing = 0;
    for (int y = 0; y < iconSize; ++y) {
        auto* row = reinterpret_cast<const uint32_t*>(static_cast<const uint8_t*>(window->pixels) +
                                                      y * window->pitch);
        for (int x = 0; x < iconSize; ++x)
            differing += iconColours[pixelAt(drawn, x, y)] != row[x];
    }
    SDL_FreeSurface(window);
    EXPECT_EQ(differing, 0);
}

TEST(IconArt, LargerSizesKeepEveryColourInPlace) {
    for (int size : iconThemeSizes) {
        IconPicture drawn = drawIcon(size);
        ASSERT_EQ(drawn.size, size);
        ASSERT_EQ(drawn.pixels.size(), static_cast<size_t>(size * size));
        for (int index : drawn.pixels)
            ASSERT_LT(index, 16) << "a colour the picture does not have, at size " << size;
        // The middle of each design pixel's place, where its colour must show.
        for (int y = 0; y < iconSize; ++y)
            for (int x = 0; x < iconSize; ++x) {
                int cx = (2 * x + 1) * size / (2 * iconSize);
                int cy = (2 * y + 1) * size / (2 * iconSize);
                int shown = pixelAt(drawn, cx, cy);
                if (designAt(x, y) == iconStarColour) {
                    EXPECT_NE(shown, iconSkyColour) << "a star lost at size " << size;
                } else if (insideOneColour(x, y)) {
                    EXPECT_EQ(shown, designAt(x, y))
                        << "at size " << size << ", design pixel " << x << "," << y;
                }
            }
    }
    EXPECT_EQ(drawIcon(40).size, 0);
}

// Enlarging by whole blocks would leave every 2 x 2 block of the 64 one colour; the drawn icon
// rounds the craft's diagonal edges, so blocks away from the stars mix colours.
TEST(IconArt, DiagonalEdgesAreRoundedNotBlocky) {
    IconPicture drawn = drawIcon(64);
    ASSERT_EQ(drawn.size, 64);
    int mixedBlocks = 0;
    for (int y = 0; y < 64; y += 2)
        for (int x = 0; x < 64; x += 2) {
            if (nearStar(x / 2, y / 2))
                continue;
            int corner = pixelAt(drawn, x, y);
            mixedBlocks += pixelAt(drawn, x + 1, y) != corner ||
                           pixelAt(drawn, x, y + 1) != corner ||
                           pixelAt(drawn, x + 1, y + 1) != corner;
        }
    EXPECT_GT(mixedBlocks, 20);
}

} // namespace kavorind
