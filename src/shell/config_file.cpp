#include "shell/config_file.h"

#include "platform/file_io.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
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

// yes / no (or 1 / 0) into *out; 0 for anything else.
int parseYesNo(const std::string& text, int* out) {
    std::string word = lowered(text);
    if (word != "yes" && word != "no" && word != "1" && word != "0")
        return 0;
    *out = word == "yes" || word == "1";
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
    if (key == "classic") {
        *wrong = "classic is yes or no";
        return parseYesNo(value, &out->classic);
    }
    if (key == "pause_on_focus_loss") {
        *wrong = "pause_on_focus_loss is yes or no";
        return parseYesNo(value, &out->pauseOnFocusLoss);
    }
    if (key == "hold_to_fire") {
        *wrong = "hold_to_fire is yes or no";
        return parseYesNo(value, &out->holdToFire);
    }
    if (key == "reduce_flashing") {
        *wrong = "reduce_flashing is yes or no";
        return parseYesNo(value, &out->reduceFlashing);
    }
    if (key == "name") {
        out->name = value;
        return 1;
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
    return fileName + ":" + std::to_string(line) + ": \"" + shownText(text) + "\": " + wrong +
           "; the line is ignored";
}

// How one character of a shown line reads: control characters (C0, DEL and the C1 range, which
// terminals also obey) and bytes that are not UTF-8 are written as escapes.
std::string shownCharacter(std::string_view text, size_t at, size_t length) {
    char escape[12];
    unsigned char first = static_cast<unsigned char>(text[at]);
    if (length == 0) {
        std::snprintf(escape, sizeof escape, "\\x%02x", first);
        return escape;
    }
    if (first == '\t')
        return "\\t";
    if (first < 0x20 || first == 0x7F) {
        std::snprintf(escape, sizeof escape, "\\x%02x", first);
        return escape;
    }
    unsigned char second = length == 2 ? static_cast<unsigned char>(text[at + 1]) : 0;
    if (first == 0xC2 && second < 0xA0) {
        std::snprintf(escape, sizeof escape, "\\u%04x", second);
        return escape;
    }
    return std::string(text.substr(at, length));
}

int writeDefaults(const std::string& path, const std::vector<ConfigDefault>& entries,
                  std::vector<std::string>* problems) {
    std::error_code problem;
    fs::path parent = fs::path(path).parent_path();
    if (!parent.empty())
        fs::create_directories(parent, problem);
    std::string why = problem ? problem.message() : "";
    if (!problem && writeFileSafely(path, configFileText(entries), FileDurable, &why))
        return 1;
    problems->push_back("cannot write the settings to " + path + " (" + why +
                        "); the defaults are used");
    return 0;
}

// Puts a new file with the defaults in place of one the game cannot use (fault says why), keeping
// the old one beside it as PATH.bad (or PATH.bad.1 ...). When no copy can be kept or the new file
// cannot be written, the old one is left as it is.
int replaceUnusable(const std::string& path, std::span<const uint8_t> old,
                    const std::vector<ConfigDefault>& entries, const std::string& fault,
                    std::vector<std::string>* problems) {
    std::string why;
    std::string keptAs;
    if (!checkOutputPath(path, &why) || !keepCopyBeside(path + ".bad", old, &keptAs, &why)) {
        problems->push_back(path + " " + fault + "; it cannot be replaced (" + why +
                            "), so it is left as it is and the defaults are used");
        return 0;
    }
    if (!writeFileSafely(path, configFileText(entries), FileDurable, &why)) {
        std::error_code ignored;
        fs::remove(keptAs, ignored);
        problems->push_back(path + " " + fault + "; the defaults cannot be written over it (" +
                            why + "), so it is left as it is and the defaults are used");
        return 0;
    }
    problems->push_back(path + " " + fault + "; it is kept as " + keptAs + " and " + path +
                        " now holds the defaults");
    return 1;
}

// What the game reads from a freshly written file: the defaults, with the lines they stand on.
GameSettings defaultsAsRead(const std::vector<ConfigDefault>& entries, const std::string& path) {
    GameSettings config;
    std::vector<std::string> none;
    parseConfigText(configFileText(entries), path, &config, &none);
    return config;
}

} // namespace

size_t utf8Length(std::string_view text, size_t at) {
    auto byte = [&](size_t i) { return static_cast<unsigned char>(text[at + i]); };
    unsigned char lead = byte(0);
    if (lead < 0x80)
        return 1;
    size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 ? 2 : 0;
    if (length == 0 || lead > 0xF4 || at + length > text.size())
        return 0;
    for (size_t i = 1; i < length; ++i)
        if ((byte(i) & 0xC0) != 0x80)
            return 0;
    if ((lead == 0xE0 && byte(1) < 0xA0) || (lead == 0xF0 && byte(1) < 0x90) ||
        (lead == 0xED && byte(1) >= 0xA0) || (lead == 0xF4 && byte(1) >= 0x90))
        return 0;
    return length;
}

