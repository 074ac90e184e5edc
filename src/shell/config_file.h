#pragma once
#include "shell/options.h"

#include <string>
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
    std::vector<ConfigEntry> otherEntries; // in file order
};

// One entry of a freshly written file: the comment goes on the line above it.
struct ConfigDefault {
    std::string key;
    std::string value;
    std::string comment;
};

// The file the settings come from: --config FILE, else $XDG_CONFIG_HOME/kavorind/kavorind.cfg,
// else ~/.config/kavorind/kavorind.cfg; empty when neither variable leads anywhere.
std::string configFilePath(const std::string& optionFile, const char* configHome, const char* home);
// The entries of a new file, in the order they are written.
std::vector<ConfigDefault> defaultConfigEntries();
// The text of a new file: a heading, then each entry under its comment.
std::string configFileText(const std::vector<ConfigDefault>& entries);
// Reads the text of a configuration file over *out. Each line it cannot take is ignored and
// described in *problems as "FILE:LINE: ...", fileName being how the file is named there.
void parseConfigText(const std::string& text, const std::string& fileName, GameSettings* out,
                     std::vector<std::string>* problems);
// Reads the file at path, or writes it with entries (creating its folders) when it does not exist.
// Never fails: what goes wrong is described in *problems, and the defaults stand in.
GameSettings loadConfigFile(const std::string& path, const std::vector<ConfigDefault>& entries,
                            std::vector<std::string>* problems);
// The command line over the configuration: every option that was given wins.
GameSettings effectiveSettings(const GameSettings& config, const GameOptions& options);

} // namespace kavorind
