#pragma once
// What the import fuzzer does with one input, shared with the seed replay test. The first byte
// chooses the kind of source (0 a PNG, 1 a BMP, 2 a sprite set's JSON, 3 a Tiled map, anything
// else a wave), the rest is the source's bytes. Any file the source names that ends in ".png" is
// one fixed 64 x 64 indexed sheet; every other name is missing. Pictures that are not indexed are
// reduced to a fixed grey ramp. Each input may decode 1 MiB of pixels, not the tool's 256 MiB:
// the same refusals, with the fuzzer's memory far below its limit.

#include "assets/bitmap_image.h"
#include "assets/sprite_set.h"
#include "assets/stage_map.h"
#include "common/png_image.h"
#include "data/transfer.h"
#include "sound/wave_clip.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace kavorind::import_input {

inline const PaletteEntries& greyRamp() {
    static const PaletteEntries ramp = [] {
        PaletteEntries colours{};
        for (int i = 0; i < 256; ++i)
            colours[i] = {static_cast<uint8_t>(i), static_cast<uint8_t>(i), static_cast<uint8_t>(i),
                          0};
        return colours;
    }();
    return ramp;
}

inline const std::vector<uint8_t>& companionSheet() {
    static const std::vector<uint8_t> sheet = [] {
        PngPicture picture;
        picture.width = picture.height = 64;
        picture.indexed = true;
        picture.palette = greyRamp();
        picture.paletteSize = 256;
        for (int y = 0; y < 64; ++y)
            for (int x = 0; x < 64; ++x)
                picture.pixels.push_back(static_cast<uint8_t>(x * 4 + y));
        return encodePng(picture);
    }();
    return sheet;
}

inline int readCompanion(const std::string& name, std::vector<uint8_t>* bytes, std::string* why) {
    if (name.size() >= 4 && name.compare(name.size() - 4, 4, ".png") == 0) {
        *bytes = companionSheet();
        return 1;
    }
    *why = "no such file";
    return 0;
}

// 1 when the game loads what the import made, 0 when the import refused with a reason, 2 when
// something is broken: a refusal without a reason, or a made file the game refuses.
inline int importBytes(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    static const char* const names[] = {"in.png", "in.bmp", "in.json", "in.tmx", "in.wav"};
    PixelBudget budget{uint64_t{1} << 20};
    ImportSource source{names[data[0] < 4 ? data[0] : 4],
                        std::span<const uint8_t>(data + 1, size - 1), readCompanion, &greyRamp(),
                        &budget};
    ImportResult result;
    std::string why;
    if (!importContent(source, &result, &why))
        return why.empty() ? 2 : 0;
    std::span<const uint8_t> made = result.bytes;
    if (BitmapImage().loadFromMemory(made) || SpriteSet().loadFromMemory(made) ||
        StageMap().loadFromMemory(made) || WaveClip().loadFromMemory(made))
        return 1;
    return 2;
}

} // namespace kavorind::import_input
