#pragma once
// What each fuzzer does with one input, shared with the corpus replay test: load the bytes with the
// real loader, then, when the load succeeded, use what it gave back the way the game does: draw
// every frame, layer and picture at positions that clip on every edge, test sprites for overlap,
// read every sample. Any read or write outside what the loader allocated is then a sanitizer error.
// Each returns 1 when the input loaded, 0 when it was refused.

#include "assets/bitmap_image.h"
#include "assets/sprite_set.h"
#include "assets/stage_map.h"
#include "assets/text.h"
#include "display/palette.h"
#include "display/surface.h"
#include "platform/byte_io.h"
#include "sound/wave_clip.h"
#include "sound/wave_writer.h"

#include <algorithm>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace kavorind {

namespace exercise {

// Small enough that every picture clips somewhere, with an odd width so no row is a multiple of 4.
constexpr int surfaceWidth = 37;
constexpr int surfaceHeight = 23;

// Positions that put an object of the given extent across each edge of the surface, inside it,
// wholly outside it, and at the far ends of int.
inline void positionsFor(int extent, int surfaceExtent, int out[8]) {
    out[0] = 0;
    out[1] = -extent / 2;
    out[2] = -extent + 1;
    out[3] = surfaceExtent - 1;
    out[4] = surfaceExtent - extent / 2;
    out[5] = surfaceExtent;
    out[6] = INT_MIN;
    out[7] = INT_MAX;
}

// a + b held to the range of int: the harness's own arithmetic must not overflow.
inline int shifted(int a, int b) {
    long long sum = static_cast<long long>(a) + b;
    return sum < INT_MIN ? INT_MIN : sum > INT_MAX ? INT_MAX : static_cast<int>(sum);
}

// A fold of every pixel: makes the drawing observable, so no draw can be optimised away.
inline unsigned checksum(const Surface& surface) {
    unsigned sum = 0;
    for (uint8_t p : surface.pixels)
        sum = sum * 31 + p;
    return sum;
}

inline void drawImage(const BitmapImage& image) {
    Surface surface = makeSurface(surfaceWidth, surfaceHeight);
    int xs[8], ys[8];
    positionsFor(image.width(), surfaceWidth, xs);
    positionsFor(image.height(), surfaceHeight, ys);
    for (int i = 0; i < 8; ++i) {
        image.blitWhole(&surface, xs[i], ys[i]);
        image.blitKeyedWhole(&surface, i, xs[(i + 3) % 8], ys[i]);
        // Source rectangles that start inside, at and past the picture's far edges.
        image.blit(&surface, xs[i], ys[(i + 1) % 8], 9, 7, image.width() - 1, image.height() / 2);
        image.blit(&surface, 1, 1, INT_MAX, INT_MAX, image.width(), image.height());
        image.blitKeyed(&surface, 0, -3, -2, 40, 40, xs[i] & 15, ys[i] & 15);
    }
    DevicePalette palette;
    image.toPalette(&palette);
    volatile unsigned sink = checksum(surface) + palette.entries[255].red;
    (void)sink;
}

inline int bitmapFile(const uint8_t* data, size_t size) {
    BitmapImage image;
    if (!image.loadFromMemory(std::span<const uint8_t>(data, size)))
        return 0;
    drawImage(image);
    return 1;
}

inline int rawBlock(const uint8_t* data, size_t size) {
    ByteReader file(std::span<const uint8_t>(data, size));
    BitmapImage image;
    if (!image.readRawBlock(file))
        return 0;
    drawImage(image);
    // A second block into an image that already holds one is refused and reads nothing.
    size_t position = file.position();
    if (image.readRawBlock(file) || file.position() != position)
        __builtin_trap();
    return 1;
}

// Draws and overlaps at most this many frames, so that a set of thousands of empty frames stays
// quick to fuzz; the loader itself still reads them all.
constexpr uint32_t framesExercised = 64;

inline int spriteSet(const uint8_t* data, size_t size) {
    SpriteSet set;
    if (!set.loadFromMemory(std::span<const uint8_t>(data, size)))
        return 0;
    SpriteSet other;
    other.loadFromMemory(std::span<const uint8_t>(data, size));
    Surface surface = makeSurface(surfaceWidth, surfaceHeight);
    uint32_t frames = set.frameCount() < framesExercised ? set.frameCount() : framesExercised;
    for (uint32_t f = 0; f < frames; ++f) {
        const SpriteFrame* frame = set.frameAt(f);
        int xs[8], ys[8];
        positionsFor(frame->width, surfaceWidth, xs);
        positionsFor(frame->height, surfaceHeight, ys);
        for (int i = 0; i < 8; ++i) {
            set.drawFrame(&surface, f, shifted(xs[i], frame->hotX / 2), ys[i]);
            set.drawFrame(&surface, f, xs[(i + 5) % 8],
                          shifted(ys[(i + 2) % 8], -(frame->hotY / 2)));
        }
        // Against the next frame (of a second copy of the set) at offsets that overlap fully,
        // partly, at one corner and not at all.
        set.setCurrentIndex(static_cast<int>(f));
        other.setCurrentIndex(static_cast<int>((f + 1) % frames));
        for (int dx : {0, 1, -1, frame->width - 1, -frame->width, INT_MAX})
            for (int dy : {0, 2, frame->height - 1, INT_MIN})
                pixelOverlap(set, 0, 0, other, dx, dy);
    }
    set.setCurrentIndex(0);
    for (uint32_t f = 0; f < frames + 1; ++f)
        set.drawAndAdvance(&surface, 5, 5);
    drawText(&surface, set, set, "Az 09 Zy", -4, 10);
    drawNumber(&surface, set, 4294967295u, 30, -1);
    volatile unsigned sink = checksum(surface);
    (void)sink;
    return 1;
}

inline int stageMap(const uint8_t* data, size_t size) {
    StageMap map;
    if (!map.loadFromMemory(std::span<const uint8_t>(data, size)))
        return 0;
    auto [columns, rows] = map.mapSize();
    auto [tileWidth, tileHeight] = map.tileSize();
    Surface surface = makeSurface(surfaceWidth, surfaceHeight);
    int xs[8], ys[8];
    positionsFor(tileWidth * 2, surfaceWidth, xs);
    positionsFor(tileHeight * 2, surfaceHeight, ys);
    for (uint32_t layer = 0; layer < map.layerCount() && layer < 8; ++layer) {
        for (int i = 0; i < 8; ++i) {
            map.drawLayer(&surface, layer, xs[i], ys[i], columns, rows, 0, 0);
            map.drawLayerKeyed(&surface, i, layer, xs[(i + 3) % 8], ys[(i + 1) % 8], 3, 2,
                               columns - 1, rows / 2);
            map.drawLayer(&surface, layer, -tileWidth / 2, -tileHeight / 2, INT_MAX, INT_MAX,
                          columns / 2, rows - 1);
            map.drawLayer(&surface, layer, xs[i], 0, 2, 2, columns, rows);
        }
        map.spawnCodeAt(layer, columns - 1, rows - 1);
        map.spawnCodeAt(layer, columns, 0);
    }
    drawStageBackdrop(&surface, map, map, map, tileWidth, -1, 0);
    drawImage(map.tileset());
    volatile unsigned sink = checksum(surface);
    (void)sink;
    return 1;
}

// A fold of every byte, so that no read can be optimised away.
inline unsigned byteSum(std::span<const uint8_t> bytes) {
    unsigned sum = 0;
    for (uint8_t b : bytes)
        sum = sum * 31 + b;
    return sum;
}

inline int waveFile(const uint8_t* data, size_t size) {
    WaveClip clip;
    if (!clip.loadFromMemory(std::span<const uint8_t>(data, size)))
        return 0;
    // Every sample byte is read, as the sound device's copy would, and the whole "fmt " chunk, as a
    // decoder would. The samples are whole blocks wherever the format names a block size.
    const WaveFormat* format = clip.format();
    std::span<const uint8_t> samples(clip.samples(), clip.sampleSize());
    if (clip.formatChunk().size() < 16 || (clip.sampleSize() > 0) != (clip.hasSamples() == 1))
        __builtin_trap();
    if (format->blockAlign > 0 && clip.sampleSize() % format->blockAlign != 0)
        __builtin_trap();
    // What the sound device hands a decoder, put together from the clip, loads back as the same.
    std::vector<uint8_t> rebuilt = waveFileFromChunks(clip.formatChunk(), samples);
    WaveClip again;
    if (!again.loadFromMemory(rebuilt) ||
        !std::ranges::equal(again.formatChunk(), clip.formatChunk()) ||
        !std::ranges::equal(std::span<const uint8_t>(again.samples(), again.sampleSize()), samples))
        __builtin_trap();
    volatile unsigned sink = byteSum(samples) + byteSum(clip.formatChunk());
    (void)sink;
    return 1;
}

} // namespace exercise

} // namespace kavorind