std::string configFilePath(const std::string& optionFile, const char* configHome,
                           const char* home) {
    if (!optionFile.empty())
        return optionFile;
    std::string folder;
    // A relative XDG_CONFIG_HOME would put the settings wherever the game happens to start, so it
    // is passed over, as the XDG rules ask.
    if (configHome && configHome[0] == '/')
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
        {"classic", "no",
         "The game exactly as it was (yes): no pause, results, scores or replays around it."},
        {"pause_on_focus_loss", "yes",
         "Pause when the window loses the keyboard or is minimised (yes) or play on (no)."},
        {"hold_to_fire", "no",
         "Holding the fire key fires as fast as the craft can (yes), or once a press (no)."},
        {"reduce_flashing", "no",
         "A hit shows a red border (yes) instead of turning the whole screen red (no)."},
        {"name", "", "Your name in the score table (at most 16 letters); empty: your login name."},
    };
}

std::string configFileText(const std::vector<ConfigDefault>& entries) {
    std::string text = "# Kavorind's settings: one \"key = value\" a line. The command line's "
                       "options win over them.\n";
    for (const ConfigDefault& entry : entries)
        text += "\n# " + entry.comment + "\n" + entry.key + " = " + entry.value + "\n";
    return text;
}

int parseConfigText(const std::string& text, const std::string& fileName, GameSettings* out,
                    std::vector<std::string>* problems) {
    int taken = 0;
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
        else
            ++taken;
    }
    return taken;
}

std::string shownText(std::string_view text) {
    std::string shown;
    size_t characters = 0;
    size_t at = 0;
    while (at < text.size() && characters < shownTextLength) {
        size_t length = utf8Length(text, at);
        shown += shownCharacter(text, at, length);
        at += length ? length : 1;
        ++characters;
    }
    if (at < text.size())
        shown += "... (" + std::to_string(text.size()) + " bytes in all)";
    return shown;
}

std::string configTextFault(std::string_view text) {
    if (text.find('\0') != std::string_view::npos)
        return "holds NUL bytes: it is not text";
    for (size_t at = 0; at < text.size();) {
        size_t length = utf8Length(text, at);
        if (!length)
            return "is not UTF-8 text";
        at += length;
    }
    if (text.find_first_not_of(" \t\r\n") == std::string_view::npos)
        return "is empty";
    return "";
}

GameSettings loadConfigFile(const std::string& path, const std::vector<ConfigDefault>& entries,
                            std::vector<std::string>* problems) {
    std::error_code problem;
    if (!fs::exists(fs::symlink_status(path, problem))) {
        writeDefaults(path, entries, problems);
        return defaultsAsRead(entries, path);
    }
    FileBytes bytes;
    std::string why;
    if (!readRegularFile(path, configFileLimit, &bytes, &why)) {
        problems->push_back("cannot read the settings from " + path + " (" + why +
                            "); the defaults are used");
        return GameSettings{};
    }
    std::string text(reinterpret_cast<const char*>(bytes.data.get()), bytes.size);
    std::string fault = configTextFault(text);
    if (fault.empty()) {
        GameSettings config;
        size_t problemsBefore = problems->size();
        int taken = parseConfigText(text, path, &config, problems);
        // A file kept for its other lines (bindings, later versions' keys) or holding nothing
        // wrong (only comments) stays the player's, as does one with a single good line.
        if (taken > 0 || !config.otherEntries.empty() || problems->size() == problemsBefore)
            return config;
        fault = "has no line the game can use";
    }
    replaceUnusable(path, bytes.view(), entries, fault, problems);
    return defaultsAsRead(entries, path);
}

GameSettings effectiveSettings(const GameSettings& config, const GameOptions& options) {
    GameSettings settings;
    settings.fullScreen = options.windowed >= 0 ? !options.windowed : config.fullScreen;
    settings.scale = options.scale != ScaleUnset ? options.scale : config.scale;
    settings.volume = options.volume >= 0 ? options.volume : config.volume;
    settings.mute = options.mute >= 0 ? options.mute : config.mute;
    settings.classic = options.classic > 0 ? 1 : config.classic;
    settings.pauseOnFocusLoss = config.pauseOnFocusLoss;
    settings.holdToFire = config.holdToFire;
    settings.reduceFlashing = config.reduceFlashing;
    settings.name = config.name;
    settings.otherEntries = config.otherEntries;
    return settings;
}

} // namespace kavorind
