// Every blitter side by side with SDL's own SDL_BlitSurface doing the same work on 8-bit surfaces
// (colour key set where ours is keyed, the same palette on both sides so SDL copies indices
// straight), and with one memcpy of as many bytes as the blitter writes or inspects. After the
// runs it prints the ratios ours / SDL and ours / memcpy for each case, from CPU time (the median
// when the runs are repeated), which a busy machine disturbs less than wall time.
//
//   build/bench/bench-blitters --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
#include "assets/bitmap_image.h"
#include "assets/bitmap_writer.h"
#include "assets/sprite_set.h"
#include "assets/sprite_set_writer.h"
#include "assets/stage_map.h"
#include "assets/stage_map_writer.h"

#include <SDL.h>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

using namespace kavorind;

namespace {

constexpr int screenWidth = 640, screenHeight = 480, tileSide = 32;
constexpr uint8_t key = 0;

// A deterministic pseudo-random sequence, so every run draws the same scene.
struct Lcg {
    uint32_t state = 12345;
    uint32_t next() { return (state = state * 1664525u + 1013904223u) >> 8; }
    int below(int n) { return static_cast<int>(next() % static_cast<uint32_t>(n)); }
};

// A picture whose pixels are the key with the given chance in percent, scattered.
IndexedImage scatteredImage(int width, int height, int transparentPercent, Lcg& random) {
    IndexedImage image = makeIndexedImage(width, height);
    for (uint8_t& p : image.pixels)
        p = random.below(100) < transparentPercent ? key
                                                   : static_cast<uint8_t>(1 + random.below(250));
    return image;
}

// An 8-bit SDL surface over a copy of the picture's rows, using the shared palette.
SDL_Surface* sdlSurfaceOf(const IndexedImage& image, SDL_Palette* palette, bool keyed) {
    SDL_Surface* surface =
        SDL_CreateRGBSurfaceWithFormat(0, image.width, image.height, 8, SDL_PIXELFORMAT_INDEX8);
    SDL_SetSurfacePalette(surface, palette);
    for (int y = 0; y < image.height; ++y)
        std::memcpy(static_cast<uint8_t*>(surface->pixels) + y * surface->pitch,
                    &image.pixels[static_cast<size_t>(y) * image.width],
                    static_cast<size_t>(image.width));
    if (keyed)
        SDL_SetColorKey(surface, SDL_TRUE, key);
    return surface;
}

struct SdlLayer {
    SDL_Surface* tileset = nullptr;
    int tilesPerRow = 0;
};

struct Scene {
    SDL_Palette* palette = nullptr;
    Surface screen = makeSurface(screenWidth, screenHeight);
    SDL_Surface* sdlScreen = nullptr;
    std::vector<uint8_t> copySource = std::vector<uint8_t>(8 * screenWidth * screenHeight, 7);
    std::vector<uint8_t> copyTarget = std::vector<uint8_t>(8 * screenWidth * screenHeight, 0);

    BitmapImage picture, keyedPicture;
    SDL_Surface* sdlPicture = nullptr;
    SDL_Surface* sdlKeyedPicture = nullptr;

    SpriteSet sprites;
    std::vector<SDL_Surface*> sdlFrames;
    std::vector<SDL_Point> spritePositions;
    size_t spriteBytes = 0;

    StageMapImage backImage, middleImage, frontImage;
    StageMap back, middle, front;
    SdlLayer sdlBack, sdlMiddle, sdlFront;

    Scene() {
        Lcg random;
        palette = SDL_AllocPalette(256);
        sdlScreen =
            SDL_CreateRGBSurfaceWithFormatFrom(screen.pixels.data(), screenWidth, screenHeight, 8,
                                               screenWidth, SDL_PIXELFORMAT_INDEX8);
        SDL_SetSurfacePalette(sdlScreen, palette);

        IndexedImage full = scatteredImage(screenWidth, screenHeight, 0, random);
        IndexedImage holes = scatteredImage(screenWidth, screenHeight, 30, random);
        picture.loadFromMemory(encodeBitmap(full));
        keyedPicture.loadFromMemory(encodeBitmap(holes));
        sdlPicture = sdlSurfaceOf(full, palette, false);
        sdlKeyedPicture = sdlSurfaceOf(holes, palette, true);

        SpriteSetImage set;
        set.key = key;
        for (int f = 0; f < 8; ++f) {
            IndexedImage pixels = scatteredImage(tileSide, tileSide, 40, random);
            SpriteFrameImage frame = makeSpriteFrameImage(tileSide, tileSide, 16, 16);
            frame.pixels = pixels.pixels;
            set.frames.push_back(frame);
            sdlFrames.push_back(sdlSurfaceOf(pixels, palette, true));
        }
        sprites.loadFromMemory(encodeSpriteSet(set));
        // Scattered over the screen and a margin around it, so some are clipped on every side.
        for (int i = 0; i < 100; ++i) {
            SDL_Point p{random.below(screenWidth + 40) - 20, random.below(screenHeight + 40) - 20};
            spritePositions.push_back(p);
            int left = std::max(p.x - 16, 0), right = std::min(p.x + 16, screenWidth);
            int top = std::max(p.y - 16, 0), bottom = std::min(p.y + 16, screenHeight);
            spriteBytes +=
                static_cast<size_t>(std::max(right - left, 0) * std::max(bottom - top, 0));
        }

        backImage = layerImage(40, 0, random);
        middleImage = layerImage(80, 0, random);
        frontImage = layerImage(80, 80, random);
        back.loadFromMemory(encodeStageMap(backImage));
        middle.loadFromMemory(encodeStageMap(middleImage));
        front.loadFromMemory(encodeStageMap(frontImage));
        sdlBack = SdlLayer{sdlSurfaceOf(backImage.tileset, palette, false), 10};
        sdlMiddle = SdlLayer{sdlSurfaceOf(middleImage.tileset, palette, true), 10};
        sdlFront = SdlLayer{sdlSurfaceOf(frontImage.tileset, palette, false), 10};
    }

