#include "data/palette_match.h"

#include <unordered_map>

namespace kavorind {

namespace {

uint8_t nearestEntry(const PaletteEntries& palette, int red, int green, int blue) {
    int best = 0;
    int bestDistance = 1 << 30;
    for (int i = 0; i < 256; ++i) {
        int dr = palette[i].red - red;
        int dg = palette[i].green - green;
        int db = palette[i].blue - blue;
        // Weighted as the eye weighs the primaries, so greens and skin tones move least.
        int distance = 3 * dr * dr + 4 * dg * dg + 2 * db * db;
        if (distance < bestDistance) {
            best = i;
            bestDistance = distance;
        }
    }
    return static_cast<uint8_t>(best);
}

} // namespace

PaletteReduction reduceToPalette(const PngPicture& rgba, const PaletteEntries& palette,
                                 int transparentIndex) {
    PaletteReduction reduction;
    size_t count = rgba.pixels.size() / 4;
    reduction.indices.resize(count);
    // Pictures hold few distinct colours, so each is matched once.
    std::unordered_map<uint32_t, uint8_t> matched;
    for (size_t i = 0; i < count; ++i) {
        const uint8_t* pixel = &rgba.pixels[4 * i];
        if (pixel[3] < 128 && transparentIndex >= 0 && transparentIndex <= 255) {
            reduction.indices[i] = static_cast<uint8_t>(transparentIndex);
            ++reduction.transparentPixels;
            continue;
        }
        uint32_t colour = uint32_t{pixel[0]} << 16 | uint32_t{pixel[1]} << 8 | pixel[2];
        auto [entry, isNew] = matched.try_emplace(colour, 0);
        if (isNew) {
            entry->second = nearestEntry(palette, pixel[0], pixel[1], pixel[2]);
            const PaletteEntry& chosen = palette[entry->second];
            if (chosen.red != pixel[0] || chosen.green != pixel[1] || chosen.blue != pixel[2])
                ++reduction.movedColours;
        }
        reduction.indices[i] = entry->second;
    }
    return reduction;
}

} // namespace kavorind
