#include "shell/config_file.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace kavorind {

namespace {

namespace fs = std::filesystem;

std::string trimmed(const std::string& text) {
    size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos)
        return "";
    size_t last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

std::string lowered(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

// yes / no into *out; 0 for anything else.
int parseYesNo(const std::string& text, int* out) {
    std::string word = lowered(text);
    if (word != "yes" && word != "no")
        return 0;
    *out = word == "yes";
    return 1;
}

// Takes one of the game's own settings. 1 when the key is not one of them (the caller keeps it)
// or its value was good; 0 with what was wrong in *wrong.
int takeSetting(const std::string& key, const std::string& value, GameSettings* out, int* known,
                std::string* wrong) {
    *known = 1;
    if (key == "fullscreen") {
        *wrong = "fullscreen is yes or no";
        return parseYesNo(value, &out->fullScreen);
    }
    if (key == "mute") {
        *wrong = "mute is yes or no";
        return parseYesNo(value, &out->mute);
    }
    if (key == "volume") {
        *wrong = "volume is a whole number from 0 to 100";
        return parseVolume(value, &out->volume);
    }
    if (key == "scale") {
        *wrong = "scale is sharp, integer or stretch";
        int choice = scaleChoiceNamed(lowered(value));
        if (choice != ScaleUnset)
            out->scale = choice;
        return choice != ScaleUnset;
    }
    *known = 0;
    return 1;
}

std::string problemAt(const std::string& fileName, int line, const std::string& text,
                      const std::string& wrong) {
    return fileName + ":" + std::to_string(line) + ": \"" + text + "\": " + wrong +
           "; the line is ignored";
}

int readText(const std::string& path, std::string* text, std::string* reason) {
    std::error_code problem;
    if (fs::is_directory(path, problem)) {
        *reason = "it is a folder";
        return 0;
    }
    errno = 0;
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        *reason = std::strerror(errno ? errno : EACCES);
        return 0;
    }
    std::ostringstream contents;
    contents << file.rdbuf();
    *text = contents.str();
    return 1;
}

int writeDefaults(const std::string& path, const std::vector<ConfigDefault>& entries,
                  std::vector<std::string>* problems) {
    std::error_code problem;
    fs::path parent = fs::path(path).parent_path();
    if (!parent.empty())
        fs::create_directories(parent, problem);
    errno = 0;
    std::ofstream file;
    if (!problem)
        file.open(path, std::ios::binary);
    if (file) {
        file << configFileText(entries);
        file.close();
        if (file)
            return 1;
    }
    std::string reason = problem ? problem.message() : std::strerror(errno ? errno : EIO);
    problems->push_back("cannot write the settings to " + path + " (" + reason +
                        "); the defaults are used");
    return 0;
}

} // namespace

std::string configFilePath(const std::string& optionFile, const char* configHome,
                           const char* home) {
    if (!optionFile.empty())
        return optionFile;
    std::string folder;
    if (configHome && *configHome)
        folder = configHome;
    else if (home && *home)
        folder = std::string(home) + "/.config";
    else
        return "";
    return folder + "/kavorind/kavorind.cfg";
}

std::vector<ConfigDefault> defaultConfigEntries() {
    return {
        {"fullscreen", "yes", "Play on the whole screen (yes) or in a window (no)."},
        {"scale", "sharp",
         "How the picture fills the screen: sharp (whole multiples, then a smooth step), integer "
         "(whole multiples only, black borders) or stretch (all of it, shapes widened)."},
        {"volume", "100", "Sound volume, from 0 to 100."},
        {"mute", "no", "Play without sound (yes) or with it (no)."},
    };
}

std::string configFileText(const std::vector<ConfigDefault>& entries) {
    std::string text = "# Kavorind's settings: one \"key = value\" a line. The command line's "
                       "options win over them.\n";
    for (const ConfigDefault& entry : entries)
        text += "\n# " + entry.comment + "\n" + entry.key + " = " + entry.value + "\n";
    return text;
}

void parseConfigText(const std::string& text, const std::string& fileName, GameSettings* out,
                     std::vector<std::string>* problems) {
    std::istringstream lines(text);
    std::string raw;
    for (int number = 1; std::getline(lines, raw); ++number) {
        std::string line = trimmed(raw);
        if (line.empty() || line[0] == '#')
            continue;
        size_t equals = line.find('=');
        std::string key = equals == std::string::npos ? "" : trimmed(line.substr(0, equals));
        if (key.empty()) {
            problems->push_back(problemAt(fileName, number, line, "not a \"key = value\" line"));
            continue;
        }
        std::string value = trimmed(line.substr(equals + 1));
        int known = 0;
        std::string wrong;
        if (!takeSetting(key, value, out, &known, &wrong))
            problems->push_back(problemAt(fileName, number, line, wrong));
        else if (!known)
            out->otherEntries.push_back(ConfigEntry{key, value, number});
    }
}

GameSettings loadConfigFile(const std::string& path, const std::vector<ConfigDefault>& entries,
                            std::vector<std::string>* problems) {
    GameSettings config;
    std::error_code problem;
    if (!fs::exists(fs::symlink_status(path, problem))) {
        writeDefaults(path, entries, problems);
        // The new file holds the defaults: reading it back gives what a later run will read.
        parseConfigText(configFileText(entries), path, &config, problems);
        return config;
    }
    std::string text;
    std::string reason;
    if (!readText(path, &text, &reason)) {
        problems->push_back("cannot read the settings from " + path + " (" + reason +
                            "); the defaults are used");
        return GameSettings{};
    }
    parseConfigText(text, path, &config, problems);
    return config;
}

GameSettings effectiveSettings(const GameSettings& config, const GameOptions& options) {
    GameSettings settings;
    settings.fullScreen = options.windowed >= 0 ? !options.windowed : config.fullScreen;
    settings.scale = options.scale != ScaleUnset ? options.scale : config.scale;
    settings.volume = options.volume >= 0 ? options.volume : config.volume;
    settings.mute = options.mute >= 0 ? options.mute : config.mute;
    settings.otherEntries = config.otherEntries;
    return settings;
}

} // namespace kavorind
