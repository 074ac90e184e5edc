#include "sim/trace.h"

#include "display/display_device.h"
#include "scenes/scene_protocol.h"
#include "scenes/scene_trace.h"
#include "sound/sound_calls.h"

#include <vector>

namespace kavorind {

namespace {

// The sound device's calls since the last trace line.
std::vector<SoundCall> soundCalls;

void recordSoundCall(const SoundCall& call) {
    soundCalls.push_back(call);
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
    soundCalls.clear();
}

} // namespace

void startSoundTrace() {
    setSoundCallObserver(recordSoundCall);
}

std::string traceLine(int tick, int rendered, int withPalette) {
    std::string line = "{\"tick\":" + std::to_string(tick);
    appendField(line, "scene", sceneLoop.currentScene);
    appendField(line, "rendered", rendered);
    TraceFields scenes;
    traceScenes(scenes);
    line += scenes.text;
    appendSound(line);
    if (withPalette)
        appendPalette(line);
    line += '}';
    return line;
}

} // namespace kavorind
