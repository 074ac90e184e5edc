#include "shell/tick_trace.h"

#include "display/display_device.h"
#include "scenes/scene_protocol.h"
#include "scenes/scene_trace.h"
#include "sound/sound_calls.h"

#include <cstdio>
#include <vector>

namespace kavorind {

namespace {

struct SoundCallTrace {
    std::vector<SoundCall> soundCalls; // the sound device's calls since the last trace line
};
SoundCallTrace soundCallTrace;

void recordSoundCall(const SoundCall& call) {
    soundCallTrace.soundCalls.push_back(call);
}

constexpr uint64_t fnvOffset = 0xcbf29ce484222325ull;
constexpr uint64_t fnvPrime = 0x100000001b3ull;

uint64_t fnvAdd(uint64_t hash, uint8_t byte) {
    return (hash ^ byte) * fnvPrime;
}

void appendField(std::string& line, const char* name, long value) {
    line += ",\"";
    line += name;
    line += "\":";
    line += std::to_string(value);
}

// The colours on screen: those of the palette attached to the visible surface; black when there is
// no display.
void appendPalette(std::string& line) {
    PaletteEntries shown{};
    const PrimarySurface* primary = displayDevice.primarySurface();
    if (primary && primary->palette)
        shown = primary->palette->entries;
    line += ",\"palette\":[";
    for (size_t i = 0; i < shown.size(); ++i) {
        if (i)
            line += ',';
        line += '[' + std::to_string(shown[i].red) + ',' + std::to_string(shown[i].green) + ',' +
                std::to_string(shown[i].blue) + ']';
    }
    line += ']';
}

const char* soundOpName(SoundOp op) {
    switch (op) {
    case SoundOpAssign:
        return "assign";
    case SoundOpPlay:
        return "play";
    case SoundOpStop:
        return "stop";
    default:
        return "releaseAll";
    }
}

// The sound calls of this tick, in order, each with the result it returned; the list starts over.
void appendSound(std::string& line) {
    const std::vector<SoundCall>& soundCalls = soundCallTrace.soundCalls;
    line += ",\"sound\":[";
    for (size_t i = 0; i < soundCalls.size(); ++i) {
        const SoundCall& call = soundCalls[i];
        line += i ? ",{\"op\":\"" : "{\"op\":\"";
        line += soundOpName(call.op);
        line += '"';
        if (call.op != SoundOpReleaseAll)
            appendField(line, "channel", call.channel);
        if (call.op == SoundOpAssign)
            appendField(line, "bytes", call.bytes);
        if (call.op == SoundOpPlay)
            appendField(line, "loop", call.looping);
        appendField(line, "ok", call.ok);
        line += '}';
    }
    line += ']';
    soundCallTrace.soundCalls.clear();
}

// A string rather than a number: JSON readers keep 64-bit integers exactly only sometimes.
void appendFrameHash(std::string& line, const TraceTick& tick) {
    if (!tick.presented) {
        line += ",\"frame\":null";
        return;
    }
    char hex[24];
    std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(tick.frameHash));
    line += ",\"frame\":\"";
    line += hex;
    line += '"';
}

} // namespace

void startSoundTrace() {
    setSoundCallObserver(recordSoundCall);
}

void stopSoundTrace() {
    setSoundCallObserver(nullptr);
    soundCallTrace.soundCalls.clear();
}

std::string traceLine(const TraceTick& tick) {
    std::string line = "{\"tick\":" + std::to_string(tick.tick);
    appendField(line, "scene", sceneLoop.currentScene);
    appendField(line, "rendered", tick.rendered);
    if (tick.withFrameHash)
        appendFrameHash(line, tick);
    TraceFields scenes;
    traceScenes(scenes);
    line += scenes.text;
    appendSound(line);
    if (tick.withPalette)
        appendPalette(line);
    line += '}';
    return line;
}

uint64_t frameHash(const Surface& frame, const PaletteEntries& colours) {
    uint64_t hash = fnvOffset;
    for (uint8_t index : frame.pixels)
        hash = fnvAdd(hash, index);
    for (const PaletteEntry& colour : colours) {
        hash = fnvAdd(hash, colour.red);
        hash = fnvAdd(hash, colour.green);
        hash = fnvAdd(hash, colour.blue);
    }
    return hash;
}

} // namespace kavorind
