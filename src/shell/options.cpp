#include "shell/options.h"

#include "platform/frame_geometry.h"

#include <cstdlib>

namespace kavorind {

namespace {

constexpr const char* usage =
    "usage: kavorind [OPTION...]\n"
    "\n"
    "  --help                 show this text and end\n"
    "  --version              show the version and end\n"
    "  --windowed             play in a window\n"
    "  --fullscreen           play on the whole screen\n"
    "  --scale MODE           sharp (whole multiples, then a smooth step), integer or stretch\n"
    "  --data DIR             read the game's content from DIR\n"
    "  --where                show the content folder the game would use and end\n"
    "  --mute                 play without sound\n"
    "  --volume N             sound volume, 0 to 100\n"
    "  --record FILE          write the keys of this session to FILE as a key script\n"
    "  --replay FILE          play the key script FILE instead of the keyboard\n"
    "  --trace FILE           write one JSON line per tick to FILE\n"
    "  --config FILE          read the settings from FILE instead of the user's configuration\n"
    "  --timedemo FILE        play the key script FILE without waiting for the timer, then show\n"
    "                         the frames per second and the slowest tick and frame, and end\n"
    "  --scores               show the high scores of the content and end\n"
    "  --watch N|last|FILE    watch the replay of entry N of the score table, of the last run, or\n"
    "                         a replay file; a game key takes over\n"
    "  --stage N              practice: START begins at stage N (1 to 3) with a new craft\n"
    "  --classic              the game exactly as it was: no pause, results, scores or replays\n";

// Options that stand alone; 1 when the name was one of them.
int takeFlag(const std::string& name, GameOptions* out) {
    if (name == "--help" || name == "-h")
        out->help = 1;
    else if (name == "--version")
        out->version = 1;
    else if (name == "--where")
        out->where = 1;
    else if (name == "--windowed")
        out->windowed = 1;
    else if (name == "--fullscreen")
        out->windowed = 0;
    else if (name == "--mute")
        out->mute = 1;
    else if (name == "--classic")
        out->classic = 1;
    else if (name == "--scores")
        out->scores = 1;
    else
        return 0;
    return 1;
}

// The file or folder that an option names; null for an option that takes none.
std::string* pathOf(const std::string& name, GameOptions* out) {
    if (name == "--data")
        return &out->dataDir;
    if (name == "--record")
        return &out->recordFile;
    if (name == "--replay")
        return &out->replayFile;
    if (name == "--trace")
        return &out->traceFile;
    if (name == "--config")
        return &out->configFile;
    if (name == "--timedemo")
        return &out->timedemoFile;
    if (name == "--watch")
        return &out->watch;
    return nullptr;
}

int takeValue(const std::string& name, const std::string& value, GameOptions* out,
              std::string* error) {
    if (std::string* path = pathOf(name, out)) {
        if (value.empty()) {
            *error = name + " needs a name";
            return 0;
        }
        *path = value;
        return 1;
    }
    if (name == "--scale") {
        out->scale = scaleChoiceNamed(value);
        if (out->scale != ScaleUnset)
            return 1;
        *error = "--scale takes sharp, integer or stretch, not \"" + value + "\"";
        return 0;
    }
    if (name == "--stage") {
        if (value == "1" || value == "2" || value == "3") {
            out->practiceStage = value[0] - '0';
            return 1;
        }
        *error = "--stage takes 1, 2 or 3, not \"" + value + "\"";
        return 0;
    }
    if (name == "--volume") {
        if (parseVolume(value, &out->volume))
            return 1;
        *error = "--volume takes a whole number from 0 to 100, not \"" + value + "\"";
        return 0;
    }
    *error = "unknown option " + name;
    return 0;
}

int takesValue(const std::string& name) {
    GameOptions probe;
    return pathOf(name, &probe) || name == "--scale" || name == "--volume" || name == "--stage";
}

} // namespace

int frameScalingFor(int choice) {
    switch (choice) {
    case ScaleInteger:
        return FrameInteger;
    case ScaleStretch:
        return FrameStretch;
    default:
        return FrameSharp;
    }
}

int parseVolume(const std::string& text, int* out) {
    char* end = nullptr;
    long value = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || *end || value < 0 || value > 100)
        return 0;
    *out = static_cast<int>(value);
    return 1;
}

const char* usageText() {
    return usage;
}

const char* scaleChoiceName(int choice) {
    switch (choice) {
    case ScaleSharp:
        return "sharp";
    case ScaleInteger:
        return "integer";
    case ScaleStretch:
        return "stretch";
    default:
        return "";
    }
}

int scaleChoiceNamed(const std::string& name) {
    for (int choice : {ScaleSharp, ScaleInteger, ScaleStretch})
        if (name == scaleChoiceName(choice))
            return choice;
    return ScaleUnset;
}

int parseOptions(int argc, const char* const* argv, GameOptions* out, std::string* error) {
    for (int i = 1; i < argc; ++i) {
        std::string argument = argv[i];
        if (takeFlag(argument, out))
            continue;
        // Both "--volume 50" and "--volume=50".
        std::string name = argument;
        std::string value;
        size_t equals = argument.find('=');
        if (argument.rfind("--", 0) == 0 && equals != std::string::npos) {
            name = argument.substr(0, equals);
            value = argument.substr(equals + 1);
        } else if (takesValue(argument)) {
            if (i + 1 >= argc) {
                *error = argument + " needs a value";
                return 0;
            }
            value = argv[++i];
        }
        if (!takesValue(name)) {
            *error = "unknown option " + argument;
            return 0;
        }
        if (!takeValue(name, value, out, error))
            return 0;
    }
    int scripts = !out->replayFile.empty() + !out->timedemoFile.empty() + !out->watch.empty();
    if (scripts > 1) {
        *error = "--replay, --timedemo and --watch each play a key script; give one of them";
        return 0;
    }
    return 1;
}

} // namespace kavorind
