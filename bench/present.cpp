// What showing a frame costs against the palette conversion alone, on SDL's dummy video driver
// (where, as on any machine without a graphics driver, frames go straight into the window's
// surface), before and after the present path was made cheaper, in the same run:
//   before   the present as it was: an ARGB streaming texture on SDL's software renderer, the
//            frame enlarged through a render target, the whole window cleared, then copied (SDL
//            converting every pixel again to the window's format);
//   surface  platformPresentFrame as the game now calls it without a GPU;
//   renderer platformPresentFrame through SDL's renderer, as with a GPU (here SDL's software one);
//   convert  convertFrame alone: 640 x 480 indices through the table into a buffer.
// At 640 x 480 and 1280 x 960 (whole multiples) and 1400 x 1050 (the default scaling's smooth step
// on top of the 2x enlargement). After the runs it prints each present / the conversion alone, from
// CPU time (the median when the runs are repeated), and the smooth step's own cost.
//
//   build/bench/bench-present --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
#include "platform/frame_conversion.h"
#include "platform/frame_geometry.h"
#include "platform/video.h"
#include "platform/window_internal.h"

#include <SDL.h>
#include <benchmark/benchmark.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

using namespace kavorind;

namespace {

constexpr int frameWidth = 640, frameHeight = 480;
const int outputSizes[][2] = {{640, 480}, {1280, 960}, {1400, 1050}};

struct PresentBench {
    int ready = 0;
    std::vector<uint8_t> indices;
    std::array<uint32_t, 256> table{};
    PlatformWindow* surfaceWindow = nullptr;
    PlatformRenderer* surfaceRenderer = nullptr;
    PlatformTexture* surfaceTexture = nullptr;
    SDL_Window* rendererWindow = nullptr;
    PlatformRenderer* renderer = nullptr;
    PlatformTexture* rendererTexture = nullptr;
    SDL_Window* beforeWindow = nullptr;
    SDL_Renderer* beforeRenderer = nullptr;
    SDL_Texture* beforeFrame = nullptr;
    SDL_Texture* beforeEnlarged = nullptr;
    int beforeEnlargedWidth = 0;
};

PresentBench presentBench;

SDL_Window* sdlWindowOf(PlatformWindow* window) {
    return SDL_GetWindowFromID(platformWindowNumber(window));
}

// A frame of every colour in short runs, as a stage's backdrop and sprites give.
void makeFrame() {
    presentBench.indices.resize(static_cast<size_t>(frameWidth) * frameHeight);
    uint32_t state = 12345;
    for (size_t i = 0; i < presentBench.indices.size(); i += 4) {
        state = state * 1664525u + 1013904223u;
        for (size_t j = i; j < i + 4; ++j)
            presentBench.indices[j] = static_cast<uint8_t>(state >> 24);
    }
    for (uint32_t i = 0; i < 256; ++i)
        presentBench.table[i] = 0xff000000u | (i << 16) | ((255 - i) << 8) | (i * 7 & 0xff);
}

int setUp() {
    if (presentBench.ready)
        return 1;
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    makeFrame();
    PresentBench& b = presentBench;
    // Made in this order: each renderer needs a window of its own.
    platformForceRenderer(1);
    PlatformWindow* withRenderer = platformCreateWindow("renderer", frameWidth, frameHeight, 0);
    b.renderer = platformCreateRenderer(withRenderer);
    b.rendererTexture = platformCreateFrameTexture(b.renderer, frameWidth, frameHeight);
    b.rendererWindow = sdlWindowOf(withRenderer);
    platformForceRenderer(0);
    b.surfaceWindow = platformCreateWindow("surface", frameWidth, frameHeight, 0);
    b.surfaceRenderer = platformCreateRenderer(b.surfaceWindow);
    b.surfaceTexture = platformCreateFrameTexture(b.surfaceRenderer, frameWidth, frameHeight);
    b.beforeWindow = SDL_CreateWindow("before", 0, 0, frameWidth, frameHeight, 0);
    b.beforeRenderer = SDL_CreateRenderer(b.beforeWindow, -1, SDL_RENDERER_SOFTWARE);
    b.beforeFrame = SDL_CreateTexture(b.beforeRenderer, SDL_PIXELFORMAT_ARGB8888,
                                      SDL_TEXTUREACCESS_STREAMING, frameWidth, frameHeight);
    if (!b.rendererTexture || !b.surfaceTexture || !b.beforeFrame)
        return 0;
    SDL_SetTextureBlendMode(b.beforeFrame, SDL_BLENDMODE_NONE);
    b.ready = 1;
    return 1;
}

void sizeWindow(SDL_Window* window, int width, int height) {
    SDL_SetWindowSize(window, width, height);
    SDL_PumpEvents();
}

// The present as it was: see the top of the file.
void presentBefore() {
    PresentBench& b = presentBench;
    void* pixels = nullptr;
    int pitch = 0;
    SDL_LockTexture(b.beforeFrame, nullptr, &pixels, &pitch);
    for (int y = 0; y < frameHeight; ++y) {
        const uint8_t* source = &b.indices[static_cast<size_t>(y) * frameWidth];
        auto* row = reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(pixels) + y * pitch);
        for (int x = 0; x < frameWidth; ++x)
            row[x] = b.table[source[x]];
    }
    SDL_UnlockTexture(b.beforeFrame);
    int width = 0, height = 0;
    SDL_GetRendererOutputSize(b.beforeRenderer, &width, &height);
    FrameLayout layout = frameLayout(FrameSharp, frameWidth, frameHeight, width, height);
    SDL_Texture* source = b.beforeFrame;
    if (layout.enlargedWidth != frameWidth) {
        if (b.beforeEnlargedWidth != layout.enlargedWidth) {
            if (b.beforeEnlarged)
                SDL_DestroyTexture(b.beforeEnlarged);
            b.beforeEnlarged = SDL_CreateTexture(
                b.beforeRenderer, SDL_GetWindowPixelFormat(b.beforeWindow),
                SDL_TEXTUREACCESS_TARGET, layout.enlargedWidth, layout.enlargedHeight);
            SDL_SetTextureBlendMode(b.beforeEnlarged, SDL_BLENDMODE_NONE);
            b.beforeEnlargedWidth = layout.enlargedWidth;
        }
        SDL_SetTextureScaleMode(b.beforeFrame, SDL_ScaleModeNearest);
        SDL_SetRenderTarget(b.beforeRenderer, b.beforeEnlarged);
        SDL_RenderCopy(b.beforeRenderer, b.beforeFrame, nullptr, nullptr);
        SDL_SetRenderTarget(b.beforeRenderer, nullptr);
        source = b.beforeEnlarged;
    }
    bool resized = layout.enlargedWidth != layout.destination.width;
    SDL_SetTextureScaleMode(source, resized ? SDL_ScaleModeLinear : SDL_ScaleModeNearest);
    SDL_SetRenderDrawColor(b.beforeRenderer, 0, 0, 0, 255);
    SDL_RenderClear(b.beforeRenderer);
    const FrameRect& to = layout.destination;
    SDL_Rect destination{to.x, to.y, to.width, to.height};
    SDL_RenderCopy(b.beforeRenderer, source, nullptr, &destination);
    SDL_RenderPresent(b.beforeRenderer);
}

