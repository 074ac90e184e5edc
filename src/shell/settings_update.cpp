#include "shell/settings_update.h"

#include "platform/file_io.h"
#include "shell/config_file.h"
#include "shell/settings_bindings.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

namespace kavorind {

namespace {

namespace fs = std::filesystem;

constexpr const char* blanks = " \t\r";

// Where a line's key, and its value, stand in the text.
struct SettingLine {
    size_t valueBegin = 0;
    size_t valueEnd = 0; // before the blanks and carriage return that end the line
};

// "bind." keys are read in any case, the game's own settings exactly as written.
int sameKey(const std::string& written, const std::string& wanted) {
    const auto lowered = [](std::string text) {
        std::transform(text.begin(), text.end(), text.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        return text;
    };
    if (written == wanted)
        return 1;
    return lowered(wanted).rfind("bind.", 0) == 0 && lowered(written) == lowered(wanted);
}

// The key of the line text[begin, end), as the reader takes it; "" for a comment, a blank line
// or a line without "=".
std::string keyOfLine(const std::string& text, size_t begin, size_t end, size_t* equals) {
    const size_t first = text.find_first_not_of(blanks, begin);
    if (first >= end || text[first] == '#')
        return "";
    *equals = text.find('=', first);
    if (*equals >= end || *equals == first)
        return "";
    const size_t last = text.find_last_not_of(blanks, *equals - 1);
    return last == std::string::npos || last < first ? "" : text.substr(first, last - first + 1);
}

// The last line whose key is key; 0 when none is.
int findSettingLine(const std::string& text, const std::string& key, SettingLine* found) {
    int seen = 0;
    for (size_t begin = 0; begin < text.size();) {
        size_t end = text.find('\n', begin);
        if (end == std::string::npos)
            end = text.size();
        size_t equals = 0;
        if (sameKey(keyOfLine(text, begin, end, &equals), key)) {
            size_t valueBegin = text.find_first_not_of(blanks, equals + 1);
            if (valueBegin > end)
                valueBegin = end;
            size_t valueEnd = end;
            while (valueEnd > valueBegin &&
                   std::string_view(blanks).find(text[valueEnd - 1]) != std::string_view::npos)
                --valueEnd;
            *found = SettingLine{valueBegin, valueEnd};
            seen = 1;
        }
        begin = end + 1;
    }
    return seen;
}

// The comment a new file puts over the key, "" for a key it does not hold.
std::string defaultComment(const std::string& key) {
    for (const ConfigDefault& entry : settingsFileDefaults())
        if (sameKey(entry.key, key))
            return entry.comment;
    return "";
}

// "\r\n" when the file's lines end so, else "\n".
std::string lineEndingOf(const std::string& text) {
    const size_t newline = text.find('\n');
    return newline != std::string::npos && newline > 0 && text[newline - 1] == '\r' ? "\r\n" : "\n";
}

void appendSetting(std::string* text, const std::string& key, const std::string& value) {
    const std::string ending = lineEndingOf(*text);
    if (!text->empty() && text->back() != '\n')
        *text += ending;
    const std::string comment = defaultComment(key);
    if (!text->empty())
        *text += ending;
    if (!comment.empty())
        *text += "# " + comment + ending;
    *text += key + " = " + value + ending;
}

std::string checkChange(const SettingChange& change) {
    const auto& [key, value] = change;
    if (key.empty() || key.find_first_of("=#\n\r") != std::string::npos ||
        key.find_first_of(blanks) == 0 ||
        std::string_view(blanks).find(key.back()) != std::string_view::npos)
        return "\"" + shownText(key) + "\" cannot be a setting's key";
    if (value.find_first_of("\n\r") != std::string::npos ||
        (!value.empty() &&
         (std::string_view(blanks).find(value.front()) != std::string_view::npos ||
          std::string_view(blanks).find(value.back()) != std::string_view::npos)))
        return "the value of " + key + " cannot be written on one line as it is";
    return "";
}

// The text of a new file: the defaults, with the changes in their places.
std::string newSettingsText(const std::vector<SettingChange>& changes) {
    std::vector<ConfigDefault> entries = settingsFileDefaults();
    std::vector<SettingChange> others;
    for (const SettingChange& change : changes) {
        auto entry = std::find_if(entries.begin(), entries.end(), [&](const ConfigDefault& e) {
            return sameKey(e.key, change.first);
        });
        if (entry != entries.end())
            entry->value = change.second;
        else
            others.push_back(change);
    }
    std::string text = configFileText(entries);
    for (const SettingChange& change : others)
        appendSetting(&text, change.first, change.second);
    return text;
}

} // namespace

int changeSettingsText(std::string* text, const std::vector<SettingChange>& changes,
                       std::string* why) {
    for (const SettingChange& change : changes) {
        *why = checkChange(change);
        if (!why->empty())
            return 0;
    }
    for (const auto& [key, value] : changes) {
        SettingLine line;
        if (!findSettingLine(*text, key, &line)) {
            appendSetting(text, key, value);
            continue;
        }
        // "key =" with nothing after it gets one space before the value.
        const int needsSpace = line.valueBegin == line.valueEnd && line.valueBegin > 0 &&
                               (*text)[line.valueBegin - 1] == '=' && !value.empty();
        text->replace(line.valueBegin, line.valueEnd - line.valueBegin,
                      (needsSpace ? " " : "") + value);
    }
    return 1;
}

int updateSettingsFile(const std::string& path, const std::vector<SettingChange>& changes,
                       std::string* why) {
    if (path.empty()) {
        *why = "there is no settings file";
        return 0;
    }
    std::error_code problem;
    std::string text;
    if (!fs::exists(fs::symlink_status(path, problem))) {
        for (const SettingChange& change : changes) {
            *why = checkChange(change);
            if (!why->empty())
                return 0;
        }
        text = newSettingsText(changes);
        const fs::path parent = fs::path(path).parent_path();
        if (!parent.empty())
            fs::create_directories(parent, problem);
        if (problem) {
            *why = problem.message();
            return 0;
        }
    } else {
        FileBytes bytes;
        if (!readRegularFile(path, configFileLimit, &bytes, why))
            return 0;
        text.assign(reinterpret_cast<const char*>(bytes.data.get()), bytes.size);
        const std::string fault = configTextFault(text);
        // An empty file has nothing to lose; one that is not text is not the game's to change.
        if (!fault.empty() && text.find_first_not_of(" \t\r\n") != std::string::npos) {
            *why = fault;
            return 0;
        }
        if (!changeSettingsText(&text, changes, why))
            return 0;
    }
    return writeFileSafely(path, text, FileDurable, why);
}

} // namespace kavorind
