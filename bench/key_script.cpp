// Key scripts of 25,000 to 200,000 lines read and played forward as the headless runner does: one
// advance a tick and a look at every key the program may ask for. Each benchmark fits its times
// to the script's length and prints the fitted complexity, which should stay linear.
//
//   build/bench/bench-key_script --benchmark_repetitions=3 --benchmark_report_aggregates_only=true
#include "input/key_script.h"

#include <benchmark/benchmark.h>

#include <string>

using namespace kavorind;

namespace {

const char* const keyNames[] = {"Left", "Right", "Up", "Down", "Z", "X", "Escape"};
constexpr int keyCount = 7;
constexpr int ticksPerLine = 4;

// One entry every ticksPerLine ticks on average, jittered, most a few ticks long and every
// sixteenth held for a few hundred, naming one to three keys.
std::string scriptText(int lines) {
    uint32_t state = 12345;
    auto below = [&state](int n) {
        state = state * 1664525u + 1013904223u;
        return static_cast<int>((state >> 8) % static_cast<uint32_t>(n));
    };
    std::string text;
    for (int line = 0; line < lines; ++line) {
        int from = 1 + line * ticksPerLine + below(2 * ticksPerLine);
        int to = from + below(line % 16 == 0 ? 400 : 8);
        text += std::to_string(from) + "-" + std::to_string(to) + " ";
        int keys = 1 + below(3);
        for (int k = 0; k < keys; ++k)
            text += std::string(k ? "," : "") + keyNames[below(keyCount)];
        text += '\n';
    }
    return text;
}

int scriptTicks(int lines) {
    return lines * ticksPerLine + 2 * ticksPerLine + 400;
}

// Plays the whole script, asking for every key on every tick; the number of key-down answers.
long playScript(const KeyScript& script, int ticks) {
    static const int codes[] = {virtualKeyNamed("Left"),  virtualKeyNamed("Right"),
                                virtualKeyNamed("Up"),    virtualKeyNamed("Down"),
                                virtualKeyNamed("Z"),     virtualKeyNamed("X"),
                                virtualKeyNamed("Escape")};
    KeyScriptPlayer player = startKeyScript(script);
    long down = 0;
    for (int tick = 1; tick <= ticks; ++tick) {
        advanceKeyScript(&player, tick);
        for (int code : codes)
            down += playerKeyDown(player, code);
    }
    return down;
}

KeyScript parsedScript(const std::string& text, benchmark::State& state) {
    KeyScript script;
    std::string error;
    if (!parseKeyScript(text, &script, &error))
        state.SkipWithError(error.c_str());
    return script;
}

void parseAndPlay(benchmark::State& state) {
    int lines = static_cast<int>(state.range(0));
    std::string text = scriptText(lines);
    for (auto _ : state) {
        KeyScript script = parsedScript(text, state);
        benchmark::DoNotOptimize(playScript(script, scriptTicks(lines)));
    }
    state.SetComplexityN(lines);
}

void parseOnly(benchmark::State& state) {
    std::string text = scriptText(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        KeyScript script = parsedScript(text, state);
        benchmark::DoNotOptimize(script.keys.data());
    }
    state.SetComplexityN(state.range(0));
}

void playOnly(benchmark::State& state) {
    int lines = static_cast<int>(state.range(0));
    KeyScript script = parsedScript(scriptText(lines), state);
    for (auto _ : state)
        benchmark::DoNotOptimize(playScript(script, scriptTicks(lines)));
    state.SetComplexityN(lines);
}

void scriptLengths(benchmark::internal::Benchmark* bench) {
    for (int lines = 25000; lines <= 200000; lines *= 2)
        bench->Arg(lines);
    bench->Complexity(benchmark::oN)->Unit(benchmark::kMillisecond);
}

} // namespace

BENCHMARK(parseAndPlay)->Apply(scriptLengths);
BENCHMARK(parseOnly)->Apply(scriptLengths);
BENCHMARK(playOnly)->Apply(scriptLengths);

BENCHMARK_MAIN();