void present(benchmark::State& state, int way) {
    if (!setUp()) {
        state.SkipWithError("no window on the dummy driver");
        return;
    }
    PresentBench& b = presentBench;
    const int* size = outputSizes[state.range(0)];
    SDL_Window* windows[] = {b.beforeWindow, sdlWindowOf(b.surfaceWindow), b.rendererWindow};
    sizeWindow(windows[way], size[0], size[1]);
    PlatformTexture* texture = way == 1 ? b.surfaceTexture : b.rendererTexture;
    for (auto _ : state) {
        if (way == 0)
            presentBefore();
        else if (!platformPresentFrame(texture, b.indices.data(), frameWidth, b.table.data()))
            state.SkipWithError("present failed");
    }
    state.SetLabel(std::to_string(size[0]) + "x" + std::to_string(size[1]));
}

void convertAlone(benchmark::State& state) {
    if (!setUp()) {
        state.SkipWithError("no window on the dummy driver");
        return;
    }
    std::vector<uint32_t> target(static_cast<size_t>(frameWidth) * frameHeight);
    for (auto _ : state) {
        convertFrame(presentBench.indices.data(), frameWidth, frameWidth, frameHeight,
                     presentBench.table.data(), reinterpret_cast<uint8_t*>(target.data()),
                     frameWidth * 4, 1, 1);
        benchmark::DoNotOptimize(target.data());
        benchmark::ClobberMemory();
    }
}

const char* wayNames[] = {"before", "surface", "renderer"};

// Prints the console report as usual and keeps each case's CPU time for the ratio table.
class RatioReporter : public benchmark::ConsoleReporter {
  public:
    std::map<std::string, double> microseconds;
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
            if (run.error_occurred || (run.run_type != Run::RT_Iteration && !median))
                continue;
            std::string name = run.run_name.str();
            if (median || !microseconds.count(name))
                microseconds[name] = run.GetAdjustedCPUTime();
        }
        ConsoleReporter::ReportRuns(runs);
    }
    double at(const std::string& name) const {
        auto it = microseconds.find(name);
        return it == microseconds.end() ? 0.0 : it->second;
    }
    void printRatios() const {
        double convert = at("convert");
        if (convert <= 0)
            return;
        std::printf("\nconversion alone: %.1f us\n%-10s %-10s %10s %12s\n", convert, "way",
                    "output", "present us", "/conversion");
        for (int way = 0; way < 3; ++way)
            for (int size = 0; size < 3; ++size) {
                double us = at(std::string(wayNames[way]) + "/" + std::to_string(size));
                if (us > 0)
                    std::printf("%-10s %4dx%-5d %10.1f %12.2f\n", wayNames[way],
                                outputSizes[size][0], outputSizes[size][1], us, us / convert);
            }
        for (int way = 0; way < 3; ++way) {
            double whole = at(std::string(wayNames[way]) + "/1");
            double smooth = at(std::string(wayNames[way]) + "/2");
            if (whole > 0 && smooth > 0)
                std::printf("smooth step to 1400x1050 (%s): %.1f us over the 2x present\n",
                            wayNames[way], smooth - whole);
        }
    }
};

} // namespace

int main(int argc, char** argv) {
    benchmark::RegisterBenchmark("convert", convertAlone)->Unit(benchmark::kMicrosecond);
    for (int way = 0; way < 3; ++way)
        benchmark::RegisterBenchmark(wayNames[way],
                                     [way](benchmark::State& state) { present(state, way); })
            ->DenseRange(0, 2)
            ->Unit(benchmark::kMicrosecond);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.printRatios();
    benchmark::Shutdown();
    return 0;
}
