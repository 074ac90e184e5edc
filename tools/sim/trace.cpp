#include "sim/trace.h"

#include "display/display_device.h"
#include "shell/scene_loop.h"

namespace {

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

} // namespace

std::string traceLine(int tick, int rendered, int withPalette) {
    std::string line = "{\"tick\":" + std::to_string(tick);
    appendField(line, "scene", currentScene);
    appendField(line, "rendered", rendered);
    if (withPalette)
        appendPalette(line);
    line += '}';
    return line;
}
