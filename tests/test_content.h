#pragma once
// Writes a small but complete set of content files, enough for the program to start and run every
// scene: tiny pictures, one-tile maps, short animations and short sounds. Tests choose the frame
// counts that they count ticks against.

#include "assets/bitmap_writer.h"
#include "assets/content_catalogue.h"
#include "assets/sprite_set_writer.h"
#include "assets/stage_map_writer.h"
#include "sound/wave_writer.h"

#include <cmath>
#include <filesystem>
#include <string>

namespace kavorind {

struct TestContentOptions {
    int openingFrames = 3;
    int endingFrames = 4;
    bool withSounds = true;
};

namespace testcontent {

// A palette whose entries all differ, so that fades can be told apart.
inline PaletteEntries rampColours(int seed) {
    PaletteEntries colours{};
    for (int i = 1; i < 256; ++i)
        colours[static_cast<size_t>(i)] =
            PaletteEntry{static_cast<uint8_t>((i * 3 + seed) & 0xff),
                         static_cast<uint8_t>((255 - i + seed) & 0xff),
                         static_cast<uint8_t>((i / 2 + seed) & 0xff), 0};
    return colours;
}

inline IndexedImage picture(int width, int height, int seed) {
    IndexedImage image = makeIndexedImage(width, height, 0);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.at(x, y) = static_cast<uint8_t>(1 + (x + y + seed) % 200);
    image.colours = rampColours(seed);
    return image;
}

inline SpriteSetImage animation(int frames, int size) {
    SpriteSetImage set;
    set.rate = 15;
    set.key = 0;
    for (int f = 0; f < frames; ++f) {
        SpriteFrameImage frame = makeSpriteFrameImage(size, size, size / 2, size / 2, 0);
        for (int y = 1; y < size - 1; ++y)
            for (int x = 1; x < size - 1; ++x)
                frame.at(x, y) = static_cast<uint8_t>(10 + f);
        set.frames.push_back(frame);
    }
    return set;
}

inline StageMapImage stageMap() {
    StageMapImage map = makeStageMapImage(4, 2, 32, 32, 1, 64, 32);
    for (auto& tile : map.layers[0].tiles)
        tile = 1;
    map.tileset = picture(64, 32, 7);
    return map;
}

// A middle map 30 cells of 32 pixels wide (it scrolls 320 pixels) whose columns bring in, one
// after another: a fast flyer at the craft's height, a hit-point item, two drifting shooters, a
// speed item, a special item and a boss. Its tiles are empty, so the back map shows through.
inline StageMapImage middleMap() {
    StageMapImage map = makeStageMapImage(30, 15, 32, 32, 1, 64, 32);
    map.tileset = picture(64, 32, 9);
    auto mark = [&](int column, int row, uint8_t code) {
        map.layers[0].spawns[static_cast<size_t>(row * 30 + column)] = code;
    };
    mark(21, 7, 11);
    mark(22, 3, 1);
    mark(23, 2, 12);
    mark(23, 10, 13);
    mark(24, 7, 3);
    mark(25, 9, 2);
    mark(27, 7, 10);
    return map;
}

// Glyph and gauge sets need the frames the head-up display draws.
inline int framesFor(const std::string& file) {
    if (file == "Number.spr")
        return 10;
    if (file == "infobare.spr")
        return 6;
    if (file == "infobarf.spr")
        return 3;
    return 2;
}

// A short tone: loud enough to be found in the mix.
inline WaveDescription tone(double frequency, double seconds) {
    std::vector<int16_t> samples(static_cast<size_t>(22050 * seconds));
    for (size_t i = 0; i < samples.size(); ++i)
        samples[i] = static_cast<int16_t>(12000 * std::sin(2 * M_PI * frequency * i / 22050.0));
    return describeWave(samples, 1, 22050);
}

} // namespace testcontent

// Writes every content file the program reads into dir (created if need be); 1 on success.
inline int writeTestContent(const std::string& dir, const TestContentOptions& options = {}) {
    using namespace testcontent;
    std::filesystem::create_directories(dir);
    auto path = [&](const std::string& name) { return dir + "/" + name; };
    int ok = 1;
    ok &= writeBitmap(path("Pal.Pal"), picture(16, 16, 0));
    ok &= writeBitmap(path("LOGO.BMP"), picture(200, 100, 40));
    ok &= writeBitmap(path("Menu-b.BMP"), picture(640, 480, 80));
    IndexedImage entries = picture(160, 157, 90);
    ok &= writeBitmap(path("Menu-s.BMP"), entries);
    ok &= writeBitmap(path("open-bk.bmp"), picture(600, 400, 20));
    ok &= writeBitmap(path("open-s.bmp"), picture(540, 260, 30));
    ok &= writeBitmap(path("Clear-bk.bmp"), picture(640, 480, 50));
    ok &= writeSpriteSet(path("open-c.spr"), animation(options.openingFrames, 24));
    ok &= writeSpriteSet(path("Ending-s.spr"), animation(options.endingFrames, 32));
    for (const char* name : startUpFileNames) {
        std::string file = name;
        std::string kind = file.substr(file.size() - 3);
        if (kind == "map")
            ok &= writeStageMap(path(file),
                                file.find("-M") != std::string::npos ? middleMap() : stageMap());
        else if (kind == "spr")
            ok &= writeSpriteSet(path(file), animation(framesFor(file), 16));
        else if (kind == "Wav")
            ok &= writeWaveFile(path(file), tone(440, 0.2));
    }
    if (options.withSounds) {
        for (const char* name : {"C-Eff.wav", "C-Music.wav", "Open-M.wav", "MENU-S.WAV"})
            ok &= writeWaveFile(path(name), tone(660, 0.1));
        ok &= writeWaveFile(path("MENU-B.WAV"), tone(220, 1.0));
        ok &= writeWaveFile(path("Ending-B.WAV"), tone(330, 1.0));
    }
    return ok;
}

} // namespace kavorind