    // A map one screen high of 32 x 32 tiles over a 320 x 256 tileset (80 tiles) with scattered
    // transparent pixels; emptyPercent of its cells are empty.
    static StageMapImage layerImage(int columns, int emptyPercent, Lcg& random) {
        StageMapImage map =
            makeStageMapImage(columns, screenHeight / tileSide, tileSide, tileSide, 1, 320, 256);
        map.tileset = scatteredImage(320, 256, 30, random);
        for (uint16_t& t : map.layers[0].tiles)
            t = random.below(100) < emptyPercent ? firstEmptyCell
                                                 : static_cast<uint16_t>(random.below(80));
        return map;
    }

    // The same layer drawn the way an SDL program would: one blit per visible non-empty cell, SDL
    // clipping each to the screen.
    void sdlLayer(const StageMapImage& map, const SdlLayer& layer, int x, int columns, int rows) {
        int firstColumn = std::max(0, -x / tileSide);
        int endColumn = std::min(columns, (screenWidth - x + tileSide - 1) / tileSide);
        for (int i = 0; i < std::min(rows, map.height); ++i)
            for (int j = firstColumn; j < std::min(endColumn, map.width); ++j) {
                uint16_t t = map.layers[0].tiles[static_cast<size_t>(i * map.width + j)];
                if (t >= firstEmptyCell)
                    continue;
                SDL_Rect source{(t % layer.tilesPerRow) * tileSide,
                                (t / layer.tilesPerRow) * tileSide, tileSide, tileSide};
                SDL_Rect target{x + j * tileSide, i * tileSide, tileSide, tileSide};
                SDL_BlitSurface(layer.tileset, &source, sdlScreen, &target);
            }
    }

    // The bytes a layer draw inspects: the visible part of every non-empty cell.
    static size_t layerBytes(const StageMapImage& map, int x, int columns) {
        size_t bytes = 0;
        for (int i = 0; i < map.height; ++i)
            for (int j = 0; j < std::min(columns, map.width); ++j) {
                if (map.layers[0].tiles[static_cast<size_t>(i * map.width + j)] >= firstEmptyCell)
                    continue;
                int left = std::max(x + j * tileSide, 0);
                int right = std::min(x + (j + 1) * tileSide, screenWidth);
                bytes += static_cast<size_t>(std::max(right - left, 0) * tileSide);
            }
        return bytes;
    }

