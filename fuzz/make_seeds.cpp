// kavorind-fuzz-seeds DIR: writes the hand-made starting inputs of each fuzzer into DIR/<fuzzer>/,
// small files that reach every branch of a loader that a valid file can: each layout option of a
// bitmap, frames of zero size and far hot spots, empty map cells and several layers, odd and extra
// RIFF chunks. The repository keeps its output under fuzz/corpus/.

#include "assets/bitmap_writer.h"
#include "assets/sprite_set_writer.h"
#include "assets/stage_map_writer.h"
#include "platform/byte_io.h"
#include "platform/content_file.h"
#include "sound/wave_writer.h"

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

using namespace kavorind;

namespace {

using Bytes = std::vector<uint8_t>;
std::string outDir;
int failures = 0;

void save(const std::string& fuzzer, const std::string& name, const Bytes& bytes) {
    std::error_code problem;
    std::filesystem::create_directories(outDir + "/" + fuzzer, problem);
    std::string why = "nothing to write";
    if (bytes.empty() ||
        !writeFileSafely(outDir + "/" + fuzzer + "/" + name, bytes, FileQuick, &why)) {
        std::fprintf(stderr, "kavorind-fuzz-seeds: could not make %s/%s: %s\n", fuzzer.c_str(),
                     name.c_str(), why.c_str());
        ++failures;
    }
}

IndexedImage picture(int width, int height) {
    IndexedImage image = makeIndexedImage(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.at(x, y) = static_cast<uint8_t>((x * 7 + y * 13) % 5 == 0 ? 0 : 1 + x + y);
    for (int i = 0; i < 256; ++i)
        image.colours[static_cast<size_t>(i)] =
            PaletteEntry{static_cast<uint8_t>(i), static_cast<uint8_t>(255 - i), 7, 0};
    return image;
}

void bitmaps() {
    save("bitmap_file", "plain-5x3", encodeBitmap(picture(5, 3)));
    save("bitmap_file", "palette-16x16", encodeBitmap(picture(16, 16)));
    save("bitmap_file", "top-down-7x2", encodeBitmap(picture(7, 2), {.topDown = true}));
    save("bitmap_file", "two-colours-4x2", encodeBitmap(picture(4, 2), {.colourCount = 2}));
    save("bitmap_file", "colour-count-zero-3x3",
         encodeBitmap(picture(3, 3), {.colourCountZero = true}));
    save("bitmap_file", "info-header-52-1x1", encodeBitmap(picture(1, 1), {.infoHeaderSize = 52}));
    for (auto [w, h] : {std::pair{5, 2}, {1, 1}, {8, 3}}) {
        Bytes block;
        appendRawImageBlock(picture(w, h), &block);
        save("raw_block", "block-" + std::to_string(w) + "x" + std::to_string(h), block);
    }
}

SpriteFrameImage frame(int width, int height, int hotX, int hotY) {
    SpriteFrameImage out = makeSpriteFrameImage(width, height, hotX, hotY);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            out.at(x, y) = static_cast<uint8_t>((x + y) % 3 == 0 ? 0 : 9 + x);
    return out;
}

void spriteSets() {
    SpriteSetImage set;
    set.rate = 15;
    set.frames = {frame(5, 3, 2, 1), frame(3, 2, 0, 0)};
    save("sprite_set", "two-frames", encodeSpriteSet(set));
    set.frames = {frame(0, 0, 0, 0), frame(0, 4, 0, 0), frame(4, 0, 0, 0), frame(1, 1, 0, 0)};
    set.key = 0xffffff09;
    save("sprite_set", "empty-frames", encodeSpriteSet(set));
    set.frames = {frame(9, 5, -40, 100), frame(17, 1, 3000, -3000)};
    set.rate = 1;
    save("sprite_set", "far-hot-spots", encodeSpriteSet(set));
}

void stageMaps() {
    StageMapImage map = makeStageMapImage(3, 2, 4, 4, 1, 10, 8);
    map.tileset = picture(10, 8);
    map.layers[0].tiles = {0, 1, 2, 3, firstEmptyCell, 65535};
    map.layers[0].spawns = {0, 1, 9, 10, 17, 255};
    save("stage_map", "one-layer-3x2", encodeStageMap(map));
    map = makeStageMapImage(5, 1, 3, 2, 3, 7, 5);
    map.tileset = picture(7, 5);
    map.layers[1].tiles = {0, 1, 2, 3, 0};
    map.layers[2].tiles = {3, firstEmptyCell, 2, firstEmptyCell, 1};
    save("stage_map", "three-layers-5x1", encodeStageMap(map));
    map = makeStageMapImage(1, 1, 1, 1, 1, 1, 1);
    map.layers[0].tiles = {0};
    save("stage_map", "single-cell", encodeStageMap(map));
}

void put(Bytes& out, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

// A RIFF WAVE file from chunks given as tag and payload; odd payloads get their pad byte.
Bytes riff(const std::vector<std::pair<std::string, Bytes>>& chunks) {
    Bytes out{'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E'};
    for (const auto& [tag, payload] : chunks) {
        out.insert(out.end(), tag.begin(), tag.end());
        put(out, static_cast<uint32_t>(payload.size()), 4);
        out.insert(out.end(), payload.begin(), payload.end());
        if (payload.size() & 1)
            out.push_back(0);
    }
    uint32_t size = static_cast<uint32_t>(out.size() - 8);
    for (int i = 0; i < 4; ++i)
        out[4 + static_cast<size_t>(i)] = static_cast<uint8_t>(size >> (8 * i));
    return out;
}

Bytes format(int channels, int bits, size_t extra) {
    Bytes out;
    put(out, 1, 2);
    put(out, static_cast<uint32_t>(channels), 2);
    put(out, 11025, 4);
    put(out, 11025u * static_cast<uint32_t>(channels * bits / 8), 4);
    put(out, static_cast<uint32_t>(channels * bits / 8), 2);
    put(out, static_cast<uint32_t>(bits), 2);
    if (extra >= 2)
        put(out, static_cast<uint32_t>(extra - 2), 2);
    out.resize(16 + extra, 0);
    return out;
}

void waves() {
    std::vector<int16_t> samples;
    for (int i = 0; i < 40; ++i)
        samples.push_back(static_cast<int16_t>(i * 1500 - 30000));
    save("wave_clip", "mono-16", waveFileBytes(describeWave(samples, 1, 22050)));
    save("wave_clip", "stereo-8", waveFileBytes(describeWave(samples, 2, 8000, 8)));
    Bytes data(13, 0x80);
    save("wave_clip", "odd-chunks",
         riff({{"LIST", {1, 2, 3}}, {"fmt ", format(1, 8, 2)}, {"junk", {9}}, {"data", data}}));
    save("wave_clip", "format-40-bytes",
         riff({{"fmt ", format(2, 16, 24)}, {"data", Bytes(16, 1)}}));
    save("wave_clip", "empty-data", riff({{"fmt ", format(1, 16, 0)}, {"data", {}}}));
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: kavorind-fuzz-seeds DIR\n");
        return 2;
    }
    outDir = argv[1];
    bitmaps();
    spriteSets();
    stageMaps();
    waves();
    return failures ? 1 : 0;
}
