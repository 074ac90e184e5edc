#pragma once
#include <string>

namespace kavorind {

// How the 640 x 480 frame fills a window or screen larger than itself.
enum ScaleChoice {
    ScaleUnset = -1,
    ScaleSharp = 0,   // the largest whole multiple, then a smooth step to fill, aspect kept
    ScaleInteger = 1, // whole multiples only, black borders around
    ScaleStretch = 2, // the whole screen, aspect not kept
};

// The command line. Every setting left unset (-1 or empty) comes from the configuration file, and
// without one from the defaults: full screen, sharp scaling, full volume, the keys as shipped.
struct GameOptions {
    int help = 0;
    int version = 0;
    int where = 0;     // print the content folder that would be used, then end
    int windowed = -1; // 1 windowed, 0 full screen
    int scale = ScaleUnset;
    int mute = -1;         // 1 silent
    int volume = -1;       // 0 to 100
    int classic = 0;       // 1: nothing added around the classic game, whatever the settings say
    int scores = 0;        // print the score table of the content and end
    int practiceStage = 0; // 1 to 3: START begins at that stage with a new craft; 0 as usual
    std::string watch; // a kept replay to play: a place in the table (1 to 10), "last" or a file
    std::string dataDir;
    std::string recordFile;   // the session's keys, written as a key script
    std::string replayFile;   // a key script played instead of the keyboard, then the keyboard back
    std::string traceFile;    // one JSON line per tick, as the headless runner writes them
    std::string configFile;   // instead of the one in the user's configuration folder
    std::string timedemoFile; // a key script played as fast as the game goes, then the figures
};

// Reads the arguments after the program's name. 1 on success; 0 with a message in *error for an
// unknown option, a missing value, a value out of range, or two of --replay, --timedemo and
// --watch (each plays a key script of its own).
int parseOptions(int argc, const char* const* argv, GameOptions* out, std::string* error);
// The usage text printed by --help and after a bad option.
const char* usageText();
// The name of a scale choice as the command line and the configuration file write it, and back
// (ScaleUnset for an unknown name).
const char* scaleChoiceName(int choice);
int scaleChoiceNamed(const std::string& name);
// The way frames fill the window (a FrameScaling of platform/frame_geometry.h) for a scale choice.
int frameScalingFor(int choice);
// A volume as the command line and the configuration file write it: a whole number from 0 to 100.
// 1 with the number in *out; 0 for anything else.
int parseVolume(const std::string& text, int* out);

} // namespace kavorind