    void sdlSprites() {
        for (size_t i = 0; i < spritePositions.size(); ++i) {
            SDL_Rect target{spritePositions[i].x - 16, spritePositions[i].y - 16, tileSide,
                            tileSide};
            SDL_BlitSurface(sdlFrames[i % sdlFrames.size()], nullptr, sdlScreen, &target);
        }
    }
    void ourSprites() {
        for (size_t i = 0; i < spritePositions.size(); ++i)
            sprites.drawFrame(&screen, static_cast<uint32_t>(i % 8), spritePositions[i].x,
                              spritePositions[i].y);
    }
    void copyBytes(size_t bytes) {
        std::memcpy(copyTarget.data(), copySource.data(), bytes);
        benchmark::DoNotOptimize(copyTarget.data());
        benchmark::ClobberMemory();
    }
};

Scene& scene() {
    static Scene s;
    return s;
}

// An unaligned scroll offset: 13 pixels into the first tile column.
constexpr int backScroll = 13, midScroll = 333;
constexpr int middleKey = key;

template <typename Work> void run(benchmark::State& state, Work work) {
    for (auto _ : state) {
        work();
        benchmark::ClobberMemory();
    }
}

void registerCase(const std::string& name, std::function<void()> ours, std::function<void()> sdl,
                  std::function<size_t()> bytes) {
    benchmark::RegisterBenchmark((name + "/ours").c_str(), [=](benchmark::State& s) {
        run(s, ours);
    })->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark((name + "/sdl").c_str(), [=](benchmark::State& s) {
        run(s, sdl);
    })->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark((name + "/memcpy").c_str(), [=](benchmark::State& s) {
        size_t n = bytes();
        s.counters["bytes"] = static_cast<double>(n);
        run(s, [n] { scene().copyBytes(n); });
    })->Unit(benchmark::kMicrosecond);
}

void registerAll() {
    const size_t screenBytes = static_cast<size_t>(screenWidth) * screenHeight;
    registerCase(
        "blit_opaque_fullscreen", [] { scene().picture.blitWhole(&scene().screen, 0, 0); },
        [] {
            SDL_Rect at{0, 0, screenWidth, screenHeight};
            SDL_BlitSurface(scene().sdlPicture, nullptr, scene().sdlScreen, &at);
        },
        [=] { return screenBytes; });
    registerCase(
        "blit_keyed_fullscreen",
        [] { scene().keyedPicture.blitKeyedWhole(&scene().screen, key, 0, 0); },
        [] {
            SDL_Rect at{0, 0, screenWidth, screenHeight};
            SDL_BlitSurface(scene().sdlKeyedPicture, nullptr, scene().sdlScreen, &at);
        },
        [=] { return screenBytes; });
    registerCase(
        "sprites_100_keyed_32x32", [] { scene().ourSprites(); }, [] { scene().sdlSprites(); },
        [] { return scene().spriteBytes; });
    registerCase(
        "layer_opaque_fullscreen",
        [] { scene().back.drawLayer(&scene().screen, 0, -backScroll, 0, 40, 15, 0, 0); },
        [] { scene().sdlLayer(scene().backImage, scene().sdlBack, -backScroll, 40, 15); },
        [] { return Scene::layerBytes(scene().backImage, -backScroll, 40); });
    registerCase(
        "layer_keyed_fullscreen",
        [] {
            scene().middle.drawLayerKeyed(&scene().screen, middleKey, 0, -midScroll, 0, 80, 15, 0,
                                          0);
        },
        [] { scene().sdlLayer(scene().middleImage, scene().sdlMiddle, -midScroll, 80, 15); },
        [] { return Scene::layerBytes(scene().middleImage, -midScroll, 80); });
    auto backdropBytes = [] {
        return Scene::layerBytes(scene().backImage, -backScroll, 40) +
               Scene::layerBytes(scene().middleImage, -midScroll, 80) +
               Scene::layerBytes(scene().frontImage, -midScroll, 80);
    };
    auto ourBackdrop = [] {
        drawStageBackdrop(&scene().screen, scene().back, scene().middle, scene().front, backScroll,
                          midScroll, middleKey);
    };
    auto sdlBackdrop = [] {
        Scene& s = scene();
        s.sdlLayer(s.backImage, s.sdlBack, -backScroll, 40, 15);
        s.sdlLayer(s.middleImage, s.sdlMiddle, -midScroll, 80, 15);
        s.sdlLayer(s.frontImage, s.sdlFront, -midScroll, 80, 15);
    };
    registerCase("stage_backdrop_3_layers", ourBackdrop, sdlBackdrop, backdropBytes);
    registerCase(
        "frame_backdrop_and_100_sprites",
        [=] {
            ourBackdrop();
            scene().ourSprites();
        },
        [=] {
            sdlBackdrop();
            scene().sdlSprites();
        },
        [=] { return backdropBytes() + scene().spriteBytes; });
}

// Prints the console report as usual and keeps each run's time for the ratio table.
class RatioReporter : public benchmark::ConsoleReporter {
  public:
    std::map<std::string, double> microseconds;
    std::vector<std::string> order;
    std::set<std::string> medians;
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            // With --benchmark_repetitions the median stands for the case; else the one run.
            bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
            if (run.error_occurred || (run.run_type != Run::RT_Iteration && !median))
                continue;
            std::string name = run.run_name.str();
            std::string base = name.substr(0, name.rfind('/'));
            if (std::find(order.begin(), order.end(), base) == order.end())
                order.push_back(base);
            if (median || !medians.count(name))
                microseconds[name] = run.GetAdjustedCPUTime();
            if (median)
                medians.insert(name);
        }
        ConsoleReporter::ReportRuns(runs);
    }
    void printRatios() const {
        std::printf("\n%-32s %10s %10s %10s %10s %12s\n", "case", "ours us", "SDL us", "memcpy us",
                    "ours/SDL", "ours/memcpy");
        for (const std::string& base : order) {
            auto find = [&](const char* who) {
                auto it = microseconds.find(base + "/" + who);
                return it == microseconds.end() ? 0.0 : it->second;
            };
            double ours = find("ours"), sdl = find("sdl"), copy = find("memcpy");
            if (ours <= 0 || sdl <= 0 || copy <= 0)
                continue;
            std::printf("%-32s %10.2f %10.2f %10.2f %10.2f %12.2f\n", base.c_str(), ours, sdl, copy,
                        ours / sdl, ours / copy);
        }
    }
};

} // namespace

int main(int argc, char** argv) {
    registerAll();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.printRatios();
    benchmark::Shutdown();
    return 0;
}
