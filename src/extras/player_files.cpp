#include "extras/player_files.h"

#include "shell/config_file.h"

#include <filesystem>
#include <string_view>
#include <system_error>
#include <vector>

namespace kavorind {

namespace {

namespace fs = std::filesystem;

// C0, DEL and the C1 range (U+0080 to U+009F, which terminals obey too): a name printed by
// `--scores` must not move the cursor or change the terminal's colours.
int isControl(std::string_view character) {
    unsigned char first = static_cast<unsigned char>(character[0]);
    if (character.size() == 1)
        return first < 0x20 || first == 0x7F;
    return first == 0xC2 && static_cast<unsigned char>(character[1]) < 0xA0;
}

// The name's characters with control characters and stray bytes dropped.
std::vector<std::string_view> nameCharacters(std::string_view text) {
    std::vector<std::string_view> characters;
    for (size_t at = 0; at < text.size();) {
        size_t length = utf8Length(text, at);
        if (length == 0) {
            ++at;
            continue;
        }
        std::string_view character = text.substr(at, length);
        if (!isControl(character))
            characters.push_back(character);
        at += length;
    }
    return characters;
}

void trimSpaces(std::vector<std::string_view>* characters) {
    while (!characters->empty() && characters->back() == " ")
        characters->pop_back();
    size_t leading = 0;
    while (leading < characters->size() && (*characters)[leading] == " ")
        ++leading;
    characters->erase(characters->begin(), characters->begin() + static_cast<long>(leading));
}

std::string cleanedName(const std::string& text) {
    std::vector<std::string_view> characters = nameCharacters(text);
    trimSpaces(&characters);
    if (characters.size() > static_cast<size_t>(playerNameLength)) {
        characters.resize(playerNameLength);
        trimSpaces(&characters);
    }
    std::string name;
    for (std::string_view character : characters)
        name += character;
    return name;
}

// Makes one folder for the player alone; 1 when it is there as a folder afterwards.
int makeOneFolder(const fs::path& folder, std::string* why) {
    std::error_code problem;
    fs::file_status status = fs::status(folder, problem);
    if (fs::is_directory(status))
        return 1;
    // A file, or a link to one, where the folder should be.
    if (fs::exists(status)) {
        *why = folder.string() + " is in the way: it is not a folder";
        return 0;
    }
    if (fs::create_directory(folder, problem))
        fs::permissions(folder, fs::perms::owner_all, fs::perm_options::replace, problem);
    if (problem) {
        *why = "cannot make " + folder.string() + ": " + problem.message();
        return 0;
    }
    return 1;
}

} // namespace

std::string playerDataFolder(const char* dataHome, const char* home) {
    // A relative XDG_DATA_HOME would put the scores wherever the game happens to start, so it is
    // passed over, as the XDG rules ask.
    if (dataHome && dataHome[0] == '/')
        return std::string(dataHome) + "/kavorind";
    if (home && *home)
        return std::string(home) + "/.local/share/kavorind";
    return "";
}

std::string scoresFilePath(const std::string& folder) {
    return folder + "/scores.txt";
}

std::string replaysFolderPath(const std::string& folder) {
    return folder + "/replays";
}

int makePlayerFolders(const std::string& folder, std::string* why) {
    if (folder.empty()) {
        *why = "there is no folder for the player's files: neither XDG_DATA_HOME nor HOME is set";
        return 0;
    }
    fs::path made;
    for (const fs::path& part : fs::path(replaysFolderPath(folder))) {
        made /= part;
        if (part.empty() || part == made.root_path())
            continue;
        if (!makeOneFolder(made, why))
            return 0;
    }
    return 1;
}

std::string playerNameFrom(const std::string& setting, const char* loginName) {
    std::string source = setting;
    if (source.empty() && loginName)
        source = loginName;
    std::string name = cleanedName(source);
    return name.empty() ? "PLAYER" : name;
}

int isCleanPlayerName(const std::string& name) {
    return !name.empty() && cleanedName(name) == name;
}

} // namespace kavorind
