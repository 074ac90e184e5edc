// kavorind-sim: runs the real program headless, delivering its ticks as fast as it can, feeding
// keys from a script, and writing a JSON line per tick and the presented frames as PNG files.

#include "common/headless_run.h"
#include "common/output_place.h"
#include "common/tool_main.h"
#include "display/display_device.h"
#include "display/png_writer.h"
#include "input/key_script.h"
#include "platform/content_file.h"
#include "platform/file_io.h"
#include "platform/keyboard.h"
#include "scenes/scene_protocol.h"
#include "shell/entry.h"
#include "shell/run_start.h"
#include "shell/tick_trace.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

using namespace kavorind;

namespace {

const char* usageLine = "usage: kavorind-sim [--data DIR] [--keys FILE] [--ticks N] [--trace FILE] "
                        "[--frames DIR] [--every K] [--raw] [--palette] [--frame-hash] "
                        "[--scene N] [--stage N] [--held KEYS] [--spawn-column N]";

struct SimOptions {
    std::string dataDir;
    std::string keysFile;
    std::string traceFile;
    std::string framesDir;
    long ticks = 300;
    long every = 1;
    long scene = 0;   // the scene to start in instead of the logo; 0 for the normal start
    long stage = -1;  // with --scene: the stage index to start at; -1 leaves it as start-up set it
    std::string held; // with --scene: the game keys already down before the first tick
    long spawnColumn = -1; // with --scene: the column an earlier run primed the spawner at
    int palette = 0;
    int frameHash = 0;
    int raw = 0; // frames as raw indices and colours instead of PNG pictures
};

struct KavorindSim {
    SimOptions options;
    KeyScript keyScript;
    KeyScriptPlayer keyPlayer; // where the program's key reads are answered from
    RunStart start;            // the command line's, else the key script's "# options:"
    GrowingFile trace;
    int tick = 0;
    int presented = 0;          // a frame was presented during this tick
    uint64_t lastFrameHash = 0; // of the last one
    int outputFailed = 0;       // a frame or the trace could not be written: the run stops
};
KavorindSim kavorindSim;

int parseCount(const char* text, long* out) {
    char* end = nullptr;
    long value = std::strtol(text, &end, 10);
    if (!*text || *end || value < 1)
        return 0;
    *out = value;
    return 1;
}

int parseOptions(int argc, char** argv, SimOptions* out) {
    for (int i = 1; i < argc; ++i) {
        std::string name = argv[i];
        if (name == "--palette") {
            out->palette = 1;
            continue;
        }
        if (name == "--frame-hash") {
            out->frameHash = 1;
            continue;
        }
        if (name == "--raw") {
            out->raw = 1;
            continue;
        }
        if (i + 1 >= argc)
            return 0;
        const char* value = argv[++i];
        if (name == "--data")
            out->dataDir = value;
        else if (name == "--keys")
            out->keysFile = value;
        else if (name == "--trace")
            out->traceFile = value;
        else if (name == "--frames")
            out->framesDir = value;
        else if (name == "--ticks") {
            if (!parseCount(value, &out->ticks))
                return 0;
        } else if (name == "--scene") {
            if (!parseCount(value, &out->scene) || out->scene > sceneCount)
                return 0;
        } else if (name == "--stage") {
            char* end = nullptr;
            out->stage = std::strtol(value, &end, 10);
            if (!*value || *end || out->stage < 0 || out->stage > 2)
                return 0;
        } else if (name == "--held") {
            std::vector<int> keys;
            std::string error;
            if (!parseHeldKeys(value, &keys, &error))
                return 0;
            out->held = value;
        } else if (name == "--spawn-column") {
            char* end = nullptr;
            out->spawnColumn = std::strtol(value, &end, 10);
            if (!*value || *end || out->spawnColumn < 0 || out->spawnColumn > 1000000)
                return 0;
        } else if (name == "--every") {
            if (!parseCount(value, &out->every))
                return 0;
        } else
            return 0;
    }
    // Keys held and a primed spawner describe a start elsewhere than the logo.
    return out->scene || (out->held.empty() && out->spawnColumn < 0);
}

int scriptedKey(int virtualKey) {
    return playerKeyDown(kavorindSim.keyPlayer, virtualKey);
}

// Without a palette the display shows the indices as greys, so that is what pictures and hashes
// of such a frame hold.
PaletteEntries shownColours(const DevicePalette* palette) {
    if (palette)
        return palette->entries;
    PaletteEntries greys{};
    for (size_t i = 0; i < greys.size(); ++i) {
        uint8_t grey = static_cast<uint8_t>(i);
        greys[i] = PaletteEntry{grey, grey, grey, 0};
    }
    return greys;
}

// Ends the run after an output failed, naming the file and the system's reason once.
void outputFailed(const std::string& path, const std::string& why) {
    std::fprintf(stderr, "kavorind-sim: cannot write %s: %s\n", path.c_str(), why.c_str());
    kavorindSim.outputFailed = 1;
}

// width x height palette indices, then the 256 colours as red, green, blue bytes: what another
// program (the browser test) compares byte for byte without decoding a picture.
int writeRawFrame(const std::string& path, const Surface& frame, const PaletteEntries& colours,
                  std::string* why) {
    const size_t pixelCount = static_cast<size_t>(frame.width) * frame.height;
    std::vector<uint8_t> bytes(frame.pixels.begin(), frame.pixels.begin() + pixelCount);
    for (const PaletteEntry& colour : colours)
        bytes.insert(bytes.end(), {colour.red, colour.green, colour.blue});
    return writeFileSafely(path, bytes, FileQuick, why);
}

// "frame-000042.png": the name of the frame of a tick.
std::string frameName(int tick, int raw) {
    char name[32];
    std::snprintf(name, sizeof name, "frame-%06d.%s", tick, raw ? "raw" : "png");
    return name;
}

// 1 for a name that a frame takes: "frame-", six digits, ".png" or ".raw".
int isFrameName(const std::string& name) {
    auto digit = [](char c) { return c >= '0' && c <= '9'; };
    return name.size() == 16 && name.compare(0, 6, "frame-") == 0 &&
           std::all_of(name.begin() + 6, name.begin() + 12, digit) &&
           (name.compare(12, 4, ".png") == 0 || name.compare(12, 4, ".raw") == 0);
}

void saveFrame(const Surface& frame, const PaletteEntries& colours) {
    const SimOptions& options = kavorindSim.options;
    if (options.framesDir.empty() || kavorindSim.tick % options.every != 0 ||
        kavorindSim.outputFailed)
        return;
    std::string path = options.framesDir + "/" + frameName(kavorindSim.tick, options.raw);
    std::string why;
    int written = options.raw ? writeRawFrame(path, frame, colours, &why)
                              : writeIndexedPng(path, frame.pixels.data(), frame.width, frame.width,
                                                frame.height, colours, FileQuick, &why);
    if (!written)
        outputFailed(path, why);
}

// Frames presented while the program starts, before the first tick, are neither saved nor hashed.
void observePresent(const Surface& frame, const DevicePalette* palette) {
    if (kavorindSim.tick < 1)
        return;
    PaletteEntries colours = shownColours(palette);
    if (kavorindSim.options.frameHash) {
        kavorindSim.presented = 1;
        kavorindSim.lastFrameHash = frameHash(frame, colours);
    }
    saveFrame(frame, colours);
}

TraceTick traceTick(int rendered) {
    TraceTick tick;
    tick.tick = kavorindSim.tick;
    tick.rendered = rendered;
    tick.withPalette = kavorindSim.options.palette;
    tick.withFrameHash = kavorindSim.options.frameHash;
    tick.presented = kavorindSim.presented;
    tick.frameHash = kavorindSim.lastFrameHash;
    return tick;
}

// The slowest tick and render of a run, each with the tick it happened at, and the run's pace
// counted from the first tick on, so that loading the content does not dilute it.
struct RunCost {
    double startupSeconds = 0;
    double tickingSeconds = 0;
    double worstTickSeconds = 0;
    double worstRenderSeconds = 0;
    long worstTickAt = 0;
    long worstRenderAt = 0;
};

void noteTickCost(RunCost* run, const HeadlessTickCost& cost, long tick) {
    if (cost.tickSeconds > run->worstTickSeconds) {
        run->worstTickSeconds = cost.tickSeconds;
        run->worstTickAt = tick;
    }
    if (cost.renderSeconds > run->worstRenderSeconds) {
        run->worstRenderSeconds = cost.renderSeconds;
        run->worstRenderAt = tick;
    }
}

void reportRun(long ticks, long renders, const RunCost& run) {
    double seconds = run.startupSeconds + run.tickingSeconds;
    double pace = run.tickingSeconds > 0 ? ticks / run.tickingSeconds : 0.0;
    std::fprintf(stderr, "ticks=%ld renders=%ld seconds=%.3f ticks_per_second=%.0f\n", ticks,
                 renders, seconds, pace);
    std::fprintf(stderr,
                 "startup_ms=%.1f worst_tick_ms=%.2f at_tick=%ld worst_render_ms=%.2f "
                 "at_tick=%ld\n",
                 run.startupSeconds * 1e3, run.worstTickSeconds * 1e3, run.worstTickAt,
                 run.worstRenderSeconds * 1e3, run.worstRenderAt);
}

// The tick's line goes out at once, so that a run that dies keeps its trace so far; the first
// line puts the trace in place of an older one.
void traceOneTick(int rendered) {
    GrowingFile* trace = &kavorindSim.trace;
    if (trace->descriptor < 0)
        return;
    if (!appendGrowingFile(trace, traceLine(traceTick(rendered)) + "\n") ||
        !placeGrowingFile(trace))
        outputFailed(trace->path, trace->reason);
}

// The program's exit code, or 1 when it did not start (it said why) or an output failed.
int simulate() {
    using Clock = std::chrono::steady_clock;
    auto began = Clock::now();
    RunCost run;
    long ticks = 0;
    long renders = 0;
    int exitCode = 0;
    const SimOptions& options = kavorindSim.options;
    kavorindSim.keyPlayer = startKeyScript(kavorindSim.keyScript);
    int running = enterProgram();
    int started = running;
    if (running && kavorindSim.start.scene)
        startRun(kavorindSim.start);
    auto ticking = Clock::now();
    run.startupSeconds = std::chrono::duration<double>(ticking - began).count();
    for (long tick = 1; running && !kavorindSim.outputFailed && tick <= options.ticks; ++tick) {
        kavorindSim.tick = static_cast<int>(tick);
        kavorindSim.presented = 0;
        advanceKeyScript(&kavorindSim.keyPlayer, kavorindSim.tick);
        int rendered = 0;
        HeadlessTickCost cost;
        running = runHeadlessTick(&exitCode, &rendered, &cost);
        noteTickCost(&run, cost, tick);
        renders += rendered;
        ++ticks;
        traceOneTick(rendered);
    }
    run.tickingSeconds = std::chrono::duration<double>(Clock::now() - ticking).count();
    if (running)
        exitCode = closeHeadlessRun();
    reportRun(ticks, renders, run);
    return !started || kavorindSim.outputFailed ? 1 : exitCode;
}

// Refuses a trace that would replace another file of the run: the key script it replays, a
// frame, or a content file the game reads. 0 after saying why.
int traceHasItsOwnFile(const SimOptions& options) {
    const std::string& trace = options.traceFile;
    const char* clash = nullptr;
    if (!options.keysFile.empty() && sameFile(trace, options.keysFile))
        clash = "is also the key script";
    else if (!options.framesDir.empty() && sameFile(folderHolding(trace), options.framesDir) &&
             isFrameName(std::filesystem::path(trace).filename().string()))
        clash = "is where a frame goes";
    else if (isContentFile(options.dataDir, trace))
        clash = "is a content file: the trace would replace the content";
    if (clash)
        std::fprintf(stderr, "kavorind-sim: %s %s\n", trace.c_str(), clash);
    return !clash;
}

// Makes the frames folder and opens the trace before anything runs, so that a place that can
// never be written is refused at once. 0 after saying why.
int prepareOutputs(SimOptions* options) {
    std::string why;
    if (!options->traceFile.empty()) {
        options->traceFile = absoluteOutput(options->traceFile);
        if (!traceHasItsOwnFile(*options))
            return 0;
    }
    if (!options->framesDir.empty()) {
        if (!makeOutputFolder(options->framesDir, &why)) {
            std::fprintf(stderr, "kavorind-sim: cannot write frames into %s: %s\n",
                         options->framesDir.c_str(), why.c_str());
            return 0;
        }
        options->framesDir = absoluteOutput(options->framesDir);
    }
    if (!options->traceFile.empty() &&
        !openGrowingFile(&kavorindSim.trace, options->traceFile, FileQuick, &why)) {
        std::fprintf(stderr, "kavorind-sim: cannot write %s: %s\n", options->traceFile.c_str(),
                     why.c_str());
        return 0;
    }
    return 1;
}

// The run's start as the command line gives it.
RunStart commandLineStart(const SimOptions& options) {
    RunStart start;
    start.scene = static_cast<int>(options.scene);
    start.stage = static_cast<int>(options.stage);
    start.spawnColumn = static_cast<int>(options.spawnColumn);
    std::string unused;
    if (!options.held.empty())
        parseHeldKeys(options.held, &start.heldKeys, &unused);
    return start;
}

// Reads the key script once: its keys, and where its run starts when the command line does not
// say (a replay's "# options:" line). 0 with the reason in *error.
int loadScriptAndStart(const SimOptions& options, std::string* error) {
    FileBytes bytes;
    std::string why;
    if (!readWholeFile(options.keysFile, maxKeyScriptBytes, &bytes, &why)) {
        *error = "cannot read key script " + options.keysFile + ": " + why;
        return 0;
    }
    std::string text(reinterpret_cast<const char*>(bytes.data.get()), bytes.size);
    int found = 0;
    if (!parseKeyScript(text, &kavorindSim.keyScript, &why) ||
        (!options.scene && !scriptRunStart(text, &kavorindSim.start, &found, &why))) {
        *error = options.keysFile + ": " + why;
        return 0;
    }
    return 1;
}

int simMain(int argc, char** argv) {
    SimOptions& options = kavorindSim.options;
    if (!parseOptions(argc, argv, &options)) {
        std::fprintf(stderr, "%s\n", usageLine);
        return 2;
    }
    if (options.scene)
        kavorindSim.start = commandLineStart(options);
    std::string error;
    if (!options.keysFile.empty() && !loadScriptAndStart(options, &error)) {
        std::fprintf(stderr, "kavorind-sim: %s\n", error.c_str());
        return 2;
    }
    if (!prepareOutputs(&options))
        return 2;
    std::error_code problem;
    if (!options.dataDir.empty())
        std::filesystem::current_path(options.dataDir, problem);
    if (problem) {
        std::fprintf(stderr, "kavorind-sim: no data directory %s\n", options.dataDir.c_str());
        closeGrowingFile(&kavorindSim.trace);
        return 2;
    }
    prepareHeadlessRun(scriptedKey);
    setPresentObserver(observePresent);
    startSoundTrace();
    int exitCode = simulate();
    GrowingFile& trace = kavorindSim.trace;
    if (!closeGrowingFile(&trace) && !kavorindSim.outputFailed) {
        outputFailed(trace.path, trace.reason);
        exitCode = 1;
    }
    return exitCode;
}

} // namespace

int main(int argc, char** argv) {
    return runTool("kavorind-sim", simMain, argc, argv);
}
