#pragma once
#include "shell/options.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kavorind {

// A line of the configuration file that the settings below do not take (key bindings, "bind.*",
// are handed on to the controls), with its line number for their own reports.
struct ConfigEntry {
    std::string key;
    std::string value;
    int line = 0;
};

// The game's settings, as the configuration file gives them and, once the command line is laid
// over them, as the game plays with them. What a file leaves out or gets wrong keeps its default.
struct GameSettings {
    int fullScreen = 1; // 0 windowed
    int scale = ScaleSharp;
    int volume = 100; // 0 to 100
    int mute = 0;
    int classic = 0;                       // 1: the game exactly as it was, nothing added around it
    int pauseOnFocusLoss = 1;              // a window that loses the player pauses the game
    int holdToFire = 0;                    // a held fire key fires as fast as the craft can
    int reduceFlashing = 0;                // the hit flash as a red border instead of a red screen
    std::string name;                      // for the score table; empty: the login name
    std::vector<ConfigEntry> otherEntries; // in file order
};

// One entry of a freshly written file: the comment goes on the line above it.
struct ConfigDefault {
    std::string key;
    std::string value;
    std::string comment;
};

// The largest settings file read: far more than any player writes, so that a wrong --config (a
// disc image, /dev/zero) is refused at once instead of filling the memory.
constexpr uint64_t configFileLimit = uint64_t{1} << 20;
// How many characters of a line from the file a message quotes.
constexpr size_t shownTextLength = 120;

// The file the settings come from: --config FILE, else $XDG_CONFIG_HOME/kavorind/kavorind.cfg
// (when that is an absolute path), else ~/.config/kavorind/kavorind.cfg; empty when neither
// variable leads anywhere.
std::string configFilePath(const std::string& optionFile, const char* configHome, const char* home);
// The entries of a new file, in the order they are written.
std::vector<ConfigDefault> defaultConfigEntries();
// The text of a new file: a heading, then each entry under its comment.
std::string configFileText(const std::vector<ConfigDefault>& entries);
// The length of the well-formed UTF-8 sequence at text[at]; 0 for a stray or cut-short byte, an
// overlong form, a surrogate or a code point past U+10FFFF.
size_t utf8Length(std::string_view text, size_t at);
// A line of the file as a message quotes it: control characters escaped ("\x1b"), cut after
// shownTextLength characters with the whole length said.
std::string shownText(std::string_view text);
// Why the text of a settings file cannot be read as one: "is empty" (nothing but blanks), "holds
// NUL bytes: it is not text", "is not UTF-8 text"; "" for text the game reads.
std::string configTextFault(std::string_view text);
// Reads the text of a configuration file over *out. Each line it cannot take is ignored and
// described in *problems as "FILE:LINE: ...", fileName being how the file is named there. Returns
// how many lines set one of the game's own settings.
int parseConfigText(const std::string& text, const std::string& fileName, GameSettings* out,
                    std::vector<std::string>* problems);
// Reads the file at path (a regular file of at most configFileLimit bytes), or writes it with
// entries (creating its folders) when it does not exist. A file that is empty, not text, or whose
// every setting line is wrong is replaced by entries and kept beside it as PATH.bad (PATH.bad.1,
// ... when that name is taken); one with some good lines is kept as it is. Never fails: what goes
// wrong is described in *problems, and the defaults stand in.
GameSettings loadConfigFile(const std::string& path, const std::vector<ConfigDefault>& entries,
                            std::vector<std::string>* problems);
// The command line over the configuration: every option that was given wins.
GameSettings effectiveSettings(const GameSettings& config, const GameOptions& options);

} // namespace kavorind
